// Simplex runs on test objectives: moves and their costs, convergence and its
// verification, the ways a run ends, and the kept simplex.
#include <cmath>
#include <limits>
#include <map>

#include "engine/Priors.h"
#include "simplex_fixture.h"

using namespace tivelor;
using namespace simplex_test;

namespace {

// A built one-parameter simplex: vertex 1 at a, vertex 2 at a + step.
void OneDimensional(Bench& b, double a, double step, Objective f) {
    b.Params({a}, {step}, std::move(f));
    SetUpFusedParameters(b.app);
    PackAdjustableParameters(b.app);
    SimplexState& s = b.app.simplex;
    s.SimplexF.ReDim(2);
    for (auto* v : {&s.WorkVertex, &s.ExtVertex, &s.TrialPar}) v->ReDim(1);
    s.ICen = 3;
    b.app.eng.Simplex.ReDim(1, 3);
    b.app.eng.Simplex(1, 1) = a;
    InitialSimplex(b.app);
    b.app.form<frmSimplex>();
}

}  // namespace

TEST(SimplexMoves, EachMoveIsNamedAndCostsItsEvaluations) {
    struct Case {
        std::map<double, double> f;   // values at chosen points, x^2 elsewhere
        double start;
        const char* action;
        int nbetter;
        long cost;
        double stored;   // coordinate now in the worst vertex's column
    } cases[] = {
        {{}, 1, kActReflection, 2, 2, 0},   // extension tried, not better
        {{{-1, -5}}, 1, kActExtension, 2, 2, -1},
        {{{0, 0}, {1, 1}, {-1, 10}}, 0, kActContraction, 0, 2, 0.5},
        {{{0, 0}, {1, 1}, {-1, 0.5}, {-0.5, 0.2}}, 0, kActReflContraction, 1, 2, -0.5},
        {{{0, 0}, {1, 1}, {-1, 10}, {0.5, 5}}, 0, kActReduction, 0, 3, 0.5},
        {{{0, 0}, {1, 1}, {-1, 0.5}, {-0.5, 5}}, 0, kActReflReduction, 1, 3, -0.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        Bench b;
        OneDimensional(b, c.start, 1, [&](Vec<double>& P) {
            auto it = c.f.find(P(1));
            return it != c.f.end() ? it->second : P(1) * P(1);
        });
        SimplexState& s = b.app.simplex;
        const int worst = s.IHi, best = s.ILo;
        const double bestValue = s.SimplexF(best);
        SimplexMove(b.app);
        EXPECT_EQ(s.SimplexAction, c.action);
        EXPECT_EQ(s.NBetter, c.nbetter);
        EXPECT_EQ(b.app.eng.NF, 2 + c.cost);
        EXPECT_EQ(b.app.eng.Simplex(1, worst), c.stored);
        EXPECT_EQ(s.SimplexF(best), bestValue);
    }
}

TEST(SimplexRun, QuadraticConvergesWithThePredictedEvaluationCounts) {
    Bench b;
    b.Params({0, 9, 0, 0}, {0.5, 0, -0.4, 0.3}, Quadratic({1, 9, -2, 0.5}, {1, 1, 3, 0.5}, 4));
    b.app.eng.opt.ConvTol = 1E-10;
    long nf = 3 + 1, checked = 0;   // building
    auto check = [&] {   // at the yield that ends an iteration, from the move's name
        const SimplexState& s = b.app.simplex;
        if (s.SimplexDone) return;
        const std::string& a = s.SimplexAction;
        nf += a == kActReduction || a == kActReflReduction ? 3 + 2
              : a == kActReflection && s.NBetter < 4       ? 1
                                                           : 2;
        ++checked;
        EXPECT_EQ(b.app.eng.NF, nf) << "iteration " << s.NIter;
    };
    for (int k = 0; k < 400; ++k) b.At(3 + k, Step::Call, "", check);
    b.Ok("Simplex minimum");
    b.Minimize();
    const auto& par = b.app.eng.par.ParValue;
    EXPECT_NEAR(par(1), 1, 1E-3);
    EXPECT_EQ(par(2), 9);
    EXPECT_NEAR(par(3), -2, 1E-3);
    EXPECT_NEAR(par(4), 0.5, 1E-3);
    EXPECT_EQ(checked, b.app.simplex.NIter - 1);
    EXPECT_EQ(b.app.eng.NF, b.evals);
    EXPECT_EQ(b.app.eng.SimplexValid, 1);
    EXPECT_EQ(b.s.backend.msgBoxes.at(0).text, "Minimum found using Simplex!");
    EXPECT_EQ(b.s.backend.msgBoxes.at(0).style, 80);
    for (int p = 1; p <= 4; ++p) EXPECT_EQ(b.Panel(p), "");
}

TEST(SimplexRun, ASecondRunContinuesTheKeptSimplexUnlessTheFreeParametersChanged) {
    Bench b;
    b.Params({3, 3}, {1, 1}, Quadratic({0, 0}, {1, 2}));
    for (int run = 1; run <= 3; ++run) {
        if (run == 3) b.app.eng.par.StepSize(2) = 0;
        b.app.eng.par.ParValue(1) = 50;   // vertex 1 of a new simplex
        b.evals = 0;
        b.firstCoords.clear();
        b.Ok("Simplex minimum");
        b.Minimize();
        EXPECT_EQ(b.firstCoords.front() == 50, run != 2) << run;
        EXPECT_EQ(b.app.eng.NF, b.evals);
    }
}

TEST(SimplexRun, InterruptYesOrCallLimitNoEndWithTheBestVertex) {
    for (bool interrupt : {true, false}) {
        SCOPED_TRACE(interrupt ? "interrupt" : "call limit");
        Bench b;
        b.Params({4, -4}, {1, 1}, Quadratic({0, 0}, {1, 1}));
        b.MenuReady();
        if (interrupt) {
            b.At(6, Step::Click, "frmSimplex.cmdStop");   // the yield of iteration 4
            b.s.backend.AnswerMsgBox("Simplex interrupt", platform::vbYes);
        } else {
            b.app.eng.opt.ConvTol = 0;   // never met
            b.app.eng.opt.MaxCalls = 20;
            b.s.backend.AnswerMsgBox("Simplex minimization", platform::vbYes);
            b.s.backend.AnswerMsgBox("Simplex minimization", platform::vbNo);
        }
        b.s.backend.Click("frmMenu.cmdSimplex");
        const auto& box = b.s.backend.msgBoxes.at(0);
        EXPECT_EQ(box.text, interrupt ? "Interrupt received. Do you want to quit minimizing?"
                                      : "Maximum number of function calls reached, do you want to continue?");
        EXPECT_EQ(box.style, 36);
        EXPECT_EQ(b.s.backend.msgBoxes.back().title, interrupt ? "Simplex interrupt" : "Simplex minimization");
        const SimplexState& s = b.app.simplex;
        if (interrupt) EXPECT_EQ(s.NIter, 4);
        else EXPECT_GT(b.evals, 40);   // the count restarted at Yes
        for (int i = 1; i <= 2; ++i) EXPECT_EQ(b.app.eng.par.ParValue(i), b.app.eng.Simplex(i, s.ILo));
        EXPECT_EQ(b.app.eng.InterruptSimplex, 0);
        EXPECT_EQ(b.app.sw.SimplexBusy, 0);
        EXPECT_TRUE(b.app.form<frmSimplex>().cmdStop.Enabled());
        EXPECT_TRUE(b.app.form<frmMenu>().Visible());
        EXPECT_TRUE(b.app.form<frmMain>().mnuApplication.Enabled());
        EXPECT_EQ(b.Panel(1), "");
    }
}

TEST(SimplexRun, RelativeToleranceWithAZeroBestValueIsAnError) {
    Bench b;
    b.Params({1}, {-1}, [](Vec<double>& P) { return std::max(0.0, P(1) + 1); });
    b.app.eng.opt.ConvTol = -1E-06;
    for (int run = 1; run <= 2; ++run) {
        b.evals = 0;
        b.Ok("Simplex error");
        b.Minimize();
        EXPECT_EQ(b.s.backend.msgBoxes.back().text,
                  "A function value of zero has caused a division by zero error.\r\n"
                  "Reset the tolerance to ABSolute or otherwise correct model");
        EXPECT_EQ(b.s.backend.msgBoxes.back().style, 80);
        EXPECT_EQ(b.app.eng.par.ParValue(1), 1);   // not written
        EXPECT_EQ(b.evals, run == 1 ? 2 + 2 : 3);   // no building the second time
    }
}

TEST(SimplexRun, NegativeAndNonFiniteObjectivesAndPriorsAtTheMinimum) {
    Bench neg;   // a relative margin taken on a negative best value restarts for ever
    neg.Params({0.01, -0.01}, {0.001, 0.001}, Quadratic({0, 0}, {1, 1}, -100));
    neg.app.eng.opt.ConvTol = -1E-06;
    neg.app.eng.opt.MaxCalls = 5000;   // an unanswered limit question fails the test
    neg.Ok("Simplex minimum");
    neg.Minimize();
    EXPECT_LE(neg.app.simplex.NRestarts, 1);

    Bench odd;   // NaN and -infinity are never better
    odd.Params({1, 1}, {3, 3}, [](Vec<double>& P) {
        if (P(1) < 0) return std::numeric_limits<double>::quiet_NaN();
        if (P(2) < 0) return -std::numeric_limits<double>::infinity();
        return (P(1) - 2) * (P(1) - 2) + (P(2) - 0.5) * (P(2) - 0.5);
    });
    odd.Ok("Simplex minimum");
    odd.Minimize();
    EXPECT_NEAR(odd.app.eng.par.ParValue(1), 2, 1E-2);
    EXPECT_NEAR(odd.app.eng.par.ParValue(2), 0.5, 1E-2);

    Bench pri;   // prior terms of the minimum, not of the last axial probe, which moves parameter 2
    pri.Params({2, 2}, {0.5, 0.5}, Quadratic({1, 1}, {1, 1}));
    pri.app.sw.PriorsOn = "on";
    pri.app.priors.PriorType(2) = "N";
    pri.app.priors.PriorMean(2) = 0;
    pri.app.priors.PriorSD(2) = 2;
    pri.Ok("Simplex minimum");
    pri.Minimize();
    const double term = pri.app.priors.PriorTerm(2);
    Vec<double> at = pri.app.eng.par.ParValue;
    PriorPenalty(pri.app, at);
    EXPECT_EQ(term, pri.app.priors.PriorTerm(2));
    EXPECT_LT(pri.app.eng.par.ParValue(2), 0.99);   // pulled towards the prior's mean
}

TEST(SimplexVerify, RestartsWarnFromTheSecondAndAConfirmedMinimumReports) {
    Bench b;
    OneDimensional(b, 0, 0.5, Quadratic({1}, {1}));   // best 0.5; the probe at 0.55 is lower
    b.app.eng.NF = 0;
    int done = 0;
    VerifySimplexMinimum(b.app, done);
    EXPECT_EQ(done, 0);
    EXPECT_EQ(b.app.eng.NF, 1 + 2);   // one probe, then two vertices rebuilt
    EXPECT_EQ(b.Panel(3), "Last failure of convergence verification caused by parameter # 1");
    EXPECT_EQ(b.Panel(4), "");
    EXPECT_DOUBLE_EQ(b.app.eng.Simplex(1, 1), 0.55);   // the better point
    EXPECT_DOUBLE_EQ(b.app.eng.Simplex(1, 2), 0.6);    // its probed coordinate, shifted
    VerifySimplexMinimum(b.app, done);
    EXPECT_EQ(b.Panel(4), "Multiple restarts indicate a tuning problem!");

    Bench c;
    OneDimensional(c, 1, 0.5, Quadratic({1}, {1}));
    c.app.eng.NF = 0;
    c.s.clock.step = 3;   // seconds per clock reading
    c.Ok("Simplex minimum");
    c.app.eng.InterruptSimplex = platform::True;   // dropped at a confirmed minimum
    VerifySimplexMinimum(c.app, done);
    EXPECT_EQ(done, 1);
    EXPECT_EQ(c.app.eng.NF, 2);
    EXPECT_EQ(c.app.eng.Simplex(1, 1), 1);   // put back exactly
    const auto& log = c.s.backend.log;
    for (const char* shown : {"panel frmMain.stbMain5 3 \"Axial function call 2 of 2\"",
                              "panel frmMain.stbMain5 2 \"Estimated time remaining (m:s): 0:03\""})
        EXPECT_NE(std::find(log.begin(), log.end(), shown), log.end()) << shown;
    EXPECT_EQ(c.app.form<frmSimplex>().rtbSimplex.Text(),
              "\r\nMinimum of 0. found at these 1 adjusted parameter values:\r\n\r\n"
              "    001)  1.0000000E+00  ~~  Par1\r\n\r\n"
              "This result required 0 iterations, 2 function calls, and 0 restarts\r\n");
    EXPECT_EQ(c.app.eng.InterruptSimplex, 0);
    for (int p = 1; p <= 4; ++p) EXPECT_EQ(c.Panel(p), "");
}
