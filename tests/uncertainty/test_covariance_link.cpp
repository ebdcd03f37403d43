// The covariance-file link: hand-made files in the saved layout, checked
// against the parameters, read from the chosen grid, and their link groups.
#include <gtest/gtest.h>

#include "UncertaintyTestSupport.h"
#include "uncertainty/CovarianceLink.h"

using namespace tivelor;
using unctest::CovFile;
using unctest::Unc;

namespace {

// Three species, both links on, every parameter free.
struct Link : Unc {
    Link() : Unc(2, 20, {5, 3, 1}, true, true) {
        const double v[6] = {-1, 0.5, 2, 0, 2, 3};
        for (int k = 1; k <= 6; ++k) {
            P(k) = v[k - 1];
            Step(k) = 0.1;
        }
    }
    CovFile Full() const {
        CovFile c = Cov();
        for (int k = 1; k <= 6; ++k) c.se[k] = {0.01 * k + 1, 0.01 * k + 2, 0.01 * k + 3};
        c.cor[{1, 4}] = {0.3, 0.4, 0.5};
        c.cor[{2, 5}] = {-0.2, -0.3, -0.4};
        c.cor[{3, 6}] = {1.2, -1.5, 0.1};   // held within -1..1
        c.cor[{1, 2}] = {0.9, 0.9, 0.9};    // not a species' own pair
        return c;
    }
    // title: the message box expected, answered OK.
    void Read(const CovFile& c, const std::string& grid = "1", const std::string& title = "") {
        Choose(Write(c), grid);
        if (!title.empty()) b.AnswerMsgBox(title, platform::vbOK);
        ReadCovarianceFile(app, P, Step, Fuse);
    }
    const CovarianceLink& L() const { return app.unc.Cov; }
    bool ClosedAfter() const { return !s.ui.files.IsOpen(1); }
};

}  // namespace

TEST(CovarianceLink, VariancesAndCorrelationsOfTheChosenGrid) {
    for (int g = 1; g <= 3; ++g) {
        Link t;
        t.Read(t.Full(), std::to_string(g));
        ASSERT_TRUE(t.L().CovFileOK) << g;
        EXPECT_EQ(t.L().CovGrid, g);
        EXPECT_EQ(t.L().CovMethodLetter, "N");
        for (int s = 1; s <= 3; ++s) {
            const double eT = 0.01 * s + g, eU = 0.01 * (s + 3) + g;
            EXPECT_NEAR(t.L().VarTheta(s), eT * eT, 1E-12) << g << " " << s;
            EXPECT_NEAR(t.L().VarUA(s), eU * eU, 1E-12) << g << " " << s;
        }
        const double r1[3] = {0.3, 0.4, 0.5}, r3[3] = {1, -1, 0.1};
        EXPECT_DOUBLE_EQ(t.L().CorThetaUA(1), r1[g - 1]);
        EXPECT_DOUBLE_EQ(t.L().CorThetaUA(3), r3[g - 1]);
        EXPECT_TRUE(t.b.msgBoxes.empty());
        EXPECT_TRUE(t.ClosedAfter());
    }
    // The dialog and the grid question.
    Link t;
    CovFile c = t.Full();
    c.letter = 'a';
    t.b.ChooseFile(t.Write(c));
    for (const char* bad : {"0", "", "4", "-1"}) t.b.AnswerInput("Grid providing covariance results", bad);
    t.b.AnswerInput("Grid providing covariance results", "2.5");   // halves to even: 2
    ReadCovarianceFile(t.app, t.P, t.Step, t.Fuse);
    EXPECT_EQ(t.L().CovGrid, 2);
    EXPECT_EQ(t.L().CovMethodLetter, "A");
    ASSERT_EQ(t.b.dialogs.size(), 1u);
    EXPECT_EQ(t.b.dialogs[0].title, "Choose associated covariance file");
    EXPECT_EQ(t.b.dialogs[0].filter, "All files (*.*)|*.*|Tivelor covariance output files (*.cov)|*.cov");
    EXPECT_EQ(t.b.dialogs[0].filterIndex, 2);
    EXPECT_EQ(t.b.inputPrompts.size(), 5u);
}

