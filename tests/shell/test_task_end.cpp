// What a task from another window leaves when it ends.
#include <gtest/gtest.h>

#include "state/Task.h"
#include "tests/support/StartedProgram.h"
#include "windows/TextWindows.h"

namespace {

using tivelor::frmHelp, tivelor::frmMain, tivelor::frmMenu, tivelor::frmSummary;

// The window the task started from is the way on while it is open; once it
// has closed, the main menu is. A window outside the task that asks for the
// main menu meanwhile (the summary's close) gets it when the task ends.
TEST(TaskEnd, TheWayOnIsWhatWasAskedForElseTheStartingWindowElseTheMainMenu) {
    tivelor::testing::StartedProgram p;
    tivelor::App& app = p.app;
    enum Case { Stays, Closes, OtherAsks };
    for (Case c : {Stays, Closes, OtherAsks}) {
        app.form<frmSummary>().Show();
        app.UnloadIfLoaded<frmMenu>();
        app.form<frmMain>().mnuApplication.Enabled = false;
        frmHelp& from = app.form<frmHelp>();
        from.Show();
        {
            tivelor::TaskGuard task(app, "Help", &from);
            if (c == Closes) from.Unload();
            if (c == OtherAsks) app.form<frmSummary>().Unload();
            EXPECT_FALSE(app.ui.forms.IsLoaded(frmMenu::kName)) << c;
        }
        EXPECT_EQ(app.ui.forms.IsLoaded(frmMenu::kName), c != Stays) << c;
        EXPECT_EQ(app.form<frmMain>().mnuApplication.Enabled, c != Stays) << c;
        app.UnloadIfLoaded<frmHelp>();
    }
}

}  // namespace
