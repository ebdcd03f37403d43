#include "platform/headless/headless.h"

#include <algorithm>
#include <limits>

namespace platform::headless {

namespace {

std::string Quote(const std::string& s) { return "\"" + s + "\""; }

std::string BaseName(const std::string& path) {
    auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Why a window takes no input, for a step that acts on it; "" when it does.
std::string Refusal(const Form& f) {
    switch (f.WhyNoInput()) {
        case NoInput::None: return "";
        case NoInput::Disabled: return "window " + f.name + " is disabled";
        case NoInput::MainWindowDisabled: return "window " + f.name + " takes no input while its main window is disabled";
        case NoInput::OtherTask: break;
    }
    return "window " + f.name + " takes no input while another task is in charge";
}

// A window or control that a step names is not there. The step that named it
// is what failed, so Execute puts the step's line in front.
class MissingTarget : public ScriptError {
public:
    using ScriptError::ScriptError;
};

// A prompt or wait met a step that is not its answer: the waiting step's
// line leads the message, and the step is named without it.
std::string LineOf(const Step& s) { return s.where.empty() ? "" : s.where + ": "; }
Step Unplaced(Step s) {
    s.where.clear();
    return s;
}

}  // namespace

ManualClock::ManualClock() {
    now.tm_year = 126;   // 2026-03-14 09:26:53
    now.tm_mon = 2;
    now.tm_mday = 14;
    now.tm_hour = 9;
    now.tm_min = 26;
    now.tm_sec = 53;
}

void HeadlessBackend::Attach(Ui& ui) { ui_ = &ui; ArmPoll(); }

// ------------------------------------------------------------------ script

void HeadlessBackend::Push(Step step) { queue_.push_back(std::move(step)); }

void HeadlessBackend::AnswerMsgBox(const std::string& title, int answer) {
    Step s;
    s.kind = Step::AnswerMsgBox;
    s.title = title;
    s.value = answer;
    Push(s);
}

void HeadlessBackend::AnswerInput(const std::string& title, const std::string& text) {
    Step s;
    s.kind = Step::AnswerInput;
    s.title = title;
    s.text = text;
    Push(s);
}

void HeadlessBackend::CancelInput(const std::string& title) {
    Step s;
    s.kind = Step::AnswerInput;
    s.title = title;
    s.cancel = true;
    Push(s);
}

void HeadlessBackend::ChooseFile(const std::string& path) {
    Step s;
    s.kind = Step::ChooseFile;
    s.text = path;
    Push(s);
}

void HeadlessBackend::CancelFile() {
    Step s;
    s.kind = Step::ChooseFile;
    s.cancel = true;
    Push(s);
}

void HeadlessBackend::AtDoEvents(std::uint64_t n, Step step) {
    scheduled_.push_back({ui_->DoEventsCount() + std::max<std::uint64_t>(n, 1), std::move(step)});
    ArmPoll();
}

void HeadlessBackend::AtDoEventsCount(std::uint64_t n, Step step) {
    scheduled_.push_back({n, std::move(step), true});
    ArmPoll();
}

void HeadlessBackend::OnPoll(std::uint64_t every, std::function<void()> f) {
    onPoll_ = std::move(f);
    pollEvery_ = every;
    nextSourcePoll_ = 0;
    ArmPoll();
}

bool HeadlessBackend::Usable(const Control& c) {
    return (c.form.Visible() || c.kind == ControlKind::Menu) && UserCanUse(c);
}

std::string HeadlessBackend::Describe(const Step& s) {
    std::string where = s.where.empty() ? "" : s.where + ": ";
    switch (s.kind) {
        case Step::AnswerMsgBox: return where + "answer to a message box " + Quote(s.title);
        case Step::AnswerInput: return where + "answer to an input box " + Quote(s.title);
        case Step::ChooseFile: return where + "file for a file dialog " + Quote(s.text);
        case Step::Call: return where + "step";
        default: return where + "action on " + s.target;
    }
}

std::string HeadlessBackend::PendingDescription() const {
    std::string out;
    for (const Step& s : queue_) out += Describe(s) + "\n";
    return out;
}

Step HeadlessBackend::Next(const std::string& what, const Request& request) {
    if (queue_.empty()) {
        Step made;
        if (source && source(request, made)) return made;
        throw ScriptError("the script does not answer " + what);
    }
    Step s = std::move(queue_.front());
    queue_.pop_front();
    return s;
}

// ---------------------------------------------------------------- actions

Form& HeadlessBackend::FindForm(const std::string& name) const {
    Form* f = ui_->forms.Find(name);
    if (!f) throw MissingTarget("window " + name + " is not open");
    return *f;
}

Control& HeadlessBackend::FindControl(const std::string& path) const {
    auto dot = path.find('.');
    if (dot == std::string::npos) throw MissingTarget("not a control: " + path);
    Form& f = FindForm(path.substr(0, dot));
    Control* c = f.FindControl(path.substr(dot + 1));
    if (!c) throw MissingTarget("window " + f.name + " has no control " + path.substr(dot + 1));
    return *c;
}

void HeadlessBackend::Run(const Step& step) {
    if (step.IsAnswer())
        throw ScriptError(Describe(step) + ", but nothing is asking for one");
    try {
        Execute(step);
    } catch (const ProgramEnded&) {
        ended_ = true;
        if (ui_->DispatchDepth() > 0) throw;
    }
}

bool HeadlessBackend::RunNextAction() {
    if (queue_.empty()) return false;
    Step s = Next("");
    Run(s);
    return true;
}

void HeadlessBackend::Execute(const Step& step) {
    try {
        Perform(step);
    } catch (const MissingTarget& e) {
        throw ScriptError(Describe(step) + ": " + e.what());
    }
}

namespace {

// A key that reached a text box replaces its selection where the caret is
// (8: Backspace; Enter a line break in a multi-line box, else nothing, as
// Escape); a locked box, or one at its MaxLength, keeps its text.
void TypeKey(TextBox& box, int k) {
    if (k == 0 || k == 27 || (k == 13 && !box.MultiLine) || box.Locked) return;
    std::string t = box.Text;
    int start = box.SelStart, length = box.SelLength;
    if (k == 8 && length == 0) {   // Backspace: the character before the caret
        if (start == 0) return;
        --start;
        length = 1;
    }
    const std::string typed = k == 8 ? "" : k == 13 ? "\r\n" : std::string(1, static_cast<char>(k));
    if (box.MaxLength > 0 && t.size() - length + typed.size() > static_cast<std::size_t>(box.MaxLength)) return;
    t.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(length), typed);
    box.Text = t;   // raises Change
    box.SelStart = start + static_cast<int>(typed.size());
    box.SelLength = 0;
}

}  // namespace

void HeadlessBackend::Perform(const Step& step) {
    if (ended_ && step.kind != Step::Call) throw ScriptError(Describe(step) + ", but the program has ended");
    auto act = [&](Control& c) {
        if (!c.form.Visible() && c.kind != ControlKind::Menu)
            throw ScriptError(Describe(step) + ": window " + c.form.name + " is not shown");
        if (std::string why = Refusal(c.form); !why.empty()) throw ScriptError(Describe(step) + ": " + why);
        if (!UserCanUse(c)) throw ScriptError(Describe(step) + ": " + c.Path() + " is disabled");
    };
    auto shown = [&](Form& f) {
        if (!f.Visible()) throw ScriptError(Describe(step) + ": window " + f.name + " is not shown");
        if (std::string why = Refusal(f); !why.empty()) throw ScriptError(Describe(step) + ": " + why);
    };
    switch (step.kind) {
        case Step::Click: {
            Control& c = FindControl(step.target);
            act(c);
            ui_->Dispatch([&] { UserClick(c); });
            break;
        }
        case Step::DblClick: {
            Control& c = FindControl(step.target);
            act(c);
            ui_->Dispatch([&] { c.DblClick(); });
            break;
        }
        case Step::Type: {
            Control& c = FindControl(step.target);
            act(c);
            ui_->Dispatch([&] {
                if (c.kind == ControlKind::TextBox) static_cast<TextBox&>(c).Text = step.text;
                else if (c.kind == ControlKind::RichTextBox) static_cast<RichTextBox&>(c).Text = step.text;
                else if (c.kind == ControlKind::ComboBox || c.kind == ControlKind::ListBox)
                    static_cast<ListControl&>(c).Text = step.text;
                else if (c.kind == ControlKind::FlexGrid) static_cast<FlexGrid&>(c).SetText(step.text);
                else throw ScriptError(Describe(step) + ": cannot type into " + c.Path());
            });
            break;
        }
        case Step::Keys: {
            Control& c = FindControl(step.target);
            act(c);
            if (c.kind != ControlKind::TextBox) throw ScriptError(Describe(step) + ": not a text box");
            auto& box = static_cast<TextBox&>(c);
            ui_->Dispatch([&] {
                for (char ch : step.text) TypeKey(box, UserKeyPress(box, static_cast<unsigned char>(ch)));
            });
            break;
        }
        case Step::Set: {
            Control& c = FindControl(step.target);
            act(c);
            if (c.kind != ControlKind::CheckBox && c.kind != ControlKind::OptionButton &&
                c.kind != ControlKind::ComboBox && c.kind != ControlKind::ListBox)
                throw ScriptError(Describe(step) + ": cannot set " + c.Path());
            ui_->Dispatch([&] { UserSetValue(c, step.value); });
            break;
        }
        case Step::Cell: {
            Control& c = FindControl(step.target);
            if (c.kind != ControlKind::FlexGrid) throw ScriptError(Describe(step) + ": not a grid");
            if (std::string why = Refusal(c.form); !why.empty()) throw ScriptError(Describe(step) + ": " + why);
            ui_->Dispatch([&] { static_cast<FlexGrid&>(c).SetTextMatrix(step.row, step.col, step.text); });
            break;
        }
        case Step::GridClick:
        case Step::GridDblClick: {
            Control& c = FindControl(step.target);
            act(c);
            if (c.kind != ControlKind::FlexGrid) throw ScriptError(Describe(step) + ": not a grid");
            auto& g = static_cast<FlexGrid&>(c);
            if (!g.InRange(step.row, step.col))
                throw ScriptError(Describe(step) + ": no cell " + std::to_string(step.row) + ", " +
                                  std::to_string(step.col));
            ui_->Dispatch([&] {
                UserClickCell(g, step.row, step.col);
                if (step.kind == Step::GridDblClick) UserDblClickCell(g, step.row, step.col);
            });
            break;
        }
        case Step::Key: {
            Control& c = FindControl(step.target);
            act(c);
            ui_->Dispatch([&] {
                const int k = UserKeyPress(c, step.value);
                if (c.kind == ControlKind::TextBox) TypeKey(static_cast<TextBox&>(c), k);
            });
            break;
        }
        case Step::Leave: {
            // The focus leaves the control (the user tabs or clicks elsewhere).
            Control& c = FindControl(step.target);
            act(c);
            ui_->Dispatch([&] {
                if (c.OnLostFocus) c.OnLostFocus();
            });
            break;
        }
        case Step::Close: {
            Form& f = FindForm(step.target);
            shown(f);
            ui_->Dispatch([&] { UserClose(f); });
            break;
        }
        case Step::Mouse: {
            // The form's own client area, or a control's.
            using Handler = std::function<void(int, int, double, double)>;
            const Handler* h = nullptr;
            if (step.target.find('.') == std::string::npos) {
                Form& f = FindForm(step.target);
                shown(f);
                h = step.text == "down" ? &f.OnMouseDown : step.text == "up" ? &f.OnMouseUp : &f.OnMouseMove;
            } else {
                Control& c = FindControl(step.target);
                act(c);
                h = step.text == "down" ? &c.OnMouseDown : step.text == "up" ? &c.OnMouseUp : &c.OnMouseMove;
            }
            ui_->Dispatch([&] {
                if (*h) (*h)(step.value, 0, step.row, step.col);
            });
            break;
        }
        case Step::Resize: {
            Form& f = FindForm(step.target);
            ui_->Dispatch([&] { f.Resize(step.row, step.col); });
            break;
        }
        case Step::Call:
            ui_->Dispatch([&] { step.call(); });
            break;
        default:
            throw ScriptError(Describe(step) + ", but nothing is asking for one");
    }
}

void HeadlessBackend::Click(const std::string& path) {
    Step s;
    s.kind = Step::Click;
    s.target = path;
    Run(s);
}

void HeadlessBackend::DblClick(const std::string& path) {
    Step s;
    s.kind = Step::DblClick;
    s.target = path;
    Run(s);
}

void HeadlessBackend::Type(const std::string& path, const std::string& text) {
    Step s;
    s.kind = Step::Type;
    s.target = path;
    s.text = text;
    Run(s);
}

void HeadlessBackend::Keys(const std::string& path, const std::string& text) {
    Step s;
    s.kind = Step::Keys;
    s.target = path;
    s.text = text;
    Run(s);
}

void HeadlessBackend::Set(const std::string& path, int value) {
    Step s;
    s.kind = Step::Set;
    s.target = path;
    s.value = value;
    Run(s);
}

void HeadlessBackend::SetCell(const std::string& path, int row, int col, const std::string& text) {
    Step s;
    s.kind = Step::Cell;
    s.target = path;
    s.row = row;
    s.col = col;
    s.text = text;
    Run(s);
}

void HeadlessBackend::ClickCell(const std::string& path, int row, int col, bool dbl) {
    Step s;
    s.kind = dbl ? Step::GridDblClick : Step::GridClick;
    s.target = path;
    s.row = row;
    s.col = col;
    Run(s);
}

void HeadlessBackend::Close(const std::string& formName) {
    Step s;
    s.kind = Step::Close;
    s.target = formName;
    Run(s);
}

// ---------------------------------------------------------------- prompts

int HeadlessBackend::MsgBox(const std::string& prompt, int style, const std::string& title) {
    std::string what = "the message box " + Quote(title) + ": " + Quote(prompt);
    Request r;
    r.kind = Request::MsgBox;
    r.title = title;
    r.text = prompt;
    r.style = style;
    Step s = Next(what, r);
    if (s.kind != Step::AnswerMsgBox)
        throw ScriptError(LineOf(s) + what + " came where the script has the " + Describe(Unplaced(s)));
    if (!s.title.empty() && s.title != title)
        throw ScriptError(Describe(s) + ", but " + what + " came");
    int answer = s.value;
    const std::vector<int> answers = MsgBoxAnswers(style);
    if (std::find(answers.begin(), answers.end(), answer) == answers.end())
        throw ScriptError(Describe(s) + ": answer " + std::to_string(answer) +
                          " is not a button of " + what);
    msgBoxes.push_back({title, prompt, style, answer});
    log.push_back("msgbox " + Quote(title) + " " + Quote(prompt) + " -> " + std::to_string(answer));
    return answer;
}

std::string HeadlessBackend::InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText, std::optional<int> xPos,
                                      std::optional<int> yPos) {
    std::string what = "the input box " + Quote(title) + ": " + Quote(prompt);
    Request r;
    r.kind = Request::InputBox;
    r.title = title;
    r.text = prompt;
    r.defaultText = defaultText;
    Step s = Next(what, r);
    if (s.kind != Step::AnswerInput)
        throw ScriptError(LineOf(s) + what + " came where the script has the " + Describe(Unplaced(s)));
    if (!s.title.empty() && s.title != title)
        throw ScriptError(Describe(s) + ", but " + what + " came");
    inputPrompts.push_back(prompt);
    std::string answer = s.cancel ? "" : s.text;
    std::string at;
    if (xPos || yPos)
        at = " at " + (xPos ? std::to_string(*xPos) : std::string("-")) + "," +
             (yPos ? std::to_string(*yPos) : std::string("-"));
    log.push_back("inputbox " + Quote(title) + " default " + Quote(defaultText) + at + " -> " +
                  (s.cancel ? "cancel" : Quote(answer)));
    return answer;
}

