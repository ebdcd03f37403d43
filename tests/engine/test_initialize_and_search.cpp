// The initialization dialog, the initial-value offer and the grid search.
#include <gtest/gtest.h>

#include <cmath>

#include "EngineTestUtil.h"
#include "engine/Likelihood.h"
#include "engine/Objective.h"
#include "engine/Parameters.h"
#include "model/GridSearch.h"
#include "model/frmGuessPars.h"
#include "model/frmInitialize.h"
#include "shell/frmMain.h"

using namespace tivelor;
using platform::headless::Step;

namespace {

struct Dialog : enginetest::Started {
    frmInitialize& dlg() { return app.form<frmInitialize>(); }
    Dialog() { s.backend.Click("frmMenu.cmdInitialize"); }
    void Fill(const std::string& data, const std::string& hab, const std::string& sampled,
              const std::string& species) {
        dlg().txtDataFile.Text = data;
        dlg().cboQuadsinHab.Text = hab;
        dlg().cboQuadsSampled.Text = sampled;
        dlg().cboNSpecies.Text = species;
    }
    std::string LastMessage() { return s.backend.msgBoxes.empty() ? "" : s.backend.msgBoxes.back().text; }
};

std::string SmallData() {
    const std::string path = enginetest::Temp("init.dat");
    enginetest::WriteFile(path, enginetest::SmallDataFile());
    return path;
}

}  // namespace

TEST(InitializeDialog, LoadFillsTheListsAndHidesTheMenu) {
    Dialog t;
    EXPECT_FALSE(t.app.IsLoaded<frmMenu>());
    EXPECT_EQ(t.app.form<frmMain>().Caption, "Orsadine Estimation Model");
    EXPECT_EQ(t.dlg().cboQuadsinHab.ListCount(), 10);
    EXPECT_EQ(t.dlg().cboQuadsSampled.ListCount(), 37);
    EXPECT_EQ(t.dlg().cboQuadsSampled.List(0), "1");
    EXPECT_EQ(t.dlg().cboQuadsSampled.List(36), "10000");
    EXPECT_EQ(t.dlg().cboNSpecies.ListCount(), 200);
    EXPECT_EQ(t.dlg().txtDataFormat.Text().substr(0, 20), "The data input file ");
    EXPECT_EQ(t.dlg().Left, 4500);
}

TEST(InitializeDialog, RefusesMissingAndUnusableInputInOrder) {
    Dialog t;
    struct Case {
        std::string data, hab, sampled, species, title, message;
    } cases[] = {
        {"", "10000", "6", "", "Missing input", "Please choose a data file"},
        {"x.dat", "", "", "", "Missing input", "Please set the number of quadrats in the defined habitat"},
        {"x.dat", "10", "", "", "Missing input", "Please set the number of quadrats sampled"},
        {"x.dat", "10", "6", "", "Missing input", "Please set the number of species"},
        {"x.dat", "10", "20", "3", "Invalid input",
         "The number of quadrats sampled (20) cannot exceed the number of quadrats in the defined habitat (10)"},
        {"x.dat", "0", "6", "3", "Invalid input",
         "The number of quadrats in the defined habitat must be a whole number of 1 or more"},
        {"x.dat", "10", "-6", "3", "Invalid input",
         "The number of quadrats sampled must be a whole number from 1 to 32767"},
        {"x.dat", "10", "6", "many", "Invalid input",
         "The number of species must be a whole number from 1 to 16383"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        t.Fill(c.data, c.hab, c.sampled, c.species);
        t.s.backend.AnswerMsgBox(c.title, platform::vbOK);
        t.s.backend.Click("frmInitialize.cmdDone");
        EXPECT_EQ(t.LastMessage(), c.message);
        EXPECT_TRUE(t.app.IsLoaded<frmInitialize>());
        EXPECT_EQ(t.app.form<frmMain>().Initialized, 0);
    }
}

TEST(InitializeDialog, DoneResetsTheParameterSetAndPriors) {
    Dialog t;
    t.app.sw.PriorsOn = "on";
    t.app.sw.CovDone = "on";
    t.app.shell.PriFileName = "old.pri";
    t.app.eng.SimplexValid = 1;
    const std::string data = SmallData();
    t.Fill(data, "10000", "6", "3");
    t.s.backend.Click("frmInitialize.cmdDone");
    EXPECT_FALSE(t.app.IsLoaded<frmInitialize>());
    ParameterSet& par = t.app.eng.par;
    ASSERT_EQ(par.NumPars, 6);
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(par.StepSize(i), 0);
        EXPECT_EQ(par.FuseCode(i), "~~");
        EXPECT_EQ(t.app.priors.PriorType(i), "U");
    }
    EXPECT_EQ(t.app.sw.PriorsOn, "off");
    EXPECT_EQ(t.app.sw.CovDone, "off");
    EXPECT_EQ(t.app.shell.PriFileName, "");
    EXPECT_EQ(t.app.eng.SimplexValid, 0);
    frmMain& main = t.app.form<frmMain>();
    EXPECT_EQ(main.Initialized, platform::True);
    EXPECT_EQ(main.stbMain0.Panel(1), data);
    EXPECT_EQ(main.stbMain1.Panel(2), "Bayesian priors file: ");
    frmMenu& menu = t.app.form<frmMenu>();
    EXPECT_TRUE(menu.Visible());
    EXPECT_TRUE(menu.cmdLoadAlg.Enabled);
    EXPECT_FALSE(menu.cmdEditAlg.Enabled);
}

