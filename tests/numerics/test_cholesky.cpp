// Cholesky test and inverse, grid statistics and second differences.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "numerics/Cholesky.h"
#include "numerics/GridHessian.h"

namespace {

using platform::Matrix;
using platform::Vec;
using namespace tivelor::numerics;

Matrix<double> Make(long n, std::initializer_list<double> rowMajor) {
    Matrix<double> m(n, n);
    auto it = rowMajor.begin();
    for (long i = 1; i <= n; ++i)
        for (long j = 1; j <= n; ++j) m(i, j) = *it++;
    return m;
}

TEST(Cholesky, FactorAndInverseOfSmallMatrices) {
    // [[4, 2], [2, 3]]: L = [[2, 0], [1, sqrt 2]], inverse [[3, -2], [-2, 4]] / 8.
    Matrix<double> A = Make(2, {4, 2, 2, 3}), L(2, 2), Inv(2, 2), W(2, 2);
    Vec<double> d(2);
    ASSERT_EQ(CholeskyFactor(A, L, d, 2), 0);
    EXPECT_DOUBLE_EQ(d(1), 2);
    EXPECT_DOUBLE_EQ(L(2, 1), 1);
    EXPECT_DOUBLE_EQ(d(2), std::sqrt(2.0));
    double lnDet = 0;
    CholeskyInverse(L, d, 2, Inv, W, lnDet);
    EXPECT_DOUBLE_EQ(Inv(1, 1), 3.0 / 8);
    EXPECT_DOUBLE_EQ(Inv(1, 2), -2.0 / 8);
    EXPECT_DOUBLE_EQ(Inv(2, 1), -2.0 / 8);
    EXPECT_DOUBLE_EQ(Inv(2, 2), 4.0 / 8);
    EXPECT_NEAR(lnDet, -std::log(8.0), 1e-15);

    // In place, a 3 x 3 with inverse [[3, 2, 1], [2, 4, 2], [1, 2, 3]] / 4.
    Matrix<double> B = Make(3, {2, -1, 0, -1, 2, -1, 0, -1, 2}), Inv3(3, 3), W3(3, 3);
    Vec<double> d3(3);
    ASSERT_EQ(CholeskyFactor(B, B, d3, 3), 0);
    EXPECT_EQ(B(1, 2), -1);   // upper triangle kept
    CholeskyInverse(B, d3, 3, Inv3, W3, lnDet);
    const double want[3][3] = {{3, 2, 1}, {2, 4, 2}, {1, 2, 3}};
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) EXPECT_NEAR(Inv3(i, j), want[i - 1][j - 1] / 4, 1e-15);
    EXPECT_NEAR(lnDet, -std::log(4.0), 1e-14);
}

TEST(Cholesky, FailsAtTheFirstBadRow) {
    Matrix<double> L(3, 3);
    Vec<double> d(3);
    // Indefinite: the second pivot is 1 - 4 = -3.
    EXPECT_EQ(CholeskyFactor(Make(2, {1, 2, 2, 1}), L, d, 2), 2);
    // A zero pivot fails too.
    EXPECT_EQ(CholeskyFactor(Make(2, {0, 0, 0, 1}), L, d, 2), 1);
    EXPECT_EQ(CholeskyFactor(Make(2, {1, 1, 1, 1}), L, d, 2), 2);
    // A value that is not finite fails at its row, never passes on as NaN.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(CholeskyFactor(Make(3, {1, 0, 0, 0, 1, nan, 0, nan, 1}), L, d, 3), 2);
    EXPECT_EQ(CholeskyFactor(Make(3, {1, 0, inf, 0, 1, 0, inf, 0, 1}), L, d, 3), 1);
    EXPECT_EQ(CholeskyFactor(Make(2, {1, 0, 0, inf}), L, d, 2), 2);
}

TEST(Cholesky, InverseOfALargeMatrixTimesTheMatrixIsTheIdentity) {
    const long n = 120;
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-1, 1);
    Matrix<double> G(n, n), A(n, n), L(n, n), Inv(n, n), W(n, n);
    for (long i = 1; i <= n; ++i)
        for (long j = 1; j <= n; ++j) G(i, j) = u(rng);
    for (long i = 1; i <= n; ++i)   // G G' + n I
        for (long j = 1; j <= n; ++j) {
            double s = i == j ? n : 0;
            for (long k = 1; k <= n; ++k) s += G(i, k) * G(j, k);
            A(i, j) = s;
        }
    Vec<double> d(n);
    ASSERT_EQ(CholeskyFactor(A, L, d, n), 0);
    double lnDet = 0;
    CholeskyInverse(L, d, n, Inv, W, lnDet);
    double worst = 0;
    for (long i = 1; i <= n; ++i)
        for (long j = 1; j <= n; ++j) {
            double s = 0;
            for (long k = 1; k <= n; ++k) s += A(i, k) * Inv(k, j);
            worst = std::max(worst, std::fabs(s - (i == j ? 1 : 0)));
        }
    EXPECT_LT(worst, 1e-12);
    // Four times the matrix has a determinant 4^n times as large.
    Matrix<double> S(n, n), LS(n, n), InvS(n, n);
    for (long i = 1; i <= n; ++i)
        for (long j = 1; j <= n; ++j) S(i, j) = A(i, j) * 4;   // det scales by 4^n
    ASSERT_EQ(CholeskyFactor(S, LS, d, n), 0);
    double lnDetS = 0;
    CholeskyInverse(LS, d, n, InvS, W, lnDetS);
    EXPECT_NEAR(lnDet - lnDetS, n * std::log(4.0), 1e-9);
}

TEST(GridArithmetic, StatisticsDifferencesAndRepresentableValues) {
    GridDeviations g;   // the centre, then 1, 2, 3
    for (double d : {1.0, 2.0, 3.0}) g.Add(d);
    EXPECT_EQ(g.count, 4);
    EXPECT_DOUBLE_EQ(g.Mean(10), 11.5);
    EXPECT_DOUBLE_EQ(g.SignedSD(), std::sqrt(1.25));
    GridDeviations flat;   // every point at the centre's value
    flat.Add(0);
    flat.Add(0);
    EXPECT_EQ(flat.SignedSD(), 0);
    EXPECT_EQ(GridDeviations{}.SignedSD(), 0);
    EXPECT_EQ(SignedRoot(-4), -2);
    EXPECT_EQ(SignedRoot(9), 3);

    // f = 3 x^2 + 2 x y + y^2 at the origin, steps 0.5 and 0.25 (factor 0.5).
    auto f = [](double x, double y) { return 3 * x * x + 2 * x * y + y * y; };
    const double hx = 0.5 * 0.5, hy = 0.5 * 0.25;
    EXPECT_NEAR(DiagonalSecondDifference(f(hx, 0), f(-hx, 0), hx), 6, 1e-12);
    EXPECT_NEAR(CrossSecondDifference(f(hx, hy), f(-hx, -hy), f(hx, 0), f(-hx, 0), f(0, hy), f(0, -hy), 0.5,
                                      0.5, 0.25),
                2, 1e-12);

    EXPECT_DOUBLE_EQ(*ExpIfRepresentable(std::log(0.75)), 0.75);
    EXPECT_FALSE(ExpIfRepresentable(800).has_value());
    EXPECT_FALSE(ExpIfRepresentable(-800).has_value());
    EXPECT_FALSE(ExpIfRepresentable(std::numeric_limits<double>::quiet_NaN()).has_value());
    EXPECT_NEAR(*ExpIfRepresentable(700), std::exp(700.0), std::exp(700.0) * 1e-15);
}

}  // namespace
