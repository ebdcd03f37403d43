// The monkey's invariant checker sees a broken state.
#include <gtest/gtest.h>

#include "tests/player/invariants.h"
#include "tests/support/ModelSession.h"
#include "shell/frmMenu.h"
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

}  // namespace
}  // namespace tivelor
