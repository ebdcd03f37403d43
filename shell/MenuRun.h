// What the main menu's Simplex and Marquardt buttons share around a run.
#pragma once

#include "state/App.h"
#include "state/Task.h"

namespace tivelor {

// The run takes charge and sets its busy flag; both end on every way out of
// the handler.
class MenuRunGuard {
public:
    MenuRunGuard(App& app, const char* name, int& busy) : task_(app, name), busy_(busy) {
        if (task_) busy_ = platform::True;
    }
    ~MenuRunGuard() {
        if (task_) busy_ = platform::False;
    }
    explicit operator bool() const { return static_cast<bool>(task_); }
    MenuRunGuard(const MenuRunGuard&) = delete;
    MenuRunGuard& operator=(const MenuRunGuard&) = delete;

private:
    TaskGuard task_;
    int& busy_;
};

// A run with every step size 0: the menu back when the run ends, and why.
inline void NothingToDo(App& app) {
    ReturnToMainMenu(app);
    app.ShowMsg("All step sizes are zero", platform::vbExclamation, "There is nothing to do!");
}

}  // namespace tivelor
