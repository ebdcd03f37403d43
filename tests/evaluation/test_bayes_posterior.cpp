// The Bayesian posterior run through its dialogue, against marginal
// posteriors worked out independently.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "../marquardt/MarqTestUtil.h"
#include "../plots/PlotTestSupport.h"
#include "evaluation/BayesianEvaluation.h"
#include "evaluation/frmBayesian.h"
#include "engine/Parameters.h"
#include "numerics/PosteriorSums.h"
#include "shell/frmMain.h"

namespace {

using marqtest::Fixture;
using platform::Vec;
using platform::vbNo;
using platform::vbOK;
using platform::vbYes;

const char* const kTitle = "Bayesian parameter estimate evaluation";

// F = x' S^-1 x, S = [[1, .5], [.5, 1]].
double Correlated(const Vec<double>& p) {
    const double x = p(1), y = p(2);
    return (x * x - x * y + y * y) / 0.75;
}

// F = 100 + (x - m)' S^-1 (x - m), m = (0.3, 1.2), S = [[.01, .005], [.005, .04]].
double Shifted(const Vec<double>& p) {
    const double a = p(1) - 0.3, b = p(2) - 1.2, det = 0.01 * 0.04 - 0.005 * 0.005;
    return 100 + (0.04 * a * a - 2 * 0.005 * a * b + 0.01 * b * b) / det;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        out.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 2;
    }
    return out;
}

struct BayesFixture : Fixture {
    std::string dir = (std::filesystem::temp_directory_path() / "tivelor_bayes_tests").string();

    BayesFixture() {
        std::filesystem::create_directories(dir);
        app.shell.AlgoColOn.ReDim(9);
    }
    // A covariance run left these standard errors on grid g, in slots taken
    // in reverse parameter order; the other grids were not computed.
    void CovarianceGrid(const std::vector<double>& se, int g = 1) {
        app.sw.CovDone = "on";
        const long n = static_cast<long>(se.size());
        app.eng.CovStore.ReDim(n, n, 3);
        app.eval.CovSlot.ReDim(n);
        for (int k = 1; k <= 3; ++k)
            for (long i = 0; i <= n; ++i) app.eng.CovStore(0, i, k) = -1;
        for (long i = 1; i <= n; ++i) {
            const long slot = n + 1 - i;
            app.eval.CovSlot(i) = static_cast<int>(slot);
            app.eng.CovStore(slot, slot, g) = se[i - 1] * se[i - 1];
            app.eng.CovStore(0, slot, g) = se[i - 1];
        }
    }
    void Opening(int continueAnswer = vbYes) {
        Answer(kTitle);
        Answer(kTitle, continueAnswer);
    }
    // Answers up to the editor: parameter, profile points, grid points (when
    // asked), the covariance grid (when offered).
    void Dialogue(const std::string& par, const std::string& points, const std::string& grid,
                  const std::string& cov = "1") {
        Opening();
        if (app.bayes.last.valid && app.eval.LastEvalType == "BP" && app.eval.EvalValid == 1)
            Answer(kTitle, vbYes);   // integrate now, not the previous plots
        s.backend.AnswerInput("Enter constant", "0.5");
        s.backend.AnswerInput(kTitle, par);
        s.backend.AnswerInput(kTitle, points);
        if (!grid.empty()) s.backend.AnswerInput(kTitle, grid);
        if (app.sw.CovDone == "on") s.backend.AnswerInput(kTitle, cov);
    }
    // A modal plot window is left by its Done button.
    void Done(const std::string& window) { plottest::WhileOpen(s.backend, window, {}); }
    void FinishEditing(std::function<void()> edit = {}) {
        plottest::WhileOpen(s.backend, "frmAlgo", std::move(edit), "cmdFinish");
        Answer("Just so you know");
    }
    // The plots, the bivariate offer (saving the grid to grd when given) and the reminder.
    void Ending(bool bivariate, const std::string& grd = "") {
        Done("frmDistPlot");
        if (bivariate) {
            Answer("Bivariate plot", grd.empty() ? vbNo : vbYes);
            if (!grd.empty()) {
                Done("frmBivarPlot");
                s.backend.ChooseFile(grd);
            }
        }
        Answer("A friendly reminder");
    }
    std::string Table() { return app.form<tivelor::frmBayesian>().rtbBayesian.Text(); }
    const tivelor::EvalState& ev() { return app.eval; }
    const tivelor::BayesState& bs() { return app.bayes; }
    bool Shown(const std::string& fragment) {
        for (const auto& m : s.backend.msgBoxes)
            if (m.text.find(fragment) != std::string::npos) return true;
        return false;
    }
};