bool HeadlessBackend::FileDialog(CommonDialog& dlg, bool save) {
    std::string what = std::string(save ? "the save" : "the open") + " dialog " + Quote(dlg.DialogTitle);
    Request r;
    r.kind = Request::FileDialog;
    r.title = dlg.DialogTitle;
    r.dialog = &dlg;
    r.save = save;
    Step s = Next(what, r);
    if (s.kind != Step::ChooseFile)
        throw ScriptError(LineOf(s) + what + " came where the script has the " + Describe(Unplaced(s)));
    DialogRecord rec{save, dlg.DialogTitle, dlg.Filter, dlg.FileName, s.text, dlg.FilterIndex,
                     dlg.Flags, s.cancel};
    dialogs.push_back(rec);
    log.push_back(std::string(save ? "save" : "open") + " dialog " + Quote(dlg.DialogTitle) +
                  " -> " + (s.cancel ? "cancel" : Quote(s.text)));
    if (s.cancel) return false;
    dlg.FileName = s.text;
    dlg.FileTitle = BaseName(s.text);
    return true;
}

void HeadlessBackend::ArmPoll() {
    if (!ui_) return;
    std::uint64_t next = std::numeric_limits<std::uint64_t>::max();
    for (const Scheduled& s : scheduled_) next = std::min(next, s.due);
    if (onPoll_ && pollEvery_ > 0) {
        if (nextSourcePoll_ <= ui_->DoEventsCount()) nextSourcePoll_ = ui_->DoEventsCount() + pollEvery_;
        next = std::min(next, nextSourcePoll_);
    }
    ui_->SetNextPoll(next);
}

