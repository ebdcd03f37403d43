// The likelihood constant, the evaluation sequence and the one-function call.
#include <gtest/gtest.h>

#include <iterator>

#include "EngineTestUtil.h"
#include "engine/Likelihood.h"
#include "engine/Objective.h"
#include "engine/Parameters.h"
#include "platform/runtime.h"
#include "shell/frmOneFunction.h"
#include "windows/LikelihoodConstant.h"

using namespace tivelor;

namespace {

// Initialized on the small data file, defaults loaded, values set.
struct Ready : enginetest::Started {
    ParameterSet& par = app.eng.par;
    Ready() {
        Initialize();
        LoadDefaults();
        for (int i = 1; i <= 3; ++i) std::tie(par.ParValue(i), par.ParValue(3 + i)) = std::make_pair(0.1 * i, 10.0 * i);
    }
    double Eval(bool withPrior) {
        platform::Vec<double> X = par.ParValue;
        return EvaluateObjective(app, X, 1, withPrior);
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
    t.s.backend.AnswerInput("Enter constant", "0.25 per unit");
    EnterLikelihoodConstant(t.app);
    EXPECT_EQ(std::make_pair(t.app.eng.RecipLnLConst, t.s.backend.inputPrompts.size()), std::make_pair(4.0, 5ul));
    for (const std::string& line : t.s.backend.log)   // every box at its place on the screen
        if (line.rfind("inputbox", 0) == 0) {
            EXPECT_NE(line.find("\"\" at 5000,2000 -> "), std::string::npos) << line;
        }
    ASSERT_EQ(t.s.backend.msgBoxes.size(), 3u);
    for (const auto& box : t.s.backend.msgBoxes) {
        EXPECT_EQ(box.text + std::to_string(box.style),
                  "Cannot accept a negative or zero constant; perhaps the degrees of freedom are zero or fewer48");
    }
}

TEST(LikelihoodConstant, TakesTheRangeItsRefusalNames) {
    enginetest::Started t;
    // Infinite, subnormal, a reciprocal that is subnormal or infinite, and
    // normal numbers just outside 1E-307 to 1E+307 whose reciprocals are
    // normal too.
    const char* refused[] = {"1E400", "1E-320", "1E308", "1E-308", "2.3E-308", "4.4E+307", "9.9999999E-308",
                             "1.0000001E+307"};
    for (const char* answer : refused) {
        t.s.backend.AnswerInput("Enter constant", answer);
        t.s.backend.AnswerMsgBox("Enter constant", platform::vbOK);
    }
    t.s.backend.AnswerInput("Enter constant", "1E+307");
    EnterLikelihoodConstant(t.app);
    ASSERT_EQ(t.s.backend.msgBoxes.size(), std::size(refused));
    for (const auto& box : t.s.backend.msgBoxes) {
        EXPECT_EQ(box.text, "Cannot accept a constant so large or so small that it or its reciprocal is out of "
                            "range; choose a constant between 1E-307 and 1E+307");
    }
    EXPECT_DOUBLE_EQ(t.app.eng.RecipLnLConst, 1E-307);
    t.s.backend.AnswerInput("Enter constant", "1E-307");
    EnterLikelihoodConstant(t.app);
    EXPECT_DOUBLE_EQ(t.app.eng.RecipLnLConst, 1E+307);
}

TEST(EvaluationSequence, PriorsOnAskForTheConstantFirstAndAddThePenalty) {
    Ready t;
    const double plain = t.Eval(true);
    t.app.sw.PriorsOn = "on";
    t.s.backend.AnswerInput("Enter constant", "0.5");
    EXPECT_EQ(t.Eval(true), plain);   // every prior uniform-unbounded
    EXPECT_EQ(t.app.eng.RecipLnLConst, 2);
    std::tie(t.app.priors.PriorType(1), t.app.priors.PriorMean(1), t.app.priors.PriorSD(1)) =
        std::make_tuple("N", t.par.ParValue(1) + 1, 1.0);
    EXPECT_DOUBLE_EQ(t.Eval(true), plain + 2 * 0.5);
    EXPECT_EQ(t.Eval(false), plain);
}

TEST(OneFunctionCall, ReportLayout) {
    Ready t;
    t.par.FuseCode(2) = t.par.FuseCode(3) = "A";
    t.s.clock.step = 0.6;   // each timer read moves the clock on
    t.s.backend.Push(enginetest::Act(enginetest::Step::Click, "frmGuessPars.cmdCancel"));
    t.s.backend.Click("frmMenu.cmdOneFunction");
    EXPECT_TRUE(!t.app.IsLoaded<frmMenu>() && t.app.form<frmMain>().mnuApplication.Enabled);
    EXPECT_EQ(t.par.ParValue(3), t.par.ParValue(2));   // the fused follower takes its leader's value

    std::string expected = "\r\nCurrent minimum of " + platform::Format(t.Eval(false), "####0.#####") +
                           " found at the following parameter values: \r\n\r\n";
    for (int i = 1; i <= 6; ++i)
        expected += "    00" + std::to_string(i) + ") " +
                    RSetPad(platform::Format(t.par.ParValue(i), "0.0000000E+00"), 14) + " " +
                    RSetPad(t.par.FuseCode(i), 3) + "  " + t.par.ParName(i) + "\r\n";
    expected += "\r\nNote: One function call requires about 0.6 seconds\r\n";
    const std::string text = t.app.form<frmOneFunction>().rtbOneFunction.Text();
    EXPECT_EQ(text, expected);
    EXPECT_NE(text.find("    002)  2.0000000E-01   A  Theta"), std::string::npos);
    EXPECT_EQ(t.app.form<frmMain>().stbMain5.Panel(1), "");
}
