// The files of a model of the largest size the initialization allows
// (16383 species, 32766 parameters) read back whole; a file of fewer than
// 1000 parameters keeps its bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>

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
using tivelor::testing::TempPath;

namespace {

constexpr int kWide = 32766, kSpecies = kWide / 2;
// Free parameters: numbers of one to five digits, and five Theta-UA pairs.
const std::vector<int> kFree = {1, 999, 1000, 10000, 16383, 16384, 17382, 17383, 26383, 32766};

// Parameter i's value; every third one takes all 14 columns of its field.
double Value(int i) { return i % 3 == 0 ? -0.123456789 - i * 1E-9 : 0.5 + i * 1E-4; }

struct Wide : ::testing::Test, tivelor::testing::StartedProgram {
    std::vector<int> free = kFree;
    void Model(int n) {
        std::vector<double> v(static_cast<std::size_t>(n)), st(v.size(), 0);
        for (int i = 1; i <= n; ++i) v[static_cast<std::size_t>(i - 1)] = Value(i);
        for (int i : free) st[static_cast<std::size_t>(i - 1)] = 0.1;
        SetParameters(v, st);
        app.model.NSpp = n / 2;
        app.eng.RecipLnLConst = 2;
    }
    // The covariance report of free parameters k (standard error 0.01 k + g
    // on grid g, correlation 0.01 (a + b)), saved as a file.
    std::string CovText() {
        EvalState& ev = app.eval;
        const int n = app.eng.par.NumPars;
        const long F = static_cast<long>(free.size());
        ev.CovCentre = app.eng.par.ParValue;
        ev.CovStep = app.eng.par.StepSize;
        ev.NEst = F;
        ev.CovIndex.ReDim(static_cast<int>(F));
        app.eng.CovStore.ReDim(F, F, 3);
        for (long k = 1; k <= F; ++k) ev.CovIndex(static_cast<int>(k)) = free[static_cast<std::size_t>(k - 1)];
        for (int g = 1; g <= 3; ++g) {
            ev.GridFactor(g) = 0.1 * g;
            ev.GridLMean(g) = 100;
            ev.GridLSD(g) = 1;
            app.eng.CovStore(0, 0, g) = 1;
            app.eng.CovStore(1, 0, g) = 1;
            for (long a = 1; a <= F; ++a) {
                app.eng.CovStore(0, a, g) = 0.01 * static_cast<double>(a) + g;
                for (long b = 1; b <= F; ++b)
                    app.eng.CovStore(a, b, g) = (a == b ? 1 : 0.01 * static_cast<double>(a + b)) *
                                                (0.01 * static_cast<double>(a) + g) * (0.01 * static_cast<double>(b) + g);
            }
        }
        app.sw.CovMethod = "N";
        CovarianceReport(app);
        EXPECT_EQ(n, app.eng.par.NumPars);
        return "Originally saved with the file name: wide.cov\r\n\r\n" + app.msg.ReportText;
    }
    std::string Save(const std::string& name, const std::string& text) {
        const std::string path = TempPath(name);
        EXPECT_TRUE(platform::WriteWholeFileSafely(path, text));
        return path;
    }
};

// FNV-1a: a file's bytes in one number.
std::uint64_t Hash(const std::string& text) {
    std::uint64_t h = 1469598103934665603ULL;
    for (unsigned char c : text) h = (h ^ c) * 1099511628211ULL;
    return h;
}

}  // namespace

TEST_F(Wide, AlgorithmPriorsLogAndGridFilesHoldEveryParameterWhole) {
    Model(kWide);
    ParameterSet& par = app.eng.par;
    // Algorithm file: written, emptied, read back.
    const std::string alg = Save("wide.alg", AlgorithmFileText(app.eng, "  Value, step then link for: "));
    for (int i = 1; i <= kWide; ++i) par.ParValue(i) = par.StepSize(i) = 0;
    ASSERT_TRUE(app.ui.files.Open(201, alg, platform::FileMode::Input));
    ASSERT_TRUE(ReadAlgorithmFile(app));
    for (int i : {1, 999, 1000, 9999, 10000, 32766})
        EXPECT_NEAR(par.ParValue(i), Value(i), 1E-7 * std::fabs(Value(i))) << i;
    EXPECT_EQ(par.StepSize(26383), 0.1);

    // Priors file: the letter keeps column 7 behind a number of any width.
    for (int i : free) {
        app.priors.PriorType(i) = "N";
        app.priors.PriorMean(i) = i % 997 + 1;
        app.priors.PriorSD(i) = 1;
    }
    const std::string pri = PriorsFileText(app.priors, kWide);
    EXPECT_NE(pri.find("\r\n1000  N 4.000E+000"), std::string::npos);
    EXPECT_NE(pri.find("\r\n32766 N 8.630E+002"), std::string::npos);
    PriorTable read = app.priors;
    SetDefaultPriors(app);
    int count = 0, line = 0;
    EXPECT_EQ(ParsePriorsFile(pri, kWide, read, count, line), "");
    for (int i : free) EXPECT_EQ(read.PriorType(i) + platform::CStr(read.PriorMean(i)), "N" + std::to_string(i % 997 + 1));
    EXPECT_EQ(read.PriorType(2), "U");

    // Log and progress lines: the number's columns, then the value whole.
    EXPECT_EQ(ParameterItem(999, Value(999)), "    999) -1.2345779E-01");
    EXPECT_EQ(ParameterItem(1000, Value(1000)), "   1000)  6.0000000E-01");
    EXPECT_EQ(ParameterItem(32766, Value(32766)), "  32766) -1.2348956E-01");

    // The names the model gives its parameters, which every file carries.
    EXPECT_EQ(LnUAParName(16383), "Ln[# of unsampled individuals of species # 16383 in the defined habitat]");

    // Grid file: both parameter numbers whole in its heading.
    platform::Vec<double> x(1), y(1);
    platform::Matrix<double> d(1, 1);
    EXPECT_EQ(tivelor::testing::SplitLines(GridFileText(x, y, d, 1, 1, 32766, 16384))[0],
              "Bivariate plot data for parameters 32766 and 16384 ");
}

