#include <gtest/gtest.h>

#include "ModelTestSupport.h"
#include "model/InitNumbers.h"
#include "platform/files.h"
#include "platform/runtime.h"

namespace tivelor {
namespace {

using testing::CountFile;
using testing::ModelFixture;

TEST(DataFile, SortsByDecreasingTotalWithTiesInFileOrder) {
    ModelFixture f;
    const auto path = CountFile("sort.dat", {"A", "B", "C", "D"}, {{3, 6, 7, 10}, {4, 6, 0, 20}});
    f.s.backend.AnswerMsgBox("Left-to-right data re-ordering", platform::vbOK);
    ASSERT_TRUE(f.Setup(path, 4, 2, 40));
    ASSERT_EQ(f.s.backend.msgBoxes.size(), 1u);
    EXPECT_EQ(f.s.backend.msgBoxes[0].text + std::to_string(f.s.backend.msgBoxes[0].style),
              "Note: input data have been sorted in descending order of species abundance64");
    const ModelState& m = f.app.model;
    // File order is kept in the negative half.
    EXPECT_EQ(m.SpName(1) + m.SpName(2) + m.SpName(3) + m.SpName(4) + m.SpName(-3), "D     B     A     C     C     ");
    EXPECT_EQ(std::make_tuple(m.Count(4, 1), m.CumCount(1, 2), m.CumCount(3, 1)), std::make_tuple(7L, 30.0, 3.0));
    EXPECT_EQ(std::make_pair(f.SampleSize, f.NumPars), std::make_pair(56L, 8));

    // Already in decreasing order, ties included: no note.
    ModelFixture g;
    ASSERT_TRUE(g.Setup(CountFile("sorted.dat", {"A", "B", "C"}, {{9, 3, 5}, {3, 4, 2}}), 3, 2, 40));
    EXPECT_TRUE(g.s.backend.msgBoxes.empty());
}

TEST(DataFile, ReadsCountFieldsAsNumbersNamesParametersAndSetsQuadratProbabilities) {
    ModelFixture f;
    const auto path = testing::DataFile("fields.dat", {"A", "B", "C", "D", "E"},
                                        {{"3.6", "2.5", "abc", "12a", " 1 2"}, {"40", "30", "30", "10", "5"}});
    ASSERT_TRUE(f.Setup(path, 5, 2, 2));
    const ModelState& m = f.app.model;
    const long expected[] = {0, 4, 2, 0, 12, 12};   // half to even; letters 0; blanks skipped
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(m.Count(-i, 1), expected[i]) << i;
    EXPECT_EQ(m.QuadID(1) + m.DataFileTitle, "Q1    fields");
    EXPECT_EQ(std::make_pair(m.QuadProb(1), m.QuadProb(2)), std::make_pair(0.5, 0.999999));   // every quadrat sampled
    EXPECT_EQ(f.Names(5), "Theta for species #   5 in the defined habitat");
    EXPECT_EQ(f.Names(10), "# of unsampled individuals of species #   5 in the defined habitat");

    ModelFixture g;
    ASSERT_TRUE(g.Setup(path, 5, 2, 10, true, true));
    EXPECT_EQ(g.Names(1), "Logit[Theta] for species #   1 in the defined habitat");
    EXPECT_EQ(g.Names(6), "Ln[# of unsampled individuals of species #   1 in the defined habitat]");
    ASSERT_TRUE(g.Setup(CountFile("ab", {"A"}, {{2}}), 1, 1, 5));
    EXPECT_EQ(g.app.model.DataFileTitle, "ab");   // too short for an extension
}

// A spreadsheet's byte-order mark before the header does not shift its fields.
TEST(DataFile, AByteOrderMarkAtTheStartIsSkipped) {
    const std::string text = "Quad# ,SPA   ,SPB   ,\r\nQ1    ,     3,     1,\r\nQ2    ,     2,     1,\r\n";
    ModelFixture plain, marked;
    ASSERT_TRUE(plain.Setup(testing::WriteData("plain.dat", text), 2, 2, 2));
    ASSERT_TRUE(marked.Setup(testing::WriteData("marked.dat", "\xEF\xBB\xBF" + text), 2, 2, 2));
    for (int i = 1; i <= 2; ++i)
        EXPECT_EQ(marked.app.model.SpName(i) + marked.app.model.QuadID(i) + std::to_string(marked.app.model.Count(-i, 1)),
                  plain.app.model.SpName(i) + plain.app.model.QuadID(i) + std::to_string(plain.app.model.Count(-i, 1)));
}

TEST(DataFile, AdvisesFusingBeforeFixing) {
    ModelFixture f;
    // Sorted species 3 and 4 are singletons with equal statistics.
    const auto path = CountFile("advice.dat", {"A", "B", "C", "D"}, {{5, 2, 1, 0}, {4, 3, 0, 1}});
    f.s.backend.AnswerMsgBox("You are advised to fuse the following parameter groups BEFORE any grid search...",
                             platform::vbOK);
    f.s.backend.AnswerMsgBox("You are advised to fix the following parameters AFTER any grid search...",
                             platform::vbOK);
    ASSERT_TRUE(f.Setup(path, 4, 2, 40));
    ASSERT_EQ(f.s.backend.msgBoxes.size(), 2u);
    EXPECT_EQ(f.s.backend.msgBoxes[0].text,
              "Parameters to fuse with parameter 3: 4\r\nParameters to fuse with parameter 7: 8\r\n");
    EXPECT_EQ(f.s.backend.msgBoxes[1].text, "Fix Theta at zero (0), or Logit[Theta] at -18.42, for parameters: 3 4");
    EXPECT_EQ(f.s.backend.msgBoxes[0].style + f.s.backend.msgBoxes[1].style, 160);
    const ModelState& m = f.app.model;
    EXPECT_EQ(std::make_tuple(m.NSingletons, m.NUniques, m.NDuplicates), std::make_tuple(2, 2, 2));
    EXPECT_TRUE(m.UniqueCell(3, 1));
    EXPECT_EQ(std::make_tuple(m.JointAbsent(3, 4), m.JointAbsent(3, 3), m.OccupiedFrac(3)),
              std::make_tuple(0.0, 1.0, 0.5));
}

// A failed set-up shows its message and leaves the model and the parameter set
// as they were.
TEST(DataFile, AFailedSetupShowsItsMessageAndChangesNothing) {
    ModelFixture f;
    const auto good = CountFile("good.dat", {"A", "B"}, {{5, 2}, {4, 3}, {0, 1}});
    ASSERT_TRUE(f.Setup(good, 2, 3, 40));
    f.P(1) = 0.25;
    const double before = f.Eval(1);
    const std::string overrun = "Fatal error: input overun", input = "Invalid input",
                      data = "Data file error", empty = CountFile("empty.dat", {}, {});
    std::vector<std::vector<long>> ten(10, std::vector<long>{1, 2});
    const std::string longLine(platform::FileTable::kMaxLine, ' ');
    const std::string longName = testing::DataFile("long_name.dat", {"A", "B" + longLine}, {{"5", "2"}}),
                      longCount = testing::DataFile("long_count.dat", {"A", "B"},
                                                    {{"5", "2"}, {"4", "3"}, {"0", longLine + "1"}});
    struct Case {
        std::string path;
        int nSpp, nQuad;
        long nHab;
        std::string title, text;
        int style = 64;
    } cases[] = {
        {CountFile("three.dat", {"A", "B", "C"}, {{1, 2, 3}}), 5, 1, 40, overrun,
         "Attempt to read left past the last species in a data file with only 3 species"},
        {CountFile("ten.dat", {"A", "B"}, ten), 2, 12, 40, overrun,
         "Attempt to read down past the last quadrat in a data file with only 10 quadrats"},
        {good, 2, 3, 2, input,
         "The number of quadrats sampled (3) cannot exceed the number of quadrats in the defined habitat (2)", 48},
        {CountFile("negative.dat", {"A", "B"}, {{5, 2}, {4, -3}}), 2, 2, 40, data,
         "The count \"    -3\" of species 2 in quadrat 2 (Q2) is not a count of individuals"},
        {CountFile("zero.dat", {"A", "B"}, {{5, 0}, {4, 0}, {0, 7}}), 2, 2, 40, data,
         "Species 2 (B) has no individual counted in the 2 quadrats read: every species in the data file "
         "must be found in at least one quadrat"},
        {empty + ".missing", 2, 3, 40, data, "Cannot open the data file " + empty + ".missing"},
        // A line longer than any data file's is told as such, not as an end.
        {longName, 2, 3, 40, data,
         "Line 1 of the data file " + longName +
             " is too long to be a line of a data file (more than 1048576 characters)"},
        {longCount, 2, 3, 40, data,
         "Line 4 of the data file " + longCount +
             " is too long to be a line of a data file (more than 1048576 characters)"},
    };
    for (const Case& c : cases) {
        f.s.backend.AnswerMsgBox(c.title, platform::vbOK);
        EXPECT_FALSE(f.Setup(c.path, c.nSpp, c.nQuad, c.nHab));
        EXPECT_EQ(f.s.backend.msgBoxes.back().text + std::to_string(f.s.backend.msgBoxes.back().style),
                  c.text + std::to_string(c.style));
        EXPECT_FALSE(f.s.backend.Ended());
        EXPECT_EQ(std::make_tuple(f.NumPars, f.P(1), f.app.model.NSpp, f.app.model.DataFile),
                  std::make_tuple(4, 0.25, 2, good));
        EXPECT_EQ(f.Eval(2), before);
    }
}

// The dialog and the set-up read the three numbers by one rule: Val, rounded.
TEST(DataFile, TheInitializationNumbersAreRoundedAndCheckedByOneRule) {
    InitNumbers n;
    auto check = [&](const char* hab, const char* sampled, const char* species) {
        InitSettings s;
        s.cboQuadsinHab = hab;
        s.cboQuadsSampled = sampled;
        s.cboNSpecies = species;
        return CheckInitNumbers(s, n);
    };
    EXPECT_EQ(check("40.6", "2.5", "8.4"), "");
    EXPECT_EQ(std::make_tuple(n.NQuadHab, n.NQuad, n.NSpp), std::make_tuple(41L, 2, 8));
    EXPECT_EQ(check("40", "3", "16383"), "");
    EXPECT_EQ(check("40", "3", "16384"), "The number of species must be a whole number from 1 to 16383");
    EXPECT_EQ(check("40", "3", "0.4"), "The number of species must be a whole number from 1 to 16383");
    EXPECT_EQ(check("40", "32768", "3"), "The number of quadrats sampled must be a whole number from 1 to 32767");
    EXPECT_EQ(check("3E9", "3", "3"),
              "The number of quadrats in the defined habitat must be a whole number from 1 to 2147483647");

    // The set-up itself takes 2.6 species as 3.
    ModelFixture f;
    ASSERT_TRUE(f.Setup(CountFile("round.dat", {"A", "B", "C"}, {{6, 5, 4}, {3, 2, 1}}), 3, 2, 40));
    f.app.model.Init.cboNSpecies = "2.6";
    f.Call(f.P, 0);
    EXPECT_TRUE(f.app.model.SetupOK);
    EXPECT_EQ(f.NumPars, 6);
}

// A data set whose arrays the computer cannot hold is refused before any of
// them is sized, with the earlier model kept.
TEST(DataFile, ADataSetTooLargeForMemoryIsRefusedWithAMessage) {
    const double have = static_cast<double>(platform::PhysicalMemoryBytes());
    if (have == 0 || have > 50E9) GTEST_SKIP() << "this computer could hold the arrays";
    ModelFixture f;
    const auto good = CountFile("small.dat", {"A", "B"}, {{5, 2}, {4, 3}});
    ASSERT_TRUE(f.Setup(good, 2, 2, 40));
    // 16383 species by 32767 quadrats, each species found once: a small file
    // whose arrays need about 28 GB.
    const int nSpp = 16383, nQuad = 32767;
    std::string text = "Quad# ," + std::string(7 * nSpp, 'S') + "\r\n";
    for (int j = 1; j <= nQuad; ++j) text += "Q" + std::to_string(j) + "\r\n";
    const std::string path = testing::WriteData("huge.dat", text);
    f.s.backend.AnswerMsgBox("Initialization input error", platform::vbOK);
    EXPECT_FALSE(f.Setup(path, nSpp, nQuad, 100000));
    EXPECT_NE(f.s.backend.msgBoxes.back().text.find("The arrays for 16383 species in 32767 quadrats need about"),
              std::string::npos);
    EXPECT_EQ(std::make_tuple(f.NumPars, f.app.model.NSpp, f.app.model.DataFile), std::make_tuple(4, 2, good));
}

}  // namespace
}  // namespace tivelor
