// Worked covariance results (computed independently with numpy and scipy)
// for objectives put in place of the model, likelihood constant 0.5.
#include <cmath>

#include "CovTestSupport.h"

namespace {

using namespace covtest;

// The P(=0) and P(=1) cells of grid g (0-based) of a probability line.
Lines Probs(const std::string& line, int g) {
    return {Cov::Cols(line, 21 + 18 * g, 30 + 18 * g), Cov::Cols(line, 31 + 18 * g, 38 + 18 * g)};
}

TEST_F(Cov, ACorrelatedPairOnThreeGridsAndOptimistically) {
    Params({0, 0}, {0.1, 0.1});
    Objective(Correlated);
    Lines r = RunAndReport();
    const int N = 2, F = 2;
    ASSERT_EQ(r.size(), 37u);   // the layout itself is pinned by the covariance session's golden file
    EXPECT_EQ(Grids(Line(r, 15 + N), 18), (Lines{"5.7142857E-03", "5.7142857E-05", "5.7142857E-07"}));
    EXPECT_EQ(Grids(Line(r, 16 + N), 18), (Lines{"2.3328474E-03", "2.3328474E-05", "2.3328474E-07"}));
    EXPECT_EQ(Grids(Line(r, 17 + N), 18), Same("0.4082483"));
    for (int k = 0; k < F; ++k) {
        EXPECT_EQ(Grids(Line(r, 20 + N + k)), Same("1.0000000E+00"));
        for (int g = 0; g < 3; ++g) EXPECT_EQ(Probs(Line(r, 22 + N + F + k), g), (Lines{"1.0000", "0.3176"}));
    }
    EXPECT_EQ(Grids(Line(r, 24 + N + 2 * F)), Same("0.5000000"));       // correlation
    EXPECT_EQ(Grids(Line(r, 28 + N + 2 * F)), Same("5.0000000E-01"));   // covariance (1, 2)
    EXPECT_EQ(Grids(Line(r, 32 + N + 2 * F)), Same("7.5000000E-01"));
    EXPECT_EQ(Grids(Line(r, 33 + N + 2 * F)), Same("7.5000000E-01"));

    // Optimistic: per grid the 4 diagonal points evaluated, the others at the centre's value.
    b.Click("frmCovDisplay.cmdFinish");
    points.clear();
    b.AnswerMsgBox("Covariance", vbNo);
    Answers quick;
    quick.optimistic = true;
    r = RunAndReport(quick);
    EXPECT_EQ(points.size(), 1u + 3 * 4);
    EXPECT_EQ(Grids(Line(r, 15 + N), 18)[0], "3.8095238E-03");
    EXPECT_EQ(Grids(Line(r, 16 + N), 18)[0], "3.2991444E-03");
    EXPECT_EQ(Grids(Line(r, 20 + N)), Same("8.6602540E-01"));
    EXPECT_EQ(Line(r, 23 + N + 2 * F), "Note: The above SE estimates are optimistic (under-estimated) conditional estimates");
    EXPECT_EQ(Grids(Line(r, 26 + N + 2 * F)), Same("5.6250000E-01"));
    EXPECT_EQ(Grids(Line(r, 27 + N + 2 * F)), Same("1.0000000E+00"));
    EXPECT_EQ(r.size(), static_cast<std::size_t>(25 + N + 2 * F));
}

TEST_F(Cov, AFixedParameterIsLeftOut) {
    Params({0.3, 5, 1.2}, {0.05, 0, 0.1});
    Objective([](const Vec<double>& p) { return 100 + QuadraticForm(.01, .005, .04, p(1) - .3, p(3) - 1.2); });
    const Lines r = RunAndReport();
    const int N = 3, F = 2;
    EXPECT_EQ(app.eval.NEst, 2);
    EXPECT_EQ(app.eval.CovIndex(2), 3);
    EXPECT_EQ(app.eval.CovSlot(3), 2);
    for (const Vec<double>& p : points) EXPECT_EQ(p(2), 5);
    EXPECT_EQ(Grids(Line(r, 15 + N), 18)[0], "5.0133333E+01");
    EXPECT_EQ(Cols(Line(r, 21 + N), 1, 3), "3");
    EXPECT_EQ(Grids(Line(r, 20 + N)), Same("1.0000000E-01"));
    EXPECT_EQ(Grids(Line(r, 21 + N)), Same("2.0000000E-01"));
    for (int g = 0; g < 3; ++g) {
        EXPECT_EQ(Probs(Line(r, 22 + N + F), g), (Lines{"0.0028", "<0.0001"}));
        EXPECT_EQ(Probs(Line(r, 23 + N + F), g), (Lines{"<0.0001", "0.3176"}));
    }
    EXPECT_EQ(Line(r, 24 + N + 2 * F).substr(0, 8), "  1    3");
    EXPECT_EQ(Grids(Line(r, 24 + N + 2 * F)), Same("0.2500000"));
    EXPECT_EQ(Grids(Line(r, 32 + N + 2 * F)), Same("3.7500000E-04"));
    EXPECT_EQ(Grids(Line(r, 33 + N + 2 * F)), Same("9.3750000E-01"));
}

TEST_F(Cov, ANonQuadraticObjectiveGivesDifferentGrids) {
    Params({0, 0}, {0.5, 0.5});
    Objective([](const Vec<double>& p) { return Correlated(p) + 0.1 * std::pow(p(1), 4); });
    EXPECT_EQ(Grids(Line(RunAndReport(), 22)), (Lines{"9.8772960E-01", "9.9987502E-01", "9.9999875E-01"}));
}

TEST_F(Cov, AHessianThatIsNotPositiveDefiniteLeavesItsGridNotComputed) {
    Params({0, 7, 0}, {0.1, 0, 0.2});
    Objective([](const Vec<double>& p) { return p(1) * p(1) - p(3) * p(3); });
    Script();
    b.Click("frmMenu.cmdCovariance");
    int failures = 0;
    for (std::size_t at = 0; (at = Text().find("failed at parameter # 3\r\n\r\n", at + 1)) != std::string::npos;)
        ++failures;
    EXPECT_EQ(failures, 3);
    EXPECT_TRUE(Shows("Sorry, this Hessian matrix is not positive-definite; a valid covariance matrix cannot be "
                      "created.\r\n\r\nPossible reasons: (1)"));
    b.Click("frmCovDisplay.cmdScreen");
    const Lines r = Split(Text());
    const int N = 3, F = 2;
    EXPECT_EQ(Grids(Line(r, 20 + N)), Same("-1.0000000E+00"));
    EXPECT_EQ(Probs(Line(r, 22 + N + F), 1), (Lines{"-1.0000", "-1.0000"}));
    EXPECT_EQ(Grids(Line(r, 24 + N + 2 * F)), Same("-1.0000000"));
    EXPECT_EQ(Grids(Line(r, 32 + N + 2 * F)), Same("-1.0000000E+00"));
    EXPECT_EQ(Grids(Line(r, 33 + N + 2 * F)), Same("-1.0000000E+00"));
}

TEST_F(Cov, AnalyticalCovariancesFromTheModelsDerivatives) {
    Params({0, 0}, {0.1, 0.1});
    Objective(Correlated, [](const Vec<double>&, Vec<double>&, Matrix<double>& h) {
        h(1, 1) = h(2, 2) = 8.0 / 3;
        h(1, 2) = h(2, 1) = -4.0 / 3;
    });
    Answers run;
    run.analytical = true;
    const Lines r = RunAndReport(run);
    const int N = 2;
    EXPECT_EQ(calls, (std::vector<long>{1, -2, -2, -2}));
    EXPECT_EQ(Line(r, 3)[62], 'a');
    EXPECT_EQ(Line(r, 12 + N), "Factors:              1) 0.0000000E+00  2) 0.0000000E+00  3) 0.0000000E+00");
    EXPECT_EQ(Grids(Line(r, 15 + N), 18), Same("0.0000000E+00"));
    EXPECT_EQ(Grids(Line(r, 16 + N), 18), Same("-1.0000000E+00"));
    EXPECT_EQ(Grids(Line(r, 17 + N), 18), Same("-1.0000000"));
    EXPECT_EQ(Grids(Line(r, 20 + N)), Same("1.0000000E+00"));
    EXPECT_EQ(Grids(Line(r, 28 + N)), Same("0.5000000"));
}

}  // namespace
