// What the main menu's Simplex and Marquardt buttons share around a run.
#pragma once

#include <exception>

#include "app/App.h"
#include "shell/frmMain.h"
#include "shell/frmMenu.h"

namespace tivelor {

// Sets the run's busy flag and clears it on every way out of the handler;
// after a failure it also gives back the Application menu, from which the
// main menu can be reached.
class MenuRunGuard {
public:
    MenuRunGuard(App& app, int& busy) : app_(app), busy_(busy) { busy_ = platform::True; }
    ~MenuRunGuard() {
        busy_ = platform::False;
        if (std::uncaught_exceptions() > exceptions_)
            if (platform::Form* f = app_.ui.forms.Find(frmMain::kName))
                static_cast<frmMain*>(f)->mnuApplication.Enabled = true;
    }
    MenuRunGuard(const MenuRunGuard&) = delete;
    MenuRunGuard& operator=(const MenuRunGuard&) = delete;

private:
    App& app_;
    int& busy_;
    const int exceptions_ = std::uncaught_exceptions();
};

// The main menu back with its task buttons and the Application menu enabled.
inline void BringMenuBack(App& app) {
    frmMenu& menu = app.form<frmMenu>();
    menu.Show();
    app.form<frmMain>().mnuApplication.Enabled = true;
    menu.EnableTaskButtons(true);
}

// A run with every step size 0: the menu back, the flag cleared, and why.
inline void NothingToDo(App& app, int& busy) {
    BringMenuBack(app);
    busy = platform::False;
    app.ShowMsg("All step sizes are zero", platform::vbExclamation, "There is nothing to do!");
}

}  // namespace tivelor