TEST(InitializeDialog, DataFileErrorKeepsTheDialogAndTheEarlierModel) {
    Dialog t;
    t.Fill(SmallData(), "10000", "6", "3");
    t.s.backend.Click("frmInitialize.cmdDone");
    t.app.eng.par.ParValue(1) = 0.25;

    t.s.backend.Click("frmMenu.cmdInitialize");
    t.Fill(SmallData(), "10000", "12", "3");   // the file has only 6 quadrats
    t.s.backend.AnswerMsgBox("", platform::vbOK);
    t.s.backend.Click("frmInitialize.cmdDone");
    EXPECT_FALSE(t.s.backend.Ended());
    EXPECT_TRUE(t.app.IsLoaded<frmInitialize>());
    EXPECT_EQ(t.app.eng.par.NumPars, 6);
    EXPECT_EQ(t.app.eng.par.ParValue(1), 0.25);
    EXPECT_EQ(t.app.model.NQuad, 6);

    t.s.backend.Click("frmInitialize.cmdCancel");
    EXPECT_TRUE(t.app.form<frmMenu>().Visible());
    EXPECT_EQ(t.app.eng.par.ParValue(1), 0.25);
}

TEST(GuessDialog, ResolutionsAreReadAbsoluteAndOutOfRangeIsAskedAgain) {
    enginetest::Started t;
    frmGuessPars& dlg = t.app.form<frmGuessPars>();
    EXPECT_EQ(dlg.cboTheta.ListCount(), 6);
    EXPECT_EQ(dlg.lblTheta.Caption, "Theta:");
    dlg.cboTheta.Text = "-20";
    dlg.cboUA.Text = "0";
    t.s.backend.AnswerMsgBox("Grid resolution", platform::vbOK);
    dlg.cmdDo_Click();
    EXPECT_TRUE(t.app.IsLoaded<frmGuessPars>());
    EXPECT_EQ(t.app.model.GuessPars, 0);
    dlg.cboUA.Text = "1001";
    t.s.backend.AnswerMsgBox("Grid resolution", platform::vbOK);
    dlg.cmdDo_Click();
    EXPECT_TRUE(t.app.IsLoaded<frmGuessPars>());
    dlg.cboUA.Text = "7 intervals";
    dlg.chkAskAgain.Value = 1;
    dlg.cmdDo_Click();
    EXPECT_FALSE(t.app.IsLoaded<frmGuessPars>());
    EXPECT_EQ(t.app.model.ThetaGridRes, 20);
    EXPECT_EQ(t.app.model.UAGridRes, 7);
    EXPECT_EQ(t.app.model.GuessPars, platform::True);
    EXPECT_EQ(t.app.model.AskGuessInitial, 0);
}

