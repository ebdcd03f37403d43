// Writing and reading the algorithm file through the main menu.
#include <gtest/gtest.h>

#include "EngineTestUtil.h"
#include "engine/AlgorithmFile.h"
#include "engine/Parameters.h"
#include "shell/frmMain.h"

using namespace tivelor;
using enginetest::ReadFile;
using enginetest::Temp;
using enginetest::WriteFile;

namespace {

struct Menu : enginetest::Started {
    frmMenu& menu() { return app.form<frmMenu>(); }
    ParameterSet& par = app.eng.par;
    explicit Menu(int n = 4) {
        app.form<frmMain>().Initialized = platform::True;
        menu().Unload();   // back with the rule for an initialized model
        menu().Show();
        enginetest::MakeParameterSet(app, n);
    }
    void Save(const std::string& path) {
        s.backend.ChooseFile(path);
        ASSERT_TRUE(menu().Save_Alg());
    }
    // then: the title of a message the load is expected to show.
    void Load(const std::string& path, const std::string& then = "") {
        s.backend.AnswerMsgBox("Load algorithm data", platform::vbYes);
        s.backend.ChooseFile(path);
        if (!then.empty()) s.backend.AnswerMsgBox(then, platform::vbOK);
        menu().cmdLoadAlg_Click();
    }
    std::string Buttons() {
        std::string out;
        for (auto* b : menu().TaskButtons()) out += b->Enabled ? "1" : "0";
        return out;
    }
};

std::string ParLine(const std::string& value, const std::string& step, const std::string& code, int i) {
    return value + step + code + "  Value, step then link for Parameter " + std::to_string(i) + "\r\n";
}

std::string Options(const std::string& tol = "1.0000000E-06", const std::string& fileFreq = "0",
                    const std::string& log = "minimize.tvl") {
    return RSetPad(tol, 14) + "  Simplex limit (+ for ABS, - for REL)\r\n" +
           "          9999  Maximum # of function calls (simplex) or iterations (Marquardt)\r\n" +
           "            10  Terminal output frequency\r\n" + RSetPad(fileFreq, 14) +
           "  File output frequency\r\n" + RSetPad(log, 14) + "  Name of output file\r\n" +
           " 1.0000000E-01  Step size reduction fraction\r\n";
}

std::string TwoParFile(const std::string& firstValue = " 1.0000000E+00", const std::string& tol = "1.0000000E-06",
                       const std::string& fileFreq = "0") {
    return "             2  Number of parameters\r\n" +
           ParLine(firstValue, "   1.0000000E-01", "   A", 1) +
           ParLine(" 2.0000000E+00", "   0.0000000E+00", "  ~~", 2) + Options(tol, fileFreq);
}

}  // namespace

