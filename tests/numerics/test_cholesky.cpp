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

TEST(Cholesky, FactorInverseAndLogDeterminant) {
    // [[4, 2], [2, 3]]: L = [[2, 0], [1, sqrt 2]], inverse [[3, -2], [-2, 4]] / 8. In place.
    Matrix<double> A = Make(2, {4, 2, 2, 3}), Inv(2, 2), W(2, 2);
    Vec<double> d(2);
    ASSERT_EQ(CholeskyFactor(A, A, d, 2), 0);
    EXPECT_EQ(d(1), 2);
    EXPECT_EQ(A(2, 1), 1);
    EXPECT_EQ(A(1, 2), 2);   // upper triangle kept
    double lnDet = 0;
    CholeskyInverse(A, d, 2, Inv, W, lnDet);
    const double want[2][2] = {{3, -2}, {-2, 4}};
    for (int i = 1; i <= 2; ++i)
        for (int j = 1; j <= 2; ++j) EXPECT_DOUBLE_EQ(Inv(i, j), want[i - 1][j - 1] / 8);
    EXPECT_NEAR(lnDet, -std::log(8.0), 1e-15);

    // G G' + n I of order 120: A A^-1 = I.
    const long n = 120;
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-1, 1);
    Matrix<double> G(n, n), B(n, n), L(n, n), BInv(n, n), Wn(n, n);
    for (long i = 1; i <= n; ++i)
        for (long j = 1; j <= n; ++j) G(i, j) = u(rng);
    for (long i = 1; i <= n; ++i)
        for (long j = 1; j <= n; ++j) {
            B(i, j) = i == j ? n : 0;
            for (long k = 1; k <= n; ++k) B(i, j) += G(i, k) * G(j, k);
        }
    Vec<double> dn(n);
    double worst = 0;
    ASSERT_EQ(CholeskyFactor(B, L, dn, n), 0);
    CholeskyInverse(L, dn, n, BInv, Wn, lnDet);
    for (long i = 1; i <= n; ++i)
        for (long j = 1; j <= n; ++j) {
            double s = 0;
            for (long k = 1; k <= n; ++k) s += B(i, k) * BInv(k, j);
            worst = std::max(worst, std::fabs(s - (i == j ? 1 : 0)));
        }
    EXPECT_LT(worst, 1e-12);
}

TEST(Cholesky, FailsAtTheFirstRowThatIsNotPositiveOrNotFinite) {
    Matrix<double> L(3, 3);
    Vec<double> d(3);
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(CholeskyFactor(Make(2, {1, 2, 2, 1}), L, d, 2), 2);   // pivot 1 - 4
    EXPECT_EQ(CholeskyFactor(Make(2, {0, 0, 0, 1}), L, d, 2), 1);
    EXPECT_EQ(CholeskyFactor(Make(2, {1, 1, 1, 1}), L, d, 2), 2);   // singular: pivot 0
    EXPECT_EQ(CholeskyFactor(Make(3, {1, 0, 0, 0, 1, nan, 0, nan, 1}), L, d, 3), 2);
    EXPECT_EQ(CholeskyFactor(Make(3, {1, 0, inf, 0, 1, 0, inf, 0, 1}), L, d, 3), 1);
}

TEST(GridArithmetic, StatisticsAndRepresentableValues) {
    GridDeviations g;   // the centre, then 1, 2, 3
    for (double d : {1.0, 2.0, 3.0}) g.Add(d);
    EXPECT_DOUBLE_EQ(g.Mean(10), 11.5);
    EXPECT_DOUBLE_EQ(g.SignedSD(), std::sqrt(1.25));
    GridDeviations flat;   // every point at the centre's value: 0, not 0/0
    flat.Add(0);
    EXPECT_EQ(flat.SignedSD(), 0);

    EXPECT_DOUBLE_EQ(*ExpIfRepresentable(std::log(0.75)), 0.75);
    EXPECT_FALSE(ExpIfRepresentable(800));
    EXPECT_FALSE(ExpIfRepresentable(-800));
    EXPECT_FALSE(ExpIfRepresentable(std::numeric_limits<double>::quiet_NaN()));
}

}  // namespace
