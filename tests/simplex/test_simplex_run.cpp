// Simplex runs on test objectives: moves, convergence, counts, the ways a run
// ends, and the kept simplex.
#include <cmath>
#include <limits>
#include <map>

#include "engine/Priors.h"
#include "simplex_fixture.h"

using namespace tivelor;
using namespace simplex_test;

namespace {

// Evaluations a move costs, from its name and its count of beaten vertices.
long MoveCost(const std::string& action, int nbetter, long nfree) {
    if (action.rfind("Extension", 0) == 0) return 2;
    if (action.rfind("Reflection-Contraction", 0) == 0 || action.rfind("Contraction", 0) == 0) return 2;
    if (action.find("Reduction") != std::string::npos) return nfree + 2;
    return nbetter == nfree + 1 ? 2 : 1;   // a reflection, after a failed extension or not
}

long Number(const std::string& text, const std::string& after) {
    return std::stol(text.substr(text.find(after) + after.size()));
}

}  // namespace

TEST(SimplexMoves, OneFreeParameterMovesAndCosts) {
    // Objective values at chosen points; x^2 elsewhere.
    struct Case {
        std::map<double, double> f;
        double start, step;
        const char* action;
        int nbetter;
        long cost;
        double worst;   // coordinate of the vertex that replaced the worst one
    };
    const std::vector<Case> cases = {
        {{}, 1, 1, kActReflection, 2, 2, 0},                                  // extension not better
        {{{-1, -5}}, 1, 1, kActExtension, 2, 2, -1},                          // extension taken
        {{{0, 0}, {1, 1}, {-1, 10}}, 0, 1, kActContraction, 0, 2, 0.5},      // worst contracted
        {{{0, 0}, {1, 1}, {-1, 0.5}, {-0.5, 0.2}}, 0, 1, kActReflContraction, 1, 2, -0.5},
        {{{0, 0}, {1, 1}, {-1, 10}, {0.5, 5}}, 0, 1, kActReduction, 0, 3, 0.5},
        {{{0, 0}, {1, 1}, {-1, 0.5}, {-0.5, 5}}, 0, 1, kActReflReduction, 1, 3, -0.5},
    };
    for (const Case& c : cases) {
        Bench b;
        b.Params({c.start}, {c.step});
        b.Objective([&](Vec<double>& P) {
            auto it = c.f.find(P(1));
            return it != c.f.end() ? it->second : P(1) * P(1);
        });
        b.Pack();
        SimplexState& s = b.app.simplex;
        s.SimplexF.ReDim(2);
        s.WorkVertex.ReDim(1);
        s.ExtVertex.ReDim(1);
        s.TrialPar.ReDim(1);
        s.ICen = 3;
        b.app.eng.Simplex(1, 1) = c.start;
        InitialSimplex(b.app);
        EXPECT_EQ(b.app.eng.NF, 2);
        const int worst = s.IHi, best = s.ILo;
        const double bestValue = s.SimplexF(best);
        SimplexMove(b.app);
        EXPECT_EQ(s.SimplexAction, c.action);
        EXPECT_EQ(s.NBetter, c.nbetter) << c.action;
        EXPECT_EQ(b.app.eng.NF, 2 + c.cost) << c.action;
        EXPECT_EQ(b.app.eng.Simplex(1, worst), c.worst) << c.action;
        EXPECT_EQ(s.SimplexF(best), bestValue) << "the best vertex is kept";
    }
}

TEST(SimplexMoves, RankingPrefersTheLowestNumberedVertexAmongEqualValues) {
    Bench b;
    b.Params({1, 2, 3}, {1, 1, 1});
    b.Objective([](Vec<double>&) { return 7.0; });
    b.Pack();
    b.app.simplex.SimplexF.ReDim(4);
    b.app.simplex.TrialPar.ReDim(3);
    b.app.simplex.ICen = 5;
    for (int i = 1; i <= 3; ++i) b.app.eng.Simplex(i, 1) = i;
    InitialSimplex(b.app);
    EXPECT_EQ(b.app.simplex.ILo, 1);
    EXPECT_EQ(b.app.simplex.IHi, 1);
    // The centroid is the mean of vertices 2 to 4.
    EXPECT_DOUBLE_EQ(b.app.eng.Simplex(1, 5), 1 + 1.0 / 3);
    EXPECT_DOUBLE_EQ(b.app.eng.Simplex(3, 5), 3 + 1.0 / 3);
}

