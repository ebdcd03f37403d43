#include <cmath>
#include <filesystem>
#include <limits>

#include "MarqTestUtil.h"
#include "engine/Marquardt.h"
#include "engine/ProgressText.h"
#include "shell/frmMarquardt.h"
#include "shell/frmMenu.h"

namespace {

using marqtest::Bowl;
using marqtest::BowlDerivs;
using platform::Matrix;
using platform::Vec;
using tivelor::frmMarquardt;

struct Marq : marqtest::Fixture {
    void StartBowl(const std::string& deriv, const std::string& show = "no") {
        Params({3, 1, -1, 7}, {0.1, 0.1, 0.1, 0});
        Method(deriv, show);
        Objective([](const Vec<double>& p) { return Bowl(p) + p(4) * 0; }, BowlDerivs);
    }
    // x^4 + y^4 + 1: Newton steps shrink the point by a third each time, so
    // runs with ConvTol 0 go on for many iterations.
    void StartQuartic(int n) {
        Params(std::vector<double>(n, 1.0), std::vector<double>(n, 0.1));
        Method("A");
        app.eng.opt.ConvTol = 0;
        Objective(
            [n](const Vec<double>& p) {
                double f = 1;
                for (int i = 1; i <= n; ++i) f += std::pow(p(i), 4);
                return f;
            },
            [n](const Vec<double>& p, Vec<double>& g, Matrix<double>& h) {
                for (int i = 1; i <= n; ++i) {
                    g(i) = 4 * std::pow(p(i), 3);
                    h(i, i) = 12 * p(i) * p(i);
                }
            });
    }
    void Run() { tivelor::MarquardtMinimize(app); }
    double Value(int i) { return app.eng.par.ParValue(i); }
};

std::string Slurp(const std::string& path) {
    std::string text;
    platform::ReadWholeFile(path, text);
    return text;
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
}

TEST_F(Marq, NumericalDerivativeStepCostsNFreeTimesNFreePlusOne) {
    Params({3, 0, -1, 7}, {0.1, 0.1, 0.1, 0});
    Method("N");
    Objective(Bowl);
    app.eng.NF = 7;
    double F0 = Bowl(app.eng.par.ParValue), h = 0.001;
    tivelor::CalcNumericalGradient(app, F0, h);
    EXPECT_EQ(app.eng.NF, 7 + 3 * 4);
    EXPECT_EQ(points.size(), 12u);
    EXPECT_EQ(h, 0.001);
    EXPECT_EQ(Panel(1), "Hessian function call 12 of 12");
    // The free parameter at 0 moves by the absolute increment.
    EXPECT_DOUBLE_EQ(points[2](2), 0.001);
    EXPECT_DOUBLE_EQ(points[3](2), -0.001);
    EXPECT_EQ(app.marq.FMin, Bowl(points.back()));
    tivelor::BuildNumericalHessian(app, F0, h);

    Vec<double> g(4);
    Matrix<double> H(4, 4);
    BowlDerivs(app.eng.par.ParValue, g, H);
    for (int a = 1; a <= 3; ++a) {
        EXPECT_NEAR(app.eng.MarqBeta(a), g(a), 1E-4) << a;
        for (int b = 1; b <= 3; ++b) EXPECT_NEAR(app.eng.HessMat(a, b), H(a, b), 2E-3) << a << b;
    }
}

TEST_F(Marq, AnalyticalAndNumericalReachTheSameMinimumAndLogIt) {
    const std::string log = (std::filesystem::path(::testing::TempDir()) / "marq_min.tvl").string();
    double found[2][4];
    for (int run = 0; run < 2; ++run) {
        StartBowl(run == 0 ? "A" : "N");
        if (run == 0) {
            ASSERT_TRUE(app.ui.files.Open(tivelor::kLogFile, log, platform::FileMode::Output));
            app.eng.opt.FileFreq = 10;
        }
        s.backend.AnswerMsgBox("Marquardt minimum", platform::vbOK);
        Run();
        EXPECT_EQ(LastBox()->text, "Minimum found using Marquardt!");
        const double want[] = {1, -2, 0.5, 7};
        for (int i = 1; i <= 4; ++i) EXPECT_NEAR(found[run][i - 1] = Value(i), want[i - 1], 2E-2);
        EXPECT_NEAR(Bowl(app.eng.par.ParValue), 3, 1E-5);
        EXPECT_EQ(calls.back(), 1);   // the final evaluation restarts the model's record
        const std::string pane = app.form<frmMarquardt>().rtbMarquardt.Text;
        EXPECT_NE(pane.find(" found at these 3 adjusted parameter values:\r\n\r\n    001) "), std::string::npos);
        EXPECT_EQ(app.eng.ShowDerivs, "no");
        for (int p = 1; p <= 4; ++p) EXPECT_EQ(Panel(p), "");
        if (run == 0) {
            app.ui.files.Close(tivelor::kLogFile);
            app.eng.opt.FileFreq = 0;
        }
    }
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(found[0][i], found[1][i], 2E-2);

    const std::string text = Slurp(log);
    EXPECT_GT(Count(text, "Note: "), 0);
    EXPECT_EQ(Count(text, "Note: "), Count(text, "Current Min> "));
    EXPECT_NE(text.find(" adjusted parameter values: \r\n\r\n    001)"), std::string::npos);
    const size_t min = text.find("Minimum of ");
    ASSERT_NE(min, std::string::npos);
    EXPECT_NE(text.find(" function calls\r\n\r\n", min), std::string::npos);
    EXPECT_NE(text.find("\r\nafter ", min), std::string::npos);
}

TEST_F(Marq, FailedTrialsRaiseLambdaTenfoldUntilFrustration) {
    Params({1}, {0.1});
    Method("A");
    // A slope with the wrong sign and a tiny curvature: every trial climbs,
    // by steps far above rounding.
    Objective([](const Vec<double>& p) { return p(1); },
              [](const Vec<double>&, Vec<double>& g, Matrix<double>& h) {
                  g(1) = -1;
                  h(1, 1) = 1E-30;
              });
    s.backend.AnswerMsgBox("Marquardt quits in frustration", platform::vbOK);
    Run();
    ASSERT_EQ(points.size(), 25u);
    double lambda = 0.001;
    for (size_t k = 1; k < points.size(); ++k, lambda *= 10)
        EXPECT_DOUBLE_EQ(points[k](1), 1 - -1 / (1E-30 * (1 + lambda))) << "trial " << k;
    EXPECT_EQ(app.eng.NF, 25);
    EXPECT_EQ(Value(1), 1);
    EXPECT_EQ(app.marq.NIter, 0);
    EXPECT_FALSE(app.IsLoaded<frmMarquardt>());
    EXPECT_EQ(Count(LastBox()->text, "\r\n"), 6);
}

TEST_F(Marq, DerivativePauseWaitsForNextIterationThenContinue) {
    StartBowl("A", "yes");
    int pauses = 0, polls = 0;
    long iterAtPause = -1;
    std::string paused;
    AtEveryDoEvents([&] {
        if (!app.IsLoaded<frmMarquardt>() || app.eng.MarqGo != 0 ||
            !app.form<frmMarquardt>().cmdIteration.Visible)
            return;
        if (polls == 0) {
            iterAtPause = app.marq.NIter;
            paused = app.form<frmMarquardt>().rtbMarquardt.Text;
        }
        EXPECT_EQ(app.marq.NIter, iterAtPause);
        if (++polls < 50) return;
        polls = 0;
        ++pauses;
        s.backend.Click(pauses == 1 ? "frmMarquardt.cmdIteration" : "frmMarquardt.cmdContinue");
    });
    s.backend.AnswerMsgBox("Marquardt minimum", platform::vbOK);
    Run();
    watcher = nullptr;
    EXPECT_EQ(pauses, 2);
    EXPECT_GT(app.marq.NIter, 2);
    EXPECT_EQ(Count(paused, "Analytical 1st derivative wrt Parameter      00"), 3);
    EXPECT_EQ(Count(paused, "Analytical 2nd derivative wrt Parameters "), 6);
    EXPECT_NE(paused.find("Parameters 002,003)"), std::string::npos);
    EXPECT_FALSE(app.form<frmMarquardt>().cmdIteration.Visible);
}

TEST_F(Marq, InterruptQuitsAtTheEndOfTheIteration) {
    StartQuartic(2);
    long clickedAt = -1;
    AtEveryDoEvents([&] {
        if (!app.IsLoaded<frmMarquardt>()) return;
        if (clickedAt < 0 && app.marq.NIter >= 3 && app.form<frmMarquardt>().cmdStop.Enabled) {
            clickedAt = app.marq.NIter;
            s.backend.Click("frmMarquardt.cmdStop");
            EXPECT_EQ(Panel(2), "Interrupt pending...");
        }
    });
    s.backend.AnswerMsgBox("Marquardt interrupt", platform::vbYes);
    s.backend.AnswerMsgBox("Marquart minimization stopped", platform::vbOK);
    Run();
    watcher = nullptr;
    EXPECT_EQ(s.backend.msgBoxes[0].text, "Interrupt received. Do you want to quit minimizing?");
    EXPECT_EQ(s.backend.msgBoxes[0].style, 36);
    EXPECT_LE(app.marq.NIter, clickedAt + 1);
    EXPECT_EQ(Value(1), app.eng.free.FreeValue(1));
    EXPECT_TRUE(app.IsLoaded<frmMarquardt>());
    EXPECT_TRUE(app.form<frmMarquardt>().cmdStop.Enabled);
    EXPECT_EQ(app.eng.InterruptMarq, 0);
}

TEST_F(Marq, IterationLimitStopsAndEveryStepIsLogged) {
    StartQuartic(5);
    app.eng.opt.MaxCalls = 3;
    app.eng.opt.FileFreq = 5;   // logs every step all the same
    app.eng.opt.TerminalFreq = 0;
    const std::string log = (std::filesystem::path(::testing::TempDir()) / "marq_limit.tvl").string();
    ASSERT_TRUE(app.ui.files.Open(tivelor::kLogFile, log, platform::FileMode::Output));
    s.backend.AnswerMsgBox("Marquart minimization stopped", platform::vbOK);
    Run();
    app.ui.files.Close(tivelor::kLogFile);
    EXPECT_EQ(app.marq.NIter, 3);
    // Each step takes x^4 to x (1 - 1 / (3 (1 + lambda))), lambda falling tenfold.
    double x = 1;
    for (double lambda : {1E-3, 1E-4, 1E-5}) x *= 1 - 1 / (3 * (1 + lambda));
    for (int i = 1; i <= 5; ++i) EXPECT_NEAR(Value(i), x, 1E-14);
    EXPECT_NE(app.form<frmMarquardt>().rtbMarquardt.Text().find("Note: 3 iterations and "), std::string::npos);

    const std::string text = Slurp(log);
    EXPECT_EQ(Count(text, "Note: "), 3);
    // Five items: a record of four, a record of one, one empty record, then
    // the tolerance line.
    const size_t start = text.find("Note: 1 iterations and 2 function calls\r\n\r\n");
    ASSERT_NE(start, std::string::npos);
    const size_t items = text.find("values: \r\n\r\n", start) + 12;
    const std::string block = text.substr(items, text.find("Current Min> ", items) - items);
    EXPECT_EQ(Count(block, ") "), 5);
    EXPECT_EQ(Count(block, "\r\n"), 3);
    EXPECT_EQ(block.substr(block.size() - 4), "\r\n\r\n");
    EXPECT_NE(text.find(" Abs TC> "), std::string::npos);
}

TEST_F(Marq, RelativeToleranceFromAZeroValueIsReportedAndKeepsTheBestPoint) {
    Params({1}, {0.1});
    Method("A");
    app.eng.opt.ConvTol = -1E-6;
    Objective([](const Vec<double>& p) { return p(1) * p(1) - 1; },
              [](const Vec<double>& p, Vec<double>& g, Matrix<double>& h) {
                  g(1) = 2 * p(1);
                  h(1, 1) = 2;
              });
    s.backend.AnswerMsgBox("Marquardt error", platform::vbOK);
    Run();
    EXPECT_EQ(LastBox()->text, tivelor::ZeroValueMessage());
    EXPECT_DOUBLE_EQ(Value(1), 1 - 1 / 1.001);
    EXPECT_NE(app.form<frmMarquardt>().rtbMarquardt.Text().find(" Rel TC> Undefined"), std::string::npos);
}

TEST_F(Marq, ObjectiveThatIsNotFiniteIsNeverBetter) {
    Params({2}, {0.1});
    Method("A");
    // Minus infinity below 0.5: neither a trial nor an axial probe there may
    // count as an improvement, so the run settles on the edge.
    Objective(
        [](const Vec<double>& p) {
            return p(1) < 0.5 ? -std::numeric_limits<double>::infinity() : p(1) * p(1);
        },
        [](const Vec<double>& p, Vec<double>& g, Matrix<double>& h) {
            g(1) = 2 * p(1);
            h(1, 1) = 2;
        });
    s.backend.AnswerMsgBox("Marquardt minimum", platform::vbOK);
    Run();
    EXPECT_EQ(Value(1), 0.5);
    EXPECT_NE(app.form<frmMarquardt>().rtbMarquardt.Text().find("Minimum of 0.25 found"), std::string::npos);
}

TEST_F(Marq, AnalyticalDerivativesThatDisappearEndTheRun) {
    StartBowl("A");
    int served = 0;
    Objective(Bowl, [&](const Vec<double>& p, Vec<double>& g, Matrix<double>& h) {
        h.Fill(0);
        if (served++ == 0) BowlDerivs(p, g, h);
    });
    s.backend.AnswerMsgBox("Analytical derivatives missing", platform::vbOK);
    Run();
    EXPECT_EQ(LastBox()->text, "Sorry, analytical derivatives seem not to have been provided");
    EXPECT_EQ(app.marq.NIter, 1);
    EXPECT_EQ(Value(1), app.marq.MarqPar(1));
    EXPECT_NE(Value(1), 3);
}

TEST_F(Marq, AxialSearchMovesOneCoordinateToTheLowestImprovingProbe) {
    Params({0, 0, 0}, {1, 1, 1});
    Method("N");
    app.eng.opt.StepReduction = 0.5;
    // Probes: +1 gives 9.75, -3 gives 9, the others are higher.
    Objective([](const Vec<double>& p) { return 10 - 0.5 * p(1) + 2 * p(3) + 3 * p(2) * p(2); });
    app.marq.MarqPar.ReDim(3);
    app.marq.TrialPar.ReDim(3);
    app.eng.NF = 5;
    double FRef = 10;
    int rejected = 0;
    tivelor::MarquardtAxialSearch(app, FRef, rejected);
    EXPECT_EQ(rejected, platform::True);
    EXPECT_EQ(points.size(), 6u);
    EXPECT_EQ(app.eng.NF, 5);
    EXPECT_EQ(FRef, 9);
    EXPECT_EQ(app.marq.MarqPar(3), -0.5);
    EXPECT_EQ(Value(3), -0.5);
    EXPECT_EQ(app.marq.MarqPar(1), 0);
    EXPECT_EQ(Panel(4), "Last failure of convergence verification caused by parameter # 3");

    // An improvement of exactly the absolute tolerance does not reject.
    app.eng.opt.ConvTol = 1;
    tivelor::MarquardtAxialSearch(app, FRef, rejected);
    EXPECT_EQ(rejected, 0);
    EXPECT_EQ(FRef, 9);
    EXPECT_EQ(Value(3), -0.5);
}

TEST_F(Marq, ProfileModeStoresThePointOrQuitsTheProfile) {
    StartBowl("A");
    auto& ev = app.eval;
    app.sw.MLOn = "on";
    ev.NProfPts = 3;
    ev.ProfPt = 2;
    ev.ProfPar = 4;
    ev.ProfX.ReDim(3);
    ev.ProfNegLnL.ReDim(3);
    Run();   // no minimum report in profile mode
    EXPECT_TRUE(s.backend.msgBoxes.empty());
    EXPECT_NEAR(ev.ProfNegLnL(2), 3, 1E-5);
    EXPECT_EQ(ev.ProfX(2), 7);

    // Interrupt, then Yes to leaving the profile: the run ends at once.
    StartBowl("A");
    bool pressed = false;
    AtEveryDoEvents([&] {
        if (!pressed && app.IsLoaded<frmMarquardt>() && app.form<frmMarquardt>().cmdStop.Enabled) {
            pressed = true;
            s.backend.Click("frmMarquardt.cmdStop");
        }
    });
    s.backend.AnswerMsgBox("Marquardt interrupt", platform::vbYes);
    Run();
    EXPECT_EQ(LastBox()->text, "Interrupt received. Do you want to quit the ML procedure?");
    EXPECT_EQ(ev.SavedProfPt, 2);
    EXPECT_EQ(ev.ProfPt, 5);
    EXPECT_EQ(app.marq.NIter, 0);
}

TEST_F(Marq, ClosingTheWindowReleasesThePauseAndTheRunGoesOn) {
    StartBowl("N", "yes");
    bool closed = false;
    AtEveryDoEvents([&] {
        if (!closed && app.IsLoaded<frmMarquardt>() && app.form<frmMarquardt>().cmdIteration.Visible) {
            closed = true;
            s.backend.Close("frmMarquardt");
        }
    });
    s.backend.AnswerMsgBox("Marquardt minimum", platform::vbOK);
    Run();
    EXPECT_EQ(app.eng.ShowDerivs, "no");
    EXPECT_TRUE(app.IsLoaded<frmMarquardt>());   // shown again for the next report
    EXPECT_NEAR(Value(1), 1, 2E-3);
}

struct MenuMarq : Marq {
    void ReadyMenu() {
        app.form<tivelor::frmMain>().Initialized = platform::True;
        app.eng.AlgFileName = "test.alg";
        app.form<tivelor::frmMenu>().EnableTaskButtons(true);
    }
};

TEST_F(MenuMarq, ButtonRestoresTerminalFreqAndBusyFlagOnEveryWayOut) {
    StartBowl("A");
    ReadyMenu();
    app.eng.ShowDerivs = "yes";
    // Cancelled set-up: nothing runs, the earlier ShowDerivs stands.
    s.backend.AnswerMsgBox("Marquardt minimization", platform::vbCancel);
    s.backend.Click("frmMenu.cmdMarquardt");
    EXPECT_EQ(s.backend.msgBoxes.size(), 1u);
    EXPECT_EQ(Count(s.backend.msgBoxes[0].text, "\r\n"), 10);
    EXPECT_EQ(app.eng.ShowDerivs, "yes");
    EXPECT_EQ(app.sw.MarquardtBusy, 0);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(app.form<tivelor::frmMain>().mnuApplication.Enabled);

    // A run that changes TerminalFreq under it.
    Objective([&](const Vec<double>& p) {
        app.eng.opt.TerminalFreq = 0;
        return Bowl(p);
    }, BowlDerivs);
    app.sw.CovDone = "on";
    app.eng.SimplexValid = 1;
    s.backend.AnswerMsgBox("Marquardt minimization", platform::vbYes);
    s.backend.AnswerMsgBox("Marquardt minimization", platform::vbOK);
    s.backend.AnswerMsgBox("Marquardt minimization", platform::vbNo);
    s.backend.AnswerMsgBox("Marquardt minimum", platform::vbOK);
    s.backend.Click("frmMenu.cmdMarquardt");
    EXPECT_EQ(s.backend.msgBoxes[2].text, "You have chosen ANALYTICAL derivatives - it's like choosing Coke");
    EXPECT_EQ(app.eng.opt.TerminalFreq, 10);
    EXPECT_EQ(app.sw.MarquardtBusy, 0);
    EXPECT_EQ(app.eng.SimplexValid, 0);
    EXPECT_EQ(app.sw.CovDone, "off");
    EXPECT_NEAR(Value(1), 1, 2E-3);
    EXPECT_TRUE(app.form<tivelor::frmMenu>().cmdMarquardt.Enabled);

    // Nothing free.
    Params({1, 2}, {0, 0});
    s.backend.AnswerMsgBox("Marquardt minimization", platform::vbNo);
    s.backend.AnswerMsgBox("Marquardt minimization", platform::vbOK);
    s.backend.AnswerMsgBox("Marquardt minimization", platform::vbNo);
    s.backend.AnswerMsgBox("There is nothing to do!", platform::vbOK);
    s.backend.Click("frmMenu.cmdMarquardt");
    EXPECT_EQ(LastBox()->text, "All step sizes are zero");
    EXPECT_EQ(app.sw.MarquardtBusy, 0);
    EXPECT_TRUE(app.form<tivelor::frmMain>().mnuApplication.Enabled);
}

}  // namespace
