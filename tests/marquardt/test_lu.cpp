#include "MarqTestUtil.h"
#include "engine/HessianLU.h"

namespace {

using Rows = std::vector<std::vector<double>>;

struct HessMatLU : marqtest::Fixture {
    void Load(const Rows& rows) {
        const long n = static_cast<long>(rows.size());
        Params(std::vector<double>(n, 1.0), std::vector<double>(n, 0.1), "");
        for (long i = 1; i <= n; ++i)
            for (long j = 1; j <= n; ++j) app.eng.HessMat(i, j) = rows[i - 1][j - 1];
        app.marq.NEst = n;
    }
    double A(long i, long j) { return app.eng.HessMat(i, j); }
};

// The engine's routines work on HessMat and the arrays of MarquardtState.
TEST_F(HessMatLU, HessMatInverseDeterminantAndSolve) {
    Load({{0, 2}, {4, 0}});
    tivelor::InvertMatrixLU(app);
    EXPECT_TRUE(app.marq.LUFailed == 0 && app.marq.LUIndex(1) == 2 && app.marq.Determinant == -0.125);
    EXPECT_TRUE(A(1, 1) == 0 && A(1, 2) == 0.25 && A(2, 1) == 0.5 && A(2, 2) == 0);
    Load({{0, 2}, {4, 0}});
    app.marq.LURHS.ReDim(2, 1);
    app.marq.LURHS(1, 1) = 6, app.marq.LURHS(2, 1) = 8;
    tivelor::LUDecompose(app, 2);
    tivelor::LUBackSubstitute(app, 2, 1, app.marq.LURHS);
    EXPECT_TRUE(app.marq.Determinant == -1 && app.marq.LURHS(1, 1) == 2 && app.marq.LURHS(2, 1) == 3);
}

TEST_F(HessMatLU, ZeroRowIsReportedByDerivativeMethod) {
    Params({1, 1, 1}, {0.1, 0, 0.1});   // free position 2 is parameter 3
    app.eng.HessMat(1, 1) = 2, app.eng.HessMat(1, 2) = 1;
    for (const char* method : {"N", "A", ""}) {   // outside a run the row is passed over
        app.eng.DerivMethod = method, app.marq.LUFailed = 0;
        if (*method) Answer("Matrix decompositon failure at parameter #3!");
        tivelor::LUDecompose(app, 2);
        EXPECT_EQ(app.marq.LUFailed, *method ? 1 : 0);
        EXPECT_TRUE(!*method || (A(1, 1) == 2 && A(1, 2) == 1 && LastBox().style == 48));   // untouched
    }
    ASSERT_EQ(s.backend.msgBoxes.size(), 2u);
    EXPECT_EQ(s.backend.msgBoxes[0].text, "Look for statistically dead model parameters");
    EXPECT_EQ(s.backend.msgBoxes[1].text, "Look for statistically dead parameters and/or suspect your analytical derivatives");
}

}  // namespace
