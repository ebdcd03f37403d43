#include <filesystem>
#include <optional>
#include <stdexcept>

#include "MarqTestUtil.h"
#include "engine/Marquardt.h"
#include "engine/ProgressText.h"
#include "windows/frmMarquardt.h"
#include "windows/frmSimplex.h"
#include "shell/frmMenu.h"
#include "state/Task.h"

namespace {

using namespace marqtest;
using tivelor::frmMarquardt;

struct Marq : Fixture {
    void StartBowl(const std::string& deriv, const std::string& show = "no") {
        Params({3, 1, -1, 7}, {0.1, 0.1, 0.1, 0}, deriv, show);
        Objective(Bowl, BowlDerivs);
    }
    // 1 + sum x^4: each Newton step shrinks x by a third, so ConvTol 0 runs long.
    void StartQuartic(int n) {
        Params(std::vector<double>(n, 1.0), std::vector<double>(n, 0.1));
        app.eng.opt.ConvTol = 0;
        Objective([n](const Vec<double>& p) {
            double f = 1;
            for (int i = 1; i <= n; ++i) f += std::pow(p(i), 4);
            return f;
        }, [n](const Vec<double>& p, Vec<double>& g, Matrix<double>& h) {
            for (int i = 1; i <= n; ++i) g(i) = 4 * std::pow(p(i), 3), h(i, i) = 12 * p(i) * p(i);
        });
    }
    // Runs with the minimization log open; its text.
    std::string RunLogged(int fileFreq) {
        const std::string path = (std::filesystem::path(::testing::TempDir()) / "marq.tvl").string();
        EXPECT_TRUE(app.ui.files.Open(tivelor::kLogFile, path, platform::FileMode::Output));
        app.eng.opt.FileFreq = fileFreq;
        Run();
        app.ui.files.Close(tivelor::kLogFile);
        std::string text;
        return platform::ReadWholeFile(path, text), text;
    }
    void Run() {
        tivelor::MarquardtWatch watch(app);
        tivelor::MarquardtMinimize(app, watch);
    }
    double Value(int i) { return app.eng.par.ParValue(i); }
    std::string Pane() { return app.form<frmMarquardt>().rtbMarquardt.Text; }
};

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
}

TEST_F(Marq, NumericalDerivativeStepCostsNFreeTimesNFreePlusOne) {
    Params({3, 0, -1, 7}, {0.1, 0.1, 0.1, 0}, "N");
    Objective(Bowl);
    app.eng.NF = 7;
    double F0 = Bowl(app.eng.par.ParValue), h = 0.001;
    tivelor::MarquardtWatch watch(app);
    tivelor::CalcNumericalGradient(app, watch, F0, h);
    EXPECT_TRUE(app.eng.NF == 7 + 3 * 4 && h == 0.001 && Panel(1) == "Hessian function call 12 of 12");
    EXPECT_TRUE(points[2](2) == 0.001 && points[3](2) == -0.001);   // the parameter at 0: absolute increments
    EXPECT_EQ(app.marq.FMin, Bowl(points.back()));
    tivelor::BuildNumericalHessian(app, F0, h);   // from the stored values
    Vec<double> g(4);
    Matrix<double> H(4, 4);
    BowlDerivs(app.eng.par.ParValue, g, H);
    for (int a = 1; a <= 3; ++a) {
        EXPECT_NEAR(app.eng.MarqBeta(a), g(a), 1E-4) << a;
        for (int b = 1; b <= 3; ++b) EXPECT_NEAR(app.eng.HessMat(a, b), H(a, b), 2E-3) << a << b;
    }
}

