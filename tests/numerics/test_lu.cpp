// LU decomposition, back-substitution and inverse on plain matrices.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "numerics/LU.h"

namespace {

using namespace tivelor::numerics;
using platform::Matrix;
using platform::Vec;
using Rows = std::vector<std::vector<double>>;

struct LU : ::testing::Test {
    Matrix<double> a, inv;
    Vec<int> index;
    Vec<double> scale, column;
    Matrix<double> trans;
    LUArrays w{index, scale, column, trans};
    long yields = 0;
    LUProgress count = [this] { ++yields; };

    void Load(const Rows& rows, long extra = 0) {
        const long n = static_cast<long>(rows.size());
        a.ReDim(n + extra, n + extra);
        for (long i = 1; i <= n; ++i)
            for (long j = 1; j <= n; ++j) a(i, j) = rows[i - 1][j - 1];
    }
};

TEST_F(LU, WorkedValues) {
    struct Case { Rows m, inverse; double det; int index1; } cases[] = {
        {{{5}}, {{0.2}}, 0.2, 1},
        {{{0, 1}, {1, 0}}, {{0, 1}, {1, 0}}, -1, 2},   // rows exchanged
        {{{2, 1}, {2, 2}}, {{1, -0.5}, {-1, 1}}, 0.5, 2},   // equal scaled pivots: the later row
        {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, 1, 1},
    };
    for (const Case& c : cases) {
        Load(c.m);
        const LUStatus st = InvertMatrixLU(a, static_cast<long>(c.m.size()), inv, w, true);
        EXPECT_TRUE(st.Ok() && index(1) == c.index1 && st.Determinant == c.det);
        for (size_t i = 0; i < c.m.size(); ++i)
            for (size_t j = 0; j < c.m.size(); ++j) EXPECT_DOUBLE_EQ(a(i + 1, j + 1), c.inverse[i][j]);
    }
    // 1 x 1: the solve divides by the pivot.
    Load({{5}});
    ASSERT_TRUE(LUDecompose(a, 1, w, true).Ok());
    Matrix<double> b(1, 1);
    b(1, 1) = 3;
    LUBackSubstitute(a, 1, index, 1, b);
    EXPECT_DOUBLE_EQ(b(1, 1), 0.6);
    // Two equal rows: no failure, the second pivot becomes tiny.
    Load({{1, 2}, {1, 2}});
    const LUStatus st = LUDecompose(a, 2, w, true);
    EXPECT_TRUE(st.Ok() && a(2, 2) == kLUTiny);
}

TEST_F(LU, ZeroRowStopsOrIsPassedOver) {
    Load({{2, 1}, {0, 0}});
    scale.ReDim(2);
    scale(2) = 7;   // a passed-over row keeps the scale it had
    LUStatus st = LUDecompose(a, 2, w, true, count);
    EXPECT_EQ(st.Outcome, LUOutcome::ZeroRow);
    EXPECT_EQ(st.ZeroRow, 2);
    EXPECT_FALSE(st.Ok());
    EXPECT_EQ(yields, 2);   // stopped in the scaling pass
    EXPECT_TRUE(a(1, 1) == 2 && a(1, 2) == 1 && a(2, 1) == 0 && a(2, 2) == 0);   // untouched
    EXPECT_EQ(InvertMatrixLU(a, 2, inv, w, true).Outcome, LUOutcome::ZeroRow);
    EXPECT_EQ(a(1, 1), 2);   // no inverse

    st = LUDecompose(a, 2, w, false);
    EXPECT_TRUE(st.Ok() && scale(2) == 7 && a(2, 2) == kLUTiny);

    // A matrix smaller than the order asked for is left alone.
    Load({{1, 0}, {0, 1}});
    st = LUDecompose(a, 3, w, true);
    EXPECT_EQ(st.Outcome, LUOutcome::TooLarge);
    EXPECT_EQ(a(1, 1), 1);
    // Order 0: nothing to do, determinant 1.
    st = LUDecompose(a, 0, w, true);
    EXPECT_TRUE(st.Ok() && st.Determinant == 1);
}

TEST_F(LU, ProgressOncePerRowOfEachPassAndLeadingZerosOfTheRightHandSide) {
    const Rows m = {{4, 1, 0, 2}, {1, 5, 1, 0}, {0, 1, 6, 1}, {2, 0, 1, 7}};
    Load(m);
    ASSERT_TRUE(LUDecompose(a, 4, w, true, count).Ok());
    EXPECT_EQ(yields, 8);
    Matrix<double> b(4, 2);
    const double rhs[] = {0, 0, 3, -1};
    for (long i = 1; i <= 4; ++i) b(i, 1) = b(i, 2) = rhs[i - 1];
    b(1, 2) = 1;   // column 2 differs only in its first entry
    yields = 0;
    LUBackSubstitute(a, 4, index, 1, b, count);
    EXPECT_EQ(yields, 8);
    for (long i = 1; i <= 4; ++i) {   // A x = b, column 2 untouched
        double s = 0;
        for (long k = 1; k <= 4; ++k) s += m[i - 1][k - 1] * b(k, 1);
        EXPECT_NEAR(s, rhs[i - 1], 1E-14);
        EXPECT_EQ(b(i, 2), i == 1 ? 1 : rhs[i - 1]);
    }
}

// Random matrices, some in a larger array as a caller dimensions it: A times
// its inverse is I.
TEST_F(LU, InverseTimesMatrixIsIdentity) {
    std::mt19937 gen(12345);
    std::uniform_real_distribution<double> u(-1, 1);
    for (long n : {1, 2, 3, 5, 8, 13, 37}) {
        Rows m(n, std::vector<double>(n));
        for (long i = 0; i < n; ++i) {
            for (long j = 0; j < n; ++j) m[i][j] = u(gen);
            if (n < 37) m[i][i] += n * (i % 2 ? -1 : 1);   // diagonally dominant, mixed signs
        }
        Load(m, 2);
        ASSERT_TRUE(InvertMatrixLU(a, n, inv, w, true).Ok());
        for (long i = 1; i <= n; ++i)
            for (long j = 1; j <= n; ++j) {
                double s = 0;
                for (long k = 1; k <= n; ++k) s += m[i - 1][k - 1] * a(k, j);
                EXPECT_NEAR(s, i == j ? 1 : 0, n < 37 ? 1E-12 : 1E-9) << "n=" << n << " (" << i << "," << j << ")";
            }
    }
}

}  // namespace
