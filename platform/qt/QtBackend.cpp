#include "platform/qt/QtBackend.h"

#include <QAction>
#include <QEvent>
#include <QFontMetrics>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "platform/qt/Convert.h"
#include "platform/qt/FormView.h"

namespace platform::qt {

// Holds back the user's input to disabled forms and their MDI children.
class InputGate : public QObject {
public:
    explicit InputGate(QtBackend& b) : backend_(b) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::Shortcut:
            case QEvent::ContextMenu: {
                if (!backend_.InputBlocked(watched)) return false;
                // A click on a disabled window brings forward the window in charge.
                if (event->type() == QEvent::MouseButtonPress) backend_.ActivateOwnedWindow();
                return true;
            }
            default:
                return false;
        }
    }

private:
    QtBackend& backend_;
};

// While a box waits out the gap before it opens, keeps the keys typed (as
// they would have reached the box without the gap) and lets all else pass.
class KeyHold : public QObject {
public:
    explicit KeyHold(QtBackend& b) : backend_(b), modal_(QApplication::activeModalWidget()) {
        backend_.holdingKeys_ = true;
        qApp->installEventFilter(this);
    }
    ~KeyHold() override {
        qApp->removeEventFilter(this);
        backend_.holdingKeys_ = false;
    }
    KeyHold(const KeyHold&) = delete;
    KeyHold& operator=(const KeyHold&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
        if (QApplication::activeModalWidget() != modal_) return false;   // a box opened by the input itself
        backend_.heldKeys_.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
        return true;
    }

private:
    QtBackend& backend_;
    QWidget* modal_;
};

namespace {
using Clock = std::chrono::steady_clock;
constexpr auto kEventInterval = std::chrono::milliseconds(5);
constexpr auto kCheckInterval = std::chrono::microseconds(1000);
constexpr std::uint64_t kMaxStride = 1024;
}  // namespace

QtBackend::QtBackend() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        SetPixelsPerTwip(std::max(1.0, screen->logicalDotsPerInch() / 96.0) / 15.0);
    gate_ = new InputGate(*this);
    qApp->installEventFilter(gate_);
    lastCheck_ = lastEvents_ = Clock::now();
}

QtBackend::~QtBackend() {
    closing_ = true;
    qApp->removeEventFilter(gate_);
    delete gate_;
    std::vector<QPointer<QWidget>> children, windows;
    for (auto& [form, v] : views_) {
        if (!v) continue;
        v->form = nullptr;
        (v->sub ? children : windows).push_back(v->Window());
    }
    for (auto* list : {&children, &windows, &retired_})
        for (QPointer<QWidget>& w : *list) delete w.data();
}

void QtBackend::Attach(Ui& ui) {
    ui_ = &ui;
    ui.SetFreeUnloadedForms(true);
    ui.SetNextPoll(ui.DoEventsCount() + pollStride_);
}

// -------------------------------------------------------------- look-ups

FormView* QtBackend::ViewOf(const Form& form) const {
    auto it = views_.find(&form);
    return it == views_.end() ? nullptr : it->second.data();
}

QWidget* QtBackend::Window(const Form& form) const {
    FormView* v = ViewOf(form);
    return v ? v->Window() : nullptr;
}

QWidget* QtBackend::Widget(const Control& control) const {
    FormView* v = ViewOf(control.form);
    return v ? v->WidgetOf(control) : nullptr;
}

QAction* QtBackend::Action(const Menu& menu) const {
    FormView* v = ViewOf(menu.form);
    return v ? v->ActionOf(menu) : nullptr;
}

QMainWindow* QtBackend::Frame() const { return frame_ ? frame_->top : nullptr; }
QMdiArea* QtBackend::MdiArea() const { return frame_ ? frame_->mdi : nullptr; }

bool QtBackend::FormAccepts(const FormView& view) const { return view.form && view.form->AcceptsInput(); }

