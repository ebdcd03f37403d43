// Every file of the largest model the initialization allows (16383 species,
// 32766 parameters) reads back whole; under 1000 parameters a file keeps its bytes.
#include <gtest/gtest.h>

#include "engine/AlgorithmFile.h"
#include "engine/ProgressText.h"
#include "evaluation/BayesianEvaluation.h"
#include "evaluation/Covariance.h"
#include "model/Reexpress.h"
#include "priors/PriorsFile.h"
#include "ranking/frmRank.h"
#include "tests/support/StartedProgram.h"
#include "uncertainty/CovarianceLink.h"

using namespace tivelor;

namespace {

double Value(int i) { return i % 3 == 0 ? -0.123456789 - i * 1E-9 : 0.5 + i * 1E-4; }   // 14 columns or 13

// n parameters, the free ones at step 0.1; free parameter k has standard error
// 0.01 k + g on grid g and correlation 0.01 (a + b) with another.
struct Wide : tivelor::testing::StartedProgram {
    std::vector<int> free;
    Wide(int n, std::vector<int> f) : free(std::move(f)) {
        std::vector<double> v, st(static_cast<std::size_t>(n), 0);
        for (int i = 1; i <= n; ++i) v.push_back(Value(i));
        for (int i : free) st[static_cast<std::size_t>(i - 1)] = 0.1;
        SetParameters(v, st);
        app.model.NSpp = n / 2, app.eng.RecipLnLConst = 2;
    }
    std::string CovFile() {
        EvalState& ev = app.eval;
        const long F = static_cast<long>(free.size());
        ev.CovCentre = app.eng.par.ParValue, ev.CovStep = app.eng.par.StepSize;
        ev.CovIndex.ReDim(static_cast<int>(ev.NEst = F));
        app.eng.CovStore.ReDim(F, F, 3);
        for (long a = 1; a <= F; ++a) ev.CovIndex(static_cast<int>(a)) = free[static_cast<std::size_t>(a - 1)];
        for (int g = 1; g <= 3; ++g) {
            ev.GridLMean(g) = app.eng.CovStore(0, 0, g) = app.eng.CovStore(1, 0, g) = 1;
            auto se = [g](long k) { return 0.01 * static_cast<double>(k) + g; };
            for (long a = 1; a <= F; ++a) {
                app.eng.CovStore(0, a, g) = se(a);
                for (long b = 1; b <= F; ++b)
                    app.eng.CovStore(a, b, g) = (a == b ? 1 : 0.01 * static_cast<double>(a + b)) * se(a) * se(b);
            }
        }
        app.sw.CovMethod = "N";
        CovarianceReport(app);
        return "Originally saved with the file name: wide.cov\r\n\r\n" + app.msg.ReportText;
    }
};

std::string Save(const std::string& name, const std::string& text) {
    const std::string path = tivelor::testing::TempPath(name);
    EXPECT_TRUE(platform::WriteWholeFileSafely(path, text));
    return path;
}

}  // namespace

TEST(WideModels, EveryFileReadsBackWholeAt32766Parameters) {
    Wide t(32766, {1, 999, 1000, 10000, 16383, 16384, 17382, 17383, 26383, 32766});
    App& app = t.app;
    ParameterSet& par = app.eng.par;
    // Algorithm file, behind a byte-order mark.
    const std::string alg = Save("wide.alg", "\xEF\xBB\xBF" + AlgorithmFileText(app.eng, "  Value, step then link for: "));
    for (int i = 1; i <= 32766; ++i) par.ParValue(i) = 0;
    ASSERT_TRUE(app.ui.files.Open(201, alg, platform::FileMode::Input) && ReadAlgorithmFile(app));
    for (int i : {999, 1000, 10000, 32766}) EXPECT_NEAR(par.ParValue(i), Value(i), 1E-8) << i;
    // Priors file: the letter stays in column 7.
    for (int i : t.free) app.priors.PriorType(i) = "N", app.priors.PriorMean(i) = i % 997 + 1, app.priors.PriorSD(i) = 1;
    const std::string pri = PriorsFileText(app.priors, 32766);
    EXPECT_NE(pri.find("\r\n32766 N 8.630E+002"), std::string::npos);
    int count = 0, line = 0;
    EXPECT_EQ((SetDefaultPriors(app), ParsePriorsFile(pri, 32766, app.priors, count, line)), "");
    EXPECT_EQ(app.priors.PriorType(32766) + platform::CStr(app.priors.PriorMean(32766)), "N863");
    // Log lines, parameter names and the grid file.
    EXPECT_EQ(ParameterItem(1000, Value(1000)) + ParameterItem(32766, 0), "   1000)  6.0000000E-01  32766)  0.0000000E+00");
    EXPECT_EQ(LnUAParName(16383), "Ln[# of unsampled individuals of species # 16383 in the defined habitat]");
    platform::Matrix<double> d(1, 1);
    EXPECT_EQ(GridFileText({}, {}, d, 0, 0, 32766, 16384), "Bivariate plot data for parameters 32766 and 16384 \r\n"
                                                           "        X_Coord,        Y_Coord,  Prob_Density\r\n");

    // Covariance file, read by the uncertainty statistics (grid 2) ...
    const std::string cov = Save("wide.cov", t.CovFile());
    t.b.ChooseFile(cov);
    t.b.AnswerInput("Grid providing covariance results", "2");
    ReadCovarianceFile(app, par.ParValue, par.StepSize, par.FuseCode);
    const CovarianceLink& c = app.unc.Cov;
    EXPECT_NEAR(c.VarTheta(1000) + c.VarUA(1000), 2.03 * 2.03 + 2.08 * 2.08, 1E-12);
    EXPECT_NEAR(c.CorThetaUA(1000) + c.CorThetaUA(10000) + c.CorThetaUA(16383), 0.11 + 0.13 + 0.15, 1E-7);
    // ... and by the ranking window, whose statistics file follows.
    t.b.AnswerInput("Enter constant", "0.5");
    t.b.Click("frmMenu.cmdRank");
    frmRank& w = app.form<frmRank>();
    w.table.Resize(w.table.NumModels = 1);
    RankedModel& m = w.table.At(2, 1);
    m.ModelK = 10, m.ModelCovFile = cov, m.ModelAICWt = 1.0, w.cmdAverage.Enabled = true;
    m.ParValue.assign(par.ParValue.begin(), par.ParValue.end()), m.StepSize.assign(par.StepSize.begin(), par.StepSize.end());
    m.FuseCode.assign(par.FuseCode.begin(), par.FuseCode.end());
    t.b.Click("frmRank.cmdAverage");
    EXPECT_NE(w.RanksFileText().find("\r\n      32766      -1.2349E-01      1.1000E+00      2.1000E+00      3.1000E+00\r\n"),
              std::string::npos);
}

TEST(WideModels, UnderAThousandParametersTheBytesStay) {
    Wide t(999, {1, 2, 99, 100, 998, 999});
    std::string all = t.CovFile() + AlgorithmFileText(t.app.eng, "  Value, step then link for: ");
    for (int i = 1; i <= 999; ++i) all += ParameterItem(i, Value(i));
    for (int i = 1; i <= 999; i += 7) t.app.priors.PriorType(i) = "N", t.app.priors.PriorMean(i) = -Value(i);
    all += PriorsFileText(t.app.priors, 999);
    std::uint64_t h = 1469598103934665603ULL;   // FNV-1a
    for (unsigned char ch : all) h = (h ^ ch) * 1099511628211ULL;
    EXPECT_EQ(h, 14069980867561478704u);   // the bytes written before numbers past 999 were kept whole
}
