// Writing and reading the algorithm file through the main menu.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "EngineTestUtil.h"
#include "engine/AlgorithmFile.h"
#include "engine/Parameters.h"

using namespace tivelor;
using namespace enginetest;

namespace {

struct Menu : Started {
    frmMenu& menu() { return app.form<frmMenu>(); }
    ParameterSet& par = app.eng.par;
    explicit Menu(int n = 2) {
        app.form<frmMain>().Initialized = platform::True;
        menu().Unload();   // back with the rule for an initialized model
        menu().Show();
        MakeParameterSet(app, n);
    }
    void Load(const std::string& path, const std::string& thenTitle = "") {
        s.backend.AnswerMsgBox("Load algorithm data", platform::vbYes);
        s.backend.ChooseFile(path);
        if (!thenTitle.empty()) s.backend.AnswerMsgBox(thenTitle, platform::vbOK);
        menu().cmdLoadAlg_Click();
    }
    void Save(const std::string& path) {
        s.backend.ChooseFile(path);
        ASSERT_TRUE(menu().Save_Alg());
    }
};

std::string ParLine(const std::string& value, const std::string& code, int i) {
    return value + "   1.0000000E-01" + code + "  Value, step then link for Parameter " + std::to_string(i) + "\r\n";
}

// Two parameters with codes "ab" and "1A", then the options when tol is given.
std::string TwoPars(const std::string& first = " 1.0000000E+00", const std::string& tol = "") {
    std::string text = "             2  Number of parameters\r\n" + ParLine(first, "  ab", 1) +
                       ParLine(" 2.0000000E+00", "  1A", 2);
    if (tol.empty()) return text;
    return text + RSetPad(tol, 14) + "  Simplex limit (+ for ABS, - for REL)\r\n" +
           "          9999  Maximum # of function calls (simplex) or iterations (Marquardt)\r\n" +
           "            10  Terminal output frequency\r\n             5  File output frequency\r\n" +
           "  minimize.tvl  Name of output file\r\n 1.0000000E-01  Step size reduction fraction\r\n";
}

}  // namespace

TEST(AlgorithmFile, SavedLoadedAndSavedAgainIsByteIdentical) {
    Menu t(5);
    const double values[] = {0, 1.5, -2.25E-12, 123456789, 0, -0.5}, steps[] = {0, -0.25, 1E-3, 0, 4E+22, 0.1};
    const char* codes[] = {"", "A", "~~", "AB", "A", "AB"};
    for (int i = 1; i <= 5; ++i)
        std::tie(t.par.ParValue(i), t.par.StepSize(i), t.par.FuseCode(i)) = std::tie(values[i], steps[i], codes[i]);
    t.app.eng.opt.ConvTol = -3E-5;
    t.app.eng.opt.LogFileName = "/some/long/folder/run.tvl";
    const std::string first = Temp("roundtrip1.alg"), second = Temp("roundtrip2.alg");
    t.Save(first);
    EXPECT_EQ(t.app.eng.opt.LogFileName + "|" + t.app.eng.AlgFileTitle, "run.tvl|roundtrip1");
    EXPECT_EQ(t.app.form<frmMain>().stbMain1.Panel(1), "Algorithm file: " + first);
    const std::string text = ReadFile(first);
    EXPECT_EQ(text.substr(0, 113), "             5  Number of parameters\r\n"
                                   " 1.5000000E+00  -2.5000000E-01   A  Value, step then link for Parameter 1\r\n");
    EXPECT_NE(text.find("\r\n-3.0000000E-05  Simplex limit"), std::string::npos);
    EXPECT_NE(text.find("\r\n       run.tvl  Name of output file\r\n"), std::string::npos);

    SetDefaultAlgorithm(t.app);
    t.Load(first);
    EXPECT_EQ(std::make_pair(t.app.eng.FileReadFailed, t.par.ParValue(2)), std::make_pair(0, -2.25E-12));
    t.Save(second);
    EXPECT_EQ(ReadFile(first), ReadFile(second));
    // How the log file name and the title are cut.
    EXPECT_EQ(ShortLogFileName("C:\\dir\\x.tvl"), "C:\\dir\\x.tvl");   // 14 or fewer: whole
    EXPECT_EQ(ShortLogFileName("abcdefghijklmnopqrst.tvl"), "klmnopqrst.tvl");
    std::string a = "kept", b, c;
    EXPECT_FALSE(FileTitleFromPath("plain.alg", a));
    EXPECT_TRUE(FileTitleFromPath("C:\\x\\ab", b) && FileTitleFromPath("/a/.alg", c));
    EXPECT_EQ(a + "|" + b + "|" + c, "kept|ab|");
}