void QtBackend::InputChanged() {
    if (closing_) return;
    // Enabling and disabling moves the focus, whose handlers may load or
    // unload windows: go through a copy.
    std::vector<QPointer<FormView>> views;
    for (auto& [form, v] : views_) views.push_back(v);
    for (QPointer<FormView>& v : views)
        if (v && v->form) v->SyncInput();
}

bool QtBackend::InputBlocked(QObject* target) const {
    for (QObject* o = target; o; o = o->parent()) {
        FormView* v = nullptr;
        if (auto* t = dynamic_cast<TopWindow*>(o)) v = t->view;
        else if (auto* s = dynamic_cast<SubWindow*>(o)) v = s->view;
        else if (auto* f = dynamic_cast<FormView*>(o)) v = f;
        else if (o->isWidgetType() && static_cast<QWidget*>(o)->isWindow()) return false;
        if (v) return v->form && !FormAccepts(*v);
    }
    return false;
}

void QtBackend::ActivateOwnedWindow() {
    QWidget* frame = Frame();
    if (!frame) return;
    // A window of its own that the frame owns stands over the frame: the one
    // last brought forward. Else the foremost child window that takes input.
    FormView* front = nullptr;
    for (auto& [form, v] : views_) {
        if (!v || !v->top || v->top == frame || v->top->parentWidget() != frame) continue;
        if (v->top->isVisible() && FormAccepts(*v) && (!front || v->frontSerial > front->frontSerial))
            front = v;
    }
    if (front) {
        front->top->raise();
        front->top->activateWindow();
        return;
    }
    QMdiArea* area = MdiArea();
    if (!area) return;
    const QList<QMdiSubWindow*> stack = area->subWindowList(QMdiArea::StackingOrder);
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        auto* s = dynamic_cast<SubWindow*>(*it);
        if (s && s->isVisible() && s->view && FormAccepts(*s->view)) {
            frame->raise();
            frame->activateWindow();
            area->setActiveSubWindow(s);
            return;
        }
    }
}

// ------------------------------------------------------------- delivery

void QtBackend::Deliver(const std::function<void()>& handler) {
    if (closing_ || !ui_) return;
    try {
        ui_->Dispatch(handler);
    } catch (const ProgramEnded&) {
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tivelor: %s\n", e.what());
    }
    // Windows of forms unloaded meanwhile go only now: a nested event loop
    // (DoEvents, a modal form) would otherwise delete a window whose widget
    // or view is still inside an outer handler.
    if (ui_->DispatchDepth() == 0) {
        if (!holdingKeys_) ReleaseHeldKeys(nullptr);   // no box came for them
        for (QPointer<QWidget>& w : retired_)
            if (w) w->deleteLater();
        retired_.clear();
    }
}

void QtBackend::Poll() {
    auto now = Clock::now();
    auto since = now - lastCheck_;
    lastCheck_ = now;
    // Read the clock about once a millisecond, whatever a DoEvents costs.
    if (since < kCheckInterval / 4) {
        pollStride_ = std::min(pollStride_ * 2, kMaxStride);
    } else if (since > kCheckInterval * 2) {
        pollStride_ = std::max<std::uint64_t>(
            1, static_cast<std::uint64_t>(pollStride_ * (static_cast<double>(kCheckInterval.count()) /
                                                         std::chrono::duration_cast<std::chrono::microseconds>(since).count())));
    }
    if (now - lastEvents_ >= kEventInterval) {
        if (!holdingKeys_) ReleaseHeldKeys(nullptr);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        lastEvents_ = lastCheck_ = Clock::now();
    }
    ui_->SetNextPoll(ui_->DoEventsCount() + pollStride_);
}

void QtBackend::WaitForUser() {
    if (!holdingKeys_) ReleaseHeldKeys(nullptr);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    lastEvents_ = lastCheck_ = Clock::now();
}

