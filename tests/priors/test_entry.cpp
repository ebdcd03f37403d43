// The prior editor's entry commands and its grid.
#include "PriorsTestSupport.h"

using namespace priortest;

TEST(PriorEntry, MeanAndSDKindsStoreWhatThePenaltyCanUse) {
    Program t;
    t.Editor();
    t.app.eng.SimplexValid = 1;
    t.Enter(1, "mnuN", {"-3", "-0.5"});
    EXPECT_EQ(t.Entry(1), "N -3 0.5 Unused Unused");
    EXPECT_EQ(t.Row(1), "Gaussian or Normal|-3.000E+000|5.000E-001|Unused|Unused");
    EXPECT_EQ(t.Colours(1), "12 12 12 0 0");
    EXPECT_EQ(t.app.eng.SimplexValid, 0);
    EXPECT_EQ(t.b.inputPrompts.back(), "Choose SD of parameter #1");

    // Refused without a message: a normal SD of 0, an answer that only begins
    // with a number, a gamma SD not below its mean (signed or in magnitude),
    // an exponential mean of 0, a ln-normal SD of 0, a beta mean of 1.
    const std::size_t boxes = t.b.msgBoxes.size();
    t.Enter(2, "mnuN", {"1", "0"});
    t.Enter(2, "mnuN", {"12abc", "1"});
    t.Enter(2, "mnuG", {"5", "5"});
    t.Enter(2, "mnuG", {"5", "-6"});
    t.Enter(2, "mnuG", {"0", "1"});
    t.Enter(2, "mnuE", {"0"});
    t.Enter(2, "mnuL", {"2", "0"});
    t.Enter(2, "mnuB", {"1", "0.1"});
    t.Enter(2, "mnuB", {"0", "0.1"});
    EXPECT_EQ(t.Entry(2), "U 1E-100 1E-100 Unused Unused");
    EXPECT_EQ(t.Row(2), "Uniform - unbounded|*|*|Unused|Unused");
    EXPECT_EQ(t.b.msgBoxes.size(), boxes);

    t.Enter(2, "mnuG", {"5", "4.9"});
    EXPECT_EQ(t.Entry(2), "G 5 4.9 Unused Unused");
    t.Enter(3, "mnuE", {"-4"});
    EXPECT_EQ(t.Entry(3), "E 4 4 Unused Unused");
    EXPECT_EQ(t.b.inputPrompts.back(),
              "For the exponential distribution the instantaneous decay rate is equal to the reciprocal of both the mean "
              "and the SD\r\n\r\nChoose the mean (and thus SD) of parameter #3");
    t.Enter(4, "mnuL", {"-2", "0.5"});
    EXPECT_EQ(t.Entry(4), "L 2 0.5 Unused Unused");
    EXPECT_EQ(t.b.PendingSteps(), 0u);
}

TEST(PriorEntry, CancelInAnyBoxLeavesThePriorAsItWas) {
    Program t;
    t.Editor();
    t.Enter(1, "mnuN", {"1", "2"});
    const std::size_t asked = t.b.inputPrompts.size();
    t.Enter(1, "mnuN", {nullptr});   // no second box
    EXPECT_EQ(t.b.inputPrompts.size(), asked + 1);
    t.Enter(1, "mnuN", {"5", nullptr});
    t.Enter(1, "MnuS", {"3", nullptr});
    t.Enter(1, "mnuT", {"1", "0", nullptr});
    EXPECT_EQ(t.Entry(1), "N 1 2 Unused Unused");
}

TEST(PriorEntry, BetaShowsItsShapesAndRefusesANegativeOne) {
    Program t;
    t.Editor();
    t.Enter(1, "mnuB", {"0.25", "0.2"}, "Beta");
    EXPECT_EQ(t.b.msgBoxes.back().text, "The corresponding values for 'a' & 'b' of \xC3\x9F (a,b) are: 0.9219 & 2.7656");
    EXPECT_EQ(t.b.msgBoxes.back().style, 64);
    EXPECT_EQ(t.Entry(1), "B 0.25 0.2 Unused Unused");

    t.Enter(2, "mnuB", {"0.5", "0.6"}, "Beta");
    EXPECT_EQ(t.b.msgBoxes.back().text, "An unacceptable (< 0) value for 'a' of \xC3\x9F (a,b) is: -0.1528");
    EXPECT_EQ(t.Entry(2), "U 1E-100 1E-100 Unused Unused");
    EXPECT_EQ(t.b.msgBoxes.back().title, "Beta");

    t.Enter(3, "mnuB", {"0.5", "-0.1"}, "Beta");
    EXPECT_EQ(t.Entry(3), "B 0.5 0.1 Unused Unused");
}

TEST(PriorEntry, FeetKindsAndTheDefault) {
    Program t;
    t.Editor();
    t.Enter(1, "MnuS", {"-2", "-0.2"});
    EXPECT_EQ(t.Entry(1), "S -2 0.2 Unused Unused");
    t.Enter(2, "mnuR", {"4", "0"});
    EXPECT_EQ(t.Entry(2), "D 4 0 Unused Unused");
    EXPECT_EQ(t.Row(2), "Right-side cliff|4.000E+000|0.000E+000|Unused|Unused");

    // Equal feet ask all four again; a right foot that is not wholly a number too.
    t.Enter(3, "mnuT", {"5", "1", "5", "1", "2", "0.5", "10x", "1", "2", "-0.5", "10.50", "-0.25"});
    EXPECT_EQ(t.b.inputPrompts.at(t.b.inputPrompts.size() - 2), "Choose right foot of parameter #3, it must exceed left foot.");
    EXPECT_EQ(t.Entry(3), "T 2 0.5 10.50 0.25");
    EXPECT_EQ(t.Row(3), "Uniform - bounded|2.000E+000|5.000E-001|10.50|0.25");
    EXPECT_EQ(t.Colours(3), "12 12 12 12 12");
    t.Enter(4, "mnuT", {"-3", "0", "-1", "0"});
    EXPECT_EQ(t.Entry(4), "T -3 0 -1 0");

    t.app.eng.SimplexValid = 1;
    t.Enter(3, "mnuU", {});
    EXPECT_EQ(t.Entry(3), "U 1E-100 1E-100 Unused Unused");
    EXPECT_EQ(t.Row(3), "Uniform - unbounded|*|*|Unused|Unused");
    EXPECT_EQ(t.Colours(3), "12 12 12 0 0");
    EXPECT_EQ(t.app.eng.SimplexValid, 0);
}

