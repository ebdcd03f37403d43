#include <random>

#include "MarqTestUtil.h"
#include "engine/LU.h"

namespace {

using tivelor::InvertMatrixLU;
using tivelor::LUBackSubstitute;
using tivelor::LUDecompose;

struct LU : marqtest::Fixture {
    void Load(const std::vector<std::vector<double>>& rows) {
        const long n = static_cast<long>(rows.size());
        Params(std::vector<double>(n, 1.0), std::vector<double>(n, 0.1));
        app.eng.HessMat.ReDim(n, n);
        for (long i = 1; i <= n; ++i)
            for (long j = 1; j <= n; ++j) app.eng.HessMat(i, j) = rows[i - 1][j - 1];
        app.marq.NEst = n;
    }
    double A(long i, long j) { return app.eng.HessMat(i, j); }
};

TEST_F(LU, WorkedValues) {
    Load({{5}});
    LUDecompose(app, 1);
    EXPECT_EQ(app.marq.LUIndex(1), 1);
    EXPECT_EQ(app.marq.Determinant, 1);
    platform::Matrix<double> b(1, 1);
    b(1, 1) = 3;
    LUBackSubstitute(app, 1, 1, b);
    EXPECT_DOUBLE_EQ(b(1, 1), 0.6);
    Load({{5}});
    InvertMatrixLU(app);
    EXPECT_DOUBLE_EQ(A(1, 1), 0.2);
    EXPECT_DOUBLE_EQ(app.marq.Determinant, 0.2);

    // Two equal rows: no failure, the second pivot becomes tiny.
    Load({{1, 2}, {1, 2}});
    app.eng.DerivMethod = "N";
    app.marq.LUFailed = 0;
    LUDecompose(app, 2);
    EXPECT_EQ(app.marq.LUFailed, 0);
    EXPECT_EQ(A(2, 2), tivelor::kLUTiny);
    EXPECT_TRUE(s.backend.msgBoxes.empty());

    // A right-hand side with leading zeros.
    Load({{4, 1, 2}, {1, 5, 1}, {2, 1, 6}});
    LUDecompose(app, 3);
    platform::Matrix<double> r(3, 1);
    r(3, 1) = 7;
    LUBackSubstitute(app, 3, 1, r);
    const double a[3][3] = {{4, 1, 2}, {1, 5, 1}, {2, 1, 6}};
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(a[i][0] * r(1, 1) + a[i][1] * r(2, 1) + a[i][2] * r(3, 1), i == 2 ? 7 : 0, 1E-12);
}

TEST_F(LU, ExchangeTiesAndIdentity) {
    Load({{0, 1}, {1, 0}});
    InvertMatrixLU(app);
    EXPECT_EQ(app.marq.LUIndex(1), 2);
    EXPECT_EQ(app.marq.Determinant, -1);
    EXPECT_EQ(A(1, 1), 0);
    EXPECT_EQ(A(1, 2), 1);
    EXPECT_EQ(A(2, 1), 1);
    EXPECT_EQ(A(2, 2), 0);

    // Equal scaled pivots: the later row wins.
    Load({{2, 1}, {2, 2}});
    LUDecompose(app, 2);
    EXPECT_EQ(app.marq.LUIndex(1), 2);

    Load({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}});
    InvertMatrixLU(app);
    EXPECT_EQ(app.marq.Determinant, 1);
    for (long i = 1; i <= 3; ++i)
        for (long j = 1; j <= 3; ++j) EXPECT_EQ(A(i, j), i == j ? 1 : 0);
}

TEST_F(LU, ZeroRowIsReportedByDerivativeMethod) {
    // Parameter 2 is fixed, so free position 2 is parameter 3.
    Params({1, 1, 1}, {0.1, 0, 0.1});
    app.eng.HessMat.ReDim(3, 3);
    app.eng.HessMat(1, 1) = 2;
    app.eng.HessMat(1, 2) = 1;
    app.eng.DerivMethod = "N";
    app.marq.LUFailed = 0;
    s.backend.AnswerMsgBox("Matrix decompositon failure at parameter #3!", platform::vbOK);
    LUDecompose(app, 2);
    EXPECT_EQ(app.marq.LUFailed, 1);
    EXPECT_EQ(LastBox()->text, "Look for statistically dead model parameters");
    EXPECT_EQ(LastBox()->style, 48);
    EXPECT_EQ(app.eng.HessMat(1, 1), 2);
    EXPECT_EQ(app.eng.HessMat(1, 2), 1);

    app.eng.DerivMethod = "A";
    s.backend.AnswerMsgBox("Matrix decompositon failure at parameter #3!", platform::vbOK);
    LUDecompose(app, 2);
    EXPECT_EQ(LastBox()->text, "Look for statistically dead parameters and/or suspect your analytical derivatives");

    // Outside a Marquardt run nothing is said and the row is passed over.
    app.eng.DerivMethod = "";
    app.marq.LUFailed = 0;
    LUDecompose(app, 2);
    EXPECT_EQ(app.marq.LUFailed, 0);
    EXPECT_EQ(s.backend.msgBoxes.size(), 2u);
}

TEST_F(LU, InverseTimesMatrixIsIdentity) {
    std::mt19937 gen(12345);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int n : {1, 2, 3, 5, 8, 13, 30}) {
        std::vector<std::vector<double>> m(n, std::vector<double>(n));
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) m[i][j] = u(gen);
            m[i][i] += n * (i % 2 ? -1 : 1);   // diagonally dominant, mixed signs
        }
        Load(m);
        InvertMatrixLU(app);
        ASSERT_EQ(app.marq.LUFailed, 0);
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j) {
                double s = 0;
                for (int k = 1; k <= n; ++k) s += m[i - 1][k - 1] * A(k, j);
                EXPECT_NEAR(s, i == j ? 1 : 0, 1E-12) << "n=" << n << " (" << i << "," << j << ")";
            }
        if (n == 2) {
            const double d = m[0][0] * m[1][1] - m[0][1] * m[1][0];
            EXPECT_NEAR(app.marq.Determinant, 1 / d, 1E-12);
        }
    }
}

// The factors are those of the textbook Crout order: every entry has its
// products subtracted one by one, k = 1, 2, ..., so they agree to the bit.
TEST_F(LU, FactorsMatchTheTextbookOrderExactly) {
    const long n = 37;
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> u(-3, 3);
    std::vector<std::vector<double>> m(n, std::vector<double>(n));
    for (auto& row : m)
        for (double& x : row) x = u(gen);
    Load(m);
    LUDecompose(app, n);

    std::vector<std::vector<double>> a(n + 1, std::vector<double>(n + 1));
    std::vector<double> scale(n + 1);
    for (long i = 1; i <= n; ++i) {
        double big = 0;
        for (long j = 1; j <= n; ++j) {
            a[i][j] = m[i - 1][j - 1];
            big = std::max(big, std::fabs(a[i][j]));
        }
        scale[i] = 1 / big;
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
        if (j != n)
            for (long i = j + 1; i <= n; ++i) a[i][j] *= 1 / a[j][j];
    }
    EXPECT_EQ(app.marq.Determinant, det);
    for (long i = 1; i <= n; ++i)
        for (long j = 1; j <= n; ++j) ASSERT_EQ(A(i, j), a[i][j]) << i << "," << j;
}

}  // namespace
