// The covariance dialogue, the windows, the file and the sound behaviour
// where a run is cancelled, interrupted or meets values it cannot use.
#include <cmath>

#include "CovTestSupport.h"
#include "platform/files.h"

namespace {

using namespace covtest;

int Count(const std::vector<std::string>& log, const std::string& part) {
    int n = 0;
    for (const std::string& line : log) n += line.find(part) != std::string::npos;
    return n;
}

TEST_F(Cov, TheFileIsReadBackAtItsFixedColumnsAfterOneOrTwoSaves) {
    // N = 4 parameters, F = 2 estimated (2 and 4).
    Params({0.25, 1.5, -3, 2}, {0, 0.1, 0, 0.1});
    Objective([](const Vec<double>& p) { return QuadraticForm(0.04, 0.01, 0.25, p(2) - 1.5, p(4) - 2); });
    const Lines r = RunAndReport();
    for (int line : {24, 28}) EXPECT_EQ(Line(r, line).substr(0, 3), "  2");
    for (int line : {25, 29}) EXPECT_EQ(Line(r, line).substr(0, 3), "  4");
    EXPECT_EQ(Line(r, 31), "Par#,Par#                                   Correlations");
    EXPECT_EQ(Line(r, 32).substr(0, 8), "  2    4");

    const std::string path = Temp("twice.cov");
    for (int save = 1; save <= 2; ++save) {
        b.ChooseFile(path);
        b.Click("frmCovDisplay.cmdFile");
        std::string text;
        ASSERT_TRUE(platform::ReadWholeFile(path, text));
        const Lines file = Split(text);   // what the readers take, by the file's own line numbers
        EXPECT_EQ(file[0], "Originally saved with the file name: " + path);
        EXPECT_EQ(file[2].substr(62, 1), "n");
        for (int i = 1; i <= 4; ++i) {
            EXPECT_EQ(Cols(file[3 + i], 38, 40), "~~");
            EXPECT_EQ(std::stod(Cols(file[3 + i], 7, 20)), app.eng.par.ParValue(i));
        }
        const int firstSE = 4 + 4 + 15 + 1, F = 2;
        for (int g = 0; g < 3; ++g) {
            EXPECT_NEAR(std::stod(Cols(file[firstSE - 1], 25 + 18 * g, 38 + 18 * g)), 0.2, 1e-6);
            EXPECT_NEAR(std::stod(Cols(file[firstSE], 25 + 18 * g, 38 + 18 * g)), 0.5, 1e-6);
        }
        const std::string& corr = file[firstSE - 1 + F + F + 4];
        EXPECT_EQ(Cols(corr, 1, 3) + "," + Cols(corr, 6, 8), "2,4");
        for (int g = 0; g < 3; ++g) EXPECT_NEAR(std::stod(Cols(corr, 25 + 18 * g, 38 + 18 * g)), 0.1, 1e-6);
    }
    EXPECT_EQ(b.dialogs.back().title, "Save covariance data in...");
    EXPECT_EQ(b.dialogs.back().filter,
              "All files (*.*)|*.*|Covariance files (*.cov)|*.cov|Named for algorithm file (.*)|.*|");
    const std::string shown = Text();   // a cancelled save changes nothing
    b.CancelFile();
    b.Click("frmCovDisplay.cmdFile");
    EXPECT_EQ(Text(), shown);

    // The top button now raises the chooser and stops no run (a box waits
    // no gap); closing the report leaves nothing to save until it is shown
    // again; closing the chooser closes both.
    auto& chooser = app.form<tivelor::frmCovDisplay>();
    EXPECT_FALSE(app.ui.RunCanBeStopped());
    b.Click("frmCovData.cmdStop");
    EXPECT_EQ(app.form<tivelor::frmCovData>().watch, nullptr);
    b.Close("frmCovData");
    EXPECT_FALSE(chooser.cmdFile.Enabled());
    b.Click("frmCovDisplay.cmdScreen");
    EXPECT_TRUE(chooser.cmdFile.Enabled());
    b.Close("frmCovDisplay");
    EXPECT_FALSE(app.IsLoaded<tivelor::frmCovData>());
    EXPECT_TRUE(app.form<tivelor::frmMenu>().Visible());
    EXPECT_TRUE(app.form<tivelor::frmMain>().mnuApplication.Enabled());
}

TEST_F(Cov, ACancelAtAnyQuestionComputesNothingAndOffersNoResults) {
    Params({0, 0}, {0.1, 0.1});
    Objective(Correlated);
    Script();   // a finished run: its results are offered...
    b.Click("frmMenu.cmdCovariance");
    b.Click("frmCovDisplay.cmdFinish");
    b.AnswerMsgBox("Covariance", vbYes);
    b.Click("frmMenu.cmdCovariance");
    EXPECT_EQ(app.form<tivelor::frmCovDisplay>().lblCovDisplay.Caption(), "Do you wish to:");
    b.Click("frmCovDisplay.cmdFinish");

    // ...until a run is cancelled, at each of its questions in turn.
    for (int at = 0; at < 5; ++at) {
        SCOPED_TRACE(at);
        const std::size_t before = points.size();
        if (at == 0) b.AnswerMsgBox("Covariance", vbNo);
        b.AnswerMsgBox("Covariance calculator", at == 0 ? vbCancel : vbNo);
        if (at >= 1) b.AnswerMsgBox("Covariance calculator", at == 1 ? vbCancel : vbOK);
        if (at >= 2) {
            Editor();
            for (int g = 2; g < at; ++g) b.AnswerInput("Covariance calculator", "1");
            b.CancelInput("Covariance calculator");
        }
        b.Click("frmMenu.cmdCovariance");
        EXPECT_EQ(b.PendingSteps(), 0u);
        EXPECT_EQ(points.size(), before);
        EXPECT_FALSE(app.IsLoaded<tivelor::frmCovDisplay>());
        EXPECT_TRUE(app.form<tivelor::frmMenu>().Visible());
        EXPECT_TRUE(app.form<tivelor::frmMain>().mnuApplication.Enabled());
        EXPECT_EQ(app.sw.AlgoFromCov, "off");
        EXPECT_EQ(app.sw.CovDone, "off");
    }
}

TEST_F(Cov, RunsThatCannotStart) {
    // Every step 0: nothing to do, as the run buttons say.
    Params({1, 2}, {0, 0});
    Objective(Correlated);
    b.AnswerMsgBox("Covariance calculator", vbNo);
    b.AnswerMsgBox("Covariance calculator", vbOK);
    Editor();
    b.AnswerMsgBox("There is nothing to do!", vbOK);
    b.Click("frmMenu.cmdCovariance");
    EXPECT_EQ(b.msgBoxes.back().text, "All step sizes are zero");
    EXPECT_FALSE(app.IsLoaded<tivelor::frmCovDisplay>());
    EXPECT_TRUE(app.form<tivelor::frmMenu>().cmdCovariance.Enabled());
    EXPECT_TRUE(app.form<tivelor::frmMain>().mnuApplication.Enabled());

    // Analytical covariances with priors on: refused, and the method asked again.
    app.eng.par.StepSize(1) = 0.1;
    app.sw.PriorsOn = "on";
    app.eng.RecipLnLConst = 2;
    b.AnswerMsgBox("Covariance calculator", vbYes);
    b.AnswerMsgBox("Covariance calculator", vbOK);
    b.AnswerMsgBox("Covariance calculator", vbCancel);
    const std::size_t shown = b.msgBoxes.size();
    b.Click("frmMenu.cmdCovariance");
    EXPECT_EQ(b.PendingSteps(), 0u);
    EXPECT_EQ(b.msgBoxes[shown + 1].text.rfind("Analytical covariances cannot be calculated while Bayesian prior", 0), 0u);
    EXPECT_EQ(b.msgBoxes[shown + 2].text, b.msgBoxes[shown].text);
    EXPECT_TRUE(calls.empty());
}

TEST_F(Cov, GridFactorsTakeOnlyFinitePositiveAnswers) {
    Params({0}, {0.1});
    Objective([](const Vec<double>& p) { return p(1) * p(1); });
    b.AnswerMsgBox("Covariance calculator", vbNo);
    b.AnswerMsgBox("Covariance calculator", vbOK);
    Editor();
    for (const char* answer : {"0", "-2", "abc"}) b.AnswerInput("Covariance calculator", answer);
    b.AnswerMsgBox("Covariance calculator", vbNo);   // asked again from the factors in force
    for (const char* answer : {"1E999", "0.5x", "2"}) b.AnswerInput("Covariance calculator", answer);
    b.AnswerMsgBox("Covariance calculator", vbYes);
    b.AnswerInput("Enter constant", "0.5");
    b.AnswerMsgBox("Calculate optimistic SEs only?", vbNo);
    b.msgBoxes.clear();
    b.Click("frmMenu.cmdCovariance");
    EXPECT_EQ(b.PendingSteps(), 0u);
    EXPECT_EQ(b.msgBoxes[4].text, "Are these default grid factors OK?\r\n\r\n 1) 1.000E+00     2) 5.000E-01     3) 2.000E+00");
    EXPECT_EQ(b.inputPrompts[4], "Default grid factor for Grid 2 :\r\n\r\n Currently:   1) 1.000E+00     2) 1.000E-01     "
                                 "3) 1.000E-02\r\n\r\nValue must be positive for all factors");
    EXPECT_EQ(Count(b.log, "inputbox \"Covariance calculator\" default \"0.01\""), 2);
    // One parameter: two points a grid, the centre plus and minus step times factor.
    ASSERT_EQ(points.size(), 7u);
    const double want[7] = {0, 0.1, -0.1, 0.05, -0.05, 0.2, -0.2};
    for (int k = 0; k < 7; ++k) EXPECT_DOUBLE_EQ(points[static_cast<std::size_t>(k)](1), want[k]);
    EXPECT_EQ(Count(b.log, "panel frmMain.stbMain5 1 \"Hessian function call 1 of 2\""), 3);
    EXPECT_EQ(Count(b.log, "panel frmMain.stbMain5 1 \"Hessian function call 2 of 2\""), 3);
    EXPECT_EQ(app.form<tivelor::frmMain>().stbMain5.Panel(2), "");
}

TEST_F(Cov, AnInterruptQuitsOneGridOrGoesOn) {
    Params({0, 0}, {0.1, 0.1});
    app.form<tivelor::frmCovData>().cmdStop.Click();   // before the run: not this run's
    int evaluations = 0;
    Objective([&](const Vec<double>& p) {
        // Evaluation 3 is grid 1's second point: quit that grid. Evaluation 9 is in grid 2: go on.
        if (++evaluations == 3 || evaluations == 9) {
            app.form<tivelor::frmCovData>().cmdStop.Click();
            EXPECT_FALSE(app.form<tivelor::frmCovData>().cmdStop.Enabled());
        }
        return Correlated(p);
    });
    Script();
    b.AnswerMsgBox("Covariance calculations", vbYes);
    b.AnswerMsgBox("Covariance calculations", vbNo);
    b.Click("frmMenu.cmdCovariance");
    EXPECT_EQ(b.PendingSteps(), 0u);
    EXPECT_EQ(evaluations, 1 + 2 + 6 + 6);
    EXPECT_TRUE(app.form<tivelor::frmCovData>().cmdStop.Enabled());
    EXPECT_EQ(app.eval.GridLMean(1), -1.0);
    b.Click("frmCovDisplay.cmdScreen");
    EXPECT_EQ(Grids(Line(Split(Text()), 22)), (Lines{"-1.0000000E+00", "1.0000000E+00", "1.0000000E+00"}));
}

TEST_F(Cov, ValuesADoubleCannotHoldNeverReachTheReport) {
    // A flat objective: a standard deviation of 0 and a Hessian of zeros.
    Params({0, 0}, {0.1, 0.1});
    Objective([](const Vec<double>&) { return 3.0; });
    Script();
    b.Click("frmMenu.cmdCovariance");
    EXPECT_TRUE(Shows("Average: 1.5000000E+00; Standard deviation: 0.0000000E+00\r\n"));
    EXPECT_TRUE(Shows("failed at parameter # 1\r\n"));
    b.Click("frmCovDisplay.cmdFinish");

    // An objective that is not a number at one point fails that grid's test.
    int n = 0;
    Objective([&](const Vec<double>& p) { return ++n == 4 ? std::nan("") : Correlated(p); });
    b.AnswerMsgBox("Covariance", vbNo);
    Script();
    b.Click("frmMenu.cmdCovariance");
    EXPECT_TRUE(Shows("failed at parameter # 1\r\n"));
    b.Click("frmCovDisplay.cmdScreen");
    for (const char* bad : {"NaN", "Infinity", " nan", " inf"}) EXPECT_FALSE(Shows(bad)) << bad;
    EXPECT_EQ(app.eng.CovStore(0, 1, 1), -1.0);
    b.Click("frmCovDisplay.cmdFinish");

    // 300 parameters, variances 1E-4: a determinant of 1E-1200.
    const int N = 300;
    Params(std::vector<double>(N, 1.0), std::vector<double>(N, 0.1));
    Objective([](const Vec<double>&) { return 0.0; }, [](const Vec<double>&, Vec<double>&, Matrix<double>& h) {
        for (int i = 1; i <= N; ++i) h(i, i) = 2E4;
    });
    Answers run;
    run.analytical = true;
    b.AnswerMsgBox("Covariance", vbNo);
    const Lines r = RunAndReport(run);
    EXPECT_NEAR(app.eval.CovLnDet(1), N * std::log(1E-4), 1e-6);
    EXPECT_EQ(Cols(r[r.size() - 2], 21, 38), "Undefined");
    EXPECT_EQ(Cols(r[r.size() - 1], 21, 38), "1.0000000E+00");
    EXPECT_EQ(Cols(Line(r, 20 + N), 4, 38), "1.0000000E-02");
}

}  // namespace
