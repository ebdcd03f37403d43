// The covariance-file link: hand-made files in the saved layout, checked
// against the parameters, read from the chosen grid, and their link groups.
#include <gtest/gtest.h>

#include "UncertaintyTestSupport.h"
#include "uncertainty/CovarianceLink.h"

using namespace tivelor;
using unctest::CovFile;
using unctest::Unc;

namespace {

// Three species, both links on, every parameter free; the standard error of
// parameter k on grid g is 0.01 k + g.
struct Link : Unc {
    Link() : Unc(2, 20, {5, 3, 1}, true, true) {
        const double v[6] = {-1, 0.5, 2, 0, 2, 3};
        for (int k = 1; k <= 6; ++k) P(k) = v[k - 1], Step(k) = 0.1;
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
    // Reads a file with that text; title: the refusal expected (answered OK).
    void ReadText(const std::string& text, const std::string& grid = "1", const std::string& title = "") {
        const std::string path = Write(CovFile{}, "run.cov");
        platform::WriteWholeFileSafely(path, text);
        Choose(path, grid);
        if (!title.empty()) b.AnswerMsgBox(title, platform::vbOK);
        ReadCovarianceFile(app, P, Step, Fuse);
        EXPECT_FALSE(s.ui.files.IsOpen(1));
        EXPECT_EQ(b.msgBoxes.size(), title.empty() ? 0u : 1u);
        EXPECT_EQ(app.unc.Cov.CovFileOK != 0, title.empty());
    }
    const CovarianceLink& L() const { return app.unc.Cov; }
};

const std::string kMismatch = "Algorithm file and covariance file parameter mismatch";
const std::string kLinkage = "Unacceptable parameter linkage(s)";

}  // namespace

TEST(CovarianceLink, VariancesAndCorrelationsOfTheChosenGrid) {
    for (int g = 1; g <= 3; ++g) {
        Link t;
        t.ReadText(t.Full().Text(), std::to_string(g));
        EXPECT_EQ(t.L().CovMethodLetter, "N");
        for (int s = 1; s <= 3; ++s) {
            const double eT = 0.01 * s + g, eU = 0.01 * (s + 3) + g;
            EXPECT_NEAR(t.L().VarTheta(s), eT * eT, 1E-12) << g << " " << s;
            EXPECT_NEAR(t.L().VarUA(s), eU * eU, 1E-12) << g << " " << s;
        }
        const double r1[3] = {0.3, 0.4, 0.5}, r3[3] = {1, -1, 0.1};
        EXPECT_DOUBLE_EQ(t.L().CorThetaUA(1), r1[g - 1]);
        EXPECT_DOUBLE_EQ(t.L().CorThetaUA(3), r3[g - 1]);
    }
    // The grid is asked until it is 1 to 3 (2.5 halves to even); analytical letter.
    Link t;
    CovFile c = t.Full();
    c.letter = 'a';
    t.b.ChooseFile(t.Write(c));
    for (const char* bad : {"0", "", "4"}) t.b.AnswerInput("Grid providing covariance results", bad);
    t.b.AnswerInput("Grid providing covariance results", "2.5");
    ReadCovarianceFile(t.app, t.P, t.Step, t.Fuse);
    EXPECT_EQ(t.L().CovGrid, 2);
    EXPECT_EQ(t.L().CovMethodLetter, "A");
    EXPECT_EQ(t.b.dialogs.at(0).filterIndex, 2);
    // A cancelled dialog: no grid question, no message, the flag as it was.
    Link n;
    n.app.unc.Cov.CovFileOK = platform::True;
    n.b.CancelFile();
    ReadCovarianceFile(n.app, n.P, n.Step, n.Fuse);
    EXPECT_EQ(n.L().CovFileName, "");
    EXPECT_TRUE(n.L().CovFileOK && n.b.msgBoxes.empty() && n.b.inputPrompts.empty());
}

TEST(CovarianceLink, FixedParametersAndNoCorrelationBlock) {
    Link t;
    t.Step(2) = t.Step(6) = 0;   // no standard-error lines: variance 0
    CovFile c = t.Full();
    c.optimistic = true;
    t.ReadText(c.Text());
    EXPECT_EQ(t.L().VarTheta(2) + t.L().VarUA(3), 0.0);
    EXPECT_NEAR(t.L().VarTheta(3), 1.03 * 1.03, 1E-12);
    for (int s = 1; s <= 3; ++s) EXPECT_EQ(t.L().CorThetaUA(s), 0.0);
    // A file that ends after its standard errors reads the same.
    Link u;
    const std::string full = u.Full().Text();
    u.ReadText(full.substr(0, full.find("Par#               Probabilities")));
    EXPECT_NEAR(u.L().VarUA(1), 1.04 * 1.04, 1E-12);
    EXPECT_EQ(u.L().CorThetaUA(1), 0.0);
}

TEST(CovarianceLink, ValueStepAndCodeChecks) {
    struct Case {
        void (*edit)(Link&, CovFile&);
        int bad;   // the parameter named, 0 when the file passes
    };
    const Case cases[] = {
        {[](Link& t, CovFile& c) { t.P(5) = 1, c.value[4] = 1.000001; }, 0},
        {[](Link& t, CovFile& c) { t.P(5) = 1, c.value[4] = 1.000002; }, 5},
        {[](Link&, CovFile& c) { c.value[3] = 1E-12; }, 4},   // against 0
        {[](Link&, CovFile& c) { c.step[2] = 0.2; }, 3},
        {[](Link&, CovFile& c) { c.code[1] = "A"; }, 2},
    };
    for (const Case& k : cases) {
        Link t;
        CovFile c = t.Full();
        k.edit(t, c);
        t.ReadText(c.Text(), "1", k.bad ? kMismatch : "");
        if (k.bad) {
            EXPECT_EQ(t.LastMsg().text,
                      "Disagreement between the parameter value, step size or link code for parameter #" +
                          std::to_string(k.bad));
        }
    }
}

TEST(CovarianceLink, DamagedFilesAreRefusedAndClosed) {
    const std::string full = Link().Full().Text();
    auto cut = [&](const std::string& marker) { return full.substr(0, full.find(marker)); };
    auto replace = [&](const std::string& from, const std::string& to) {
        std::string s = full;
        return s.replace(s.find(from), from.size(), to);
    };
    const std::pair<std::string, std::string> cases[] = {
        {cut(" 004) "), kMismatch},                                       // short parameter block
        {cut("\r\n  5             "), kMismatch},                         // short standard errors
        {replace("-1.0000000E+00", "  -1.0000x0E+00"), kMismatch},        // not a number
        {replace("\r\n  6          ", "\r\n  9          "), kMismatch},   // no such parameter
        {replace("1.0600000E+00", "-1.000000E+00"), "Covariance grid not usable"},
    };
    for (const auto& [text, title] : cases) Link().ReadText(text, "1", title);
    Link g;
    g.ReadText(cases[4].first, "1", cases[4].second);
    EXPECT_EQ(g.LastMsg().text.find("Grid #1 of this covariance file has no standard error for parameter #6"), 0u);
    // A standard error whose square leaves the range of a double.
    Link big;
    big.ReadText(replace("1.0600000E+00", "1.000000E+160"), "1", "Covariance grid not usable");
    EXPECT_EQ(big.LastMsg().text.find("Grid #1 of this covariance file has a standard error for parameter #6 whose"), 0u);
    // The refused grid is named; another grid of the same file reads.
    Link h;
    h.ReadText(replace("1.0600000E+00", "-1.000000E+00"), "2");
    EXPECT_NEAR(h.L().VarUA(3), 2.06 * 2.06, 1E-12);
}

// An empty file, a line too long or a folder is told as what it is.
TEST(CovarianceLink, AFileThatCannotBeReadSaysWhy) {
    const std::string full = Link().Full().Text(), path = Link().Write(CovFile{}), at = ":\r\n\r\n" + path;
    const std::string tooLong = std::string(platform::FileTable::kMaxLine + 1, '1') + "\r\n";
    std::filesystem::create_directories(path + ".d");
    const std::pair<std::string, std::string> cases[] = {
        {"", "The covariance file is empty" + at},
        {full.substr(0, full.find(" 002) ")) + tooLong, "The covariance file has a line too long to be read" + at},
        {full.substr(0, full.find("Par#,Par#")) + tooLong, "The covariance file has a line too long to be read" + at},
        {".d", "The covariance file could not be opened" + at + ".d\r\n\r\nNot a regular file."},
    };
    for (const auto& [text, message] : cases) {
        Link t;
        if (text[0] != '.') t.ReadText(text, "1", "Covariance file not read");
        else t.Choose(path + text), t.b.AnswerMsgBox("Covariance file not read", platform::vbOK),
             ReadCovarianceFile(t.app, t.P, t.Step, t.Fuse);
        EXPECT_EQ(t.LastMsg().text, message);
    }
}

TEST(CovarianceLink, LinkGroups) {
    // Species 2 and 3 linked: Thetas "A", UAs "B"; the followers have step 0.
    Link t;
    t.Fuse(2) = t.Fuse(3) = "A";
    t.Fuse(5) = t.Fuse(6) = "B";
    t.Step(3) = t.Step(6) = 0;
    t.ReadText(t.Full().Text());
    EXPECT_NEAR(t.L().VarTheta(3), 1.02 * 1.02, 1E-12);
    EXPECT_NEAR(t.L().VarUA(3), 1.05 * 1.05, 1E-12);
    EXPECT_DOUBLE_EQ(t.L().CorThetaUA(3), -0.2);

    Link a;
    a.Fuse(2) = a.Fuse(5) = "A";
    a.ReadText(a.Full().Text(), "1", kLinkage);
    EXPECT_EQ(a.LastMsg().text, "A linkage of a Theta and an UA parameter was found");
    Link b;
    b.Fuse(2) = b.Fuse(3) = "A";
    b.ReadText(b.Full().Text(), "1", kLinkage);
    EXPECT_EQ(b.LastMsg().text, "Linkage patterns among species must be identical for the Thetas and UAs");
}