void HeadlessBackend::Poll() {
    std::uint64_t now = ui_->DoEventsCount();
    for (;;) {
        auto it = std::find_if(scheduled_.begin(), scheduled_.end(),
                               [&](const Scheduled& s) { return s.due <= now; });
        if (it == scheduled_.end()) break;
        Step step = std::move(it->step);
        scheduled_.erase(it);
        Execute(step);
    }
    if (onPoll_ && pollEvery_ > 0 && now >= nextSourcePoll_) {
        nextSourcePoll_ = now + pollEvery_;
        onPoll_();
    }
    ArmPoll();
}

void HeadlessBackend::WaitForUser() {
    // While steps are scheduled by count, the count runs on towards them;
    // otherwise the script's next action is what the user does meanwhile.
    if (std::any_of(scheduled_.begin(), scheduled_.end(), [](const Scheduled& s) { return !s.absolute; })) {
        Poll();
        return;
    }
    std::string what = "the program, which is waiting for the user";
    Request r;
    r.waiting = true;
    Step s = Next(what, r);
    if (s.IsAnswer()) throw ScriptError(LineOf(s) + what + ", but the script has the " + Describe(Unplaced(s)));
    Execute(s);
}

void HeadlessBackend::RunModal(Form& form) {
    ui_->EnterNested();
    struct Leave {
        Ui& ui;
        std::vector<Form*>& modal;
        ~Leave() {
            ui.LeaveNested();
            modal.pop_back();
        }
    } leave{*ui_, modal_};
    modal_.push_back(&form);
    while (!form.IsUnloaded() && form.Visible()) {
        std::string what = "the modal window " + form.name + " " + Quote(form.Caption);
        Request r;
        r.modal = &form;
        Step s = Next(what, r);
        if (s.IsAnswer()) throw ScriptError(LineOf(s) + what + " is open, but the script has the " + Describe(Unplaced(s)));
        Execute(s);
    }
}

