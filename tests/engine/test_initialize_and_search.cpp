// The initialization dialog, the initial-value offer and the grid search.
#include <gtest/gtest.h>

#include <cmath>

#include "EngineTestUtil.h"
#include "engine/Objective.h"
#include "engine/Parameters.h"
#include "model/GridSearch.h"

using namespace tivelor;
using enginetest::Step;

TEST(InitializeDialog, ListsAndRefusalsInOrder) {
    enginetest::Started t;
    t.s.backend.Click("frmMenu.cmdInitialize");
    EXPECT_FALSE(t.app.IsLoaded<frmMenu>());
    frmInitialize& dlg = t.app.form<frmInitialize>();
    EXPECT_EQ(std::make_tuple(dlg.cboQuadsinHab.ListCount(), dlg.cboQuadsSampled.ListCount(),
                              dlg.cboQuadsSampled.List(36), dlg.cboNSpecies.ListCount()),
              std::make_tuple(10, 37, std::string("10000"), 200));
    struct Case {
        std::string data, hab, sampled, species, message;
    } cases[] = {
        {"", "10000", "6", "", "Please choose a data file"},
        {"x.dat", "", "", "", "Please set the number of quadrats in the defined habitat"},
        {"x.dat", "10", "", "", "Please set the number of quadrats sampled"},
        {"x.dat", "10", "6", "", "Please set the number of species"},
        {"x.dat", "10", "20", "3",
         "The number of quadrats sampled (20) cannot exceed the number of quadrats in the defined habitat (10)"},
        {"x.dat", "10", "6", "many", "The number of species must be a whole number from 1 to 16383"},
    };
    for (const Case& c : cases) {
        t.Fill(c.data, c.hab, c.sampled, c.species);
        t.s.backend.AnswerMsgBox("", platform::vbOK);
        t.s.backend.Click("frmInitialize.cmdDone");
        EXPECT_EQ(t.s.backend.msgBoxes.back().text, c.message);
    }
    EXPECT_EQ(t.s.backend.msgBoxes[0].title, "Missing input");
    EXPECT_TRUE(t.app.IsLoaded<frmInitialize>() && !t.app.form<frmMain>().Initialized);
}

TEST(InitializeDialog, DoneResetsEverythingAndADataErrorKeepsTheEarlierModel) {
    enginetest::Started t;
    t.app.sw.PriorsOn = t.app.sw.CovDone = "on";
    t.app.shell.PriFileName = "old.pri";
    t.app.eng.SimplexValid = 1;
    t.Initialize();
    ParameterSet& par = t.app.eng.par;
    ASSERT_EQ(par.NumPars, 6);
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(par.FuseCode(i) + t.app.priors.PriorType(i), "~~U");
    EXPECT_EQ(t.app.sw.PriorsOn + t.app.sw.CovDone + t.app.shell.PriFileName + std::to_string(t.app.eng.SimplexValid),
              "offoff0");
    EXPECT_EQ(t.app.form<frmMain>().stbMain1.Panel(2), "Bayesian priors file: ");

    par.ParValue(1) = 0.25;
    t.s.backend.Click("frmMenu.cmdInitialize");
    t.Fill(enginetest::SmallData(), "10000", "12");   // the file has only 6 quadrats
    t.s.backend.AnswerMsgBox("", platform::vbOK);
    t.s.backend.Click("frmInitialize.cmdDone");
    EXPECT_TRUE(t.app.IsLoaded<frmInitialize>());
    t.s.backend.Click("frmInitialize.cmdCancel");
    EXPECT_TRUE(t.app.form<frmMenu>().Visible());
    EXPECT_EQ(par.NumPars, 6);
    EXPECT_EQ(par.ParValue(1), 0.25);
}

TEST(GridSearch, OfferedOnlyForTheOneFunctionCallsOwnEvaluation) {
    enginetest::Started t;
    t.Initialize();
    t.LoadDefaults();

    // The one-function window is open, but a later evaluation asks nothing.
    t.s.backend.Push(enginetest::Act(Step::Click, "frmGuessPars.cmdCancel"));
    t.s.backend.Click("frmMenu.cmdOneFunction");
    EXPECT_EQ(t.s.backend.PendingSteps(), 0u);
    ASSERT_TRUE(t.app.sw.OneFunctionOpen);
    platform::Vec<double> X = t.app.eng.par.ParValue;
    EvaluateObjective(t.app, X, 1, true);   // would throw on an unexpected modal dialog

    // Do it with resolutions 5 by 5 (-5 is read as 5, 0 is asked again).
    t.s.backend.Close("frmOneFunction");
    for (const char* ua : {"0", "5"}) {
        t.s.backend.Push(enginetest::Act(Step::Type, "frmGuessPars.cboTheta", "-5"));
        t.s.backend.Push(enginetest::Act(Step::Type, "frmGuessPars.cboUA", ua));
        t.s.backend.Push(enginetest::Act(Step::Click, "frmGuessPars.cmdDo"));
        if (*ua == '0') t.s.backend.AnswerMsgBox("Grid resolution", platform::vbOK);
    }
    t.s.backend.Click("frmMenu.cmdOneFunction");
    EXPECT_EQ(t.s.backend.PendingSteps(), 0u);
    const double theta = t.app.eng.par.ParValue(3);
    EXPECT_NEAR(std::fmod(std::log(theta / (1 - theta)) + 5 + 1E-9, 2.0), 0, 1E-6);   // on the Theta grid
    EXPECT_EQ(t.app.form<frmMain>().stbMain5.Panel(3).substr(0, 48), "Best initial values for species #3 are: Theta > ");
}

TEST(GridSearch, FusedSpeciesCopyTheirLeaderLinksGiveLinkScalesAndUAIsCapped) {
    for (const char* hab : {"10000", "2000000000"}) {
        enginetest::Started t;
        t.Initialize(hab, 1);
        t.app.model.ThetaGridRes = t.app.model.UAGridRes = 4;
        platform::Vec<double> P(6);
        platform::Vec<std::string> codes(6);
        for (int i = 1; i <= 6; ++i) codes(i) = i == 1 || i == 3 ? "B" : "~~";
        P(3) = 99;
        SearchInitialValues(t.app, P, codes);
        EXPECT_EQ(std::make_pair(P(3), P(6)), std::make_pair(P(1), P(4)));
        for (int i = 1; i <= 2; ++i) {
            EXPECT_NEAR(std::fmod(P(i) + 5 + 1E-9, 2.5), 0, 1E-6);   // Logit[Theta] on its grid
            EXPECT_GE(P(3 + i), std::log(0.01) - 1E-9);                // Ln[UA]
            EXPECT_LE(P(3 + i), std::log(std::min((std::stod(hab) - 1) / 6 * 38, 1E9)) + 1E-9) << hab;
        }
    }
}
