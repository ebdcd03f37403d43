// The priors file: its layout, the round trip, and the files it refuses.
#include "PriorsTestSupport.h"

#include <limits>

#include "priors/frmLoadPriors.h"

using namespace priortest;
using tivelor::PriorVariant;

namespace {

// Needs eight parameters.
void Fill(tivelor::PriorTable& pr) {
    ASSERT_GE(pr.PriorType.UBound(), 7);
    pr.PriorType(1) = "N", pr.PriorMean(1) = -3, pr.PriorSD(1) = 0.5;
    pr.PriorType(2) = "T", pr.PriorMean(2) = -2.5E-123, pr.PriorSD(2) = 0;
    pr.PriorMean2(2) = std::string("10.50"), pr.PriorSD2(2) = 1.23456E+200;
    pr.PriorType(3) = "G", pr.PriorMean(3) = 98765.4, pr.PriorSD(3) = 0.00012346;
    pr.PriorType(4) = "B", pr.PriorMean(4) = 0.25, pr.PriorSD(4) = 0.2;
    pr.PriorType(5) = "S", pr.PriorMean(5) = -7, pr.PriorSD(5) = 0;
    pr.PriorType(6) = "E", pr.PriorMean(6) = 4, pr.PriorSD(6) = 4;
    pr.PriorType(7) = "L", pr.PriorMean(7) = 2, pr.PriorSD(7) = 1;
}

// Opens the file from the load-priors window of the main menu.
void Open(Program& t, const std::string& path) {
    t.b.Click("frmMenu.cmdBayesian");
    t.b.ChooseFile(path);
    t.b.AnswerMsgBox("Bayes information", vbOK);
    t.b.Click("frmLoadPriors.cmdOpen");
}

std::string Write(const std::string& name, const std::string& text) {
    const std::string path = Temp(name);
    EXPECT_TRUE(platform::WriteWholeFileSafely(path, text));
    return path;
}

}  // namespace

TEST(PriorsFile, LinesInFixedColumns) {
    Program t;
    Fill(t.pr);
    t.pr.PriorType(3) = "d", t.pr.PriorMean(3) = 2.5;
    EXPECT_EQ(tivelor::PriorsFileText(t.pr, 3),
              "3\r\n"
              "  1   N-3.000E+000 5.000E-001     Unused     Unused   Gaussian or Normal\r\n"
              "  2   T-2.500E-123 0.000E+000 1.050E+001 1.235E+200   Uniform - bounded\r\n"
              "  3   D 2.500E+000 1.235E-004     Unused     Unused   Right-side cliff\r\n");
    t.pr.Reset(3);
    EXPECT_EQ(tivelor::PriorsFileText(t.pr, 3).substr(3, 54),
              "  1   U 1.000E-100 1.000E-100     Unused     Unused   ");
}