// --------------------------------------------------------------- records

void HeadlessBackend::FormLoaded(Form& form) { log.push_back("load " + form.name); }

void HeadlessBackend::FormShown(Form& form) {
    log.push_back("show " + form.name + " " + Quote(form.Caption));
}

void HeadlessBackend::FormHidden(Form& form) { log.push_back("hide " + form.name); }

void HeadlessBackend::FormUnloaded(Form& form) { log.push_back("unload " + form.name); }

void HeadlessBackend::FormZOrder(Form& form, int position) {
    log.push_back("zorder " + form.name + " " + std::to_string(position));
}

void HeadlessBackend::ControlChanged(Control& control, PropId prop, int a, int) {
    if (prop == PropId::PanelText) {
        log.push_back("panel " + control.Path() + " " + std::to_string(a) + " " +
                      Quote(static_cast<StatusBar&>(control).Panel(a)));
    }
}

void HeadlessBackend::FormChanged(Form& form, PropId prop) {
    if (prop == PropId::Caption) log.push_back("caption " + form.name + " " + Quote(form.Caption));
}

void HeadlessBackend::SetFocus(Control* control, Form* form) {
    focus = control ? control->Path() : form ? form->name : "";
}

void HeadlessBackend::End() {
    ended_ = true;
    log.push_back("end");
    throw ProgramEnded{};
}

}  // namespace platform::headless