void QtBackend::ModalOpening() {
    if (!ui_ || ui_->DoEventsCount() == yieldsAtModalClose_) return;   // no run since the last box
    if (!ui_->RunCanBeStopped()) return;                                // no click to wait for
    const auto left = modalClosed_ + kModalGap - Clock::now();
    if (left <= Clock::duration::zero()) return;
    ++gapsWaited_;
    struct Nested {
        Ui& ui;
        explicit Nested(Ui& u) : ui(u) { ui.EnterNested(); }
        ~Nested() { ui.LeaveNested(); }
    } nested(*ui_);
    KeyHold hold(*this);
    QEventLoop loop;
    QTimer::singleShot(std::chrono::ceil<std::chrono::milliseconds>(left), &loop, &QEventLoop::quit);
    loop.exec();
    lastEvents_ = lastCheck_ = Clock::now();
}

void QtBackend::HandHeldKeysTo(QWidget* box) {
    if (heldKeys_.empty() || !box) return;
    QTimer::singleShot(0, box, [this, target = QPointer<QWidget>(box)] {
        if (target) ReleaseHeldKeys(target);
    });
}

void QtBackend::ReleaseHeldKeys(QWidget* box) {
    std::vector<HeldKey> held = std::move(heldKeys_);
    heldKeys_.clear();
    for (HeldKey& k : held) {
        QObject* to = k.to.data();
        if (box) to = box->focusWidget() ? box->focusWidget() : box;
        if (to) QCoreApplication::sendEvent(to, k.event.get());
    }
}

void QtBackend::ModalClosed() {
    modalClosed_ = Clock::now();
    if (ui_) yieldsAtModalClose_ = ui_->DoEventsCount();
}

void QtBackend::RunModal(Form& form) {
    ModalOpening();
    FormView* v = ViewOf(form);
    if (!v || !form.Visible() || form.IsUnloaded()) return;
    QPointer<FormView> view(v);
    v->ShowNow(true);
    HandHeldKeysTo(v->Window());
    QEventLoop loop;
    v->modalLoop = &loop;
    ui_->EnterNested();
    if (form.Visible() && !form.IsUnloaded()) loop.exec(QEventLoop::DialogExec);
    ui_->LeaveNested();
    ModalClosed();
    if (view && view->modalLoop == &loop) view->modalLoop = nullptr;
}

// ------------------------------------------------------------------ forms

void QtBackend::FormLoaded(Form& form) {
    if (closing_) return;
    QMdiArea* area = form.kind == FormKind::MdiChild && frame_ ? frame_->mdi : nullptr;
    auto* v = new FormView(*this, form, area);
    views_[&form] = v;
    if (form.kind == FormKind::MdiParent && !frame_) {
        frame_ = v;
        QObject::connect(v->mdi, &QMdiArea::subWindowActivated, v, [this] { RefreshMenuBar(); });
    }
    v->Build();
    RefreshMenuBar();
}

void QtBackend::FormShown(Form& form) {
    if (FormView* v = ViewOf(form)) {
        v->frontSerial = ++frontCount_;
        v->Show();
    }
}

void QtBackend::FormHidden(Form& form) {
    if (FormView* v = ViewOf(form)) v->Hide();
}

void QtBackend::FormUnloaded(Form& form) {
    auto it = views_.find(&form);
    if (it == views_.end()) return;
    QPointer<FormView> v = it->second;
    views_.erase(it);
    if (!v) return;
    retired_.push_back(v->Window());
    if (v == frame_) frame_ = nullptr;
    v->Detach();
    retired_.erase(std::remove_if(retired_.begin(), retired_.end(), [](const QPointer<QWidget>& w) { return !w; }),
                   retired_.end());
}

void QtBackend::FormZOrder(Form& form, int position) {
    if (FormView* v = ViewOf(form)) {
        if (position == 0) v->frontSerial = ++frontCount_;
        v->ZOrder(position);
    }
}

void QtBackend::ControlChanged(Control& control, PropId prop, int a, int b) {
    if (FormView* v = ViewOf(control.form)) v->Sync(control, prop, a, b);
}

void QtBackend::FormChanged(Form& form, PropId prop) { FormChangedWith(form, prop, 0); }