TEST(GridSearch, OfferedOnlyForTheOneFunctionCallsOwnEvaluation) {
    Dialog t;
    t.Fill(SmallData(), "10000", "6", "3");
    t.s.backend.Click("frmInitialize.cmdDone");
    ASSERT_EQ(t.app.model.AskGuessInitial, platform::True);
    t.s.backend.AnswerMsgBox("Load algorithm data", platform::vbNo);
    t.s.backend.AnswerMsgBox("Default Algorithm Values", platform::vbOK);
    t.s.backend.Click("frmMenu.cmdLoadAlg");

    // The one-function window is open, but a later evaluation asks nothing.
    t.s.backend.Push(enginetest::ClickStep("frmGuessPars.cmdCancel"));
    t.s.backend.Click("frmMenu.cmdOneFunction");
    EXPECT_EQ(t.s.backend.PendingSteps(), 0u);
    ASSERT_TRUE(t.app.sw.OneFunctionOpen);
    platform::Vec<double> X = t.app.eng.par.ParValue;
    EvaluateObjective(t.app, X, 1, true);   // would throw on an unexpected modal dialog
    EXPECT_FALSE(t.app.IsLoaded<frmGuessPars>());

    // Do it with resolutions 5 by 5: values land in the parameter set.
    t.s.backend.Close("frmOneFunction");
    t.s.backend.Push(enginetest::TypeStep("frmGuessPars.cboTheta", "5"));
    t.s.backend.Push(enginetest::TypeStep("frmGuessPars.cboUA", "5"));
    t.s.backend.Push(enginetest::ClickStep("frmGuessPars.cmdDo"));
    t.s.backend.Click("frmMenu.cmdOneFunction");
    EXPECT_EQ(t.s.backend.PendingSteps(), 0u);
    ParameterSet& par = t.app.eng.par;
    for (int i = 1; i <= 3; ++i) {
        double logit = std::log(par.ParValue(i) / (1 - par.ParValue(i)));
        EXPECT_NEAR(std::fmod(logit + 5 + 1E-9, 2.0), 0, 1E-6) << i;   // on the Theta grid
        EXPECT_GE(par.ParValue(3 + i), 0.01 * (1 - 1E-12));
    }
    EXPECT_EQ(t.app.form<frmMain>().stbMain5.Panel(1), "");
    EXPECT_NE(t.app.form<frmMain>().stbMain5.Panel(3).find("Best initial values for species #3 are: Theta > "),
              std::string::npos);
}

TEST(GridSearch, FusedSpeciesCopyTheirLeaderAndLinksGiveLinkScales) {
    Dialog t;
    t.dlg().chkLogitThetas.Value = 1;
    t.dlg().chkLogNs.Value = 1;
    t.Fill(SmallData(), "10000", "6", "3");
    t.s.backend.Click("frmInitialize.cmdDone");
    ModelState& m = t.app.model;
    m.ThetaGridRes = 4;
    m.UAGridRes = 4;
    platform::Vec<double> P(6);
    platform::Vec<std::string> codes(6);
    for (int i = 1; i <= 6; ++i) codes(i) = "~~";
    codes(1) = "B";
    codes(3) = "B";
    P(3) = 99;
    SearchInitialValues(t.app, P, codes);
    EXPECT_EQ(P(3), P(1));
    EXPECT_EQ(P(6), P(4));
    for (int i = 1; i <= 2; ++i) {
        EXPECT_NEAR(std::fmod(P(i) + 5 + 1E-9, 2.5), 0, 1E-6);   // Logit[Theta] on its grid
        EXPECT_GE(P(3 + i), std::log(0.01) - 1E-9);                // Ln[UA]
        EXPECT_LE(P(3 + i), std::log(9999.0 / 6 * 38) + 1E-9);
    }
}

TEST(GridSearch, AVeryLargeHabitatCapsTheAbundanceAxis) {
    Dialog t;
    t.Fill(SmallData(), "2000000000", "6", "3");
    t.s.backend.Click("frmInitialize.cmdDone");
    ASSERT_EQ(t.app.eng.par.NumPars, 6);
    t.app.model.ThetaGridRes = 2;
    t.app.model.UAGridRes = 3;
    platform::Vec<double> P(6);
    platform::Vec<std::string> codes(6);
    for (int i = 1; i <= 6; ++i) codes(i) = "~~";
    SearchInitialValues(t.app, P, codes);
    for (int i = 4; i <= 6; ++i) EXPECT_LE(P(i), 1E9 * (1 + 1E-9));
}