TEST(SimplexRun, QuadraticConvergesWithThePredictedEvaluationCounts) {
    Bench b;
    // Parameter 2 is fixed and must keep its value.
    b.Params({0, 9, 0, 0}, {0.5, 0, -0.4, 0.3});
    b.Objective(Quadratic({1, 9, -2, 0.5}, {1, 1, 3, 0.5}, 4));
    b.app.eng.opt.ConvTol = 1E-10;
    b.app.eng.opt.TerminalFreq = 1;
    std::string log = TempPath("counts.tvl");
    ASSERT_TRUE(b.app.ui.files.Open(203, log, platform::FileMode::Output));
    b.app.eng.opt.FileFreq = 1;
    b.s.backend.AnswerMsgBox("Simplex minimum", platform::vbOK);
    b.Minimize();
    b.app.ui.files.Close(203);

    const auto& par = b.app.eng.par.ParValue;
    EXPECT_NEAR(par(1), 1, 1E-3);
    EXPECT_EQ(par(2), 9);
    EXPECT_NEAR(par(3), -2, 1E-3);
    EXPECT_NEAR(par(4), 0.5, 1E-3);
    EXPECT_EQ(b.app.eng.NF, b.evals);
    EXPECT_EQ(b.app.eng.SimplexValid, 1);
    ASSERT_EQ(b.s.backend.msgBoxes.size(), 1u);
    EXPECT_EQ(b.s.backend.msgBoxes[0].text, "Minimum found using Simplex!");
    EXPECT_EQ(b.s.backend.msgBoxes[0].style, 80);
    for (int p = 1; p <= 4; ++p) EXPECT_EQ(b.Panel(p), "");

    // Every iteration's count follows from its move; the verification adds 2 NFree.
    const long nfree = 3;
    long predicted = nfree + 1, iterations = 0, lastLogged = 0;
    auto lines = Lines(log);
    for (size_t k = 0; k + 1 < lines.size(); ++k) {
        if (lines[k].rfind("Note: ", 0) != 0) continue;
        const std::string& move = lines[k + 1];
        ASSERT_EQ(move.rfind("Number of function values (parameter vectors) improved: ", 0), 0u);
        std::string action = move.substr(move.find("Action accepted: ") + 17);
        int nbetter = static_cast<int>(Number(move, "improved: "));
        predicted += MoveCost(action, nbetter, nfree);
        ++iterations;
        EXPECT_EQ(Number(lines[k], "Note: "), iterations);
        lastLogged = Number(lines[k], "iterations, ");
        ASSERT_EQ(lastLogged, predicted) << "iteration " << iterations << " " << action;
    }
    EXPECT_EQ(b.app.eng.NF, lastLogged + 2 * nfree);
    EXPECT_EQ(b.app.simplex.NIter, iterations);
    std::string shown = b.app.form<frmSimplex>().rtbSimplex.Text;
    EXPECT_NE(shown.find("This result required " + std::to_string(iterations) + " iterations, " +
                         std::to_string(b.app.eng.NF) + " function calls, and 0 restarts\r\n"),
              std::string::npos);
}

TEST(SimplexRun, ASecondRunContinuesTheKeptSimplexWithoutBuilding) {
    Bench b;
    b.Params({3, 3}, {1, 1});
    b.Objective(Quadratic({0, 0}, {1, 2}));
    b.s.backend.AnswerMsgBox("Simplex minimum", platform::vbOK);
    b.Minimize();
    const double best = b.app.simplex.SimplexF(b.app.simplex.ILo);

    b.evals = 0;
    b.points.clear();
    b.record = true;
    b.app.eng.par.ParValue(1) = 50;   // not looked at: the kept vertices are used
    size_t logMark = b.s.backend.log.size();
    b.s.backend.AnswerMsgBox("Simplex minimum", platform::vbOK);
    b.Minimize();
    for (size_t k = logMark; k < b.s.backend.log.size(); ++k)
        EXPECT_EQ(b.s.backend.log[k].find("Building initial simplex"), std::string::npos);
    ASSERT_FALSE(b.points.empty());
    EXPECT_NE(b.points.front()[0], 50);
    // Already converged: one move, then the axial search.
    EXPECT_EQ(b.app.simplex.NIter, 1);
    EXPECT_LE(b.app.eng.NF, 4 + 4);
    EXPECT_LE(b.app.simplex.SimplexF(b.app.simplex.ILo), best);

    // Other free parameters make the kept simplex unusable: a new one is built.
    b.app.eng.par.StepSize(2) = 0;
    b.app.eng.par.ParValue(1) = 50;
    b.evals = 0;
    b.s.backend.AnswerMsgBox("Simplex minimum", platform::vbOK);
    b.Minimize();
    EXPECT_EQ(b.app.simplex.BuiltNFree, 1);
    EXPECT_EQ(b.points[b.points.size() - b.evals][0], 50);   // vertex 1 = the current values
}