TEST_F(Wide, CovarianceFileReadsBackThroughBothReadersAndRanksWhole) {
    Model(kWide);
    const std::string text = CovText();
    const std::string path = Save("wide.cov", text);
    const std::vector<std::string> lines = tivelor::testing::SplitLines(text);
    EXPECT_EQ(lines[4 + 999], "1000)  6.0000000E-01   1.0000000E-01  ~~  Parameter 1000");
    EXPECT_EQ(lines[4 + 29999], "30000) -1.2348679E-01  0.0000000E+00  ~~  Parameter 30000");

    // The uncertainty statistics' reader, grid 2.
    b.ChooseFile(path);
    b.AnswerInput("Grid providing covariance results", "2");
    platform::Vec<double> P = app.eng.par.ParValue, S = app.eng.par.StepSize;
    platform::Vec<std::string> C = app.eng.par.FuseCode;
    ReadCovarianceFile(app, P, S, C);
    const CovarianceLink& c = app.unc.Cov;
    ASSERT_TRUE(c.CovFileOK);
    auto se = [](int k) { return 0.01 * k + 2; };
    EXPECT_NEAR(c.VarTheta(1000), se(3) * se(3), 1E-12);
    EXPECT_NEAR(c.VarUA(1000), se(8) * se(8), 1E-12);        // parameter 17383
    EXPECT_NEAR(c.VarUA(16383), se(10) * se(10), 1E-12);     // parameter 32766
    EXPECT_NEAR(c.CorThetaUA(1000), 0.11, 1E-7);
    EXPECT_NEAR(c.CorThetaUA(10000), 0.13, 1E-7);
    EXPECT_NEAR(c.CorThetaUA(16383), 0.15, 1E-7);
    EXPECT_EQ(c.VarTheta(2), 0.0);

    // The ranking window's reader: the check and the averaging, then the
    // multi-model statistics file.
    b.AnswerInput("Enter constant", "0.5");
    b.Click("frmMenu.cmdRank");
    frmRank& w = app.form<frmRank>();
    w.table.Resize(1);
    w.table.NumModels = 1;
    RankedModel& m = w.table.At(2, 1);
    m.ModelID = 1;
    m.ModelK = static_cast<int>(free.size());
    m.ModelCovFile = path;
    m.ModelAICWt = 1.0;
    for (int i = 0; i <= kWide; ++i) {
        m.ParValue.push_back(i ? app.eng.par.ParValue(i) : 0);
        m.StepSize.push_back(i ? app.eng.par.StepSize(i) : 0);
        m.FuseCode.push_back(i ? app.eng.par.FuseCode(i) : "");
    }
    std::string name = path;
    w.CheckCovFileParameters(name, m);
    EXPECT_EQ(name, path);
    w.cmdAverage.Enabled = true;
    b.Click("frmRank.cmdAverage");
    const std::string mms = w.RanksFileText();
    EXPECT_NE(mms.find("\r\n      10000       1.5000E+00      1.0400E+00      2.0400E+00      3.0400E+00\r\n"),
              std::string::npos);
    EXPECT_NE(mms.find("\r\n      32766      -1.2349E-01      1.1000E+00      2.1000E+00      3.1000E+00\r\n"),
              std::string::npos);
}

// Files of 999 parameters hold the bytes they held before wide numbers were
// given room.
TEST_F(Wide, FilesOfFewerThanAThousandParametersKeepTheirBytes) {
    free = {1, 2, 99, 100, 998, 999};
    Model(999);
    std::string log;
    for (int i = 1; i <= 999; ++i) log += ParameterItem(i, Value(i));
    for (int i = 1; i <= 999; i += 7) app.priors.PriorType(i) = "N", app.priors.PriorMean(i) = -Value(i);
    EXPECT_EQ(Hash(CovText()), 14484202152864657230u);
    EXPECT_EQ(Hash(AlgorithmFileText(app.eng, "  Value, step then link for: ")), 14072382233774090707u);
    EXPECT_EQ(Hash(PriorsFileText(app.priors, 999)), 5060387144988592440u);
    EXPECT_EQ(Hash(log), 17943545207382627660u);
}
