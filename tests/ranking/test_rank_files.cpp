// The ranking window's files: covariance files averaged, the multi-model
// statistics file, and algorithm data loaded and saved from the window.
#include <gtest/gtest.h>

#include <filesystem>

#include "RankTestSupport.h"
#include "platform/runtime.h"
#include "windows/frmMain.h"

namespace ranktest {
namespace {

using platform::vbOK;
using tivelor::frmRank;

// Two ranked models whose covariance files sit beside their algorithm
// files, with weights 0.75 and 0.25 and one parameter estimated.
struct Averaging : RankFixture {
    frmRank& w;
    std::string dir;
    Averaging() : w(Open()) {
        dir = enginetest::Temp(std::string("avg_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
        w.table.Resize(2);
        w.table.NumModels = 2;
        for (int m = 1; m <= 2; ++m) {
            tivelor::RankedModel& r = w.table.At(2, m);
            r.ModelID = m;
            r.ModelK = 1;
            r.ModelAlgFile = "m" + std::to_string(m) + ".alg";
            r.ModelCovFile = "m" + std::to_string(m) + ".cov";
            r.AlgFolder = dir;
            r.ModelAICWt = m == 1 ? 0.75 : 0.25;
        }
        w.cmdAverage.Enabled = true;
    }
    void Write(int m, const std::vector<CovParam>& pars) {
        enginetest::WriteFile(dir + "/m" + std::to_string(m) + ".cov", CovFileText(pars));
    }
    // Six parameters: the first nfree estimated with the given value and
    // standard errors, the others fixed at 0.5.
    static std::vector<CovParam> Pars(double value, double se, double se3 = -2, int nfree = 1) {
        std::vector<CovParam> p(6, CovParam{0.5, "~~", false, {0, 0, 0}});
        for (int i = 0; i < nfree; ++i) p[static_cast<std::size_t>(i)] = CovParam{value + i, "~~", true, {se, se, se3 == -2 ? se : se3}};
        return p;
    }
    // Line of parameter p in the averaging text.
    std::string Line(int p) {
        std::string t = w.txtAverage.Text();
        std::size_t at = 0;
        for (int k = 0; k < 4 + p; ++k) at = t.find("\r\n", at) + 2;
        return t.substr(at, t.find("\r\n", at) - at);
    }
};

TEST(RankFiles, AveragingReadsTheCovarianceFilesBesideTheAlgorithmFiles) {
    Averaging a;
    a.Write(1, Averaging::Pars(10, 1));
    a.Write(2, Averaging::Pars(14, 2, -1));
    a.s.backend.Click("frmRank.cmdAverage");
    EXPECT_EQ(a.Line(1), "          1       1.1000E+01      1.9620E+00      1.9620E+00     -1.0000E+00");
    EXPECT_EQ(a.Line(1).size(), 76u);
    // Parameters fixed in every model average to their value with no spread.
    EXPECT_EQ(a.Line(2), "          2       5.0000E-01      0.0000E+00      0.0000E+00     -1.0000E+00");
    EXPECT_TRUE(a.w.table.AveragingDone);
    EXPECT_TRUE(a.w.lblAverage.Enabled);

    // With C-hat 2 the QAICc weights are used and the variances doubled.
    a.w.table.CHat = 2;
    a.w.table.At(2, 1).ModelQAICWt = 0.75;
    a.w.table.At(2, 2).ModelQAICWt = 0.25;
    a.s.backend.Click("frmRank.cmdAverage");
    EXPECT_EQ(a.Line(1).substr(28, 16), "      2.3298E+00");
}

TEST(RankFiles, AFusedFollowerTakesItsLeadersStandardError) {
    Averaging a;
    for (int m = 1; m <= 2; ++m) {
        auto p = Averaging::Pars(m == 1 ? 10 : 14, m);
        p[0].code = "AB";
        p[1] = CovParam{m == 1 ? 10.0 : 14.0, "AB", false, {0, 0, 0}};
        a.Write(m, p);
    }
    a.s.backend.Click("frmRank.cmdAverage");
    EXPECT_EQ(a.Line(2), a.Line(1).replace(10, 1, "2"));
}

// A file that is not there is told apart from one that is there but cannot
// be read as a covariance file.
TEST(RankFiles, AnUnusableCovarianceFileChangesNothing) {
    Averaging a;
    a.w.txtAverage.Text = "earlier";
    const std::string missing = "Sorry, the covariance file is missing for at least one ranked model";
    const std::string unusable = "Sorry, the covariance file " + a.dir + "/m2.cov of model 2 cannot be read as that model's covariance file";
    auto refused = [&](const std::string& why, const std::string& text) {
        a.s.backend.AnswerMsgBox("Can't average models", vbOK);
        a.s.backend.Click("frmRank.cmdAverage");
        EXPECT_EQ(a.w.txtAverage.Text(), "earlier") << why;
        EXPECT_EQ(a.s.backend.msgBoxes.back().text, text) << why;
    };
    a.Write(1, Averaging::Pars(10, 1));
    refused("missing second file", missing);
    std::string shortText = CovFileText(Averaging::Pars(14, 2));
    enginetest::WriteFile(a.dir + "/m2.cov", shortText.substr(0, shortText.size() / 2));
    refused("short file", unusable);
    for (const char* value : {"1.4000000E+xx", "          nan", "1.4000000E309"}) {
        std::string bad = CovFileText(Averaging::Pars(14, 2));
        bad.replace(bad.find("1.4000000E+01"), 13, value);
        enginetest::WriteFile(a.dir + "/m2.cov", bad);
        refused(value, unusable);
    }
    auto outOfRange = Averaging::Pars(14, 2);
    enginetest::WriteFile(a.dir + "/m2.cov", CovFileText(outOfRange).replace(CovFileText(outOfRange).rfind("  1"), 3, " 99"));
    refused("parameter number out of range", unusable);
    // A negative standard error counts as not computed.
    a.Write(2, Averaging::Pars(14, 2, -0.5));
    a.s.backend.Click("frmRank.cmdAverage");
    EXPECT_EQ(a.Line(1).substr(60), "     -1.0000E+00");
    // A placeholder name refuses before reading and disables the button.
    a.w.table.At(2, 2).ModelCovFile = tivelor::kNoSuchFile;
    a.w.cmdAverage.Enabled = true;
    a.s.backend.AnswerMsgBox("Can't average models", vbOK);
    a.s.backend.Click("frmRank.cmdAverage");
    EXPECT_FALSE(a.w.cmdAverage.Enabled);
}

TEST(RankFiles, AveragesThatLeaveTheRangeOfADoubleAreRefused) {
    Averaging a;
    a.Write(1, Averaging::Pars(10, 1E200));
    a.Write(2, Averaging::Pars(14, 1E200));
    a.s.backend.Click("frmRank.cmdAverage");
    EXPECT_EQ(a.Line(1).substr(28, 16), "     1.0000E+200");
    const std::string shown = a.w.txtAverage.Text();
    // With C-hat 1E300 these standard errors become 1E350.
    a.w.table.CHat = 1E300;
    a.w.table.At(2, 1).ModelQAICWt = 0.75;
    a.w.table.At(2, 2).ModelQAICWt = 0.25;
    a.s.backend.AnswerMsgBox("Can't average models", vbOK);
    a.s.backend.Click("frmRank.cmdAverage");
    EXPECT_EQ(a.s.backend.msgBoxes.back().text,
              "Sorry, the averages of the ranked models' estimates or standard errors are too large to be shown");
    EXPECT_EQ(a.w.txtAverage.Text(), shown);
}

// Three models ranked with C-hat 1 and 1.5, with and without averaging.
TEST(RankFiles, MultiModelStatisticsFilesMatchTheirGoldenCopies) {
    RankFixture f;
    // Each model's parameters are those its covariance file was saved for.
    auto parameters = [&](double value) {
        for (int i = 1; i <= 6; ++i) f.app.eng.par.ParValue(i) = i <= 4 ? value + (i - 1) : 0.5;
    };
    parameters(9);
    frmRank& w = f.Open();
    const std::string dir = enginetest::Temp("mms");
    std::filesystem::create_directories(dir);
    const std::vector<std::pair<double, std::string>> models = {
        {105, "meadow_binomial_all_species_free_and_unfused.alg"}, {100, "meadow_beta.alg"}};
    for (const auto& [F, name] : models) {
        enginetest::WriteFile(dir + "/" + name.substr(0, name.size() - 4) + ".cov", CovFileText(Averaging::Pars(F / 10, 1, -2, 4)));
        parameters(F / 10);
        f.Add(F, dir + "/" + name);
    }
    enginetest::WriteFile(dir + "/model1.cov", CovFileText(Averaging::Pars(9, 0.5, -2, 4)));
    w.table.At(1, 1).ModelCovFile = "model1.cov";
    w.table.At(1, 1).AlgFolder = dir;
    w.grdRank.SetTextMatrix(1, 7, "model1.cov");
    f.s.backend.AnswerInput("Model notes", "best guess,  with blanks");
    f.s.backend.ClickCell("frmRank.grdRank", 3, 9, true);
    f.s.backend.Click("frmRank.cmdRank");
    ASSERT_TRUE(w.cmdAverage.Enabled);
    auto save = [&](const std::string& name) {
        f.s.backend.ChooseFile(dir + "/" + name);
        f.s.backend.Click("frmRank.cmdSaveRank");
        return enginetest::ReadFile(dir + "/" + name);
    };
    auto golden = [](const std::string& name) {
        const std::string path = std::string(TIVELOR_SOURCE_DIR) + "/tests/ranking/golden/" + name;
        EXPECT_TRUE(std::filesystem::exists(path)) << path;
        return enginetest::ReadFile(path);
    };
    EXPECT_EQ(save("plain.mms"), golden("chat1.mms"));
    f.s.backend.Click("frmRank.cmdAverage");
    EXPECT_EQ(save("averaged.mms"), golden("chat1_averaged.mms"));
    f.s.backend.AnswerInput("Overdispersion correction", "1.5");
    f.s.backend.Click("frmRank.cmdQAICc");
    f.s.backend.Click("frmRank.cmdRank");
    EXPECT_EQ(save("quasi.mms"), golden("chat1.5.mms"));
    const auto& dlg = f.s.backend.dialogs.back();
    EXPECT_EQ(dlg.title, "Save model ranking results in...");
}

// A model takes only a covariance file saved for its own parameters (the
// covariance link's check): any other is treated as missing.
TEST(RankFiles, ACovarianceFileOfAnotherParameterSetIsNotTaken) {
    RankFixture f;
    const std::string dir = enginetest::Temp("mismatch");
    std::filesystem::create_directories(dir);
    // Files of four and of five estimated parameters valued 10, 11, ...; the
    // others fixed at 0.5.
    enginetest::WriteFile(dir + "/four.cov", CovFileText(Averaging::Pars(10, 1, -2, 4)));
    enginetest::WriteFile(dir + "/a.cov", CovFileText(Averaging::Pars(10, 1, -2, 5)));
    enginetest::WriteFile(dir + "/b.cov", CovFileText(Averaging::Pars(10, 1, -2, 5)));
    const std::string mismatch = "Algorithm file and covariance file parameter mismatch";
    const std::string disagreement = "Disagreement between the parameter value, step size or link code for parameter #";
    auto last = [&] { return f.s.backend.msgBoxes.back().title + ": " + f.s.backend.msgBoxes.back().text; };

    // Model a estimates four parameters; the file beside it was saved for five.
    for (int i = 1; i <= 6; ++i) f.app.eng.par.ParValue(i) = i <= 4 ? 10 + (i - 1) : 0.5;
    f.app.eng.AlgFileName = dir + "/a.alg";
    f.s.backend.AnswerInput("Enter constant", "0.5");
    f.s.backend.AnswerMsgBox(mismatch, vbOK);
    f.s.backend.Click("frmMenu.cmdRank");
    frmRank& w = f.app.form<frmRank>();
    ASSERT_FALSE(f.s.backend.msgBoxes.empty());
    EXPECT_EQ(last(), mismatch + ": " + disagreement + "5");
    EXPECT_EQ(f.s.backend.msgBoxes.back().style, platform::vbCritical + platform::vbInformation);
    EXPECT_EQ(f.Cell(1, 7), "No covariance file found");
    // Model b estimates five, and its file agrees: taken without a word.
    f.app.eng.par.ParValue(5) = 14;
    f.app.eng.par.StepSize(5) = 0.1;
    const std::size_t boxes = f.s.backend.msgBoxes.size();
    f.Add(100, dir + "/b.alg");
    EXPECT_EQ(f.Cell(2, 7), "b.cov");
    EXPECT_EQ(f.s.backend.msgBoxes.size(), boxes);
    // Ranked, the table cannot be averaged while a model has no usable file.
    f.s.backend.Click("frmRank.cmdRank");
    EXPECT_FALSE(w.cmdAverage.Enabled);

    // A name typed in the grid is checked against that row's model.
    const int aRow = w.table.At(2, 1).ModelAlgFile == "a.alg" ? 1 : 2;
    f.s.backend.AnswerInput("Choose an associated covariance file", "b.cov");
    f.s.backend.AnswerMsgBox(mismatch, vbOK);
    f.s.backend.ClickCell("frmRank.grdRank", aRow, 7, true);
    EXPECT_EQ(last(), mismatch + ": " + disagreement + "5");
    EXPECT_EQ(w.table.At(1, aRow).ModelCovFile + "|" + w.table.At(2, aRow).ModelCovFile + "|" + f.Cell(aRow, 7),
              "No covariance file found|No covariance file found|No covariance file found");
    f.s.backend.AnswerInput("Choose an associated covariance file", "four.cov");
    f.s.backend.ClickCell("frmRank.grdRank", aRow, 7, true);
    EXPECT_EQ(f.Cell(aRow, 7), "four.cov");
    f.s.backend.Click("frmRank.cmdRank");
    EXPECT_TRUE(w.cmdAverage.Enabled);

    // A file that has changed since it was taken is not used.
    enginetest::WriteFile(dir + "/b.cov", CovFileText(Averaging::Pars(11, 1, -2, 5)));
    f.s.backend.AnswerMsgBox("Can't average models", vbOK);
    f.s.backend.Click("frmRank.cmdAverage");
    EXPECT_EQ(last(), "Can't average models: Sorry, the covariance file " + dir +
                          "/b.cov of model 2 cannot be read as that model's covariance file");
    EXPECT_FALSE(w.table.AveragingDone);
    // As it was, it is averaged.
    enginetest::WriteFile(dir + "/b.cov", CovFileText(Averaging::Pars(10, 1, -2, 5)));
    f.s.backend.Click("frmRank.cmdAverage");
    EXPECT_TRUE(w.table.AveragingDone);
}

// A covariance file typed in the grid that cannot be read is told as such and not taken.
TEST(RankFiles, ACovarianceFileThatCannotBeReadIsToldAndNotTaken) {
    RankFixture f;
    const std::string dir = enginetest::Temp("unreadable/");
    std::filesystem::create_directories(dir + "folder.cov");
    enginetest::WriteFile(dir + "empty.cov", "");
    enginetest::WriteFile(dir + "long.cov", "x\r\n" + std::string(platform::FileTable::kMaxLine + 1, 'x'));
    f.Open();
    for (const auto& [name, text] : {std::pair<std::string, std::string>{"folder.cov", "could not be opened"},
                                     {"empty.cov", "is empty"}, {"long.cov", "has a line too long to be read"}}) {
        f.s.backend.AnswerInput("Choose an associated covariance file", dir + name);
        f.s.backend.AnswerMsgBox("Covariance file not read", vbOK);
        f.s.backend.ClickCell("frmRank.grdRank", 1, 7, true);
        EXPECT_EQ(f.s.backend.msgBoxes.back().text.find("The covariance file " + text + ":\r\n\r\n" + dir + name), 0u);
        EXPECT_NE(f.Cell(1, 7), dir + name);
    }
}

TEST(RankFiles, AlgorithmDataSavedFromTheWindowReadBackByteForByte) {
    RankFixture f;
    frmRank& w = f.Open();
    f.app.eng.par.FuseCode(3) = "AB";
    f.app.eng.par.FuseCode(4) = "AB";
    f.app.eng.par.StepSize(4) = 0;   // a follower, as the fuse set-up leaves it
    const std::string first = enginetest::Temp("rank_saved.alg"), second = enginetest::Temp("rank_again.alg");
    f.s.backend.ChooseFile(first);
    f.s.backend.Click("frmRank.cmdSaveAlg");
    const std::string text = enginetest::ReadFile(first);
    EXPECT_NE(text.find("AB  Value, step then link for: "), std::string::npos);
    EXPECT_EQ(f.app.form<tivelor::frmMain>().stbMain1.Panel(1), "Algorithm file: rank_saved");
    // Loading it adds a model; saving again writes the same bytes.
    f.app.eng.par.ParValue(1) = 7;
    f.s.backend.ChooseFile(first);
    f.s.backend.Click("frmRank.cmdLoadAlg");
    EXPECT_EQ(w.table.NumModels, 2);
    EXPECT_EQ(f.app.eng.par.ParValue(1), 0);
    f.s.backend.ChooseFile(second);
    f.s.backend.Click("frmRank.cmdSaveAlg");
    EXPECT_EQ(enginetest::ReadFile(second), text);

    // A file that is refused changes neither the name nor the table.
    const std::string bad = enginetest::WriteFile(enginetest::Temp("bad.alg"), "     3  Number of parameters\r\n");
    f.s.backend.ChooseFile(bad);
    f.s.backend.AnswerMsgBox("", vbOK);
    f.s.backend.Click("frmRank.cmdLoadAlg");
    EXPECT_EQ(f.app.eng.AlgFileName, second);
    EXPECT_EQ(w.table.NumModels, 2);
    // A cancelled dialog clears the averaging and nothing else.
    w.table.AveragingDone = -1;
    f.s.backend.CancelFile();
    f.s.backend.Click("frmRank.cmdLoadAlg");
    EXPECT_FALSE(w.table.AveragingDone);
    EXPECT_EQ(f.app.eng.AlgFileName, second);
}

}  // namespace
}  // namespace ranktest