TEST(CovarianceLink, FixedParametersAndNoCorrelationBlock) {
    Link t;
    t.Step(2) = 0;   // Theta 2 fixed: no standard-error line, variance 0
    t.Step(6) = 0;
    CovFile c = t.Full();
    c.step[1] = 0;
    c.step[5] = 0;
    c.optimistic = true;
    t.Read(c);
    ASSERT_TRUE(t.L().CovFileOK);
    EXPECT_EQ(t.L().VarTheta(2), 0.0);
    EXPECT_EQ(t.L().VarUA(3), 0.0);
    EXPECT_NEAR(t.L().VarTheta(3), 1.03 * 1.03, 1E-12);
    for (int s = 1; s <= 3; ++s) EXPECT_EQ(t.L().CorThetaUA(s), 0.0);
    EXPECT_TRUE(t.b.msgBoxes.empty());
    // A file that ends after its standard errors reads the same.
    Link u;
    CovFile d = u.Full();
    std::string text = d.Text();
    text = text.substr(0, text.find("\r\nPar#               Probabilities") + 2);
    const std::string path = u.Write(d, "short.cov");
    platform::WriteWholeFileSafely(path, text);
    u.Choose(path);
    ReadCovarianceFile(u.app, u.P, u.Step, u.Fuse);
    EXPECT_TRUE(u.L().CovFileOK);
    EXPECT_EQ(u.L().CorThetaUA(1), 0.0);
}

TEST(CovarianceLink, ValueStepAndCodeChecks) {
    struct Case {
        const char* what;
        void (*edit)(Link&, CovFile&);
        int bad;   // the parameter named, 0 when the file passes
    };
    const Case cases[] = {
        {"1.000001 against 1", [](Link& t, CovFile& c) { t.P(5) = 1; c.value[4] = 1.000001; }, 0},
        {"1.000002 against 1", [](Link& t, CovFile& c) { t.P(5) = 1; c.value[4] = 1.000002; }, 5},
        {"0 against 1E-12", [](Link& t, CovFile& c) { t.P(4) = 0; c.value[3] = 1E-12; }, 4},
        {"a step", [](Link&, CovFile& c) { c.step[2] = 0.2; }, 3},
        {"a link code", [](Link&, CovFile& c) { c.code[1] = "A"; }, 2},
    };
    for (const Case& k : cases) {
        Link t;
        CovFile c = t.Full();
        k.edit(t, c);
        t.Read(c, "1", k.bad ? "Algorithm file and covariance file parameter mismatch" : "");
        EXPECT_TRUE(t.ClosedAfter()) << k.what;
        if (k.bad == 0) {
            EXPECT_TRUE(t.L().CovFileOK) << k.what;
            EXPECT_TRUE(t.b.msgBoxes.empty()) << k.what;
            continue;
        }
        EXPECT_FALSE(t.L().CovFileOK) << k.what;
        ASSERT_EQ(t.b.msgBoxes.size(), 1u) << k.what;
        EXPECT_EQ(t.b.msgBoxes[0].title, "Algorithm file and covariance file parameter mismatch");
        EXPECT_EQ(t.b.msgBoxes[0].text,
                  "Disagreement between the parameter value, step size or link code for parameter #" +
                      std::to_string(k.bad))
            << k.what;
        EXPECT_EQ(t.b.msgBoxes[0].style, 80);
    }
}

