// Scripted back end for tests and the session player. Every message box,
// input box, file dialog and modal form is answered from a queue of script
// steps; a prompt the script did not expect fails with its title and text.
// Everything shown is recorded.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace platform::headless {

class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Step {
    enum Kind {
        // User actions.
        Click, DblClick, Type, Keys, Set, Cell, GridClick, GridDblClick, Key, Leave, Close, Resize, Mouse, Call,
        // Answers to prompts.
        AnswerMsgBox, AnswerInput, ChooseFile
    } kind = Click;
    std::string target;   // "frmMenu.cmdQuit", or a form name for Close / Resize / Mouse
    std::string title;    // answers: the prompt's title, "" = any
    std::string text;     // typed text, chosen file, input answer; Mouse: "down", "move" or "up"
    bool cancel = false;  // input box or file dialog cancelled
    int value = 0;        // message-box answer, set value, key code, mouse button
    int row = 0, col = 0; // Mouse: x and y (twips)
    std::function<void()> call;   // Call: any code, run as a handler
    std::string where;    // "script.tvs:12", for messages

    bool IsAnswer() const { return kind >= AnswerMsgBox; }
};

struct MsgBoxRecord {
    std::string title, text;
    int style = 0;
    int answer = 0;
};

// What the program asks of the user when the script has no step left; a
// source (the monkey) may then make the step up.
struct Request {
    enum Kind { Action, MsgBox, InputBox, FileDialog } kind = Action;
    Form* modal = nullptr;     // Action: only this modal window can be used
    bool waiting = false;      // Action: the program waits for the user
    std::string title, text, defaultText;
    int style = 0;             // MsgBox
    const CommonDialog* dialog = nullptr;   // FileDialog
    bool save = false;
};

struct DialogRecord {
    bool save = false;
    std::string title, filter, defaultName, chosen;
    int filterIndex = 0;
    int flags = 0;
    bool cancelled = false;
};

class HeadlessBackend : public Backend {
public:
    HeadlessBackend() = default;
    void Attach(Ui& ui);

    // --- the script
    void Push(Step step);
    void AnswerMsgBox(const std::string& title, int answer);
    void AnswerInput(const std::string& title, const std::string& text);
    void CancelInput(const std::string& title);
    void ChooseFile(const std::string& path);
    void CancelFile();
    // A step run by the Nth DoEvents from now.
    void AtDoEvents(std::uint64_t n, Step step);
    // A step run by the DoEvents that makes the count since the start N
    // (the program's waits for the user do not wait for it).
    void AtDoEventsCount(std::uint64_t n, Step step);
    // Makes up a step when the queue has none; false: it has none either.
    std::function<bool(const Request&, Step&)> source;
    // Calls f inside the poll of every Nth yield to the event loop.
    void OnPoll(std::uint64_t every, std::function<void()> f);
    // The modal windows being run, innermost last.
    const std::vector<Form*>& ModalForms() const { return modal_; }
    // Whether a user can act on the control now: shown, enabled, in an
    // enabled frame and window.
    static bool Usable(const Control& c);
    std::size_t PendingSteps() const { return queue_.size(); }
    std::string PendingDescription() const;

    // --- user actions, run now as handlers (the program may end inside:
    // Ended() tells)
    void Run(const Step& step);
    void Click(const std::string& path);
    void DblClick(const std::string& path);
    void Type(const std::string& path, const std::string& text);
    // Types into a text box key by key, as at a keyboard: each character
    // raises KeyPress (which may change or drop it; 8 is Backspace) and
    // replaces the selection, then Change; a locked box or one at its
    // MaxLength keeps its text.
    void Keys(const std::string& path, const std::string& text);
    void Set(const std::string& path, int value);
    void SetCell(const std::string& path, int row, int col, const std::string& text);
    void ClickCell(const std::string& path, int row, int col, bool dbl = false);
    void Close(const std::string& formName);
    // Takes the next user action off the queue and runs it; false when the
    // queue is empty. An answer found here is an error: nothing asked for it.
    bool RunNextAction();
    // Runs a user action inside the running handler (during a poll).
    void RunNested(const Step& step) { Execute(step); }

    // --- what was shown
    std::vector<MsgBoxRecord> msgBoxes;
    std::vector<DialogRecord> dialogs;
    std::vector<std::string> inputPrompts;
    std::vector<std::string> log;   // shows, hides, panels, captions, focus
    std::string focus;              // path of the control or form last focused
    bool Ended() const { return ended_; }

    // Finds a loaded form's control; a ScriptError when there is none.
    Control& FindControl(const std::string& path) const;
    Form& FindForm(const std::string& name) const;

    // Backend
    int MsgBox(const std::string& prompt, int style, const std::string& title) override;
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText, std::optional<int> xPos,
                         std::optional<int> yPos) override;
    bool FileDialog(CommonDialog& dlg, bool save) override;
    void Poll() override;
    void WaitForUser() override;
    void RunModal(Form& form) override;
    void FormLoaded(Form& form) override;
    void FormShown(Form& form) override;
    void FormHidden(Form& form) override;
    void FormUnloaded(Form& form) override;
    void FormZOrder(Form& form, int position) override;
    void ControlChanged(Control& control, PropId prop, int a, int b) override;
    void FormChanged(Form& form, PropId prop) override;
    void SetFocus(Control* control, Form* form) override;
    void Beep() override { log.push_back("beep"); }
    [[noreturn]] void End() override;

private:
    struct Scheduled {
        std::uint64_t due;
        Step step;
        bool absolute = false;
    };
    Step Next(const std::string& what, const Request& request = {});
    void Execute(const Step& step);
    void Perform(const Step& step);
    void ArmPoll();
    static std::string Describe(const Step& s);

    Ui* ui_ = nullptr;
    std::deque<Step> queue_;
    std::vector<Scheduled> scheduled_;
    std::vector<Form*> modal_;
    std::function<void()> onPoll_;
    std::uint64_t pollEvery_ = 0, nextSourcePoll_ = 0;
    bool ended_ = false;
};

// A clock that tests set.
class ManualClock : public Clock {
public:
    std::tm now{};
    double timer = 36000.0;
    double step = 0.0;   // added to the timer and the monotonic time at every read
    double mono = 0.0;
    ManualClock();
    std::tm Now() override { return now; }
    double Timer() override { timer += step; return timer; }
    double Monotonic() override { mono += step; return mono; }
};

// Back end, clock, random numbers and Ui in one, for tests and the player.
struct Session {
    HeadlessBackend backend;
    ManualClock clock;
    Random random;
    Ui ui{backend, clock, random};
    Session() { backend.Attach(ui); }
};

}  // namespace platform::headless