TEST(PriorsFile, ValueKeptIsTheFieldReadBack) {
    EXPECT_EQ(tivelor::PriorsFileValue(4.9996), 5.0);
    EXPECT_EQ(tivelor::PriorsFileValue(-9.99951E-7), -1E-6);
    EXPECT_EQ(tivelor::PriorsFileValue(1.2344E-300), 1.234E-300);
    EXPECT_EQ(tivelor::PriorsFileValue(0), 0.0);
    EXPECT_FALSE(tivelor::PriorsFileValue(1.7976931348623157E+308));
    EXPECT_FALSE(tivelor::PriorsFileValue(-1.7976931348623157E+308));
    EXPECT_FALSE(tivelor::PriorsFileValue(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(tivelor::PriorsFileValue(std::numeric_limits<double>::quiet_NaN()));
}

TEST(PriorsFile, RoundTripKeepsLettersTextsAndFourDigits) {
    Program t;
    Fill(t.pr);
    const std::string path = Temp("round.pri");
    t.Editor();
    t.b.ChooseFile(path);
    t.b.Click("frmSetPriors.mnuSavePrior");
    EXPECT_EQ(t.app.shell.PriFileName, path);
    EXPECT_EQ(t.app.form<tivelor::frmMain>().stbMain1.Panel(2), "Bayesian priors file: round");

    Program u;   // a fresh start
    u.app.eng.SimplexValid = 1;
    Open(u, path);
    EXPECT_EQ(u.Entry(1), "N -3 0.5 Unused Unused");
    EXPECT_EQ(u.Entry(2), "T -2.5E-123 0 1.050E+001 1.235E+200");
    EXPECT_EQ(u.Entry(3), "G 98770 0.0001235 Unused Unused");
    EXPECT_EQ(u.Entry(5), "S -7 0 Unused Unused");
    EXPECT_EQ(u.Entry(8), "U 1E-100 1E-100 Unused Unused");
    EXPECT_EQ(u.app.sw.PriorsOn, "on");   // follows the loaded table
    EXPECT_EQ(u.app.eng.SimplexValid, 0);
    EXPECT_FALSE(u.s.ui.files.IsOpen(204));
    EXPECT_EQ(u.Row(2), "Uniform - bounded|-2.500E-123|0.000E+000|1.050E+001|1.235E+200");
}

TEST(PriorsFile, BlankFieldsAndLowerCaseLetters) {
    Program t(2);
    const std::string path = Write("blank.pri",
                                   "2\r\n"
                                   "  1   s                                   \r\n"
                                   "  2   t 1.000E+000 2.000E-001 3.000E+000 0.000E+000   Uniform - bounded\r\n");
    Open(t, path);
    EXPECT_EQ(t.Entry(1), "S 0 0  ");
    EXPECT_EQ(t.Entry(2), "T 1 0.2 3.000E+000 0.000E+000");
}

TEST(PriorsFile, ACountMismatchLoadsTheDefaults) {
    Program t(2);
    t.pr.PriorType(1) = "N", t.pr.PriorMean(1) = 1, t.pr.PriorSD(1) = 1;
    t.app.sw.PriorsOn = "on";
    const std::string path = Write("count.pri", "3\r\n");
    Open(t, path);
    EXPECT_EQ(t.b.msgBoxes.back().text, "Bayesian priors file  " + path +
                                            "  has 3 parameters, but your model specifies 2.\r\n"
                                            "Therefore default (uniform-unbounded) priors have been loaded instead.");
    EXPECT_EQ(t.b.msgBoxes.back().style, 80);
    EXPECT_EQ(t.Entry(1), "U 1E-100 1E-100 Unused Unused");
    EXPECT_EQ(t.app.sw.PriorsOn, "off");
    EXPECT_EQ(t.app.eng.FileReadFailed, 1);
    EXPECT_TRUE(t.app.IsLoaded<tivelor::frmSetPriors>());
}

TEST(PriorsFile, ARefusedFileNamesItsLineAndChangesNothing) {
    const std::string good = "  1   N 1.000E+000 5.000E-001     Unused     Unused   Gaussian or Normal\r\n";
    const std::pair<std::string, std::string> cases[] = {
        {"x\r\n", "line 1 does not hold the number of parameters"},
        {"2\r\n" + good, "line 3 is missing: the file ends early"},
        {"2\r\n" + std::string(platform::FileTable::kMaxLine + 1, ' ') + "\r\n" + good, "line 2 is too long to be read."},
        {"2\r\n" + good + "  2   Q 1.000E+000 5.000E-001     Unused     Unused\r\n", "line 3 has no known prior letter"},
        {"2\r\n" + good + "  2   N 1.0z0E+000 5.000E-001     Unused     Unused\r\n", "line 3 holds a first mean"},
        {"2\r\n" + good + "  2   N 1.000E+000 0.000E+000     Unused     Unused\r\n", "line 3 has a normal prior whose SD"},
        {"2\r\n" + good + "  2   E 0.000E+000 0.000E+000     Unused     Unused\r\n", "line 3 has an exponential prior"},
        {"2\r\n" + good + "  2   G 5.000E+000 6.000E+000     Unused     Unused\r\n", "line 3 has a gamma prior"},
        {"2\r\n" + good + "  2   B 5.000E-001 6.000E-001     Unused     Unused\r\n", "line 3 has a beta prior whose SD"},
        {"2\r\n" + good + "  2   S 1.000E+000-1.000E+000     Unused     Unused\r\n", "line 3 has a cliff prior"},
        {"2\r\n" + good + "  2   T 1.000E+000 0.000E+000 1.000E+000 0.000E+000\r\n", "line 3 has a uniform-bounded prior whose right foot"},
        {"2\r\n" + good + "  2   T 1.000E+000 0.000E+000     Unused 0.000E+000\r\n", "line 3 holds a second term"},
    };
    for (const auto& [text, fault] : cases) {
        SCOPED_TRACE(fault);
        Program t(2);
        t.pr.PriorType(2) = "D", t.pr.PriorMean(2) = 9, t.pr.PriorSD(2) = 1;
        t.app.shell.PriFileName = "before.pri";
        const std::string path = Write("refused.pri", text);
        Open(t, path);
        EXPECT_NE(t.b.msgBoxes.back().text.find(fault), std::string::npos) << t.b.msgBoxes.back().text;
        EXPECT_EQ(t.Entry(1), "U 1E-100 1E-100 Unused Unused");
        EXPECT_EQ(t.Entry(2), "D 9 1 Unused Unused");
        EXPECT_EQ(t.app.shell.PriFileName, "before.pri");
        EXPECT_FALSE(t.s.ui.files.IsOpen(204));
        EXPECT_FALSE(t.app.IsLoaded<tivelor::frmSetPriors>());
        EXPECT_TRUE(t.app.form<tivelor::frmMenu>().Visible());   // back where the user started
    }
}

TEST(PriorsFile, SavingProposesADateTimeNameAndAFailedWriteSaysSo) {
    Program t(2);
    tivelor::frmSetPriors& e = t.Editor();
    EXPECT_EQ(t.app.shell.PriFileName, "03140926.pri");   // from "Set or reset"
    t.app.shell.PriFileName = "";
    t.b.CancelFile();
    EXPECT_TRUE(e.Save_Priors());
    EXPECT_EQ(t.b.dialogs.back().defaultName, "03140926.pri");
    EXPECT_EQ(t.b.dialogs.back().title, "Save Bayesian priors file in...");
    EXPECT_EQ(t.b.dialogs.back().filter, "All files (*.*)|*.*|Bayesian prior files (*.pri)|*.pri");
    EXPECT_EQ(t.app.shell.PriFileName, "03140926.pri");

    t.b.ChooseFile(Temp("no_such_folder/p.pri"));
    t.b.AnswerMsgBox("Save failed", vbOK);
    EXPECT_FALSE(e.Save_Priors());
    EXPECT_EQ(t.app.shell.PriFileName, "03140926.pri");
    EXPECT_FALSE(t.s.ui.files.IsOpen(204));

    // The main menu's save shows the whole path, and keeps the title.
    const std::string path = Temp("menu.pri");
    t.app.shell.PriFileTitle = "kept";
    t.b.ChooseFile(path);
    EXPECT_TRUE(t.app.form<tivelor::frmMenu>().Save_Priors());
    EXPECT_EQ(t.app.form<tivelor::frmMain>().stbMain1.Panel(2), "Bayesian priors file: " + path);
    EXPECT_EQ(t.app.shell.PriFileTitle, "kept");
    EXPECT_EQ(Read(path).substr(0, 3), "2\r\n");
}
