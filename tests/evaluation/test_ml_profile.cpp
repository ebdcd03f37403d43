// The maximum-likelihood profile run through its dialogue, against
// distributions worked out independently.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "../marquardt/MarqTestUtil.h"
#include "evaluation/MLEvaluation.h"
#include "evaluation/frmMaxLike.h"
#include "evaluation/frmParEvals.h"
#include "model/frmInitialize.h"
#include "windows/frmMain.h"
#include "shell/frmMenu.h"

namespace {

using marqtest::Fixture;
using platform::Vec;
using platform::vbNo;
using platform::vbOK;
using platform::vbYes;

const char* const kTitle = "ML parameter estimate evaluation";

// F = 100 + (x - m)' S^-1 (x - m), m = (0.3, 1.2), S = [[.01, .005], [.005, .04]].
double Quadratic(const Vec<double>& p) {
    const double a = p(1) - 0.3, b = p(2) - 1.2, det = 0.01 * 0.04 - 0.005 * 0.005;
    return 100 + (0.04 * a * a - 2 * 0.005 * a * b + 0.01 * b * b) / det;
}
void QuadraticDerivs(const Vec<double>& p, Vec<double>& g, platform::Matrix<double>& h) {
    const double a = p(1) - 0.3, b = p(2) - 1.2, det = 0.01 * 0.04 - 0.005 * 0.005;
    g(1) = (0.08 * a - 0.01 * b) / det;
    g(2) = (0.02 * b - 0.01 * a) / det;
    h.Fill(0);
    h(1, 1) = 0.08 / det, h(2, 2) = 0.02 / det, h(1, 2) = h(2, 1) = -0.01 / det;
}

struct MLFixture : Fixture {
    MLFixture() {
        Params({0.3, 1.2}, {0.05, 0.05});
        Objective(Quadratic, QuadraticDerivs);
        app.shell.AlgoColOn.ReDim(9);
        // A covariance run left standard errors 0.1 and 0.2 on grid 1.
        app.sw.CovDone = "on";
        app.eng.CovStore.ReDim(2, 2, 3);
        // Parameter 1 in slot 2 and parameter 2 in slot 1: each takes its own.
        app.eval.CovSlot.ReDim(2);
        app.eval.CovSlot(1) = 2;
        app.eval.CovSlot(2) = 1;
        app.eng.CovStore(0, 2, 1) = 0.1;
        app.eng.CovStore(0, 1, 1) = 0.2;
        app.eng.CovStore(0, 1, 2) = app.eng.CovStore(0, 2, 2) = -1;   // grid 2 was quit
    }
    // Answers the dialogue up to the run: parameter, points, Simplex or not, grid.
    void Dialogue(const std::string& par, const std::string& points, bool simplex, const std::string& grid = "1") {
        Answer(kTitle);                   // the list of plots
        Answer(kTitle, vbYes);            // continue
        s.backend.AnswerInput("Enter constant", "0.5");
        s.backend.AnswerInput(kTitle, par);
        s.backend.AnswerInput(kTitle, points);
        Answer(kTitle, simplex ? vbYes : vbNo);
        if (app.sw.CovDone == "on") s.backend.AnswerInput(kTitle, grid);
        FinishEditing();
        Answer("Just so you know");
    }
    // The editor shown during the dialogue is closed by its Finish button.
    void FinishEditing() {
        platform::headless::Step st;
        st.kind = platform::headless::Step::Click;
        st.target = "frmAlgo.cmdFinish";
        s.backend.Push(st);
    }
    // The distribution plot window is left by its Done button.
    void DonePlots() {
        platform::headless::Step st;
        st.kind = platform::headless::Step::Click;
        st.target = "frmDistPlot.cmdDone";
        s.backend.Push(st);
    }
    void Finish() {
        DonePlots();
        Answer("A friendly reminder");
    }
    const tivelor::EvalState& ev() { return app.eval; }
};

struct MLProfile : MLFixture {};

TEST_F(MLProfile, ReMinimizedProfileIsTheMarginalDistribution) {
    MLFixture& f = *this;
    // Grid 2 holds no standard errors: said so, and asked again.
    f.Answer(kTitle);
    f.Answer(kTitle, vbYes);
    f.s.backend.AnswerInput("Enter constant", "0.5");
    f.s.backend.AnswerInput(kTitle, "1");
    f.s.backend.AnswerInput(kTitle, "25");
    f.Answer(kTitle, vbNo);
    f.s.backend.AnswerInput(kTitle, "2");
    f.Answer(kTitle);
    f.s.backend.AnswerInput(kTitle, "1");
    f.FinishEditing();
    f.Answer("Just so you know");
    f.Answer("Marquardt minimization", vbYes);   // analytical derivatives
    f.Answer("Marquardt minimization");
    f.Answer("Marquardt minimization", vbNo);    // no derivative listing
    f.Finish();
    tivelor::MLParameterEvaluation(f.app);
    const auto& ev = f.ev();
    ASSERT_EQ(ev.NProfPts, 25);
    // Steps from grid 1: SE x 24 / 72, so the points span four standard errors.
    EXPECT_NEAR(ev.ProfX(1), 0.3 - 0.4, 1E-12);
    EXPECT_NEAR(ev.ProfX(13), 0.3, 1E-15);
    EXPECT_NEAR(f.app.ml.ProfMean, 0.3, 1E-7);
    EXPECT_NEAR(f.app.ml.ProfSD, 0.0999461, 1E-6);
    EXPECT_NEAR(ev.ProfPDF(13), 3.9896789, 1E-5);
    EXPECT_NEAR(ev.ProfCum(13), 0.5000446, 1E-6);
    EXPECT_NEAR(ev.ProfCIMode(7), 0.9544592, 1E-6);
    EXPECT_NEAR(ev.ProfCIMode(19), 0.9546295, 1E-6);
    // Both values are back, the one minimized again at every point too; the
    // profiled parameter has its step back, the other one keeps its new step.
    EXPECT_EQ(f.app.eng.par.ParValue(1), 0.3);
    EXPECT_EQ(f.app.eng.par.ParValue(2), 1.2);
    EXPECT_NEAR(f.app.eng.par.StepSize(1), 0.1 / 3, 1E-15);
    EXPECT_NEAR(f.app.eng.par.StepSize(2), 0.2 / 3, 1E-15);
    EXPECT_EQ(f.app.sw.MLOn, "off");
    EXPECT_EQ(f.app.eng.opt.TerminalFreq, 10);

    // The table: 25 point lines of 99 characters and the summary.
    const std::string table = f.app.form<tivelor::frmMaxLike>().rtbMaxLike.Text();
    std::size_t at = 0;
    for (int k = 0; k < 3; ++k) at = table.find("\r\n", at) + 2;
    const std::string line1 = table.substr(at, table.find("\r\n", at) - at);
    EXPECT_EQ(line1.size(), 99u);
    EXPECT_EQ(line1.substr(0, 24), "    1    -1.0000E-001   ");
    EXPECT_NE(table.find("Max Likelihood:  3.0000E-001   \r\n"), std::string::npos);
    EXPECT_TRUE(f.app.IsLoaded<tivelor::frmMenu>());
}

TEST_F(MLProfile, EvaluateOnlyProfileIsTheConditionalDistribution) {
    MLFixture& f = *this;
    f.app.eng.par.StepSize(2) = 0;
    f.Dialogue("1", "25", true);
    f.Finish();
    tivelor::MLParameterEvaluation(f.app);
    EXPECT_NEAR(f.app.ml.ProfSD, 0.0967929, 1E-7);
    EXPECT_EQ(f.app.eng.par.StepSize(2), 0);   // not estimated: its step is kept
    // The previous-results offer shows the same table again without evaluating.
    const auto calls = f.calls.size();
    f.Answer(kTitle);
    f.Answer(kTitle, vbYes);
    f.Answer(kTitle, vbNo);   // the previous plots
    f.DonePlots();
    tivelor::MLParameterEvaluation(f.app);
    EXPECT_EQ(f.calls.size(), calls);
    EXPECT_NEAR(f.app.ml.ProfSD, 0.0967929, 1E-7);
    EXPECT_NEAR(f.app.eng.par.StepSize(1), 0.1 / 3, 1E-15);
}

TEST_F(MLProfile, PointCountsAndTheWaysOut) {
    MLFixture& f = *this;
    f.app.sw.CovDone = "off";
    // 1002 and -1 are asked again; 2 becomes 3.
    f.Answer(kTitle);
    f.Answer(kTitle, vbYes);
    f.s.backend.AnswerInput("Enter constant", "0.5");
    f.s.backend.AnswerInput(kTitle, "40000");   // beyond an Integer: asked again
    f.s.backend.AnswerInput(kTitle, "1");
    f.s.backend.AnswerInput(kTitle, "1002");
    f.s.backend.AnswerInput(kTitle, "-1");
    f.s.backend.AnswerInput(kTitle, "2");
    f.Answer(kTitle, vbYes);
    f.app.eng.par.StepSize(2) = 0;
    f.FinishEditing();
    f.Answer("Just so you know");
    f.Finish();
    tivelor::MLParameterEvaluation(f.app);
    EXPECT_EQ(f.ev().NProfPts, 3);

    // No at the first question and an empty parameter number change nothing.
    f.Answer(kTitle);
    f.Answer(kTitle, vbNo);
    tivelor::MLParameterEvaluation(f.app);
    f.Answer(kTitle);
    f.Answer(kTitle, vbYes);
    f.Answer(kTitle, vbYes);   // perform minimizations now
    f.s.backend.AnswerInput("Enter constant", "0.5");
    f.s.backend.CancelInput(kTitle);
    tivelor::MLParameterEvaluation(f.app);
    EXPECT_EQ(f.app.eng.par.StepSize(1), 0.05);
    EXPECT_EQ(f.app.eng.par.ParValue(1), 0.3);
}

TEST_F(MLProfile, QuittingKeepsAnOddNumberOfPointsAndANegativeStepAscends) {
    MLFixture& f = *this;
    f.app.sw.CovDone = "off";
    f.app.eng.par.StepSize(2) = 0;
    f.app.eng.par.StepSize(1) = -0.01;
    // Interrupt at point 10: 8 points before it, an even count, keep 7.
    int evaluations = 0;
    f.app.eng.Objective = [&](Vec<double>& P, long) {
        if (++evaluations == 10) f.app.form<tivelor::frmMain>().mnuInterruptML.Click();
        return Quadratic(P);
    };
    // From 0.3 the points run 0.42 down to 0.36: the lowest point is among
    // those never reached, so nothing can be shown.
    f.Dialogue("1", "25", true);
    f.Answer("Maximum-likelihood calculations", vbYes);
    f.Answer(kTitle);
    f.Answer("A friendly reminder");
    tivelor::MLParameterEvaluation(f.app);
    EXPECT_NE(f.s.backend.msgBoxes[f.s.backend.msgBoxes.size() - 2].text.find("nothing can be shown"), std::string::npos);
    EXPECT_EQ(f.ev().NProfPts, 0);
    // From 0.22 they run 0.34 down to 0.28 and are handed on ascending.
    evaluations = 0;
    f.app.eng.par.ParValue(1) = 0.22;
    f.Dialogue("1", "25", true);
    f.Answer("Maximum-likelihood calculations", vbYes);
    f.Finish();
    tivelor::MLParameterEvaluation(f.app);
    EXPECT_EQ(f.ev().NProfPts, 7);
    EXPECT_NEAR(f.ev().ProfX(1), 0.28, 1E-12);
    EXPECT_NEAR(f.ev().ProfX(7), 0.34, 1E-12);
    EXPECT_NEAR(f.ev().EVEstimate, 0.3, 1E-12);
    EXPECT_EQ(f.app.eng.par.ParValue(1), 0.22);
    EXPECT_EQ(f.app.eng.par.StepSize(1), -0.01);
}

// A run that leaves no table leaves no offer of the one before it either.
TEST_F(MLProfile, ARunWithoutATableWithdrawsTheOffer) {
    MLFixture& f = *this;
    f.app.sw.CovDone = "off";
    f.app.eng.par.StepSize(2) = 0;
    int evaluations = 0;
    std::function<void()> atSecond;
    f.app.eng.Objective = [&](Vec<double>& P, long) {
        if (++evaluations == 2 && atSecond) atSecond();
        return Quadratic(P);
    };
    auto run = [&](std::function<void()> fault, std::function<void()> answers) {
        f.Dialogue("1", "3", true);
        f.Finish();
        tivelor::MLParameterEvaluation(f.app);
        ASSERT_EQ(f.ev().NProfPts, 3);
        // The next run offers the table, is told to minimize, and ends without one.
        evaluations = 0;
        atSecond = std::move(fault);
        f.Answer(kTitle);
        f.Answer(kTitle, vbYes);
        f.Answer(kTitle, vbYes);   // perform minimizations now
        f.s.backend.AnswerInput("Enter constant", "0.5");
        f.s.backend.AnswerInput(kTitle, "1");
        f.s.backend.AnswerInput(kTitle, "3");
        f.Answer(kTitle, vbYes);
        f.FinishEditing();
        f.Answer("Just so you know");
        answers();
        f.Answer("A friendly reminder");
        tivelor::MLParameterEvaluation(f.app);
        EXPECT_EQ(f.ev().NProfPts, 0);
        atSecond = {};
        // No offer: the constant is asked next.
        f.Answer(kTitle);
        f.Answer(kTitle, vbYes);
        f.s.backend.AnswerInput("Enter constant", "0.5");
        f.s.backend.CancelInput(kTitle);
        tivelor::MLParameterEvaluation(f.app);
        EXPECT_EQ(f.s.backend.PendingSteps(), 0u);
        EXPECT_EQ(f.app.eng.par.ParValue(1), 0.3);
    };
    // Quit at point 2: too few points.
    run([&] { f.app.form<tivelor::frmMain>().mnuInterruptML.Click(); },
        [&] {
            f.Answer("Maximum-likelihood calculations", vbYes);
            f.Answer(kTitle);
        });
    // No degrees of freedom left at point 2.
    run([&] { f.app.eng.RecipLnLConst = 0; }, [&] { f.Answer("Insufficient degrees of freedom"); });
}

// A new parameter set while the profile waits in the editor (nothing the user
// can reach makes one; the run is not to rely on that): Finish ends the run
// as its own cancel does, touching no array of the old set, with no table.
TEST_F(MLProfile, ANewParameterSetDuringTheEditorWaitEndsTheRun) {
    MLFixture& f = *this;
    f.Answer(kTitle);
    f.Answer(kTitle, vbYes);
    f.s.backend.AnswerInput("Enter constant", "0.5");
    f.s.backend.AnswerInput(kTitle, "2");
    f.s.backend.AnswerInput(kTitle, "5");
    f.Answer(kTitle, vbNo);
    f.s.backend.AnswerInput(kTitle, "1");
    platform::headless::Step reinitialize;
    reinitialize.kind = platform::headless::Step::Call;
    reinitialize.call = [&] {
        f.app.eng.par.NumPars = 1;
        tivelor::SizeParameterArrays(f.app);
    };
    f.s.backend.Push(reinitialize);
    f.FinishEditing();
    f.Answer("Just so you know");
    f.Answer("A friendly reminder");
    tivelor::MLParameterEvaluation(f.app);
    EXPECT_EQ(f.s.backend.PendingSteps(), 0u);
    EXPECT_EQ(f.ev().NProfPts, 0);
    EXPECT_FALSE(f.app.IsLoaded<tivelor::frmMaxLike>());
    EXPECT_EQ(f.app.eng.par.StepSize.UBound(), 1);
    EXPECT_EQ(f.app.sw.MLOn, "off");
}

// The prior term enters on the -ln L scale: a normal likelihood N(0.3, 0.1)
// times a normal prior N(0.5, 0.1) is N(0.4, 0.0707).
TEST_F(MLProfile, APriorEntersOnTheLikelihoodScale) {
    MLFixture& f = *this;
    f.app.sw.CovDone = "off";
    f.Params({0.4}, {0.025});
    f.Objective([](const Vec<double>& p) { return (p(1) - 0.3) * (p(1) - 0.3) / 0.01; });
    f.app.shell.AlgoColOn.ReDim(9);
    f.app.priors.Reset(1);
    f.app.priors.PriorType(1) = "N";
    f.app.priors.PriorMean(1) = 0.5;
    f.app.priors.PriorSD(1) = 0.1;
    f.app.sw.PriorsOn = "on";
    f.Dialogue("1", "25", true);
    f.Finish();
    tivelor::MLParameterEvaluation(f.app);
    EXPECT_NEAR(f.app.ml.ProfMean, 0.4, 1E-5);
    EXPECT_NEAR(f.ev().EVEstimate, 0.4, 1E-12);
    EXPECT_NEAR(f.app.ml.ProfSD, 0.0707, 1E-4);
}

TEST(MLTable, PercentDiffOfAZeroMeanIsUndefined) {
    tivelor::EvalState ev;
    ev.NProfPts = 1;
    for (auto* v : {&ev.ProfX, &ev.ProfNegLnL, &ev.ProfPDF, &ev.ProfCIMode, &ev.ProfCIMean, &ev.ProfNormPDF}) v->ReDim(1);
    ev.ProfX(1) = -2.5;
    const std::string t = tivelor::ConfidenceTableText(ev, "Heading", 0, 0.1, 0.1, 1);
    EXPECT_NE(t.find("Percent Diff:         Undefined\r\n"), std::string::npos);
    EXPECT_NE(t.find("    1    -2.5000E+000   "), std::string::npos);   // a negative value fills its field
}

TEST_F(MLProfile, ChooserCancelBringsTheMenuBack) {
    MLFixture& f = *this;
    f.app.form<tivelor::frmParEvals>().Show();
    f.s.backend.Click("frmParEvals.cmdCancel");
    EXPECT_TRUE(f.app.IsLoaded<tivelor::frmMenu>());
    EXPECT_TRUE(f.app.form<tivelor::frmMain>().mnuApplication.Enabled);
    // Abandoned at its first question, the evaluation still enables the menu.
    f.app.form<tivelor::frmParEvals>().Show();
    f.Answer(kTitle);
    f.Answer(kTitle, vbNo);
    f.s.backend.Click("frmParEvals.cmdML");
    EXPECT_TRUE(f.app.form<tivelor::frmMain>().mnuApplication.Enabled);
}

}  // namespace
