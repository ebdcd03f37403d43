// What a task from another window leaves when it ends with nothing asked for.
#include <gtest/gtest.h>

#include "state/Task.h"
#include "tests/support/StartedProgram.h"
#include "windows/TextWindows.h"

namespace {

using tivelor::frmHelp, tivelor::frmMain, tivelor::frmMenu;

// The window the task started from is the way on while it is open; once it
// has closed, the main menu is.
TEST(TaskEnd, AWindowThatStartedATaskIsTheWayOnElseTheMainMenu) {
    tivelor::testing::StartedProgram p;
    tivelor::App& app = p.app;
    for (bool closes : {false, true}) {
        app.UnloadIfLoaded<frmMenu>();
        app.form<frmMain>().mnuApplication.Enabled = false;
        frmHelp& from = app.form<frmHelp>();
        from.Show();
        {
            tivelor::TaskGuard task(app, "Help", &from);
            if (closes) from.Unload();
        }
        EXPECT_EQ(app.ui.forms.IsLoaded(frmMenu::kName), closes);
        EXPECT_EQ(app.form<frmMain>().mnuApplication.Enabled, closes);
        app.UnloadIfLoaded<frmHelp>();
    }
}

}  // namespace