// An entry is taken as the priors file keeps it, four significant digits,
// and checked as such: the file always reads back.
TEST(PriorEntry, EntriesAreRoundedToWhatTheFileKeeps) {
    Program t;
    t.Editor();
    const char* kMax = "1.7976931348623157E+308";
    t.Enter(1, "mnuG", {"5", "4.9996"});            // 5.000 and 5.000
    t.Enter(1, "mnuN", {kMax, "1"});                 // 1.798E+308 is not a number
    t.Enter(1, "mnuN", {"1", "-1.7976931348623157E+308"});
    t.Enter(1, "mnuE", {kMax});
    t.Enter(1, "mnuB", {"0.99996", "0.001"});        // a mean of 1.000
    t.Enter(1, "MnuS", {kMax, "0"});
    EXPECT_EQ(t.Entry(1), "U 1E-100 1E-100 Unused Unused");
    t.Enter(1, "mnuN", {"1.23456", "0.000123456"});
    EXPECT_EQ(t.Entry(1), "N 1.235 0.0001235 Unused Unused");
    t.Enter(2, "mnuG", {"5", "4.9994"});
    EXPECT_EQ(t.Entry(2), "G 5 4.999 Unused Unused");

    // Feet equal once rounded are asked again; a right foot the file rounds
    // is shown rounded, one it keeps is shown as typed.
    const std::size_t asked = t.b.inputPrompts.size();
    t.Enter(3, "mnuT", {"10.4996", "0", "10.50", "0", "2", "0.123456", "10.12345", "-0.0123456"});
    EXPECT_EQ(t.b.inputPrompts.size(), asked + 8);
    EXPECT_EQ(t.Entry(3), "T 2 0.1235 10.12 0.01235");
    EXPECT_EQ(t.Row(3), "Uniform - bounded|2.000E+000|1.235E-001|10.12|0.01235");
    t.Enter(4, "mnuT", {"1", "0", kMax, "0"});
    EXPECT_EQ(t.Entry(4), "U 1E-100 1E-100 Unused Unused");
    EXPECT_EQ(t.b.PendingSteps(), 0u);

    tivelor::PriorTable read;
    int count = 0, line = 0;
    EXPECT_EQ(tivelor::ParsePriorsFile(tivelor::PriorsFileText(t.pr, 8), 8, read, count, line), "");
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(read.PriorMean(i), t.pr.PriorMean(i));
}

TEST(PriorGrid, LoadColoursAndTheClickHighlight) {
    Program t;
    t.pr.PriorType(2) = "N", t.pr.PriorMean(2) = 1, t.pr.PriorSD(2) = 0.5;
    t.pr.PriorType(5) = "T", t.pr.PriorMean(5) = 0, t.pr.PriorSD(5) = 0;
    t.pr.PriorMean2(5) = std::string("3"), t.pr.PriorSD2(5) = 0.0;
    tivelor::frmSetPriors& e = t.Editor();
    EXPECT_EQ(e.grdSetPriors.Rows(), 10);
    EXPECT_EQ(e.grdSetPriors.Row(), 2);
    EXPECT_EQ(e.grdSetPriors.TextMatrix(9, 6), "Parameter 8");
    EXPECT_EQ(t.Colours(1), "0 0 0 0 0");
    EXPECT_EQ(t.Colours(2), "1 1 1 0 0");
    EXPECT_EQ(t.Colours(5), "1 1 1 1 1");
    EXPECT_EQ(t.Row(5), "Uniform - bounded|0.000E+000|0.000E+000|3|0");
    EXPECT_EQ(t.app.form<tivelor::frmMain>().stbMain5.Panel(1),
              "Note: Unset parameters in your Bayesian Priors file have the value '*'");

    t.b.ClickCell("frmSetPriors.grdSetPriors", 3, 2);   // parameter 2
    EXPECT_EQ(t.Colours(2), "2 2 2 0 0");
    t.b.ClickCell("frmSetPriors.grdSetPriors", 6, 3);   // parameter 5, a T row: all five
    EXPECT_EQ(t.Colours(2), "1 1 1 0 0");
    EXPECT_EQ(t.Colours(5), "2 2 2 2 2");
    t.b.ClickCell("frmSetPriors.grdSetPriors", 7, 1);
    EXPECT_EQ(t.Colours(5), "1 1 1 1 1");
    EXPECT_EQ(e.RowHighlighted, 1);

    // An entry after a click: its colours stay when another row is clicked.
    t.Enter(1, "mnuN", {"0", "1"});
    EXPECT_EQ(e.RowHighlighted, 0);
    t.b.ClickCell("frmSetPriors.grdSetPriors", 4, 2);
    EXPECT_EQ(t.Colours(1), "12 12 12 0 0");
    EXPECT_EQ(t.Colours(3), "2 2 2 0 0");
}