TEST(AlgorithmFile, EachReadFailureShowsItsTextAndChangesNothing) {
    const std::string seems = "Algorithm file seems to have ";
    const std::string bad = seems + "inappropriate, badly formatted, or missing, information - better check it!";
    const std::string few = seems + "too few lines of information - better check it!";
    struct Case {
        std::string name, text, message;
    } cases[] = {
        {"count", "            10  Number of parameters\r\n",
         "Algorithm file  " + Temp("count.alg") + "  has 10 parameters, but your model specifies 2"},
        {"short", TwoPars(), few},
        {"empty", "", few},
        {"text", TwoPars(" 1.0000000E+0x", "1E-06"), bad},
        // A bad option field is told as such, at the end of the file or not.
        {"badtol", TwoPars(" 1.0000000E+00", "tol"), bad},
        {"badlast", TwoPars(" 1.0000000E+00", "1E-06").replace(442, 14, "          0.1x"), bad},
        {"badtolshort", TwoPars() + "           tol\r\n          9999\r\n", bad},
        {"blankcode", "             2  Number of parameters\r\n" + ParLine(" 1.0000000E+00", "    ", 1) + "\r\nx\r\n", bad},
        {"many", TwoPars(" 1.0000000E+00", "1E-06") + "\r\nextra\r\n", seems + "too many lines of information - better check it!"},
        // A line too long to be read is not the end of the file, and still a line.
        {"longfirst", std::string(platform::FileTable::kMaxLine + 1, '2') + "\r\n",
         "Algorithm file has a line too long to be read - better check it!"},
        {"longmany", TwoPars(" 1.0000000E+00", "1E-06") + std::string(platform::FileTable::kMaxLine + 1, 'x'),
         seems + "too many lines of information - better check it!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Menu t;
        t.par.ParValue(1) = 42;
        t.par.FuseCode(2) = "Q";
        t.app.eng.opt.ConvTol = 0.5;
        t.app.eng.AlgFileName = "old.alg";
        t.app.eng.SimplexValid = 1;
        const std::string path = WriteFile(Temp(c.name + ".alg"), c.text);
        t.Load(path, "Algorithm file - information input failed");
        const auto& box = t.s.backend.msgBoxes.back();
        EXPECT_EQ(std::make_tuple(box.text, box.style, t.app.eng.FileReadFailed, t.menu().Visible(),
                                  t.app.ui.files.IsOpen(201)),
                  std::make_tuple(c.message, 64, 1, true, false));
        EXPECT_EQ(std::make_tuple(t.par.ParValue(1), t.par.FuseCode(2), t.app.eng.opt.ConvTol, t.app.eng.AlgFileName,
                                  t.app.eng.SimplexValid, t.menu().cmdLoadAlg.Enabled(), t.menu().cmdEditAlg.Enabled()),
                  std::make_tuple(42.0, std::string("Q"), 0.5, std::string("old.alg"), 1, true, false));
    }
}

TEST(AlgorithmFile, LoadingReadsCodesClosesTheLogAndFloorsTheTolerance) {
    const std::pair<std::string, double> cases[] = {
        {"1.0000000E-09", 1E-06}, {"-1.0000000E-09", -1E-06}, {"0.0000000E+00", 0}, {"2.0000000E-03", 2E-03}};
    for (const auto& [tol, expected] : cases) {
        SCOPED_TRACE(tol);
        Menu t;
        ASSERT_TRUE(t.app.ui.files.Open(203, Temp("open.tvl"), platform::FileMode::Output));
        t.app.eng.opt.FileFreq = 10;
        t.Load(WriteFile(Temp("tol.alg"), TwoPars(" 1.0000000E+00", tol) + "\r\n  \r\n"));
        EXPECT_EQ(std::make_tuple(t.app.eng.opt.ConvTol, t.app.eng.opt.FileFreq, t.app.ui.files.IsOpen(203)),
                  std::make_tuple(expected, 0, false));   // FileFreq 5 in the file
        EXPECT_EQ(t.par.FuseCode(1) + t.par.FuseCode(2) + t.menu().cmdUserSummary.Caption(), "AB~~Res&ults Summary");
        EXPECT_TRUE(t.menu().cmdEditAlg.Enabled);
    }
}

TEST(AlgorithmFile, CancelMissingFileDefaultsAndAFailedSave) {
    Menu t;
    t.s.backend.CancelFile();
    EXPECT_TRUE(t.menu().Save_Alg());   // a cancelled save proposes the date-time name
    EXPECT_EQ(t.s.backend.dialogs.back().defaultName + std::to_string(t.s.backend.dialogs.back().filterIndex),
              "03140926.alg3");
    t.app.eng.AlgFileName = "old.alg";
    t.s.backend.AnswerMsgBox("Load algorithm data", platform::vbYes);
    t.s.backend.CancelFile();
    t.menu().cmdLoadAlg_Click();
    t.Load(Temp("no/such/file.alg"), "Problem Reading Algorithm File!");
    EXPECT_EQ(t.s.backend.msgBoxes.back().text, "Be suspicious that your algorithm file is not properly formatted");
    EXPECT_EQ(t.app.eng.AlgFileName, "old.alg");

    t.par.ParValue(1) = 5;
    t.app.eng.opt = MinOptions{-5, 1, 2, 10, "x.tvl", 0.5};
    ASSERT_TRUE(t.app.ui.files.Open(203, Temp("defaults.tvl"), platform::FileMode::Output));
    t.s.backend.AnswerMsgBox("Load algorithm data", platform::vbNo);
    t.s.backend.AnswerMsgBox("Default Algorithm Values", platform::vbOK);
    t.menu().cmdLoadAlg_Click();
    const MinOptions& o = t.app.eng.opt;
    EXPECT_EQ(std::tie(o.ConvTol, o.MaxCalls, o.TerminalFreq, o.FileFreq, o.LogFileName, o.StepReduction),
              std::make_tuple(1E-06, 9999L, 10, 0, std::string("minimize.tvl"), 0.1));
    EXPECT_EQ(std::make_tuple(t.app.eng.AlgFileTitle, t.par.ParValue(1), t.app.ui.files.IsOpen(203)),
              std::make_tuple(std::string("03140926"), 0.0, false));
    EXPECT_EQ(t.s.backend.msgBoxes.back().text,
              "                     Algorithm data set to default values.\r\n\r\n"
              "Algorithm file given the date-time based name: 03140926.alg");

    // A failed write saves nothing and keeps the log file name.
    t.app.eng.opt.LogFileName = "/a/b/c/d/e/f/gg/log.tvl";
    t.s.backend.ChooseFile(Temp("no/such/dir/x.alg"));
    t.s.backend.AnswerMsgBox("Save failed", platform::vbOK);
    EXPECT_FALSE(t.menu().Save_Alg());
    EXPECT_EQ(t.app.eng.opt.LogFileName, "/a/b/c/d/e/f/gg/log.tvl");
}

// Every finite value, of either sign and any magnitude, is written within its
// columns and reads back to seven significant digits; the steps carry the
// opposite sign, so a cut sign in their 14 read columns would show.
TEST(AlgorithmFile, EveryFiniteValueSurvivesSaveAndReload) {
    std::vector<double> values;
    for (double m : {1.0, 9.99999996, 1.2345678, 4.5}) {
        for (int e : {-320, -310, -308, -300, -101, -100, -99, -10, -1, 0, 7, 99, 100, 101, 250, 307}) {
            const double v = m * std::pow(10.0, e);
            values.push_back(v);
            values.push_back(-v);
        }
    }
    const double extremes[] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::min(),
                               std::numeric_limits<double>::denorm_min(), 0.0};
    for (double v : extremes) values.push_back(v), values.push_back(-v);
    const int n = static_cast<int>(values.size());
    Menu t(n);
    for (int i = 1; i <= n; ++i) t.par.ParValue(i) = values[i - 1], t.par.StepSize(i) = -values[i - 1];
    t.app.eng.opt.StepReduction = -1E-100;
    const std::string path = Temp("spread.alg");
    t.Save(path);
    const std::string text = ReadFile(path);
    std::size_t at = text.find("\r\n") + 2;
    for (int i = 1; i <= n; ++i, at = text.find("\r\n", at) + 2) {   // value, step and code in 34 columns
        EXPECT_EQ(text.substr(at + 34, 2), "  ") << i;
        EXPECT_EQ(text[at + 13] != ' ' && text[at + 29] != ' ', true) << i;
    }
    SetDefaultAlgorithm(t.app);
    t.Load(path);
    ASSERT_EQ(t.app.eng.FileReadFailed, 0);
    auto close = [](double got, double want) {
        if (std::fabs(want) < std::numeric_limits<double>::min())   // below the normal range: as near as it goes
            return std::fabs(got - want) <= std::fabs(want) * 5E-7 + 1E-322;
        return std::fabs(got - want) <= std::fabs(want) * 5E-7;
    };
    for (int i = 1; i <= n; ++i) {
        EXPECT_PRED2(close, t.par.ParValue(i), values[i - 1]) << i;
        EXPECT_PRED2(close, t.par.StepSize(i), -values[i - 1]) << i;
    }
    EXPECT_PRED2(close, t.app.eng.opt.StepReduction, -1E-100);
}
