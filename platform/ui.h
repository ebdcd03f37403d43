// The window system and runtime services seen by the system's code:
// message and input boxes, file dialogs, the event-loop yield, the clock,
// random numbers, numbered files and the table of loaded forms.
// A back end (headless for tests, Qt for the desktop) does the showing.
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/forms.h"
#include "platform/random.h"

namespace platform {

class Control;
class Form;
class CommonDialog;
class FlexGrid;
enum class PropId;

// Message-box answers.
inline constexpr int vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5,
                     vbYes = 6, vbNo = 7;
// Style codes: buttons + icon + default button.
inline constexpr int vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2,
                     vbYesNoCancel = 3, vbYesNo = 4, vbRetryCancel = 5;
inline constexpr int vbCritical = 16, vbQuestion = 32, vbExclamation = 48,
                     vbInformation = 64, vbDefaultButton2 = 256, vbDefaultButton3 = 512;
inline constexpr int vbModal = 1, vbModeless = 0;

// The answers of a message box's buttons, in their order, for a style.
std::vector<int> MsgBoxAnswers(int style);
inline constexpr int True = -1, False = 0;

// Thrown by End to unwind to the program's top level (headless back end).
struct ProgramEnded {};

class Backend {
public:
    virtual ~Backend() = default;
    virtual int MsgBox(const std::string& prompt, int style, const std::string& title) = 0;
    // The typed text, or "" on Cancel. The box's top-left corner goes to
    // xPos, yPos (twips from the screen's top-left) where they are given.
    virtual std::string InputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText, std::optional<int> xPos,
                                 std::optional<int> yPos) = 0;
    // Fills dlg.FileName / FileTitle / FilterIndex; false when cancelled.
    virtual bool FileDialog(CommonDialog& dlg, bool save) = 0;
    // Handles whatever is due (events, scripted actions). Called by DoEvents
    // when the poll count or time is reached.
    virtual void Poll() = 0;
    // The program waits for the user (a loop that polls until a button sets
    // a flag): handle the next user event, blocking until there is one.
    virtual void WaitForUser() { Poll(); }
    // Runs a nested loop until the form is hidden or unloaded.
    virtual void RunModal(Form& form) = 0;
    // A box or modal window is about to open. The back end may first let
    // the user's input of the moment be handled; the box itself comes next.
    virtual void ModalOpening() {}
    virtual void FormLoaded(Form& form) = 0;
    virtual void FormShown(Form& form) = 0;
    virtual void FormHidden(Form& form) = 0;
    virtual void FormUnloaded(Form& form) = 0;
    // Brings the window to the front of the window order (0) or sends it
    // to the back (1).
    virtual void FormZOrder(Form& /*form*/, int /*position*/) {}
    virtual void ControlChanged(Control& control, PropId prop, int a, int b) = 0;
    virtual void FormChanged(Form& form, PropId prop) = 0;
    // The same with the change's argument (for Other on an MDI parent, the
    // arrangement asked for); by default passed on to FormChanged.
    virtual void FormChangedWith(Form& form, PropId prop, int /*a*/) { FormChanged(form, prop); }
    // Which windows take the user's input may have changed: an input scope
    // opened or closed, or a window was adopted into one (Form::AcceptsInput).
    virtual void InputChanged() {}
    virtual void SetFocus(Control* control, Form* form) = 0;
    virtual void Beep() {}
    // The size in twips of a text in a control's font, for labels that size
    // themselves. By default a fixed rule: each character of the longest line
    // is FontSize x 11 twips wide (about 90 at 8.25 points), each line
    // FontSize x 24 twips high; an empty text has one line and no width.
    // A grid cell's rectangle in twips from the grid's corner, where the back
    // end shows the grid; false leaves it to the grid's own row and column sizes.
    virtual bool GridCellRect(const FlexGrid& /*grid*/, int /*row*/, int /*col*/, int& /*left*/,
                              int& /*top*/, int& /*width*/, int& /*height*/) {
        return false;
    }
    virtual void MeasureText(const Control& control, const std::string& text, int& width,
                             int& height);
    // End: leave the program at once (files are already closed).
    [[noreturn]] virtual void End() = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::tm Now() = 0;          // local date and time
    virtual double Timer() = 0;         // seconds since midnight
    virtual double Monotonic() = 0;     // seconds, never goes back
};

