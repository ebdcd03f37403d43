#include <cmath>

#include <gtest/gtest.h>

#include "ModelTestSupport.h"

namespace tivelor {
namespace {

using testing::CountText;
using testing::DataText;
using testing::ModelFixture;
using testing::TempFile;

const char* kNote = "Left-to-right data re-ordering";
const char* kFuse = "You are advised to fuse the following parameter groups BEFORE any grid search...";
const char* kFix = "You are advised to fix the following parameters AFTER any grid search...";

TEST(DataFile, SortsByDecreasingTotalWithTiesInFileOrder) {
    ModelFixture f;
    const auto path = TempFile("sort.dat", CountText({"A", "B", "C", "D"},
                                                     {{3, 6, 7, 10}, {4, 6, 0, 20}}));
    f.s.backend.AnswerMsgBox(kNote, platform::vbOK);
    ASSERT_TRUE(f.Setup(path, 4, 2, 40));
    ASSERT_EQ(f.s.backend.msgBoxes.size(), 1u);
    EXPECT_EQ(f.s.backend.msgBoxes[0].text,
              "Note: input data have been sorted in descending order of species abundance");
    EXPECT_EQ(f.s.backend.msgBoxes[0].style, 64);
    const ModelState& m = f.app.model;
    EXPECT_EQ(m.SpName(1), "D     ");
    EXPECT_EQ(m.SpName(2), "B     ");
    EXPECT_EQ(m.SpName(3), "A     ");
    EXPECT_EQ(m.SpName(4), "C     ");
    EXPECT_EQ(m.SpName(-3), "C     ");   // file order kept in the negative half
    EXPECT_EQ(m.Count(4, 1), 7);
    EXPECT_EQ(m.CumCount(1, 2), 30);
    EXPECT_EQ(m.CumCount(3, 1), 3);
    EXPECT_EQ(f.SampleSize, 56);
    EXPECT_EQ(f.NumPars, 8);

    // Already in decreasing order, ties included: no note.
    ModelFixture g;
    const auto sorted = TempFile("sorted.dat", CountText({"A", "B", "C"}, {{9, 3, 5}, {3, 4, 2}}));
    ASSERT_TRUE(g.Setup(sorted, 3, 2, 40));
    EXPECT_TRUE(g.s.backend.msgBoxes.empty());
}

TEST(DataFile, ReadsCountFieldsAsNumbers) {
    ModelFixture f;
    const auto path = TempFile("fields.dat", DataText({"A", "B", "C", "D", "E"},
                                                      {{"3.6", "2.5", "abc", "12a", " 1 2"},
                                                       {"40", "30", "30", "10", "5"}}));
    ASSERT_TRUE(f.Setup(path, 5, 2, 40));
    const ModelState& m = f.app.model;
    EXPECT_EQ(m.Count(-1, 1), 4);
    EXPECT_EQ(m.Count(-2, 1), 2);
    EXPECT_EQ(m.Count(-3, 1), 0);
    EXPECT_EQ(m.Count(-4, 1), 12);
    EXPECT_EQ(m.Count(-5, 1), 12);
    EXPECT_EQ(m.QuadID(1), "Q1    ");
}

TEST(DataFile, NamesParametersAndSetsQuadratProbabilities) {
    ModelFixture f;
    std::vector<std::string> names;
    std::vector<long> row;
    for (int i = 0; i < 12; ++i) {
        names.push_back("S" + std::to_string(i));
        row.push_back(40 - i);
    }
    const auto path = TempFile("names.dat", CountText(names, {row, row, row}));
    ASSERT_TRUE(f.Setup(path, 12, 3, 3));
    EXPECT_EQ(f.Names(7), "Theta for species #   7 in the defined habitat");
    EXPECT_EQ(f.Names(19), "# of unsampled individuals of species #   7 in the defined habitat");
    EXPECT_EQ(f.Names(12), "Theta for species #  12 in the defined habitat");
    const ModelState& m = f.app.model;
    EXPECT_EQ(m.QuadProb(1), 1.0 / 3);
    EXPECT_EQ(m.QuadProb(2), 1.0 / 2);
    EXPECT_EQ(m.QuadProb(3), 0.999999);   // every quadrat of the habitat sampled
    EXPECT_EQ(f.app.model.DataFileTitle, "names");

    ModelFixture g;
    ASSERT_TRUE(g.Setup(path, 12, 3, 10, true, true));
    EXPECT_EQ(g.Names(1), "Logit[Theta] for species #   1 in the defined habitat");
    EXPECT_EQ(g.Names(13),
              "Ln[# of unsampled individuals of species #   1 in the defined habitat]");
}

TEST(DataFile, AdvisesFusingBeforeFixing) {
    ModelFixture f;
    // Sorted species 3 and 4 are singletons with equal statistics.
    const auto path = TempFile("advice.dat", CountText({"A", "B", "C", "D"},
                                                       {{5, 2, 1, 0}, {4, 3, 0, 1}}));
    f.s.backend.AnswerMsgBox(kFuse, platform::vbOK);
    f.s.backend.AnswerMsgBox(kFix, platform::vbOK);
    ASSERT_TRUE(f.Setup(path, 4, 2, 40));
    ASSERT_EQ(f.s.backend.msgBoxes.size(), 2u);
    EXPECT_EQ(f.s.backend.msgBoxes[0].text,
              "Parameters to fuse with parameter 3: 4\r\nParameters to fuse with parameter 7: 8\r\n");
    EXPECT_EQ(f.s.backend.msgBoxes[0].style, 80);
    EXPECT_EQ(f.s.backend.msgBoxes[1].text,
              "Fix Theta at zero (0), or Logit[Theta] at -18.42, for parameters: 3 4");
    EXPECT_EQ(f.s.backend.msgBoxes[1].style, 80);
    const ModelState& m = f.app.model;
    EXPECT_EQ(m.NSingletons, 2);
    EXPECT_EQ(m.NUniques, 2);
    EXPECT_EQ(m.NDuplicates, 2);
    EXPECT_TRUE(m.UniqueCell(3, 1));
    EXPECT_EQ(m.JointAbsent(3, 4), 0);
    EXPECT_EQ(m.JointAbsent(3, 3), 1);
    EXPECT_EQ(m.OccupiedFrac(3), 0.5);
    EXPECT_EQ(m.AskGuessInitial, platform::True);
}

// A failed set-up shows its message and leaves the model and the parameter set
// as they were.
class FailedSetup : public ::testing::Test {
protected:
    void SetUp() override {
        good = TempFile("good.dat", CountText({"A", "B"}, {{5, 2}, {4, 3}, {0, 1}}));
        ASSERT_TRUE(f.Setup(good, 2, 3, 40));
        f.P(1) = 0.25;
        f.Eval(1);
        before = f.F;
    }
    void ExpectFailure(const std::string& title, const std::string& text) {
        ASSERT_FALSE(f.app.model.SetupOK);
        ASSERT_FALSE(f.s.backend.msgBoxes.empty());
        EXPECT_EQ(f.s.backend.msgBoxes.back().title, title);
        EXPECT_EQ(f.s.backend.msgBoxes.back().text, text);
        EXPECT_FALSE(f.s.backend.Ended());
        EXPECT_EQ(f.NumPars, 4);
        EXPECT_EQ(f.P(1), 0.25);
        EXPECT_EQ(f.app.model.NSpp, 2);
        EXPECT_EQ(f.app.model.DataFile, good);
        EXPECT_EQ(f.Eval(2), before);
    }
    ModelFixture f;
    std::string good;
    double before = 0;
};

TEST_F(FailedSetup, TooFewSpecies) {
    const auto path = TempFile("three.dat", CountText({"A", "B", "C"}, {{1, 2, 3}}));
    f.s.backend.AnswerMsgBox("Fatal error: input overun", platform::vbOK);
    f.Setup(path, 5, 1, 40);
    ExpectFailure("Fatal error: input overun",
                  "Attempt to read left past the last species in a data file with only 3 species");
    EXPECT_EQ(f.s.backend.msgBoxes.back().style, 64);
}

TEST_F(FailedSetup, TooFewQuadrats) {
    std::vector<std::vector<long>> rows(10, std::vector<long>{1, 2});
    const auto path = TempFile("ten.dat", CountText({"A", "B"}, rows));
    f.s.backend.AnswerMsgBox("Fatal error: input overun", platform::vbOK);
    f.Setup(path, 2, 12, 40);
    ExpectFailure("Fatal error: input overun",
                  "Attempt to read down past the last quadrat in a data file with only 10 quadrats");
}

TEST_F(FailedSetup, UnguardedInputs) {
    const std::string title = "Initialization input error";
    f.s.backend.AnswerMsgBox(title, platform::vbOK);
    f.Setup(good, 2, 3, 2);
    ExpectFailure(title, "More quadrats sampled (3) than the defined habitat holds (2)");
    f.s.backend.AnswerMsgBox(title, platform::vbOK);
    f.Setup(good, 0, 3, 40);
    ExpectFailure(title, "The number of species must be a whole number from 1 to 32767");
    f.s.backend.AnswerMsgBox(title, platform::vbOK);
    f.Setup(good, 2, -1, 40);
    ExpectFailure(title, "The number of quadrats sampled must be a whole number from 1 to 32767");
    f.s.backend.AnswerMsgBox(title, platform::vbOK);
    f.Setup(good, 2, 3, 0);
    ExpectFailure(title, "The number of quadrats in the defined habitat must be a whole number "
                         "from 1 to 2147483647");
}

TEST_F(FailedSetup, BadDataFiles) {
    const std::string title = "Data file error";
    const auto empty = TempFile("empty.dat", "");
    f.s.backend.AnswerMsgBox(title, platform::vbOK);
    f.Setup(empty, 2, 3, 40);
    ExpectFailure(title, "The data file " + empty + " is empty");

    const auto negative = TempFile("negative.dat", CountText({"A", "B"}, {{5, 2}, {4, -3}}));
    f.s.backend.AnswerMsgBox(title, platform::vbOK);
    f.Setup(negative, 2, 2, 40);
    ExpectFailure(title, "The count \"    -3\" of species 2 in quadrat 2 (Q2) is not a count of "
                         "individuals");

    const auto zero = TempFile("zero.dat", CountText({"A", "B"}, {{5, 0}, {4, 0}, {0, 7}}));
    f.s.backend.AnswerMsgBox(title, platform::vbOK);
    f.Setup(zero, 2, 2, 40);   // species B is found only in the unread third record
    ExpectFailure(title, "Species 2 (B) has no individual counted in the 2 quadrats read: every "
                         "species in the data file must be found in at least one quadrat");

    f.s.backend.AnswerMsgBox(title, platform::vbOK);
    f.Setup(empty + ".missing", 2, 3, 40);
    ExpectFailure(title, "Cannot open the data file " + empty + ".missing");
}

TEST(DataFile, TitleOfShortNames) {
    ModelFixture f;
    const auto path = TempFile("ab", CountText({"A"}, {{2}}));
    ASSERT_TRUE(f.Setup(path, 1, 1, 5));
    EXPECT_EQ(f.app.model.DataFileTitle, "ab");
    const auto dat = TempFile(".dat", CountText({"A"}, {{2}}));
    ASSERT_TRUE(f.Setup(dat, 1, 1, 5));
    EXPECT_EQ(f.app.model.DataFileTitle, "");
}

}  // namespace
}  // namespace tivelor

namespace tivelor {
namespace {

TEST(DataFile, ExamplesLoadWithTheirDocumentedSettings) {
    struct Example {
        const char* file;
        int nSpp, nQuad;
        long nHab;
    };
    for (const Example& e : {Example{"meadow12.dat", 12, 8, 40}, Example{"bog10.dat", 10, 6, 30},
                             Example{"heath15.dat", 15, 10, 50}}) {
        testing::ModelFixture f;
        for (int k = 0; k < 3; ++k) f.s.backend.AnswerMsgBox("", platform::vbOK);
        ASSERT_TRUE(f.Setup(std::string(TIVELOR_SOURCE_DIR) + "/examples/" + e.file, e.nSpp,
                            e.nQuad, e.nHab, true, true))
            << e.file;
        for (int i = 1; i <= e.nSpp; ++i) f.P(e.nSpp + i) = 1;
        EXPECT_TRUE(std::isfinite(f.Eval(1)));
        EXPECT_GT(f.app.model.ESRCurrent, e.nSpp);
    }
}

}  // namespace
}  // namespace tivelor