TEST_F(Marq, FailedTrialsRaiseLambdaTenfoldUntilFrustration) {
    Params({1}, {0.1});
    // A slope with the wrong sign and a tiny curvature: every trial climbs.
    Objective([](const Vec<double>& p) { return p(1); },
              [](const Vec<double>&, Vec<double>& g, Matrix<double>& h) { g(1) = -1, h(1, 1) = 1E-30; });
    Answer("Marquardt quits in frustration");
    Run();
    ASSERT_EQ(points.size(), 25u);
    double lambda = 0.001;
    for (size_t k = 1; k < points.size(); ++k, lambda *= 10)
        EXPECT_DOUBLE_EQ(points[k](1), 1 - -1 / (1E-30 * (1 + lambda))) << "trial " << k;
    EXPECT_TRUE(Value(1) == 1 && app.marq.NIter == 0 && !app.IsLoaded<frmMarquardt>());
    EXPECT_EQ(Count(LastBox().text, "\r\n"), 6);
}

// The first pause ends by Next iteration, the second by Continue or by
// closing the window; no pause follows, and the minimum is reported and logged.
TEST_F(Marq, DerivativePauseWaitsForAClickThenTheMinimumIsReported) {
    for (const char* second : {"frmMarquardt.cmdContinue", ""}) {
        StartBowl("A", "yes");
        long pauses = 0, polls = 0, iterAtPause = -1;
        std::string paused;
        AtEveryDoEvents([&] {
            if (!app.IsLoaded<frmMarquardt>() || app.eng.MarqGo != 0 || !app.form<frmMarquardt>().cmdIteration.Visible)
                return;
            if (polls == 0) paused = Pane(), iterAtPause = app.marq.NIter;
            EXPECT_EQ(app.marq.NIter, iterAtPause);   // the run waits
            if (++polls < 50) return;
            polls = 0;
            if (++pauses == 1) s.backend.Click("frmMarquardt.cmdIteration");
            else if (*second) s.backend.Click(second);
            else s.backend.Close("frmMarquardt");
        });
        Answer("Marquardt minimum");
        const std::string log = RunLogged(10);
        watcher = nullptr;
        EXPECT_EQ(pauses, 2);
        EXPECT_EQ(Count(paused, "Analytical 1st derivative wrt Parameter      00"), 3);
        EXPECT_EQ(Count(paused, "Analytical 2nd derivative wrt Parameters "), 6);
        EXPECT_NE(paused.find("Analytical 2nd derivative wrt Parameters 002,003)  0.00000E+00"), std::string::npos);
        EXPECT_EQ(LastBox().text, "Minimum found using Marquardt!");
        const double want[] = {1, -2, 0.5, 7};
        for (int i = 1; i <= 4; ++i) EXPECT_NEAR(Value(i), want[i - 1], 2E-3);
        EXPECT_EQ(calls.back(), 1);   // the final evaluation restarts the model's record
        EXPECT_NE(Pane().find(" found at these 3 adjusted parameter values:\r\n\r\n    001) "), std::string::npos);
        EXPECT_EQ(Panel(1) + Panel(2) + Panel(3) + Panel(4), "");
        const size_t min = log.find("\r\n\r\nMinimum of 3");   // after the last iteration's block
        EXPECT_NE(log.find(" found at these 3 adjusted parameter values:\r\n\r\n    001) ", min), std::string::npos);
        EXPECT_NE(log.find("\r\n\r\nafter ", min), std::string::npos);
    }
}

// Yes to "quit minimizing?" stops at the end of the iteration; in profile
// mode a minimum is stored silently, and Yes leaves the profile at once.
TEST_F(Marq, InterruptEndsTheIterationOrTheProfile) {
    auto& ev = app.eval;
    StartBowl("A");
    app.sw.MLOn = "on";
    ev.NProfPts = 3, ev.ProfPt = 2, ev.ProfPar = 2;
    ev.ProfX.ReDim(3), ev.ProfNegLnL.ReDim(3);
    Run();
    EXPECT_TRUE(s.backend.msgBoxes.empty());
    EXPECT_NEAR(ev.ProfNegLnL(2), 3, 1E-5);
    EXPECT_DOUBLE_EQ(ev.ProfX(2), Value(2));
    for (const std::string ml : {"off", "on"}) {
        const bool off = ml == "off";
        StartQuartic(2);
        app.sw.MLOn = ml;
        long clickedAt = -1;
        AtEveryDoEvents([&] {
            if (clickedAt < 0 && app.marq.NIter >= 3 && app.form<frmMarquardt>().cmdStop.Enabled())
                clickedAt = app.marq.NIter, s.backend.Click("frmMarquardt.cmdStop");
        });
        s.backend.msgBoxes.clear();
        Answer("Marquardt interrupt", platform::vbYes);
        if (off) Answer("Marquart minimization stopped");
        Run();
        watcher = nullptr;
        EXPECT_EQ(s.backend.msgBoxes.front().text, off ? "Interrupt received. Do you want to quit minimizing?"
                                                       : "Interrupt received. Do you want to quit the ML procedure?");
        EXPECT_EQ(app.marq.NIter, off ? clickedAt + 1 : clickedAt);
        EXPECT_EQ(ev.ProfPt, off ? 2 : 5);
        // The run is over: nothing is left to interrupt.
        EXPECT_FALSE(app.form<frmMarquardt>().cmdStop.Enabled());
    }
}

