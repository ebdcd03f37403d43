// The covariance dialogue, the windows, the file and the sound behaviour
// where a run is cancelled, interrupted or meets values it cannot use.
#include <cmath>

#include "CovTestSupport.h"
#include "evaluation/Covariance.h"

namespace {

using namespace covtest;

double Correlated(const Vec<double>& p) { return QuadraticForm(1, .5, 1, p(1), p(2)); }

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

int Count(const std::vector<std::string>& log, const std::string& part) {
    int n = 0;
    for (const std::string& line : log) n += Has(line, part);
    return n;
}

TEST_F(Cov, TheFileIsReadBackAtItsFixedColumnsAfterOneOrTwoSaves) {
    // N = 4 parameters, F = 2 estimated (2 and 4), 2 fused in a group of one
    // that the run leaves alone in the file.
    Params({0.25, 1.5, -3, 2}, {0, 0.1, 0, 0.1});
    Objective([](const Vec<double>& p) { return QuadraticForm(0.04, 0.01, 0.25, p(2) - 1.5, p(4) - 2); });
    const auto r = RunAndReport();
    EXPECT_EQ(Line(r, 24).substr(0, 3), "  2");
    EXPECT_EQ(Line(r, 25).substr(0, 3), "  4");
    EXPECT_EQ(Line(r, 28).substr(0, 3), "  2");
    EXPECT_EQ(Line(r, 29).substr(0, 3), "  4");
    EXPECT_EQ(Line(r, 31), "Par#,Par#                                   Correlations");
    EXPECT_EQ(Line(r, 32).substr(0, 8), "  2    4");
    EXPECT_EQ(app.form<tivelor::frmCovData>().cmdStop.Caption(),
              "To save these results [restore or minimize this form then] choose 'Save covariance results as...'");

    const std::string path = Temp("twice.cov");
    for (int save = 1; save <= 2; ++save) {
        b.ChooseFile(path);
        b.Click("frmCovDisplay.cmdFile");
        const auto file = Lines(ReadFile(path));
        // What the readers take from the file.
        EXPECT_EQ(file[0], "Originally saved with the file name: " + path);
        EXPECT_EQ(file[1], "");
        EXPECT_EQ(file[2].substr(62, 1), "n");
        const int N = 4, F = 2;
        for (int i = 1; i <= N; ++i) {
            const std::string& line = file[static_cast<std::size_t>(4 + i - 1)];
            EXPECT_EQ(Cols(line, 38, 40), "~~");
            EXPECT_EQ(std::stod(Cols(line, 7, 20)), app.eng.par.ParValue(i));
            EXPECT_EQ(std::stod(Cols(line, 21, 36)), app.eng.par.StepSize(i));
        }
        const int firstSE = 4 + N + 15 + 1;   // skip 4 lines, N parameter lines, 15 lines
        const double want[2] = {0.2, 0.5};
        for (int k = 0; k < F; ++k)
            for (int g = 0; g < 3; ++g)
                EXPECT_NEAR(std::stod(Cols(file[static_cast<std::size_t>(firstSE - 1 + k)], 25 + 18 * g, 38 + 18 * g)),
                            want[k], 1e-6);
        const std::string& corr = file[static_cast<std::size_t>(firstSE - 1 + F + F + 4)];
        EXPECT_EQ(Cols(corr, 1, 3), "2");
        EXPECT_EQ(Cols(corr, 6, 8), "4");
        for (int g = 0; g < 3; ++g) EXPECT_NEAR(std::stod(Cols(corr, 25 + 18 * g, 38 + 18 * g)), 0.1, 1e-6);
    }
    // One note in the window too, and a cancelled save changes nothing.
    const std::string shown = Text();
    b.CancelFile();
    b.Click("frmCovDisplay.cmdFile");
    EXPECT_EQ(Text(), shown);
    EXPECT_EQ(Lines(shown)[2].substr(0, 10), "Parameter ");
    EXPECT_EQ(b.dialogs.back().title, "Save covariance data in...");
    EXPECT_EQ(b.dialogs.back().filterIndex, 3);
    EXPECT_EQ(b.dialogs.back().filter,
              "All files (*.*)|*.*|Covariance files (*.cov)|*.cov|Named for algorithm file (.*)|.*|");
}

TEST_F(Cov, ACancelAtAnyQuestionComputesNothingAndOffersNoResults) {
    Params({0, 0}, {0.1, 0.1});
    Objective(Correlated);
    // A finished run first: its results are offered...
    Script();
    b.Click("frmMenu.cmdCovariance");
    b.Click("frmCovDisplay.cmdFinish");
    EXPECT_TRUE(app.IsLoaded<tivelor::frmMenu>());
    EXPECT_FALSE(app.IsLoaded<tivelor::frmCovData>());
    b.AnswerMsgBox("Covariance", vbYes);
    b.Click("frmMenu.cmdCovariance");
    EXPECT_EQ(app.form<tivelor::frmCovDisplay>().lblCovDisplay.Caption(), "Do you wish to:");
    EXPECT_EQ(app.sw.CovCompleted, "0");
    b.Click("frmCovDisplay.cmdFinish");

    // ...until a run is cancelled, at each of its questions in turn.
    for (int at = 0; at < 5; ++at) {
        SCOPED_TRACE(at);
        const std::size_t before = points.size();
        if (at == 0) b.AnswerMsgBox("Covariance", vbNo);   // the earlier results: not now
        b.AnswerMsgBox("Covariance calculator", at == 0 ? vbCancel : vbNo);
        if (at >= 1) b.AnswerMsgBox("Covariance calculator", at == 1 ? vbCancel : vbOK);
        if (at >= 2) {
            Click("frmAlgo.cmdFinish");
            b.AnswerMsgBox("Just so you know", vbOK);
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

TEST_F(Cov, NoEstimatedParameterIsNothingToDo) {
    Params({1, 2}, {0, 0});
    Objective(Correlated);
    b.AnswerMsgBox("Covariance calculator", vbNo);
    b.AnswerMsgBox("Covariance calculator", vbOK);
    Click("frmAlgo.cmdFinish");
    b.AnswerMsgBox("Just so you know", vbOK);
    b.AnswerMsgBox("There is nothing to do!", vbOK);
    b.Click("frmMenu.cmdCovariance");
    EXPECT_EQ(b.msgBoxes.back().text, "All step sizes are zero");
    EXPECT_EQ(b.msgBoxes.back().style, 48);
    EXPECT_TRUE(points.empty());
    EXPECT_FALSE(app.IsLoaded<tivelor::frmCovDisplay>());
    EXPECT_FALSE(app.IsLoaded<tivelor::frmCovData>());
    EXPECT_TRUE(app.form<tivelor::frmMenu>().cmdCovariance.Enabled());
    EXPECT_TRUE(app.form<tivelor::frmMain>().mnuApplication.Enabled());
    EXPECT_EQ(app.sw.CovDone, "off");
}

TEST_F(Cov, GridFactorsTakeOnlyFinitePositiveAnswers) {
    Params({0}, {0.1});
    Objective([](const Vec<double>& p) { return p(1) * p(1); });
    b.AnswerMsgBox("Covariance calculator", vbNo);
    b.AnswerMsgBox("Covariance calculator", vbOK);
    Click("frmAlgo.cmdFinish");
    b.AnswerMsgBox("Just so you know", vbOK);
    for (const char* answer : {"0", "-2", "abc"}) b.AnswerInput("Covariance calculator", answer);
    b.AnswerMsgBox("Covariance calculator", vbNo);   // asked again from the factors in force
    for (const char* answer : {"1E999", "0.5x", "2"}) b.AnswerInput("Covariance calculator", answer);
    b.AnswerMsgBox("Covariance calculator", vbYes);
    b.AnswerInput("Enter constant", "0.5");
    b.AnswerMsgBox("Calculate optimistic SEs only?", vbNo);
    b.Click("frmMenu.cmdCovariance");
    EXPECT_EQ(b.PendingSteps(), 0u);
    EXPECT_EQ(app.eval.GridFactor(1), 1);
    EXPECT_EQ(app.eval.GridFactor(2), 0.5);
    EXPECT_EQ(app.eval.GridFactor(3), 2);
    EXPECT_EQ(b.msgBoxes[b.msgBoxes.size() - 2].text, "Are these default grid factors OK?\r\n\r\n 1) 1.000E+00     2) 5.000E-01     3) 2.000E+00");
    EXPECT_EQ(b.inputPrompts[4], "Default grid factor for Grid 2 :\r\n\r\n Currently:   1) 1.000E+00     2) 1.000E-01     "
                                 "3) 1.000E-02\r\n\r\nValue must be positive for all factors");
    EXPECT_EQ(Count(b.log, "inputbox \"Covariance calculator\" default \"0.01\""), 2);
    // One parameter: two points a grid, at the centre plus and minus step times factor.
    ASSERT_EQ(points.size(), 7u);
    EXPECT_DOUBLE_EQ(points[1](1), 0.1);
    EXPECT_DOUBLE_EQ(points[2](1), -0.1);
    EXPECT_DOUBLE_EQ(points[3](1), 0.05);
    EXPECT_DOUBLE_EQ(points[6](1), -0.2);
    EXPECT_EQ(Count(b.log, "panel frmMain.stbMain5 1 \"Hessian function call 1 of 2\""), 3);
    EXPECT_EQ(Count(b.log, "panel frmMain.stbMain5 1 \"Hessian function call 2 of 2\""), 3);
    EXPECT_EQ(Panel(2), "");
}

TEST_F(Cov, ThreeParametersAreVisitedPairByPair) {
    Params({0, 0, 0}, {1, 2, 4});
    Objective([](const Vec<double>& p) { return p(1) * p(1) + p(2) * p(2) + p(3) * p(3); });
    Answers run;
    run.factors = {"1", "1", "1"};
    RunAndReport(run);
    ASSERT_EQ(points.size(), 1u + 3 * 12);
    const double want[12][3] = {{1, 0, 0}, {-1, 0, 0}, {1, 2, 0},  {-1, -2, 0}, {1, 0, 4},  {-1, 0, -4},
                                {0, 2, 0}, {0, -2, 0}, {0, 2, 4}, {0, -2, -4}, {0, 0, 4}, {0, 0, -4}};
    for (int k = 0; k < 12; ++k)
        for (int i = 0; i < 3; ++i) EXPECT_EQ(points[static_cast<std::size_t>(1 + k)](i + 1), want[k][i]) << k;
}

TEST_F(Cov, AnInterruptQuitsOneGridOrGoesOn) {
    Params({0, 0}, {0.1, 0.1});
    // A press left over from an earlier run is not this run's.
    app.sw.InterruptCov = platform::True;
    int evaluations = 0;
    Objective([&](const Vec<double>& p) {
        ++evaluations;
        if (evaluations == 3 || evaluations == 9) {
            app.form<tivelor::frmCovData>().cmdStop.Click();
            EXPECT_FALSE(app.form<tivelor::frmCovData>().cmdStop.Enabled());
        }
        return Correlated(p);
    });
    Script();
    // Evaluation 3 is grid 1's second point: quit that grid. Evaluation 9
    // is in grid 2: go on.
    b.AnswerMsgBox("Covariance calculations", vbYes);
    b.AnswerMsgBox("Covariance calculations", vbNo);
    b.Click("frmMenu.cmdCovariance");
    EXPECT_EQ(b.PendingSteps(), 0u);
    EXPECT_EQ(Count(b.log, "Interrupt received. Do you want to quit calculating this grid?"), 2);
    EXPECT_EQ(evaluations, 1 + 2 + 6 + 6);
    EXPECT_TRUE(app.form<tivelor::frmCovData>().cmdStop.Enabled());
    EXPECT_EQ(app.eng.CovStore(0, 1, 1), -1.0);
    EXPECT_EQ(app.eval.GridLMean(1), -1.0);
    EXPECT_NEAR(app.eng.CovStore(0, 1, 2), 1.0, 1e-9);
    EXPECT_NEAR(app.eng.CovStore(0, 1, 3), 1.0, 1e-6);
    b.Click("frmCovDisplay.cmdScreen");
    const auto r = Lines(Text());
    EXPECT_EQ(Cols(Line(r, 22), 4, 38), "-1.0000000E+00");
    EXPECT_EQ(Cols(Line(r, 22), 39, 56), "1.0000000E+00");
    // Once the report is on screen the top button raises the chooser.
    b.Click("frmCovData.cmdStop");
    EXPECT_FALSE(app.sw.InterruptCov);
}

TEST_F(Cov, TheWindowsHandOverToEachOther) {
    Params({0, 0}, {0.1, 0.1});
    Objective(Correlated);
    Script();
    b.Click("frmMenu.cmdCovariance");
    EXPECT_FALSE(app.IsLoaded<tivelor::frmMenu>());
    auto& chooser = app.form<tivelor::frmCovDisplay>();
    EXPECT_FALSE(chooser.cmdFile.Enabled());
    EXPECT_TRUE(Has(chooser.txtExplain.Text(), "'close-to-linear'"));
    b.Click("frmCovDisplay.cmdScreen");
    EXPECT_TRUE(chooser.cmdFile.Enabled());
    EXPECT_TRUE(chooser.cmdScreen.Enabled());
    EXPECT_EQ(Panel(1), "");
    // Closing the report leaves nothing to save until it is shown again.
    b.Close("frmCovData");
    EXPECT_FALSE(chooser.cmdFile.Enabled());
    b.Click("frmCovDisplay.cmdScreen");
    EXPECT_EQ(app.form<tivelor::frmCovData>().Left(), 100);
    EXPECT_TRUE(chooser.cmdFile.Enabled());
    b.Close("frmCovDisplay");
    EXPECT_FALSE(app.IsLoaded<tivelor::frmCovData>());
    EXPECT_TRUE(app.form<tivelor::frmMenu>().Visible());
    EXPECT_TRUE(app.form<tivelor::frmMain>().mnuApplication.Enabled());
}

TEST_F(Cov, AnalyticalCovariancesAreRefusedWhilePriorsAreOn) {
    Params({0, 0}, {0.1, 0.1});
    Objective(Correlated);
    app.sw.PriorsOn = "on";
    app.eng.RecipLnLConst = 2;
    b.AnswerMsgBox("Covariance calculator", vbYes);
    b.AnswerMsgBox("Covariance calculator", vbOK);   // the refusal
    b.AnswerMsgBox("Covariance calculator", vbCancel);
    b.Click("frmMenu.cmdCovariance");
    EXPECT_EQ(b.PendingSteps(), 0u);
    EXPECT_TRUE(Has(b.msgBoxes[1].text, "Analytical covariances cannot be calculated while Bayesian prior"));
    EXPECT_EQ(b.msgBoxes[2].text, b.msgBoxes[0].text);   // the method asked again
    EXPECT_TRUE(calls.empty());
}

TEST_F(Cov, UnusableValuesNeverReachTheReport) {
    // A flat objective: every deviation 0, a standard deviation of 0 and a
    // Hessian of zeros.
    Params({0, 0}, {0.1, 0.1});
    Objective([](const Vec<double>&) { return 3.0; });
    Script();
    b.Click("frmMenu.cmdCovariance");
    EXPECT_TRUE(Has(Text(), "Average: 1.5000000E+00; Standard deviation: 0.0000000E+00\r\n"));
    EXPECT_TRUE(Has(Text(), "failed at parameter # 1\r\n"));
    b.Click("frmCovDisplay.cmdFinish");

    // An objective that is not a number at one point fails that grid's test.
    int n = 0;
    Objective([&](const Vec<double>& p) { return ++n == 4 ? std::nan("") : Correlated(p); });
    b.AnswerMsgBox("Covariance", vbNo);
    Script();
    b.Click("frmMenu.cmdCovariance");
    EXPECT_TRUE(Has(Text(), "failed at parameter # 1\r\n"));
    b.Click("frmCovDisplay.cmdScreen");
    for (const char* bad : {"NaN", "Infinity", " nan", " inf"}) EXPECT_FALSE(Has(Text(), bad)) << bad;
    EXPECT_EQ(app.eng.CovStore(0, 1, 1), -1.0);
    EXPECT_NEAR(app.eng.CovStore(0, 1, 2), 1.0, 1e-9);
}

TEST_F(Cov, DeterminantsOfHundredsOfParametersComeFromLogarithms) {
    const int n = 300;
    Params(std::vector<double>(n, 1.0), std::vector<double>(n, 0.1));
    // Hessian 2E4 I: variances 1E-4 (SE 0.01), determinant 1E-1200.
    Objective([](const Vec<double>&) { return 0.0; },
              [](const Vec<double>&, Vec<double>&, Matrix<double>& h) {
                  for (int i = 1; i <= n; ++i) h(i, i) = 2E4;
              });
    Answers run;
    run.analytical = true;
    Script(run);
    b.Click("frmMenu.cmdCovariance");
    EXPECT_EQ(app.eng.CovStore(0, 0, 1), -1.0);
    EXPECT_NEAR(app.eval.CovLnDet(1), n * std::log(1E-4), 1e-6);
    EXPECT_TRUE(Has(Text(), "Determinant of covariance matrix: Undefined\r\n"));
    b.Click("frmCovDisplay.cmdScreen");
    const auto r = Lines(Text());
    EXPECT_EQ(Cols(r[r.size() - 2], 21, 38), "Undefined");
    EXPECT_EQ(Cols(r[r.size() - 1], 21, 38), "1.0000000E+00");
    EXPECT_EQ(Cols(Line(r, 20 + n), 4, 38), "1.0000000E-02");
    // Every T is 100: beyond the table.
    EXPECT_EQ(Cols(Line(r, 22 + n + n), 21, 30), "<0.0001");
}

}  // namespace