TEST(AlgorithmFile, SavedLoadedAndSavedAgainIsByteIdentical) {
    Menu t(5);
    const double values[] = {0, 1.5, -2.25E-12, 123456789, 0, -0.5};
    const double steps[] = {0, -0.25, 1E-3, 0, 4E+22, 0.1};
    const char* codes[] = {"", "A", "~~", "AB", "A", "AB"};
    for (int i = 1; i <= 5; ++i) {
        t.par.ParValue(i) = values[i];
        t.par.StepSize(i) = steps[i];
        t.par.FuseCode(i) = codes[i];
    }
    t.app.eng.opt.ConvTol = -3E-5;
    t.app.eng.opt.MaxCalls = 123456;
    t.app.eng.opt.LogFileName = "/some/long/folder/run.tvl";
    const std::string first = Temp("roundtrip1.alg"), second = Temp("roundtrip2.alg");
    t.Save(first);
    EXPECT_EQ(t.app.eng.opt.LogFileName, "run.tvl");
    EXPECT_EQ(t.app.eng.AlgFileName, first);
    EXPECT_EQ(t.app.eng.AlgFileTitle, "roundtrip1");
    EXPECT_EQ(t.app.form<frmMain>().stbMain1.Panel(1), "Algorithm file: " + first);

    std::string text = ReadFile(first);
    EXPECT_EQ(text.substr(0, 38), "             5  Number of parameters\r\n");
    EXPECT_NE(text.find(" 1.5000000E+00  -2.5000000E-01   A  Value, step then link for Parameter 1\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("-3.0000000E-05  Simplex limit"), std::string::npos);
    EXPECT_NE(text.find("       run.tvl  Name of output file\r\n"), std::string::npos);

    SetDefaultAlgorithm(t.app);
    t.Load(first);
    EXPECT_EQ(t.app.eng.FileReadFailed, 0);
    EXPECT_EQ(t.par.FuseCode(3), "AB");
    EXPECT_EQ(t.par.FuseCode(2), "~~");
    EXPECT_EQ(t.par.ParValue(2), -2.25E-12);
    EXPECT_EQ(t.app.eng.opt.LogFileName, "run.tvl");
    t.Save(second);
    EXPECT_EQ(ReadFile(first), ReadFile(second));
}

TEST(AlgorithmFile, CodesAreReadInCapitalsOrAsNotFused) {
    Menu t(4);
    const std::string path = Temp("codes.alg");
    WriteFile(path, "             4  Number of parameters\r\n" +
                        ParLine(" 1.0000000E+00", "   1.0000000E-01", "  ab", 1) +
                        ParLine(" 1.0000000E+00", "   1.0000000E-01", "   c", 2) +
                        ParLine(" 1.0000000E+00", "   1.0000000E-01", "  1A", 3) +
                        ParLine(" 1.0000000E+00", "   1.0000000E-01", "  A~", 4) + Options() + "\r\n  \r\n");
    t.Load(path);
    EXPECT_EQ(t.app.eng.FileReadFailed, 0);
    EXPECT_EQ(t.par.FuseCode(1), "AB");
    EXPECT_EQ(t.par.FuseCode(2), "C");
    EXPECT_EQ(t.par.FuseCode(3), "~~");
    EXPECT_EQ(t.par.FuseCode(4), "~~");
    EXPECT_EQ(t.Buttons(), "111111111111");
    EXPECT_EQ(t.menu().cmdUserSummary.Caption, "Res&ults Summary");
}

TEST(AlgorithmFile, EachReadFailureShowsItsTextAndChangesNothing) {
    const std::string tail = "Algorithm file seems to have ";
    struct Case {
        std::string name, text, message;
    } cases[] = {
        {"count", "            10  Number of parameters\r\n" + ParLine(" 1.0000000E+00", "   1.0000000E-01", "  ~~", 1),
         "Algorithm file  " + Temp("count.alg") + "  has 10 parameters, but your model specifies 2"},
        {"short", "             2  Number of parameters\r\n" + ParLine(" 1.0000000E+00", "   1.0000000E-01", "   A", 1) +
                      ParLine(" 2.0000000E+00", "   0.0000000E+00", "  ~~", 2),
         tail + "too few lines of information - better check it!"},
        {"text", TwoParFile(" 1.0000000E+0x"),
         tail + "inappropriate, badly formatted, or missing, information - better check it!"},
        {"blankcode", "             2  Number of parameters\r\n" + ParLine(" 1.0000000E+00", "   1.0000000E-01", "    ", 1) +
                          ParLine(" 2.0000000E+00", "   0.0000000E+00", "  ~~", 2) + Options(),
         tail + "inappropriate, badly formatted, or missing, information - better check it!"},
        {"empty", "", tail + "too few lines of information - better check it!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Menu t(2);
        t.par.ParValue(1) = 42;
        t.par.StepSize(1) = 3;
        t.par.FuseCode(2) = "Q";
        t.app.eng.opt.ConvTol = 0.5;
        t.app.eng.opt.LogFileName = "keep.tvl";
        t.app.eng.AlgFileName = "old.alg";
        t.app.eng.AlgFileTitle = "old";
        t.app.eng.SimplexValid = 1;
        t.menu().cmdEditAlg.Enabled = true;   // the state after an earlier load
        const std::string before = t.Buttons();
        const std::string path = Temp(c.name + ".alg");
        WriteFile(path, c.text);
        t.Load(path, "Algorithm file - information input failed");
        ASSERT_FALSE(t.s.backend.msgBoxes.empty());
        const auto& box = t.s.backend.msgBoxes.back();
        EXPECT_EQ(box.text, c.message);
        EXPECT_EQ(box.style, 64);
        EXPECT_EQ(t.app.eng.FileReadFailed, 1);
        EXPECT_EQ(t.par.ParValue(1), 42);
        EXPECT_EQ(t.par.StepSize(1), 3);
        EXPECT_EQ(t.par.FuseCode(2), "Q");
        EXPECT_EQ(t.app.eng.opt.ConvTol, 0.5);
        EXPECT_EQ(t.app.eng.opt.LogFileName, "keep.tvl");
        EXPECT_EQ(t.app.eng.AlgFileName, "old.alg");
        EXPECT_EQ(t.app.eng.AlgFileTitle, "old");
        EXPECT_EQ(t.app.eng.SimplexValid, 1);
        EXPECT_EQ(t.Buttons(), before);
        EXPECT_TRUE(t.menu().Visible());
        EXPECT_FALSE(t.app.ui.files.IsOpen(201));
    }
}

TEST(AlgorithmFile, TooManyLinesKeepsTheValuesRead) {
    Menu t(2);
    const std::string path = Temp("many.alg");
    WriteFile(path, TwoParFile() + "\r\n" + "extra\r\n");
    t.Load(path, "Algorithm file - information input failed");
    EXPECT_EQ(t.s.backend.msgBoxes.back().text,
              "Algorithm file seems to have too many lines of information - better check it!");
    EXPECT_EQ(t.app.eng.FileReadFailed, 1);
    EXPECT_EQ(t.par.ParValue(2), 2);
    EXPECT_EQ(t.par.FuseCode(1), "A");
    EXPECT_EQ(t.app.eng.AlgFileName, path);
    EXPECT_EQ(t.app.eng.SimplexValid, 0);
}

TEST(AlgorithmFile, LoadingClosesTheLogAndFloorsTheTolerance) {
    struct Case {
        std::string tol;
        double expected;
    } cases[] = {{"1.0000000E-09", 1E-06}, {"-1.0000000E-09", -1E-06}, {"0.0000000E+00", 0},
                 {"-5.0000000E-07", -1E-06}, {"3.0000000E-07", 1E-06}, {"2.0000000E-03", 2E-03}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tol);
        Menu t(2);
        ASSERT_TRUE(t.app.ui.files.Open(203, Temp("open.tvl"), platform::FileMode::Output));
        t.app.eng.opt.FileFreq = 10;
        const std::string path = Temp("tol.alg");
        WriteFile(path, TwoParFile(" 1.0000000E+00", c.tol, "5"));
        t.Load(path);
        EXPECT_EQ(t.app.eng.opt.ConvTol, c.expected);
        EXPECT_EQ(t.app.eng.opt.FileFreq, 0);
        EXPECT_FALSE(t.app.ui.files.IsOpen(203));
        EXPECT_FALSE(t.app.ui.files.IsOpen(201));
    }
}

TEST(AlgorithmFile, DefaultsTakeADateTimeName) {
    Menu t(2);
    t.par.ParValue(1) = 5;
    t.s.backend.AnswerMsgBox("Load algorithm data", platform::vbNo);
    t.s.backend.AnswerMsgBox("Default Algorithm Values", platform::vbOK);
    t.menu().cmdLoadAlg_Click();
    EXPECT_EQ(t.app.eng.AlgFileName, "03140926.alg");
    EXPECT_EQ(t.app.eng.AlgFileTitle, "03140926");
    EXPECT_EQ(t.par.ParValue(1), 0);
    EXPECT_EQ(t.s.backend.msgBoxes.back().text,
              "                     Algorithm data set to default values.\r\n\r\n"
              "Algorithm file given the date-time based name: 03140926.alg");
    EXPECT_EQ(t.app.form<frmMain>().stbMain1.Panel(1), "Algorithm file: 03140926.alg");
    EXPECT_EQ(t.Buttons(), "111111111111");
}

TEST(AlgorithmFile, CancelledOrMissingFileChangesNothing) {
    Menu t(2);
    t.app.eng.AlgFileName = "old.alg";
    t.s.backend.AnswerMsgBox("Load algorithm data", platform::vbYes);
    t.s.backend.CancelFile();
    t.menu().cmdLoadAlg_Click();
    EXPECT_EQ(t.app.eng.AlgFileName, "old.alg");

    t.Load(Temp("no/such/file.alg"), "Problem Reading Algorithm File!");
    EXPECT_EQ(t.s.backend.msgBoxes.back().text,
              "Be suspicious that your algorithm file is not properly formatted");
    EXPECT_EQ(t.app.eng.AlgFileName, "old.alg");

    t.s.backend.AnswerMsgBox("Load algorithm data", platform::vbCancel);
    t.menu().cmdLoadAlg_Click();
    EXPECT_EQ(t.app.eng.AlgFileName, "old.alg");
}

TEST(AlgorithmFile, SaveProposesADateTimeNameAndReportsAFailedWrite) {
    Menu t(2);
    t.s.backend.CancelFile();
    EXPECT_TRUE(t.menu().Save_Alg());
    EXPECT_EQ(t.s.backend.dialogs.back().defaultName, "03140926.alg");
    EXPECT_EQ(t.s.backend.dialogs.back().title, "Save algorithm data in...");
    EXPECT_EQ(t.s.backend.dialogs.back().filterIndex, 3);

    t.app.eng.opt.LogFileName = "/a/b/c/d/e/f/gg/log.tvl";
    t.s.backend.ChooseFile(Temp("no/such/dir/x.alg"));
    t.s.backend.AnswerMsgBox("Save failed", platform::vbOK);
    EXPECT_FALSE(t.menu().Save_Alg());
    EXPECT_EQ(t.app.eng.AlgFileName, "03140926.alg");
    EXPECT_EQ(t.app.eng.opt.LogFileName, "/a/b/c/d/e/f/gg/log.tvl");
}

TEST(AlgorithmFile, LogAndTitleNamesAreCutSafely) {
    EXPECT_EQ(ShortLogFileName("minimize.tvl"), "minimize.tvl");
    EXPECT_EQ(ShortLogFileName("C:\\dir\\x.tvl"), "C:\\dir\\x.tvl");   // 14 or fewer: whole
    EXPECT_EQ(ShortLogFileName("/home/user/runs/log.tvl"), "log.tvl");
    EXPECT_EQ(ShortLogFileName("abcdefghijklmnopqrst.tvl"), "klmnopqrst.tvl");
    EXPECT_EQ(ShortLogFileName("/x/abcdefghijklmnop/"), "");

    std::string title = "kept";
    EXPECT_FALSE(FileTitleFromPath("plain.alg", title));
    EXPECT_EQ(title, "kept");
    EXPECT_TRUE(FileTitleFromPath("/a/b/run7.alg", title));
    EXPECT_EQ(title, "run7");
    EXPECT_TRUE(FileTitleFromPath("C:\\x\\ab", title));
    EXPECT_EQ(title, "ab");
    EXPECT_TRUE(FileTitleFromPath("/", title));
    EXPECT_EQ(title, "");
}
