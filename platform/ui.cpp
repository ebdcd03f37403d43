#include "platform/ui.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

namespace platform {

std::vector<int> MsgBoxAnswers(int style) {
    switch (style & 7) {
        case vbOKCancel: return {vbOK, vbCancel};
        case vbAbortRetryIgnore: return {vbAbort, vbRetry, vbIgnore};
        case vbYesNoCancel: return {vbYes, vbNo, vbCancel};
        case vbYesNo: return {vbYes, vbNo};
        case vbRetryCancel: return {vbRetry, vbCancel};
        default: return {vbOK};
    }
}

std::tm SystemClock::Now() {
    std::time_t t = std::time(nullptr);
    std::tm out{};
    localtime_r(&t, &out);
    return out;
}

double SystemClock::Timer() {
    auto now = std::chrono::system_clock::now();
    std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    auto frac = std::chrono::duration<double>(now.time_since_epoch()).count();
    frac -= std::floor(frac);
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + frac;
}

double SystemClock::Monotonic() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void Backend::MeasureText(const Control& control, const std::string& text, int& width,
                          int& height) {
    std::size_t longest = 0, current = 0, lines = 1;
    for (char ch : text) {
        if (ch == '\n') {
            ++lines;
            current = 0;
        } else if (ch != '\r') {
            longest = std::max(longest, ++current);
        }
    }
    width = static_cast<int>(std::lround(static_cast<double>(longest) * control.FontSize * 11));
    height = static_cast<int>(std::lround(static_cast<double>(lines) * control.FontSize * 24));
}

Ui::Ui(Backend& b, Clock& c, Random& r) : backend(b), clock(c), random(r) {
    IgnoreFileSizeSignal();
    forms.inputChanged = [this] { backend.InputChanged(); };
}

Ui::~Ui() { forms.Clear(); }

int Ui::MsgBox(const std::string& prompt, int style, const std::string& title) {
    return backend.MsgBox(prompt, style, title);
}

std::string Ui::InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText, std::optional<int> xPos,
                         std::optional<int> yPos) {
    return backend.InputBox(prompt, title, defaultText, xPos, yPos);
}

std::vector<Control*> Ui::StopControls() const {
    std::vector<Control*> out;
    for (Form* f : forms.Loaded()) {
        if (!f->Visible() || f->IsUnloaded()) continue;
        for (Control* c : f->Controls())
            if (c->StopsRun && UserCanUse(*c)) out.push_back(c);
    }
    return out;
}

namespace {
// Keeps the nesting right when End or a script error unwinds through a poll.
struct Nested {
    Ui& ui;
    explicit Nested(Ui& u) : ui(u) { ui.EnterNested(); }
    ~Nested() { ui.LeaveNested(); }
};
}  // namespace

void Ui::PollNow() {
    Nested nested(*this);
    backend.Poll();
}

void Ui::WaitForUser() {
    ++doEventsCount_;
    Nested nested(*this);
    backend.WaitForUser();
}

void Ui::End() {
    files.CloseAll();
    backend.End();
    std::abort();   // a back end's End never returns
}

void Ui::Dispatch(const std::function<void()>& handler) {
    ++depth_;
    struct Leave {
        Ui& ui;
        ~Leave() {
            if (--ui.depth_ == 0 && ui.freeUnloaded_) ui.forms.ReleaseUnloaded();
        }
    } leave{*this};
    try {
        handler();
    } catch (const std::bad_alloc&) {
        // The handler's task has unwound; the program goes on without it.
        try {
            MsgBox("There is not enough memory to go on: the task was ended.", vbExclamation, "Not enough memory");
        } catch (const std::bad_alloc&) {
        }
    }
}

}  // namespace platform
