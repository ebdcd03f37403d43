// Simplex runs on test objectives: moves and their costs, convergence and its
// verification, the ways a run ends, and the kept simplex.
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "engine/Progress.h"
#include "simplex_fixture.h"

using namespace simplex_test;

TEST(SimplexMoves, EachMoveIsNamedAndCostsItsEvaluations) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Values (x^2 elsewhere), start; name, beaten vertices, cost, coordinate put in the worst column.
    struct Case { std::map<double, double> f; double start; const char* action; int nbetter; long cost; double stored; };
    const Case cases[] = {
        {{}, 1, kActReflection, 2, 2, 0},   // extension tried, not better
        {{{-1, 0}}, 1, kActReflection, 2, 2, 0},   // nor when equal
        {{{-1, -5}}, 1, kActExtension, 2, 2, -1},
        {{{0, 0}, {1, 1}, {-1, 10}}, 0, kActContraction, 0, 2, 0.5},
        {{{0, nan}}, 1, kActContraction, 0, 2, 1.5},   // not a number is never better
        {{{0, 0}, {1, 1}, {-1, 0.5}, {-0.5, 0.2}}, 0, kActReflContraction, 1, 2, -0.5},
        {{{0, 0}, {1, 1}, {-1, 10}, {0.5, 5}}, 0, kActReduction, 0, 3, 0.5},
        {{{0, 0}, {1, 1}, {-1, 0.5}, {-0.5, 5}}, 0, kActReflReduction, 1, 3, -0.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        Bench b;
        b.Line(c.start, 1, [&](Vec<double>& P) {
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

TEST(SimplexRun, QuadraticConvergesWithThePredictedEvaluationCountsAndIsContinued) {
    Bench b;
    b.Params({0, 9, 0, 0}, {0.5, 0, -0.4, 0.3}, Quadratic({1, 9, -2, 0.5}, {1, 1, 3, 0.5}, 4));
    b.app.eng.opt.ConvTol = 1E-10;
    long nf = 3 + 1, checked = 0;   // building
    bool first = true;
    auto check = [&] {   // at the yield that ends an iteration, from the move's name
        const SimplexState& s = b.app.simplex;
        if (s.SimplexDone || !first) return;
        const std::string& a = s.SimplexAction;
        nf += a == kActReduction || a == kActReflReduction ? 3 + 2 : a == kActReflection && s.NBetter < 4 ? 1 : 2;
        ++checked;
        EXPECT_EQ(b.app.eng.NF, nf) << "iteration " << s.NIter;
    };
    for (int k = 0; k < 400; ++k) b.At(3 + k, Step::Call, "", check);
    b.Ok("Simplex minimum");
    b.Minimize();
    const double want[] = {1, 9, -2, 0.5};
    for (int i = 1; i <= 4; ++i) EXPECT_NEAR(b.app.eng.par.ParValue(i), want[i - 1], 1E-3);
    EXPECT_EQ(checked, b.app.simplex.NIter - 1);
    EXPECT_EQ(b.app.eng.NF, b.evals);
    EXPECT_EQ(b.s.backend.msgBoxes.at(0).text, "Minimum found using Simplex!");
    EXPECT_EQ(b.s.backend.msgBoxes.at(0).style, 80);

    const auto& log = b.s.backend.log;   // the building's status text tells a new simplex
    first = false;
    for (int run = 2; run <= 3; ++run) {
        if (run == 3) b.app.eng.par.StepSize(4) = 0;
        b.evals = 0;
        b.s.backend.log.clear();
        b.Ok("Simplex minimum");
        b.Minimize();
        EXPECT_EQ(std::count(log.begin(), log.end(), "panel frmMain.stbMain5 1 \"Building initial simplex...\""),
                  run == 3 ? 1 : 0);
        EXPECT_EQ(b.app.eng.NF, b.evals);
        EXPECT_EQ(b.evals == 2 + 2 * 3, run == 2);   // one move, then the confirming probes
    }
}

// Interrupt, closing the window, No at the call limit, and a relative
// tolerance at a best value of 0.
TEST(SimplexRun, InterruptCallLimitAndZeroValueEndTheRun) {
    for (int end : {0, 1, 2, 3}) {
        SCOPED_TRACE(end);
        Bench b;
        Objective floor = [](Vec<double>& P) { return std::max(0.0, P(1) + 1); };   // 0 from -1 down
        b.Params({4, -4}, {1, end == 2 ? 0.0 : 1.0}, end == 2 ? floor : Quadratic({0, 0}, {1, 1}));
        const char* title = end == 1 ? "Simplex minimization" : end == 2 ? "Simplex error" : "Simplex interrupt";
        if (end == 0) b.At(6, Step::Click, "frmSimplex.cmdStop");   // the yield of iteration 4
        if (end == 3) b.At(6, Step::Close, "frmSimplex");
        if (end == 1) b.app.eng.opt.MaxCalls = 20, b.s.backend.AnswerMsgBox(title, platform::vbYes);
        if (end == 1 || end == 2) b.app.eng.opt.ConvTol = end == 1 ? 0 : -1E-06;   // 0: never met
        b.s.backend.AnswerMsgBox(title, end == 1 ? platform::vbNo : end == 2 ? platform::vbOK : platform::vbYes);
        b.Minimize();
        const auto& box = b.s.backend.msgBoxes.at(0);
        EXPECT_EQ(box.text, end == 1   ? "Maximum number of function calls reached, do you want to continue?"
                            : end == 2 ? "A function value of zero has caused a division by zero error.\r\n"
                                         "Reset the tolerance to ABSolute or otherwise correct model"
                                       : "Interrupt received. Do you want to quit minimizing?");
        EXPECT_EQ(box.style, end == 2 ? 80 : 36);
        const SimplexState& s = b.app.simplex;
        EXPECT_EQ(end == 0 || end == 3 ? 4 : -1, end == 0 || end == 3 ? s.NIter : -1);   // quit at iteration 4
        EXPECT_EQ(b.evals > 40, end == 1);   // the count restarted at Yes
        if (end == 2) EXPECT_EQ(b.app.eng.par.ParValue(1), 4);   // nothing written after the error
        else
            for (int i = 1; i <= 2; ++i) EXPECT_EQ(b.app.eng.par.ParValue(i), b.app.eng.Simplex(i, s.ILo));
        EXPECT_EQ(b.app.form<frmSimplex>().watch, nullptr);   // no run listens to Interrupt
        EXPECT_EQ(b.app.sw.SimplexBusy, 0);
        EXPECT_FALSE(b.app.form<frmSimplex>().cmdStop.Enabled());   // nothing left to interrupt
        EXPECT_TRUE(b.app.form<frmMenu>().Visible());
        EXPECT_EQ(b.Panel(1), "");
    }
}

TEST(SimplexVerify, RestartsWarnFromTheSecondAndAConfirmedMinimumReports) {
    Bench b;
    b.Line(0, 0.5, Quadratic({1}, {1}));   // best 0.5; the probe at 0.55 is lower
    b.app.eng.NF = 0;
    int done = 0;
    SimplexWatch watch(b.app);
    VerifySimplexMinimum(b.app, watch, done);
    EXPECT_EQ(done, 0);
    EXPECT_EQ(b.app.eng.NF, 1 + 2);   // one probe, then two vertices rebuilt
    EXPECT_EQ(b.Panel(3), "Last failure of convergence verification caused by parameter # 1");
    EXPECT_DOUBLE_EQ(b.app.eng.Simplex(1, 1), 0.55);   // the better point
    EXPECT_DOUBLE_EQ(b.app.eng.Simplex(1, 2), 0.6);    // its probed coordinate, shifted
    VerifySimplexMinimum(b.app, watch, done);
    EXPECT_EQ(b.Panel(4), "Multiple restarts indicate a tuning problem!");

    Bench c;
    c.Line(1, 0.5, Quadratic({1}, {1}));
    c.app.eng.NF = 0;
    c.Ok("Simplex minimum");
    SimplexWatch confirmed(c.app);
    confirmed.AskToStop();   // dropped at a confirmed minimum
    VerifySimplexMinimum(c.app, confirmed, done);
    EXPECT_EQ(done, 1);
    EXPECT_EQ(c.app.eng.NF, 2);
    EXPECT_EQ(c.app.eng.Simplex(1, 1), 1);   // put back exactly
    const auto& log = c.s.backend.log;
    EXPECT_NE(std::find(log.begin(), log.end(), "panel frmMain.stbMain5 3 \"Axial function call 2 of 2\""), log.end());
    EXPECT_EQ(c.app.form<frmSimplex>().rtbSimplex.Text(),
              "\r\nMinimum of 0. found at these 1 adjusted parameter values:\r\n\r\n"
              "    001)  1.0000000E+00  ~~  Par1\r\n\r\n"
              "This result required 0 iterations, 2 function calls, and 0 restarts\r\n");
    EXPECT_TRUE(confirmed.GoOn({}));
    for (int p = 1; p <= 4; ++p) EXPECT_EQ(c.Panel(p), "");
}

// A press of Interrupt that reached no run does not stop the next one; a
// kept simplex leaves the Stop button as its window has it.
TEST(SimplexRun, AStaleInterruptIsClearedAndTheButtonIsOffAtTheEnd) {
    Bench b;
    b.Params({4, -4}, {1, 1}, Quadratic({0, 0}, {1, 1}));
    b.app.eng.opt.ConvTol = 1E-8;
    b.app.form<frmSimplex>().cmdStop_Click();   // reaches no run
    b.Ok("Simplex minimum");
    b.Minimize();   // an interrupt question would fail the script here
    EXPECT_EQ(b.s.backend.msgBoxes.back().text, "Minimum found using Simplex!");
    EXPECT_GT(b.app.simplex.NIter, 10);
    frmSimplex& w = b.app.form<frmSimplex>();
    EXPECT_FALSE(w.cmdStop.Enabled());
    EXPECT_EQ(w.cmdStop.Caption(), "&Interrupt this minimization");

    std::string caption;
    bool enabled = false;
    for (int k = 1; k <= 5; ++k)
        b.At(k, Step::Call, "", [&] {
            if (!caption.empty() || !b.app.simplex.Running) return;
            frmSimplex& now = b.app.form<frmSimplex>();
            caption = now.cmdStop.Caption(), enabled = now.cmdStop.Enabled();
        });
    b.app.form<frmSimplex>().cmdStop_Click();   // reaches no run
    b.Ok("Simplex minimum");
    b.Minimize();   // continues the kept simplex in a new window
    EXPECT_EQ(caption + (enabled ? " on" : " off"), "&Interrupt on");
    EXPECT_EQ(b.s.backend.msgBoxes.back().text, "Minimum found using Simplex!");
}

// A run needs no window: a test's own objective and observer see every
// figure and panel, and a stop asked at iteration 5 is the run's own
// question; nothing is loaded, not even the main window.
TEST(SimplexRun, ATestsOwnObserverWatchesAndStopsARunWithoutWindows) {
    struct Watch : ProgressObserver {
        std::vector<Iteration> asked;
        std::vector<std::string> panels;
        std::string report;
        bool GoOn(const Iteration& at) override { return asked.push_back(at), at.iteration < 5; }
        void Panel(int i, const std::string& text) override { panels.push_back(std::to_string(i) + text); }
        void Report(int pane, const std::string&) override { report += std::to_string(pane); }
    };
    tivelor::testing::AppSession t;
    tivelor::testing::FillParameters(t.app, {4, -4}, {1, 1}, "Par");
    t.app.priors.Reset(2);
    long evals = 0;
    t.app.eng.Objective = [&](Vec<double>& P, long) { return ++evals, P(1) * P(1) + P(2) * P(2); };
    t.SizeForSimplex();
    t.s.backend.AnswerMsgBox("Simplex interrupt", platform::vbYes);
    Watch w;
    SimplexMinimize(t.app, w);
    ASSERT_EQ(w.asked.size(), 5u);
    EXPECT_EQ(w.asked.back().iteration, 5);
    EXPECT_EQ(w.asked.back().calls, evals);
    EXPECT_EQ(w.asked.back().best, t.app.simplex.SimplexF(t.app.simplex.ILo));
    EXPECT_EQ(t.s.backend.msgBoxes.at(0).text, "Interrupt received. Do you want to quit minimizing?");
    EXPECT_EQ(w.panels.front(), "1Building initial simplex...");
    EXPECT_EQ(w.report.substr(0, 2), "01");   // the initial simplex, then progress
    EXPECT_TRUE(t.app.ui.forms.Loaded().empty());
}
