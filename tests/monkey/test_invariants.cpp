// The monkey's invariant checker sees a broken state.
#include <gtest/gtest.h>

#include "tests/player/invariants.h"
#include "tests/support/ModelSession.h"
#include "shell/frmMenu.h"
#include "windows/InfoWindows.h"
#include "windows/frmMain.h"

namespace tivelor {
namespace {

TEST(MonkeyInvariants, ReportsWhatABrokenStateBreaks) {
    testing::AppSession t;
    t.LoadMainWindow();
    t.AnswerNotes(3);
    ASSERT_TRUE(t.SetUpModel(std::string(TIVELOR_SOURCE_DIR) + "/examples/meadow12.dat", 12, 8, 40, true, true));
    App& app = t.app;
    EXPECT_EQ(monkey::BrokenInvariant(app), "");

    app.priors.PriorSD.ReDim(20);   // the size of another data set
    EXPECT_EQ(monkey::BrokenInvariant(app), "PriorSD has upper bound 20, not 24 (NumPars)");
    app.priors.PriorSD.ReDim(24);

    app.ml.last.valid = true;
    app.ml.last.ProfPar = 25;
    EXPECT_EQ(monkey::BrokenInvariant(app), "the offered likelihood profile is of parameter 25 of 24");
    app.ml.last.valid = false;

    // A task in charge, and the main menu back with the Application menu on;
    // a main menu left beside the task's window takes no input and is fine.
    app.task.Depth = 1;
    app.task.Running = "covariances";
    app.UnloadIfLoaded<frmMenu>();
    app.form<frmMain>().mnuApplication.Enabled = false;
    EXPECT_EQ(monkey::BrokenInvariant(app), "");
    app.form<frmMenu>().Show();
    app.ui.forms.OpenInputScope();
    EXPECT_EQ(monkey::BrokenInvariant(app), "");
    app.ui.forms.CloseInputScope();
    EXPECT_EQ(monkey::BrokenInvariant(app), "while covariances is in charge, the main menu takes input");
    app.form<frmMenu>().Hide();
    app.form<frmMain>().mnuApplication.Enabled = true;
    EXPECT_EQ(monkey::BrokenInvariant(app), "while covariances is in charge, frmMain.mnuApplication is enabled");
}

// Between two steps with no task in charge the user must have a way back to
// the main menu: the menu, Application > Main menu, or a window to go on from.
TEST(MonkeyInvariants, ADeadEndIsAFinding) {
    testing::AppSession t;
    t.LoadMainWindow();
    App& app = t.app;
    frmMain& main = app.form<frmMain>();
    main.Show();
    EXPECT_EQ(monkey::BrokenInvariant(app, true), "");

    app.UnloadIfLoaded<frmMenu>();
    EXPECT_EQ(monkey::BrokenInvariant(app, true), "");   // the Application menu is on
    main.mnuApplication.Enabled = false;
    const std::string deadEnd = "a dead end: no task is in charge, no window but the main window takes input, and "
                                "frmMain.mnuMenu cannot be used";
    EXPECT_EQ(monkey::BrokenInvariant(app, true), deadEnd);
    EXPECT_EQ(monkey::BrokenInvariant(app), "");   // inside a step: not yet a dead end
    app.task.Depth = 1;
    EXPECT_EQ(monkey::NoWayOn(app), "");   // the task in charge gives the way back at its end
    app.task.Depth = 0;

    app.form<frmWisdom>().Show();   // a window to go on from
    EXPECT_EQ(monkey::NoWayOn(app), "");
    app.form<frmWisdom>().Enabled = false;
    EXPECT_EQ(monkey::NoWayOn(app), deadEnd);
    app.UnloadIfLoaded<frmWisdom>();

    main.mnuApplication.Enabled = true;
    main.Enabled = false;   // the menu item of a disabled window cannot be used
    EXPECT_EQ(monkey::NoWayOn(app), deadEnd);
    main.Enabled = true;
    app.form<frmMenu>().Show();
    main.mnuApplication.Enabled = false;
    EXPECT_EQ(monkey::NoWayOn(app), "");
}

}  // namespace
}  // namespace tivelor
