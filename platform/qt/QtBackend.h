// The Qt 6 Widgets back end: forms become windows (the MDI parent a main
// window with its child windows, menus and status bars), controls become
// widgets, and message boxes, input boxes and file dialogs are Qt dialogs.
#pragma once

#include <QApplication>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ui.h"

class QAction;
class QMainWindow;
class QMdiArea;
class QMenu;
class QWidget;

namespace platform::qt {

class FormView;
class InputGate;

class QtBackend : public Backend {
public:
    QtBackend();
    ~QtBackend() override;
    QtBackend(const QtBackend&) = delete;
    QtBackend& operator=(const QtBackend&) = delete;
    void Attach(Ui& ui);

    // The widgets of a loaded form or control; null when there is none.
    QWidget* Window(const Form& form) const;
    QWidget* Widget(const Control& control) const;
    QAction* Action(const Menu& menu) const;
    QMainWindow* Frame() const;
    QMdiArea* MdiArea() const;

    // Runs before End leaves the process (tests may throw from it).
    std::function<void()> onEnd;
    // Where the user put each window during the run, by form name.
    std::unordered_map<std::string, QRect> placements;

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
    void FormChangedWith(Form& form, PropId prop, int a) override;
    void SetFocus(Control* control, Form* form) override;
    void MeasureText(const Control& control, const std::string& text, int& width,
                     int& height) override;
    bool GridCellRect(const FlexGrid& grid, int row, int col, int& left, int& top, int& width,
                      int& height) override;
    void Beep() override { QApplication::beep(); }
    [[noreturn]] void End() override;

    // For the form views.
    void Deliver(const std::function<void()>& handler);
    FormView* ViewOf(const Form& form) const;
    void RefreshMenuBar();
    void FillWindowList(QMenu& menu);
    // Whether the window takes the user's input (Form::AcceptsInput).
    bool FormAccepts(const FormView& view) const;
    // Shows each control enabled only while its window takes input.
    void InputChanged() override;
    bool InputBlocked(QObject* target) const;
    // Raises and activates the foremost shown window that takes input (the
    // user clicked a window that takes none).
    void ActivateOwnedWindow();

    // Around every modal box and form. A run that yields between two boxes
    // (one rejected randomization asked about, then the next) would put the
    // second box up while the click the user aimed past the first (Abort,
    // right after No) is on its way: the click falls on the new box, or on a
    // window the box holds, and is lost. So a box asked for within kModalGap
    // of the last one's closing, with a yield between, opens only at the end
    // of that gap, the user's input handled meanwhile. Keys typed in the
    // gap are kept for the box (HandHeldKeysTo); when no box follows, they
    // go where they were typed at the next yield.
    // The gap is waited only while the user can stop a run (Ui::RunCanBeStopped).
    static constexpr std::chrono::milliseconds kModalGap{400};
    void ModalOpening() override;
    void ModalClosed();
    // How many boxes have waited the gap so far.
    int GapsWaited() const { return gapsWaited_; }

    // Puts a box about to open centred over the window it belongs to (or the
    // screen), clear of the shown stop controls of the run it interrupts.
    void PlaceBox(QWidget& box, QWidget* parent) const;

private:
    friend class KeyHold;
    struct HeldKey {
        QPointer<QObject> to;
        std::unique_ptr<QEvent> event;
    };
    QWidget* DialogParent() const;
    // Sends the keys held in the gap to the box that opens now (to its
    // focus), once its loop runs; with no box, to where they were typed.
    void HandHeldKeysTo(QWidget* box);
    void ReleaseHeldKeys(QWidget* box);

    Ui* ui_ = nullptr;
    std::unordered_map<const Form*, QPointer<FormView>> views_;
    QPointer<FormView> frame_, menuSource_;
    std::vector<QPointer<QWidget>> retired_;   // windows of unloaded forms
    InputGate* gate_ = nullptr;
    QString lastFolder_;
    bool closing_ = false;
    std::uint64_t pollStride_ = 32;
    std::chrono::steady_clock::time_point lastCheck_, lastEvents_, modalClosed_;
    std::uint64_t yieldsAtModalClose_ = 0;   // the DoEvents count when the last modal closed
    std::vector<HeldKey> heldKeys_;
    bool holdingKeys_ = false;
    std::uint64_t frontCount_ = 0;           // windows shown or brought forward so far
    int gapsWaited_ = 0;
};

// "Desc (*.a)|*.a|Desc2|*.b" as Qt name filters, descriptions kept.
QStringList NameFilters(const std::string& filter);

// A back end with its clock, random numbers and Ui (QApplication must exist).
struct QtSession {
    QtBackend backend;
    SystemClock clock;
    Random random;
    Ui ui{backend, clock, random};
    QtSession() { backend.Attach(ui); }
};

// The program: the application object and a session; Run calls start inside
// the event loop and returns the exit code.
class Program {
public:
    Program(int& argc, char** argv);
    Ui& ui() { return session_.ui; }
    QtBackend& backend() { return session_.backend; }
    int Run(const std::function<void()>& start);

private:
    QApplication app_;
    QtSession session_;
};

}  // namespace platform::qt