TEST(CovarianceLink, DamagedFilesAreRefusedAndClosed) {
    Link t0;
    const std::string full = t0.Full().Text();
    struct Case {
        const char* what;
        std::string text;
        std::string title;
    };
    auto cut = [&](const std::string& marker) { return full.substr(0, full.find(marker)); };
    auto replace = [&](const std::string& from, const std::string& to) {
        std::string s = full;
        s.replace(s.find(from), from.size(), to);
        return s;
    };
    const std::string mismatch = "Algorithm file and covariance file parameter mismatch";
    const Case cases[] = {
        {"cut in the parameter lines", cut(" 004) "), mismatch},
        {"cut in the standard errors", cut("  5                    "), mismatch},
        {"two lines only", cut("Parameter values"), mismatch},
        {"a value that is not a number", replace("-1.0000000E+00", "  -1.0000x0E+00"), mismatch},
        {"a parameter number out of range", replace("\r\n  6        ", "\r\n  9        "), mismatch},
        {"grid 1 not computed", replace("1.0600000E+00", "-1.000000E+00"), "Covariance grid not usable"},
    };
    for (const Case& k : cases) {
        Link t;
        const std::string path = t.Write(t.Full(), "damaged.cov");
        platform::WriteWholeFileSafely(path, k.text);
        t.Choose(path);
        t.b.AnswerMsgBox(k.title, platform::vbOK);
        ReadCovarianceFile(t.app, t.P, t.Step, t.Fuse);
        EXPECT_FALSE(t.L().CovFileOK) << k.what;
        EXPECT_TRUE(t.ClosedAfter()) << k.what;
        ASSERT_EQ(t.b.msgBoxes.size(), 1u) << k.what;
        EXPECT_EQ(t.b.msgBoxes[0].title, k.title) << k.what;
    }
    // The refused grid is named; the other grids of the same file read.
    Link g;
    CovFile c = g.Full();
    c.se[6] = {-1, 0.5, 0.5};
    g.Read(c, "1", "Covariance grid not usable");
    EXPECT_NE(g.b.msgBoxes.at(0).text.find("Grid #1 "), std::string::npos);
    EXPECT_NE(g.b.msgBoxes.at(0).text.find("parameter #6"), std::string::npos);
    Link h;
    h.Read(c, "2");
    EXPECT_TRUE(h.L().CovFileOK);
    EXPECT_NEAR(h.L().VarUA(3), 0.25, 1E-12);
    // A missing file, and a cancelled dialog (no message, the flag as it was).
    Link m;
    m.Choose(m.Write(c) + ".missing");
    m.b.AnswerMsgBox("Covariance file not read", platform::vbOK);
    ReadCovarianceFile(m.app, m.P, m.Step, m.Fuse);
    EXPECT_FALSE(m.L().CovFileOK);
    EXPECT_EQ(m.b.msgBoxes.size(), 1u);
    Link n;
    n.app.unc.Cov.CovFileOK = platform::True;
    n.b.CancelFile();
    ReadCovarianceFile(n.app, n.P, n.Step, n.Fuse);
    EXPECT_EQ(n.L().CovFileName, "");
    EXPECT_TRUE(n.L().CovFileOK);
    EXPECT_TRUE(n.b.msgBoxes.empty());
    EXPECT_TRUE(n.b.inputPrompts.empty());
}

TEST(CovarianceLink, LinkGroups) {
    // Species 2 and 3 linked: Thetas "A", UAs "B"; the followers have step 0.
    Link t;
    t.Fuse(2) = t.Fuse(3) = "A";
    t.Fuse(5) = t.Fuse(6) = "B";
    t.Step(3) = t.Step(6) = 0;
    CovFile c = t.Full();
    t.Read(c);
    ASSERT_TRUE(t.L().CovFileOK);
    EXPECT_NEAR(t.L().VarTheta(3), 1.02 * 1.02, 1E-12);
    EXPECT_NEAR(t.L().VarUA(3), 1.05 * 1.05, 1E-12);
    EXPECT_DOUBLE_EQ(t.L().CorThetaUA(3), -0.2);
    EXPECT_NEAR(t.L().VarTheta(1), 1.01 * 1.01, 1E-12);

    auto refused = [](void (*edit)(Link&)) {
        Link u;
        edit(u);
        u.Read(u.Full(), "1", "Unacceptable parameter linkage(s)");
        EXPECT_FALSE(u.L().CovFileOK);
        EXPECT_TRUE(u.ClosedAfter());
        EXPECT_EQ(u.b.msgBoxes.at(0).title, "Unacceptable parameter linkage(s)");
        return u.b.msgBoxes.at(0).text;
    };
    EXPECT_EQ(refused([](Link& u) { u.Fuse(2) = u.Fuse(5) = "A"; }),
              "A linkage of a Theta and an UA parameter was found");
    EXPECT_EQ(refused([](Link& u) { u.Fuse(2) = u.Fuse(3) = "A"; }),
              "Linkage patterns among species must be identical for the Thetas and UAs");
}