class SystemClock : public Clock {
public:
    std::tm Now() override;
    double Timer() override;
    double Monotonic() override;
};

// Rnd in [0, 1), single precision, from the one generator of the program;
// the same seed gives the same numbers. A test may seed it or replace it.
class Random {
public:
    void Randomize(double seed) { gen_.Seed(seed); }
    double Rnd() { return gen_.Rnd(); }
private:
    Rng gen_;
};

class Ui {
public:
    Ui(Backend& backend, Clock& clock, Random& random);
    Ui(const Ui&) = delete;
    Ui& operator=(const Ui&) = delete;
    ~Ui();

    Backend& backend;
    Clock& clock;
    Random& random;
    FileTable files;
    FormTable forms;

    int MsgBox(const std::string& prompt, int style = vbOKOnly, const std::string& title = "Tivelor");
    std::string InputBox(const std::string& prompt, const std::string& title = "",
                         const std::string& defaultText = "", std::optional<int> xPos = {},
                         std::optional<int> yPos = {});

    // Yields to the event loop. Cheap: the back end is consulted only when
    // the poll count set by the back end is reached.
    void DoEvents() {
        if (++doEventsCount_ >= nextPoll_) PollNow();
    }
    std::uint64_t DoEventsCount() const { return doEventsCount_; }
    // Back ends set the count at which the next DoEvents consults them.
    void SetNextPoll(std::uint64_t count) { nextPoll_ = count; }
    void PollNow();
    // Used in loops that wait for a flag set by the user: lets the user act
    // without spinning the processor.
    void WaitForUser();

    // What a box or modal window does first as it opens (the user's input
    // of the moment is handled). Code that must not open its box after such
    // input (a run stopped meanwhile) calls this, checks, then asks.
    void ModalOpening() { backend.ModalOpening(); }

    // The stop controls (Control::StopsRun) that the user can use in shown
    // windows (UserCanUse): while there is one, a run that the user can stop is going on,
    // and a box that follows a yield waits the gap (Backend::ModalOpening).
    std::vector<Control*> StopControls() const;
    bool RunCanBeStopped() const { return !StopControls().empty(); }

    // Sounds the system's beep.
    void Beep() { backend.Beep(); }

    // End the program: close every file, then leave at once.
    [[noreturn]] void End();

    // Runs a handler that the back end delivers (a click, a menu pick, a
    // close box). Keeps the nesting depth and frees forms unloaded meanwhile
    // once the outermost handler is done. A handler that runs out of memory
    // is ended with a message, and the program goes on.
    void Dispatch(const std::function<void()>& handler);
    int DispatchDepth() const { return depth_; }
    // Whether the outermost Dispatch frees unloaded forms. The desktop back
    // end turns it on; in tests unloaded forms stay readable until the end.
    void SetFreeUnloadedForms(bool on) { freeUnloaded_ = on; }
    // Nesting kept by modal loops and polls: leaving never frees forms, since
    // the code that opened the nested loop may belong to an unloaded form.
    void EnterNested() { ++depth_; }
    void LeaveNested() { --depth_; }

    std::tm Now() { return clock.Now(); }
    double Timer() { return clock.Timer(); }
    void Randomize(double seed) { random.Randomize(seed); }
    double Rnd() { return random.Rnd(); }

private:
    std::uint64_t doEventsCount_ = 0;
    std::uint64_t nextPoll_ = 1;
    int depth_ = 0;
    bool freeUnloaded_ = false;
};

}  // namespace platform