// A limit of 0 is no limit: the run goes on to its minimum.
TEST_F(Marq, AnIterationLimitOfZeroIsNoLimit) {
    StartQuartic(2);
    app.eng.opt.ConvTol = 1E-3;
    app.eng.opt.MaxCalls = 0;
    Answer("Marquardt minimum");
    Run();
    EXPECT_EQ(LastBox().text, "Minimum found using Marquardt!");
    EXPECT_GT(app.marq.NIter, 2);
    EXPECT_FALSE(app.form<frmMarquardt>().cmdStop.Enabled());
}

TEST_F(Marq, IterationLimitStopsAndEveryStepIsLogged) {
    StartQuartic(5);
    app.eng.opt.MaxCalls = 3, app.eng.opt.TerminalFreq = 0;
    Answer("Marquart minimization stopped");
    const std::string text = RunLogged(5);   // logs every step all the same
    EXPECT_EQ(app.marq.NIter, 3);   // met at equality
    EXPECT_EQ(LastBox().text, "Maximum number of iterations reached or an interrupt was received");
    double x = 1;   // each step takes x to x (1 - 1 / (3 (1 + lambda))), lambda falling tenfold
    for (double lambda : {1E-3, 1E-4, 1E-5}) x *= 1 - 1 / (3 * (1 + lambda));
    for (int i = 1; i <= 5; ++i) EXPECT_NEAR(Value(i), x, 1E-14);
    EXPECT_NE(Pane().find("Note: 3 iterations and "), std::string::npos);
    EXPECT_EQ(Count(text, "Note: "), 3);
    const std::string item = "    00%)  6.6699967E-01";   // five: a record of four, a record of one
    std::string items;
    for (char i : std::string("12345")) items += (i == '5' ? "\r\n" : "") + item.substr(0, 6) + i + item.substr(7);
    EXPECT_EQ(text.rfind("\r\nNote: 1 iterations and 2 function calls\r\n\r\nCurrent minimum found at these 5 adjusted "
                         "parameter values: \r\n\r\n" + items +
                         "\r\n\r\nCurrent Min> 1.98963      Last Min> 6.      Abs TC> 4.0104E+00\r\n\r\n\r\nNote: 2", 0), 0u);
}

TEST_F(Marq, AxialSearchMovesOneCoordinateToTheLowestImprovingProbe) {
    Params({0, 0, 0}, {1, 1, 1}, "N");
    app.eng.opt.StepReduction = 0.5;
    // Probes: +1 gives 9.75, -3 gives 9, the others are higher.
    Objective([](const Vec<double>& p) { return 10 - 0.5 * p(1) + 2 * p(3) + 3 * p(2) * p(2); });
    app.marq.MarqPar.ReDim(3), app.eng.NF = 5;
    double FRef = 10;
    int rejected = 0;
    for (double tol : {1E-6, 1.0}) {   // an improvement of exactly the tolerance does not reject
        app.eng.opt.ConvTol = tol;
        tivelor::MarquardtWatch watch(app);
        tivelor::MarquardtAxialSearch(app, watch, FRef, rejected);
        EXPECT_EQ(rejected, tol < 1 ? platform::True : 0);
        EXPECT_EQ(FRef, 9);
        EXPECT_TRUE(app.marq.MarqPar(3) == -0.5 && Value(3) == -0.5 && app.marq.MarqPar(1) == 0);
    }
    EXPECT_TRUE(points.size() == 12u && app.eng.NF == 5);   // the running count is left alone
}