TEST(SimplexRun, InterruptAtAScriptedDoEventsEndsTheRunOnYes) {
    for (int answer : {platform::vbYes, platform::vbNo}) {
        Bench b;
        b.Params({4, -4}, {1, 1});
        b.Objective(Quadratic({0, 0}, {1, 1}));
        b.MenuReady();
        b.At(6, Step::Click, "frmSimplex.cmdStop");
        b.s.backend.AnswerMsgBox("Simplex interrupt", answer);
        if (answer == platform::vbNo) b.s.backend.AnswerMsgBox("Simplex minimum", platform::vbOK);
        b.s.backend.Click("frmMenu.cmdSimplex");

        EXPECT_EQ(b.Count("Simplex interrupt"), 1);
        EXPECT_EQ(b.s.backend.msgBoxes[0].text, "Interrupt received. Do you want to quit minimizing?");
        EXPECT_EQ(b.s.backend.msgBoxes[0].style, 36);
        EXPECT_EQ(b.Count("Simplex minimum"), answer == platform::vbYes ? 0 : 1);
        SimplexState& s = b.app.simplex;
        // Iteration 4's poll: build, initial report, then one per iteration.
        if (answer == platform::vbYes) {
            EXPECT_EQ(s.NIter, 4);
        }
        for (int i = 1; i <= 2; ++i)
            EXPECT_EQ(b.app.eng.par.ParValue(i), b.app.eng.Simplex(i, s.ILo));
        EXPECT_EQ(b.app.eng.InterruptSimplex, 0);
        EXPECT_EQ(b.app.sw.SimplexBusy, 0);
        EXPECT_TRUE(b.app.form<frmSimplex>().cmdStop.Enabled());
        EXPECT_TRUE(b.app.form<frmMenu>().Visible());
        EXPECT_TRUE(b.app.form<frmMain>().mnuApplication.Enabled());
        EXPECT_EQ(b.Panel(1), "");
    }
}

TEST(SimplexRun, CallLimitAsksAndNoEndsWithTheBestVertex) {
    Bench b;
    b.Params({4, -4}, {1, 1});
    b.Objective(Quadratic({0, 0}, {1, 1}));
    b.app.eng.opt.ConvTol = 0;   // never met
    b.app.eng.opt.MaxCalls = 20;
    b.s.backend.AnswerMsgBox("Simplex minimization", platform::vbYes);
    b.s.backend.AnswerMsgBox("Simplex minimization", platform::vbNo);
    b.Minimize();
    ASSERT_EQ(b.s.backend.msgBoxes.size(), 2u);
    EXPECT_EQ(b.s.backend.msgBoxes[0].text,
              "Maximum number of function calls reached, do you want to continue?");
    EXPECT_EQ(b.s.backend.msgBoxes[0].style, 36);
    // The count restarted at Yes, so the run went on past twice the limit.
    EXPECT_GT(b.evals, 40);
    EXPECT_GT(b.app.eng.NF, 20);
    EXPECT_LT(b.app.eng.NF, b.evals);
    const SimplexState& s = b.app.simplex;
    EXPECT_EQ(b.app.eng.par.ParValue(1), b.app.eng.Simplex(1, s.ILo));
    EXPECT_EQ(b.app.eng.par.ParValue(2), b.app.eng.Simplex(2, s.ILo));
    for (int p = 1; p <= 4; ++p) EXPECT_EQ(b.Panel(p), "");
}

