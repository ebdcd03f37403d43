#include <random>

#include "MarqTestUtil.h"
#include "engine/LU.h"

namespace {

using tivelor::InvertMatrixLU;
using tivelor::LUDecompose;
using Rows = std::vector<std::vector<double>>;

struct LU : marqtest::Fixture {
    void Load(const Rows& rows) {
        const long n = static_cast<long>(rows.size());
        Params(std::vector<double>(n, 1.0), std::vector<double>(n, 0.1), "");
        for (long i = 1; i <= n; ++i)
            for (long j = 1; j <= n; ++j) app.eng.HessMat(i, j) = rows[i - 1][j - 1];
        app.marq.NEst = n;
    }
    double A(long i, long j) { return app.eng.HessMat(i, j); }
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
        InvertMatrixLU(app);
        EXPECT_TRUE(app.marq.LUIndex(1) == c.index1 && app.marq.Determinant == c.det);
        for (size_t i = 0; i < c.m.size(); ++i)
            for (size_t j = 0; j < c.m.size(); ++j) EXPECT_DOUBLE_EQ(A(i + 1, j + 1), c.inverse[i][j]);
    }
    Load({{1, 2}, {1, 2}});   // two equal rows: no failure, the second pivot becomes tiny
    app.eng.DerivMethod = "N";
    LUDecompose(app, 2);
    EXPECT_TRUE(app.marq.LUFailed == 0 && A(2, 2) == tivelor::kLUTiny);
}

TEST_F(LU, ZeroRowIsReportedByDerivativeMethod) {
    Params({1, 1, 1}, {0.1, 0, 0.1});   // free position 2 is parameter 3
    app.eng.HessMat(1, 1) = 2, app.eng.HessMat(1, 2) = 1;
    for (const char* method : {"N", "A", ""}) {   // outside a run the row is passed over
        app.eng.DerivMethod = method, app.marq.LUFailed = 0;
        if (*method) Answer("Matrix decompositon failure at parameter #3!");
        LUDecompose(app, 2);
        EXPECT_EQ(app.marq.LUFailed, *method ? 1 : 0);
        EXPECT_TRUE(!*method || (A(1, 1) == 2 && A(1, 2) == 1 && LastBox().style == 48));   // untouched
    }
    ASSERT_EQ(s.backend.msgBoxes.size(), 2u);
    EXPECT_EQ(s.backend.msgBoxes[0].text, "Look for statistically dead model parameters");
    EXPECT_EQ(s.backend.msgBoxes[1].text, "Look for statistically dead parameters and/or suspect your analytical derivatives");
}

// Random matrices: the factors agree to the bit with the textbook Crout order
// (products subtracted one by one, k = 1, 2, ...); A times its inverse is I.
TEST_F(LU, FactorsFollowTheTextbookOrderAndInverseTimesMatrixIsIdentity) {
    std::mt19937 gen(12345);
    std::uniform_real_distribution<double> u(-1, 1);
    for (long n : {1, 2, 3, 5, 8, 13, 37}) {
        Rows m(n, std::vector<double>(n));
        for (long i = 0; i < n; ++i) {
            for (long j = 0; j < n; ++j) m[i][j] = u(gen);
            if (n < 37) m[i][i] += n * (i % 2 ? -1 : 1);   // diagonally dominant, mixed signs
        }
        Load(m);
        LUDecompose(app, n);
        Rows a(n + 1, std::vector<double>(n + 1));
        std::vector<double> scale(n + 1);
        for (long i = 1; i <= n; ++i) {
            for (long j = 1; j <= n; ++j) a[i][j] = m[i - 1][j - 1], scale[i] = std::max(scale[i], std::fabs(a[i][j]));
            scale[i] = 1 / scale[i];
        }
        double det = 1;
        for (long j = 1; j <= n; ++j) {
            for (long i = 1; i < j; ++i)
                for (long k = 1; k < i; ++k) a[i][j] -= a[i][k] * a[k][j];
            double big = 0;
            long imax = j;
            for (long i = j; i <= n; ++i) {
                for (long k = 1; k < j; ++k) a[i][j] -= a[i][k] * a[k][j];
                if (scale[i] * std::fabs(a[i][j]) >= big) big = scale[i] * std::fabs(a[i][j]), imax = i;
            }
            if (imax != j) std::swap(a[imax], a[j]), det = -det, scale[imax] = scale[j];
            EXPECT_EQ(app.marq.LUIndex(j), imax);
            for (long i = j + 1; i <= n; ++i) a[i][j] *= 1 / a[j][j];
        }
        EXPECT_EQ(app.marq.Determinant, det);
        for (long i = 1; i <= n; ++i)
            for (long j = 1; j <= n; ++j) ASSERT_EQ(A(i, j), a[i][j]) << n << ": " << i << "," << j;

        Load(m);
        InvertMatrixLU(app);
        ASSERT_EQ(app.marq.LUFailed, 0);
        for (long i = 1; i <= n; ++i)
            for (long j = 1; j <= n; ++j) {
                double s = 0;
                for (long k = 1; k <= n; ++k) s += m[i - 1][k - 1] * A(k, j);
                EXPECT_NEAR(s, i == j ? 1 : 0, n < 37 ? 1E-12 : 1E-9) << "n=" << n << " (" << i << "," << j << ")";
            }
    }
}

}  // namespace