struct Posterior : BayesFixture {};

TEST_F(Posterior, CorrelatedPairIntegratesToTheMarginal) {
    Params({0, 0}, {0.05, 0.05});
    Objective(Correlated);
    CovarianceGrid({1, 1});
    const std::string grd = dir + "/pair.grd";
    std::filesystem::remove(grd);
    Dialogue("1", "25", "25");
    FinishEditing();
    Ending(true, grd);
    tivelor::BayesianEvaluation(app);

    ASSERT_EQ(ev().NProfPts, 25);
    EXPECT_EQ(calls.size(), 1u + 25 * 25);   // the reference and every node
    EXPECT_NEAR(ev().ProfX(1), -4.0, 1E-12);
    EXPECT_NEAR(bs().BivarY(1), -3.5, 1E-12);
    EXPECT_NEAR(ev().ProfNegLnL(1), 8.0284787, 1E-6);
    EXPECT_NEAR(ev().ProfNegLnL(13), 0, 1E-12);
    EXPECT_NEAR(ev().ProfNegLnL(25), 8.0284787, 1E-6);
    EXPECT_NEAR(bs().PostSD, 0.9990262, 1E-6);
    EXPECT_NEAR(bs().PostMean, 0, 1E-12);
    EXPECT_NEAR(bs().BivarDensity(1, 1), 7.4851830E-05, 1E-12);
    EXPECT_EQ(bs().PeakDensity, 1);
    EXPECT_EQ(bs().PeakX, 0);
    const auto r = tivelor::numerics::InnerNodeCorrelation(bs().BivarX, bs().BivarY, bs().BivarDensity, 25, 25);
    ASSERT_TRUE(r);
    EXPECT_NEAR(*r, 0.498, 5E-4);

    EXPECT_EQ(Lines(Table()).size(), 34u);

    // The grid file: 627 lines, X blocks of 25 Y values in grid order.
    std::ifstream in(grd, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    const auto g = Lines(ss.str());
    ASSERT_EQ(g.size(), 627u);
    EXPECT_EQ(g[2], "-    4.0000E+000-     3.5000E+000    7.4852E-005");
    EXPECT_EQ(g[2 + 12 * 25 + 12], "    0.0000E+000     0.0000E+000    1.0000E+000");
    EXPECT_EQ(g[3].substr(16, 17), "-     3.2083E+000");

    // The parameters are back; the steps are those of the covariance grid.
    EXPECT_EQ(app.eng.par.ParValue(1), 0);
    EXPECT_NEAR(app.eng.par.StepSize(1), 1.0 / 3, 1E-15);
    EXPECT_NEAR(app.eng.par.StepSize(2), 7.0 / 24, 1E-15);
    EXPECT_EQ(app.sw.PosteriorOn, "off");
    EXPECT_EQ(ev().LastEvalType, "BP");
    EXPECT_FALSE(app.form<tivelor::frmMain>().mnuBayesianInt.Visible);
}

TEST_F(Posterior, ShiftedPairMatchesTheNormalMarginal) {
    Params({0.3, 1.2}, {0.05, 0.05});
    Objective(Shifted);
    CovarianceGrid({0.1, 0.2});
    Dialogue("1", "25", "25", "2");   // grid 2 was not computed: asked again
    Answer(kTitle);
    s.backend.AnswerInput(kTitle, "1");
    FinishEditing();
    Ending(true);
    tivelor::BayesianEvaluation(app);
    EXPECT_NEAR(bs().PostMean, 0.3, 1E-7);
    EXPECT_NEAR(bs().PostSD, 0.0999349, 1E-7);
    EXPECT_NEAR(ev().ProfPDF(13), 3.9900627, 1E-6);
    EXPECT_NEAR(ev().ProfCum(13), 0.5000445, 1E-7);
    EXPECT_NEAR(ev().ProfNegLnL(1), 8.0028927, 1E-6);
    // The constant offset of the objective is gone with the reference value.
    EXPECT_NEAR(bs().RefNegLnL, 50, 1E-12);
    EXPECT_TRUE(Shown("Covariance grid 2 holds no standard errors"));
}

// A normal likelihood N(0.3, 0.1) times a normal prior N(0.5, 0.1) is N(0.4, 0.0707).
TEST_F(Posterior, APriorEntersOnTheLikelihoodScale) {
    Params({0.4}, {0.025});
    Objective([](const Vec<double>& p) { return (p(1) - 0.3) * (p(1) - 0.3) / 0.01; });
    app.priors.Reset(1);
    app.priors.PriorType(1) = "N";
    app.priors.PriorMean(1) = 0.5;
    app.priors.PriorSD(1) = 0.1;
    app.sw.PriorsOn = "on";
    Dialogue("1", "25", "");
    FinishEditing();
    Ending(false);
    tivelor::BayesianEvaluation(app);
    EXPECT_EQ(bs().NGridPts, 0);
    EXPECT_EQ(calls.size(), 25u);
    EXPECT_NEAR(ev().EVEstimate, 0.4, 1E-12);
    EXPECT_NEAR(bs().PostMean, 0.4, 1E-5);
    EXPECT_NEAR(bs().PostSD, 0.0707, 1E-4);
    EXPECT_FALSE(Shown("bivariate plot"));
}

TEST_F(Posterior, CallLimitsHoldBeforeAndAfterTheEditor) {
    const auto bowl = [](const Vec<double>& p) {
        double f = 0;
        for (long i = 1; i <= p.UBound(); ++i) f += p(i) * p(i);
        return f;
    };
    // Two integrated parameters at 25 x 25 x 25 points pass.
    Params({0, 0, 0}, {0.1, 0.1, 0.1});
    Objective(bowl);
    Dialogue("1", "25", "25");
    FinishEditing();
    Done("frmDistPlot");
    Answer("A friendly reminder");
    tivelor::BayesianEvaluation(app);
    EXPECT_EQ(calls.size(), 1u + 15625);
    EXPECT_EQ(ev().NProfPts, 25);

    // Three are refused before the editor.
    Params({0, 0, 0, 0}, {0.1, 0.1, 0.1, 0.1});
    Dialogue("1", "25", "25");
    Answer("Too many function calls");
    tivelor::BayesianEvaluation(app);
    EXPECT_EQ(ev().NProfPts, 0);
    EXPECT_EQ(app.eng.par.StepSize(1), 0.1);

    // And so is a third one freed in the editor.
    calls.clear();
    app.eng.par.StepSize(4) = 0;
    Dialogue("1", "25", "25");
    FinishEditing([this] { app.eng.par.StepSize(4) = 0.1; });
    Answer("Too many function calls");
    Answer("A friendly reminder");
    tivelor::BayesianEvaluation(app);
    EXPECT_EQ(ev().NProfPts, 0);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(app.eng.par.StepSize(1), 0.1);   // the profiled parameter's step is back
    EXPECT_TRUE(Shown("maximum allowed of 32767"));

    // A parameter freed in the editor when none was integrated asks for its grid.
    calls.clear();
    Params({0, 0}, {0.1, 0});
    Dialogue("1", "5", "");
    FinishEditing([this] { app.eng.par.StepSize(2) = 0.1; });
    s.backend.AnswerInput(kTitle, "4");
    Done("frmDistPlot");
    Answer("Bivariate plot", vbNo);
    Answer("A friendly reminder");
    tivelor::BayesianEvaluation(app);
    EXPECT_EQ(bs().NGridPts, 5);
    EXPECT_EQ(calls.size(), 1u + 25);
}

TEST_F(Posterior, CountsAndTheWaysOut) {
    Params({0, 0}, {0.1, 0});
    Objective(Correlated);
    // Beyond an Integer and out of range: asked again from the parameter
    // question, the constant included; 2 points become 3.
    Opening();
    s.backend.AnswerInput("Enter constant", "0.5");
    s.backend.AnswerInput(kTitle, "40000");
    s.backend.AnswerInput("Enter constant", "0.5");
    s.backend.AnswerInput(kTitle, "1");
    s.backend.AnswerInput(kTitle, "abc");    // not a number: the same question at once
    s.backend.AnswerInput(kTitle, "1002");
    s.backend.AnswerInput("Enter constant", "0.5");
    s.backend.AnswerInput(kTitle, "1");
    s.backend.AnswerInput(kTitle, "2");
    FinishEditing();
    Ending(false);
    tivelor::BayesianEvaluation(app);
    EXPECT_EQ(ev().NProfPts, 3);

    // No at the first question, Cancel at the parameter and Q at the grid
    // question leave the steps as they were.
    Opening(vbNo);
    tivelor::BayesianEvaluation(app);
    Opening();
    Answer(kTitle, vbYes);   // integrate now
    s.backend.AnswerInput("Enter constant", "0.5");
    s.backend.CancelInput(kTitle);
    tivelor::BayesianEvaluation(app);
    CovarianceGrid({1, 1});
    Dialogue("1", "25", "", "q");
    tivelor::BayesianEvaluation(app);
    EXPECT_EQ(app.eng.par.StepSize(1), 0.1);
    EXPECT_EQ(ev().NProfPts, 0);
    // A step of 0 after the editor is refused.
    Dialogue("1", "25", "", "N");
    FinishEditing([this] { app.eng.par.StepSize(1) = 0; });
    Answer("Problem with setup");
    Answer("A friendly reminder");
    tivelor::BayesianEvaluation(app);
    EXPECT_TRUE(Shown("step size of zero"));
    EXPECT_EQ(ev().NProfPts, 0);
    EXPECT_EQ(s.backend.PendingSteps(), 0u);
}

TEST_F(Posterior, InterruptsKeepAnOddNumberOfPoints) {
    // From 1.6 the points run -0.8 to 4: the mode at 0 is point 5.
    Params({1.6, 0}, {0.2, 0.3});
    // Interrupts from the nodes 3 and 4 of point quitAt, asked at the grid steps after them.
    int quitAt = 10;
    Objective([&](const Vec<double>& p) {
        const long g = app.bayes.GridPt(1);
        if (app.eval.ProfPt == quitAt && (g == 3 || g == 4)) app.sw.InterruptBayes = platform::True;
        return Correlated(p);
    });
    // No continues; Yes at point 10 keeps 10 - 2 = 8 points, an even count: 7.
    Dialogue("1", "25", "5");
    FinishEditing();
    Answer("Bayesian calculations", vbNo);
    Answer("Bayesian calculations", vbYes);
    Ending(true);
    quitAt = 10;
    tivelor::BayesianEvaluation(app);
    EXPECT_EQ(ev().NProfPts, 7);
    EXPECT_NEAR(ev().ProfX(7), 0.4, 1E-12);
    EXPECT_NEAR(ev().EVEstimate, 0, 1E-12);
    EXPECT_EQ(app.eng.par.ParValue(1), 1.6);
    EXPECT_EQ(app.eng.par.StepSize(1), 0.2);

    // At point 4 only 2 remain: a message says nothing can be shown.
    quitAt = 4;
    Dialogue("1", "25", "5");
    FinishEditing();
    Answer("Bayesian calculations", vbYes);
    Answer(kTitle);
    Answer("A friendly reminder");
    tivelor::BayesianEvaluation(app);
    EXPECT_EQ(ev().NProfPts, 0);
    EXPECT_TRUE(Shown("nothing can be shown"));
    EXPECT_EQ(app.eng.par.StepSize(1), 0.2);
}

TEST_F(Posterior, AFusedPartnerKeepsItsValue) {
    // Parameter 2 follows the profiled parameter 1 at every point.
    Params({0.3, 0.3}, {0.1, 0});
    app.eng.par.FuseCode(1) = app.eng.par.FuseCode(2) = "AA";
    Objective(Correlated);
    Dialogue("1", "3", "");
    FinishEditing();
    Ending(false);
    tivelor::BayesianEvaluation(app);
    ASSERT_EQ(ev().NProfPts, 3);
    EXPECT_NEAR(points.back()(2), 0.4, 1E-12);
    EXPECT_EQ(app.eng.par.ParValue(1), 0.3);
    EXPECT_EQ(app.eng.par.ParValue(2), 0.3);
}

TEST_F(Posterior, NegativeStepsGiveAscendingTablesAndGrids) {
    Params({0, 0}, {-1.0 / 3, -7.0 / 24});
    Objective(Correlated);
    Dialogue("1", "25", "25");
    FinishEditing();
    Ending(true);
    tivelor::BayesianEvaluation(app);
    ASSERT_EQ(ev().NProfPts, 25);
    for (long i : {2L, 25L})
        EXPECT_TRUE(ev().ProfX(i) > ev().ProfX(i - 1) && bs().BivarX(i) > bs().BivarX(i - 1) &&
                    bs().BivarY(i) > bs().BivarY(i - 1));
    EXPECT_NEAR(ev().ProfNegLnL(1), 8.0284787, 1E-6);
    // Each weight still belongs to its coordinates.
    for (long i : {1L, 4L, 20L})
        for (long j : {1L, 9L, 25L}) {
            Vec<double> p(2);
            p(1) = bs().BivarX(i), p(2) = bs().BivarY(j);
            EXPECT_NEAR(bs().BivarDensity(i, j), std::exp(-0.5 * Correlated(p)), 1E-15);
        }
    EXPECT_NEAR(bs().PostSD, 0.9990262, 1E-6);
    EXPECT_EQ(app.eng.par.StepSize(1), -1.0 / 3);
}

// A start far from the mode: weights summed directly would overflow.
TEST_F(Posterior, WeightsFarBelowTheReferenceStayFinite) {
    Params({0, 0}, {0.05, 0.05});
    Objective([](const Vec<double>& p) {
        const double a = p(1) - 1, b = p(2) - 1;
        return 2000 * (a * a + b * b);
    });
    Dialogue("1", "21", "21");
    FinishEditing();
    Ending(true);
    tivelor::BayesianEvaluation(app);
    ASSERT_EQ(ev().NProfPts, 21);
    // The profile ends at 0.5 with the nodes nearest 1: -ln of the marginal relative to it.
    EXPECT_NEAR(ev().ProfX(21), 0.5, 1E-12);
    EXPECT_NEAR(ev().ProfNegLnL(20) - ev().ProfNegLnL(21), 1000 * (0.55 * 0.55 - 0.5 * 0.5), 1E-6);
    EXPECT_EQ(ev().EVEstimate, 0.5);
    // The weights moved with the reference: the peak is finite, and the ratio
    // of two nodes is that of their densities.
    EXPECT_GT(bs().PeakDensity, 0);
    EXPECT_EQ(bs().PeakX, 0.5);
    EXPECT_EQ(bs().PeakY, 0.5);
    EXPECT_NEAR(std::log(bs().BivarDensity(21, 20) / bs().BivarDensity(21, 21)), -1000 * (0.55 * 0.55 - 0.5 * 0.5),
                1E-9);
}

TEST_F(Posterior, PreviousResultsComeFromTheLastRunsOwnRecord) {
    Params({0, 0}, {0.05, 0.05});
    Objective(Correlated);
    CovarianceGrid({1, 1});
    Dialogue("1", "25", "25");
    FinishEditing();
    Ending(true);
    tivelor::BayesianEvaluation(app);
    const double sd = bs().PostSD;
    const std::string table = Table();
    app.form<tivelor::frmBayesian>().Unload();

    // Another routine refills the shared table; the offer still shows this run's.
    app.eval.NProfPts = 3;
    app.eval.ProfX.Fill(7);
    app.eval.ProfNegLnL.Fill(1);
    const auto before = calls.size();
    Opening();
    Answer(kTitle, vbNo);   // the previous plots
    Done("frmDistPlot");
    Answer("Bivariate plot", vbNo);
    tivelor::BayesianEvaluation(app);
    EXPECT_EQ(calls.size(), before);
    EXPECT_EQ(bs().PostSD, sd);
    EXPECT_EQ(Table(), table);
    EXPECT_EQ(app.eng.par.StepSize(1), 1.0 / 3);
    EXPECT_EQ(s.backend.PendingSteps(), 0u);

    // After a run that packs the parameters the offer is gone.
    tivelor::PackAdjustableParameters(app);
    Opening();
    s.backend.AnswerInput("Enter constant", "0.5");
    s.backend.CancelInput(kTitle);
    tivelor::BayesianEvaluation(app);
    EXPECT_EQ(s.backend.PendingSteps(), 0u);
}

TEST(GridFile, ColumnsAndNegativeValues) {
    Vec<double> x(2), y(3);
    platform::Matrix<double> d(2, 3);
    x(1) = 0.25, x(2) = 0.5;
    y(1) = -1, y(2) = 0, y(3) = 12345.678;
    d(1, 1) = 1E-300, d(2, 3) = 1;
    const auto lines = Lines(tivelor::GridFileText(x, y, d, 2, 3, 3, 12));
    ASSERT_EQ(lines.size(), 2u + 6);
    EXPECT_EQ(lines[0], "Bivariate plot data for parameters 3 and 12 ");
    EXPECT_EQ(lines[2], "    2.5000E-001-     1.0000E+000    1.0000E-300");
    EXPECT_EQ(lines[3], "    2.5000E-001     0.0000E+000    0.0000E+000");
    EXPECT_EQ(lines[4], "    2.5000E-001     1.2346E+004    0.0000E+000");
    EXPECT_EQ(lines[7], "    5.0000E-001     1.2346E+004    1.0000E+000");
}

TEST(GridFile, AFileThatCannotBeWrittenLeavesNothing) {
    platform::headless::Session s;
    tivelor::App app{s.ui};
    app.form<tivelor::frmMain>();
    Vec<double> x(1), y(1);
    platform::Matrix<double> d(1, 1);
    const auto dir = std::filesystem::temp_directory_path() / "tivelor_bayes_tests" / "no_such_dir";
    std::filesystem::remove_all(dir);
    s.backend.ChooseFile((dir / "grid.grd").string());
    s.backend.AnswerMsgBox("Save failed", vbOK);
    tivelor::SaveGridFile(app, x, y, d, 1, 1, 1, 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "grid.grd"));
    ASSERT_EQ(s.backend.msgBoxes.size(), 1u);
    // A cancel is silent.
    s.backend.CancelFile();
    tivelor::SaveGridFile(app, x, y, d, 1, 1, 1, 2);
    EXPECT_EQ(s.backend.msgBoxes.size(), 1u);
}

}  // namespace