TEST(SimplexRun, RelativeToleranceWithAZeroBestValueIsAnError) {
    Bench b;
    b.Params({1}, {-1});
    b.Objective([](Vec<double>& P) { return std::max(0.0, P(1) + 1); });
    b.app.eng.opt.ConvTol = -1E-06;
    b.s.backend.AnswerMsgBox("Simplex error", platform::vbOK);
    b.Minimize();
    ASSERT_EQ(b.s.backend.msgBoxes.size(), 1u);
    EXPECT_EQ(b.s.backend.msgBoxes[0].text,
              "A function value of zero has caused a division by zero error.\r\n"
              "Reset the tolerance to ABSolute or otherwise correct model");
    EXPECT_EQ(b.s.backend.msgBoxes[0].style, 80);
    EXPECT_EQ(b.app.eng.par.ParValue(1), 1);   // not written
    EXPECT_EQ(b.app.eng.SimplexValid, 1);
    EXPECT_EQ(b.app.simplex.SimplexF(b.app.simplex.ILo), 0);

    // The next run continues from the kept simplex and meets the same zero.
    b.evals = 0;
    b.s.backend.AnswerMsgBox("Simplex error", platform::vbOK);
    b.Minimize();
    EXPECT_EQ(b.Count("Simplex error"), 2);
    EXPECT_EQ(b.app.eng.NF, b.evals);
    EXPECT_LE(b.evals, 3);   // one move, no building
}

TEST(SimplexRun, NegativeObjectiveWithRelativeToleranceDoesNotRestartForever) {
    Bench b;
    b.Params({0.01, -0.01}, {0.001, 0.001});
    b.Objective(Quadratic({0, 0}, {1, 1}, -100));
    b.app.eng.opt.ConvTol = -1E-06;
    b.app.eng.opt.MaxCalls = 5000;   // an unanswered limit question fails the test
    b.s.backend.AnswerMsgBox("Simplex minimum", platform::vbOK);
    b.Minimize();
    EXPECT_EQ(b.Count("Simplex minimum"), 1);
    EXPECT_LE(b.app.simplex.NRestarts, 1);
}

TEST(SimplexRun, ValuesThatAreNotFiniteAreNeverTakenAsBetter) {
    Bench b;
    b.Params({1, 1}, {3, 3});
    const double nan = std::numeric_limits<double>::quiet_NaN();
    b.Objective([nan](Vec<double>& P) {
        if (P(1) < 0) return nan;
        if (P(2) < 0) return -std::numeric_limits<double>::infinity();
        return (P(1) - 2) * (P(1) - 2) + (P(2) - 0.5) * (P(2) - 0.5);
    });
    b.s.backend.AnswerMsgBox("Simplex minimum", platform::vbOK);
    b.Minimize();
    EXPECT_NEAR(b.app.eng.par.ParValue(1), 2, 1E-2);
    EXPECT_NEAR(b.app.eng.par.ParValue(2), 0.5, 1E-2);
    EXPECT_TRUE(std::isfinite(b.app.simplex.SimplexF(b.app.simplex.ILo)));
}

TEST(SimplexRun, PriorTermsAreThoseOfTheMinimumWrittenBack) {
    Bench b;
    b.Params({2, 2}, {0.5, 0.5});
    b.Objective(Quadratic({1, 1}, {1, 1}));
    b.app.sw.PriorsOn = "on";
    // On the last parameter: the last axial probe leaves it off the minimum.
    b.app.priors.PriorType(2) = "N";
    b.app.priors.PriorMean(2) = 0;
    b.app.priors.PriorSD(2) = 2;
    b.s.backend.AnswerMsgBox("Simplex minimum", platform::vbOK);
    b.Minimize();
    const double term = b.app.priors.PriorTerm(2);
    Vec<double> at = b.app.eng.par.ParValue;
    PriorPenalty(b.app, at);
    EXPECT_EQ(term, b.app.priors.PriorTerm(2));
    // The prior pulls parameter 2 below the likelihood's minimum at 1.
    EXPECT_LT(b.app.eng.par.ParValue(2), 0.99);
}

TEST(SimplexRun, ProfileModeFillsTheProfileRowOrQuitsTheProcedure) {
    Bench b;
    b.Params({3, 0.25}, {1, 0});
    b.Objective(Quadratic({1, 0}, {1, 1}));
    b.app.sw.MLOn = "on";
    EvalState& ev = b.app.eval;
    ev.NProfPts = 3;
    ev.ProfPt = 2;
    ev.ProfPar = 2;
    ev.ProfX.ReDim(3);
    ev.ProfNegLnL.ReDim(3);
    b.Minimize();   // no message box
    EXPECT_TRUE(b.s.backend.msgBoxes.empty());
    EXPECT_EQ(ev.ProfX(2), 0.25);
    EXPECT_NEAR(ev.ProfNegLnL(2), 0.0625, 1E-6);

    b.app.eng.SimplexValid = 0;
    b.app.eng.par.ParValue(1) = 3;
    b.At(3, Step::Click, "frmSimplex.cmdStop");
    b.s.backend.AnswerMsgBox("Simplex interrupt", platform::vbYes);
    b.Minimize();
    EXPECT_EQ(b.s.backend.msgBoxes.back().text,
              "Interrupt received. Do you want to quit the ML procedure?");
    EXPECT_EQ(ev.SavedProfPt, 2);
    EXPECT_EQ(ev.ProfPt, 5);
}