void QtBackend::FormChangedWith(Form& form, PropId prop, int a) {
    if (FormView* v = ViewOf(form)) v->SyncForm(prop, a);
    // A disabled MDI parent holds back its child windows too.
    if (prop == PropId::Enabled) InputChanged();
}

void QtBackend::MeasureText(const Control& control, const std::string& text, int& width,
                            int& height) {
    const QFontMetrics fm(FontFor(control.FontName, control.FontSize, control.FontBold,
                                  control.FontItalic));
    const QStringList lines = ToQtLines(text).split('\n');
    int w = 0;
    for (const QString& line : lines) w = std::max(w, fm.horizontalAdvance(line));
    width = w > 0 ? Twips(w + 2) : 0;
    height = Twips(fm.lineSpacing() * static_cast<int>(lines.size()) + 2);
}

bool QtBackend::GridCellRect(const FlexGrid& grid, int row, int col, int& left, int& top,
                             int& width, int& height) {
    auto* t = qobject_cast<QTableWidget*>(Widget(grid));
    if (!t || !t->isVisible() || row < 0 || col < 0 || row >= t->rowCount() || col >= t->columnCount() ||
        t->isRowHidden(row))
        return false;
    const QRect cell = t->visualRect(t->model()->index(row, col));
    const QPoint corner = t->viewport()->mapTo(t, cell.topLeft());
    left = Twips(corner.x());
    top = Twips(corner.y());
    width = Twips(cell.width());
    height = Twips(cell.height());
    return true;
}

void QtBackend::SetFocus(Control* control, Form* form) {
    if (control) {
        if (FormView* v = ViewOf(control->form)) v->Focus(control);
    } else if (form) {
        if (FormView* v = ViewOf(*form)) v->Focus(nullptr);
    }
}

void QtBackend::End() {
    if (onEnd) onEnd();
    closing_ = true;
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(0);
}

// ------------------------------------------------------------------ menus

void QtBackend::RefreshMenuBar() {
    if (closing_ || !frame_ || !frame_->form || !frame_->top) return;
    FormView* source = frame_;
    if (auto* s = dynamic_cast<SubWindow*>(frame_->mdi->currentSubWindow()))
        if (s->view && s->view->form && s->view->form->Visible() && s->view->HasMenus()) source = s->view;
    if (source == menuSource_.data()) return;
    QMenuBar* bar = frame_->top->menuBar();
    bar->clear();
    for (QAction* a : source->TopActions()) bar->addAction(a);
    menuSource_ = source;
}

void QtBackend::FillWindowList(QMenu& menu) {
    for (QAction* a : menu.actions())
        if (a->property("windowList").toBool()) {
            menu.removeAction(a);
            delete a;
        }
    QMdiArea* area = MdiArea();
    if (!area) return;
    QList<QMdiSubWindow*> open;
    for (QMdiSubWindow* s : area->subWindowList())
        if (s->isVisible()) open.push_back(s);
    if (open.isEmpty()) return;
    menu.addSeparator()->setProperty("windowList", true);
    int n = 1;
    for (QMdiSubWindow* s : open) {
        QAction* a = menu.addAction(QStringLiteral("&%1 %2").arg(n++).arg(s->windowTitle()));
        a->setProperty("windowList", true);
        a->setCheckable(true);
        a->setChecked(s == area->currentSubWindow());
        QPointer<QMdiSubWindow> target(s);
        QObject::connect(a, &QAction::triggered, area, [area, target] {
            if (target) area->setActiveSubWindow(target);
        });
    }
}

// -------------------------------------------------------------- program

Program::Program(int& argc, char** argv) : app_(argc, argv) {}

int Program::Run(const std::function<void()>& start) {
    QApplication::setQuitOnLastWindowClosed(false);
    QTimer::singleShot(0, &app_, [this, start] { session_.backend.Deliver(start); });
    return QApplication::exec();
}

}  // namespace platform::qt