TEST_F(Marq, MenuButtonRestoresTerminalFreqAndBusyFlagOnEveryWayOut) {
    StartBowl("A");
    app.form<tivelor::frmMain>().Initialized = platform::True;
    app.eng.AlgFileName = "test.alg", app.eng.ShowDerivs = "yes";
    app.form<tivelor::frmMenu>().EnableTaskButtons(true);
    Answer("Marquardt minimization", platform::vbCancel);   // nothing runs, ShowDerivs stands
    s.backend.Click("frmMenu.cmdMarquardt");
    EXPECT_EQ(Count(s.backend.msgBoxes[0].text, "\r\n"), 10);
    EXPECT_TRUE(app.eng.ShowDerivs == "yes" && calls.empty());

    Objective([&](const Vec<double>& p) { return app.eng.opt.TerminalFreq = 0, Bowl(p); }, BowlDerivs);
    app.sw.CovDone = "on", app.eng.SimplexValid = 1;
    for (int answer : {platform::vbYes, platform::vbOK, platform::vbNo}) Answer("Marquardt minimization", answer);
    Answer("Marquardt minimum");
    s.backend.Click("frmMenu.cmdMarquardt");
    EXPECT_EQ(s.backend.msgBoxes[2].text, "You have chosen ANALYTICAL derivatives - it's like choosing Coke");
    EXPECT_TRUE(app.eng.opt.TerminalFreq == 10 && app.eng.SimplexValid == 0 && app.sw.CovDone == "off");
    EXPECT_NEAR(Value(1), 1, 2E-3);

    for (bool failure : {true, false}) {   // a failure inside the model; nothing free
        if (failure) Objective([](const Vec<double>&) -> double { throw std::runtime_error("model failure"); });
        else Params({1, 2}, {0, 0}), app.form<tivelor::frmMenu>().Show();
        for (int answer : {platform::vbNo, platform::vbOK, platform::vbNo}) Answer("Marquardt minimization", answer);
        if (!failure) Answer("There is nothing to do!");
        if (failure) EXPECT_THROW(s.backend.Click("frmMenu.cmdMarquardt"), std::runtime_error);
        else s.backend.Click("frmMenu.cmdMarquardt");
        EXPECT_TRUE(app.eng.opt.TerminalFreq == 10 && app.sw.MarquardtBusy == 0);
        EXPECT_TRUE(app.form<tivelor::frmMain>().mnuApplication.Enabled);
    }
    EXPECT_EQ(LastBox().text, "All step sizes are zero");
    EXPECT_TRUE(app.form<tivelor::frmMenu>().cmdMarquardt.Enabled);
}

}  // namespace

// The progress windows close and open again between a likelihood profile's
// points: while a task is in charge their closing leaves the main menu to the
// task's end; outside one it brings the menu back.
TEST_F(Marq, ProgressWindowsLeaveTheMainMenuToTheTaskInCharge) {
    for (bool inTask : {true, false}) {
        for (platform::Form* w : std::initializer_list<platform::Form*>{&app.form<tivelor::frmMarquardt>(),
                                                                        &app.form<tivelor::frmSimplex>()}) {
            if (platform::Form* menu = app.ui.forms.Find(tivelor::frmMenu::kName)) menu->Unload();
            {
                std::optional<tivelor::TaskGuard> task;
                if (inTask) task.emplace(app, "Likelihood profile");
                w->Show();
                w->Unload();
                EXPECT_EQ(app.ui.forms.IsLoaded(tivelor::frmMenu::kName), !inTask) << w->name;
            }
            EXPECT_TRUE(app.ui.forms.IsLoaded(tivelor::frmMenu::kName)) << w->name;
        }
    }
}