namespace {

// A one-parameter simplex of (x - 1)^2 with its vertices at a and b.
void OneDimensional(Bench& b, double a, double step) {
    b.Params({a}, {step});
    b.Objective(Quadratic({1}, {1}));
    b.Pack();
    SimplexState& s = b.app.simplex;
    s.SimplexF.ReDim(2);
    s.WorkVertex.ReDim(1);
    s.ExtVertex.ReDim(1);
    s.TrialPar.ReDim(1);
    s.ICen = 3;
    b.app.eng.Simplex(1, 1) = a;
    InitialSimplex(b.app);
    b.app.eng.NF = 0;
    b.app.form<frmSimplex>();
}

bool Logged(Bench& b, const std::string& entry) {
    for (const auto& l : b.s.backend.log)
        if (l == entry) return true;
    return false;
}

}  // namespace

TEST(SimplexVerify, FailingProbesRestartAndRepeatedRestartsWarn) {
    Bench b;
    OneDimensional(b, 0, 0.5);   // best vertex 0.5; the plus probe at 0.55 is lower
    int done = 0;
    VerifySimplexMinimum(b.app, done);
    EXPECT_EQ(done, 0);
    EXPECT_EQ(b.app.simplex.NRestarts, 1);
    EXPECT_EQ(b.app.eng.NF, 1 + 2);   // one probe, then the rebuilt two vertices
    EXPECT_EQ(b.Panel(3), "Last failure of convergence verification caused by parameter # 1");
    EXPECT_EQ(b.Panel(4), "");
    EXPECT_EQ(b.Panel(2), " ");
    // Vertex 1 is the better point; vertex 2 keeps its probed coordinate, shifted.
    EXPECT_DOUBLE_EQ(b.app.eng.Simplex(1, 1), 0.55);
    EXPECT_DOUBLE_EQ(b.app.eng.Simplex(1, 2), 0.6);
    EXPECT_EQ(b.app.simplex.ILo, 2);

    VerifySimplexMinimum(b.app, done);
    EXPECT_EQ(b.app.simplex.NRestarts, 2);
    EXPECT_EQ(b.Panel(4), "Multiple restarts indicate a tuning problem!");
    EXPECT_TRUE(b.s.backend.msgBoxes.empty());
}

TEST(SimplexVerify, ConfirmedMinimumCostsTwoCallsPerParameterAndReports) {
    Bench b;
    OneDimensional(b, 1, 0.5);
    b.s.clock.step = 3;   // seconds per clock reading
    b.s.backend.AnswerMsgBox("Simplex minimum", platform::vbOK);
    b.app.eng.InterruptSimplex = platform::True;   // dropped at a confirmed minimum
    int done = 0;
    VerifySimplexMinimum(b.app, done);
    EXPECT_EQ(done, 1);
    EXPECT_EQ(b.app.eng.NF, 2);
    EXPECT_EQ(b.app.eng.Simplex(1, 1), 1);   // put back exactly
    EXPECT_TRUE(Logged(b, "panel frmMain.stbMain5 1 \"Verifying convergence by performing an axial search\""));
    EXPECT_TRUE(Logged(b, "panel frmMain.stbMain5 3 \"Axial function call 1 of 2\""));
    EXPECT_TRUE(Logged(b, "panel frmMain.stbMain5 3 \"Axial function call 2 of 2\""));
    EXPECT_TRUE(Logged(b, "panel frmMain.stbMain5 2 \"Estimated time remaining (m:s): 0:03\""));
    EXPECT_EQ(b.app.form<frmSimplex>().rtbSimplex.Text(),
              "\r\nMinimum of 0. found at these 1 adjusted parameter values:\r\n\r\n"
              "    001)  1.0000000E+00  ~~  Par1\r\n\r\n"
              "This result required 0 iterations, 2 function calls, and 0 restarts\r\n");
    ASSERT_EQ(b.s.backend.msgBoxes.size(), 1u);
    EXPECT_EQ(b.app.eng.InterruptSimplex, 0);
    for (int p = 1; p <= 4; ++p) EXPECT_EQ(b.Panel(p), "");
}
