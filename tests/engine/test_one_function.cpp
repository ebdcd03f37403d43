// The likelihood constant, the evaluation sequence and the one-function call.
#include <gtest/gtest.h>

#include "EngineTestUtil.h"
#include "engine/Likelihood.h"
#include "engine/Objective.h"
#include "engine/Parameters.h"
#include "model/Model.h"
#include "platform/runtime.h"
#include "shell/TextWindows.h"
#include "shell/frmMain.h"

using namespace tivelor;

namespace {

const char* const kRefusal =
    "Cannot accept a negative or zero constant; perhaps the degrees of freedom are zero or fewer";

// Initialized from a small data file of 3 species in 6 quadrats, defaults loaded.
struct Ready : enginetest::Started {
    Ready() {
        const std::string data = enginetest::Temp("onefunction.dat");
        enginetest::WriteFile(data, enginetest::SmallDataFile());
        s.backend.Click("frmMenu.cmdInitialize");
        s.backend.Type("frmInitialize.txtDataFile", data);
        s.backend.Type("frmInitialize.cboQuadsinHab", "10000");
        s.backend.Type("frmInitialize.cboQuadsSampled", "6");
        s.backend.Type("frmInitialize.cboNSpecies", "3");
        s.backend.Click("frmInitialize.cmdDone");
        EXPECT_EQ(app.form<frmMain>().Initialized, platform::True);
        s.backend.AnswerMsgBox("Load algorithm data", platform::vbNo);
        s.backend.AnswerMsgBox("Default Algorithm Values", platform::vbOK);
        s.backend.Click("frmMenu.cmdLoadAlg");
        ParameterSet& par = app.eng.par;
        for (int i = 1; i <= 3; ++i) {
            par.ParValue(i) = 0.1 * i;
            par.ParValue(3 + i) = 10.0 * i;
        }
    }
};

}  // namespace

TEST(LikelihoodConstant, RefusesZeroNegativeTextAndCancelThenTakesTheLeadingNumber) {
    enginetest::Started t;
    for (const char* answer : {"0", "-1", "abc"}) {
        t.s.backend.AnswerInput("Enter constant", answer);
        t.s.backend.AnswerMsgBox("Insufficient degrees of freedom", platform::vbOK);
    }
    t.s.backend.CancelInput("Enter constant");
    t.s.backend.AnswerInput("Enter constant", "0.5");
    EnterLikelihoodConstant(t.app);
    EXPECT_EQ(t.app.eng.RecipLnLConst, 2);
    ASSERT_EQ(t.s.backend.msgBoxes.size(), 3u);
    for (const auto& box : t.s.backend.msgBoxes) {
        EXPECT_EQ(box.text, kRefusal);
        EXPECT_EQ(box.title, "Insufficient degrees of freedom");
        EXPECT_EQ(box.style, 48);
    }
    EXPECT_EQ(t.s.backend.inputPrompts.size(), 5u);

    t.s.backend.AnswerInput("Enter constant", "0.25 per unit");
    EnterLikelihoodConstant(t.app);
    EXPECT_EQ(t.app.eng.RecipLnLConst, 4);
}

TEST(EvaluationSequence, PriorsOnAskForTheConstantFirstAndAddThePenalty) {
    Ready t;
    ParameterSet& par = t.app.eng.par;
    platform::Vec<double> X = par.ParValue;
    const double plain = EvaluateObjective(t.app, X, 1, true);
    X = par.ParValue;
    EXPECT_EQ(EvaluateObjective(t.app, X, 1, false), plain);

    t.app.sw.PriorsOn = "on";
    X = par.ParValue;
    t.s.backend.AnswerInput("Enter constant", "0.5");
    EXPECT_EQ(EvaluateObjective(t.app, X, 1, true), plain);   // every prior uniform-unbounded
    EXPECT_EQ(t.app.eng.RecipLnLConst, 2);

    t.app.priors.PriorType(1) = "N";
    t.app.priors.PriorMean(1) = par.ParValue(1) + 1;
    t.app.priors.PriorSD(1) = 1;
    X = par.ParValue;
    EXPECT_DOUBLE_EQ(EvaluateObjective(t.app, X, 1, true), plain + 2 * 0.5);
    X = par.ParValue;
    EXPECT_EQ(EvaluateObjective(t.app, X, 1, false), plain);
}

TEST(OneFunctionCall, ReportLayout) {
    Ready t;
    ParameterSet& par = t.app.eng.par;
    par.FuseCode(2) = "A";
    par.FuseCode(3) = "A";
    par.StepSize(2) = 0.1;
    t.s.clock.step = 0.6;   // each timer read moves the clock on
    // The search offer comes from inside the evaluation; skip it.
    t.s.backend.Push(enginetest::ClickStep("frmGuessPars.cmdCancel"));
    t.s.backend.Click("frmMenu.cmdOneFunction");
    EXPECT_FALSE(t.app.IsLoaded<frmMenu>());
    EXPECT_TRUE(t.app.form<frmMain>().mnuApplication.Enabled);
    EXPECT_EQ(par.ParValue(3), par.ParValue(2));   // fused follower listed with its leader's value

    platform::Vec<double> X = par.ParValue;
    const double F = EvaluateObjective(t.app, X, 1, false);
    std::string expected = "\r\nCurrent minimum of " + platform::Format(F, "####0.#####") +
                           " found at the following parameter values: \r\n\r\n";
    for (int i = 1; i <= 6; ++i)
        expected += "    00" + std::to_string(i) + ") " +
                    RSetPad(platform::Format(par.ParValue(i), "0.0000000E+00"), 14) + " " +
                    RSetPad(par.FuseCode(i), 3) + "  " + par.ParName(i) + "\r\n";
    expected += "\r\nNote: One function call requires about 0.6 seconds\r\n";
    EXPECT_EQ(t.app.form<frmOneFunction>().rtbOneFunction.Text(), expected);
    EXPECT_NE(t.app.form<frmOneFunction>().rtbOneFunction.Text().find("    002)  2.0000000E-01   A  Theta"), std::string::npos)
        << t.app.form<frmOneFunction>().rtbOneFunction.Text();
    EXPECT_EQ(t.app.form<frmMain>().stbMain5.Panel(1), "");

    // Closing the window brings the main menu back.
    t.s.backend.Close("frmOneFunction");
    EXPECT_TRUE(t.app.IsLoaded<frmMenu>());
}
