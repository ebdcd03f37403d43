// The minimization log, the progress texts, the progress window and the
// Simplex button of the main menu.
#include <algorithm>
#include <cmath>

#include "engine/ProgressText.h"
#include "platform/runtime.h"

#include "simplex_fixture.h"

using namespace tivelor;
using namespace simplex_test;

namespace {

// Runs to a confirmed minimum from the minimum itself with the log open.
std::vector<std::string> LoggedRun(const std::vector<double>& values,
                                   const std::vector<double>& steps, int fileFreq,
                                   long* iterations = nullptr) {
    Bench b;
    b.Params(values, steps);
    b.Objective(Quadratic(values, std::vector<double>(values.size(), 1.0), 10));
    std::string path = TempPath("layout.tvl");
    EXPECT_TRUE(b.app.ui.files.Open(203, path, platform::FileMode::Output));
    b.app.eng.opt.FileFreq = fileFreq;
    b.s.backend.AnswerMsgBox("Simplex minimum", platform::vbOK);
    b.Minimize();
    b.app.ui.files.Close(203);
    if (iterations) *iterations = b.app.simplex.NIter;
    return Lines(path);
}

const std::string kRecord4 =
    "    001)  1.0000000E+00    002)  2.0000000E+00    004)  4.0000000E+00    005)  5.0000000E+00";

}  // namespace

TEST(SimplexLog, FiveFreeParametersGiveARecordOfFourAndOneOfOne) {
    // Parameter 3 is fixed: the block lists parameter numbers.
    auto lines = LoggedRun({1, 2, 3, 4, 5, 6}, {1, 1, 0, 1, 1, -1}, 1);
    const std::vector<std::string> head = {
        "", "", "Initial parameter values:", "", kRecord4, "    006)  6.0000000E+00", "",
        "Initial Simplex: Starting function value> 10. Max> 11. Min> 10."};
    ASSERT_GE(lines.size(), head.size() + 12);
    for (size_t k = 0; k < head.size(); ++k) EXPECT_EQ(lines[k], head[k]) << "line " << k;

    std::vector<std::string> block(lines.begin() + 8, lines.begin() + 20);
    EXPECT_EQ(block[0], "");
    EXPECT_EQ(block[1].rfind("Note: 1 iterations, ", 0), 0u);
    EXPECT_EQ(block[2].rfind("Number of function values (parameter vectors) improved: ", 0), 0u);
    EXPECT_EQ(block[3], "");
    EXPECT_EQ(block[4], "Current minimum found at these 5 adjusted parameter values: ");
    EXPECT_EQ(block[5], "");
    EXPECT_EQ(block[6].size(), 4 * 23u);
    EXPECT_EQ(block[7].size(), 23u);
    EXPECT_EQ(block[8], "");
    EXPECT_EQ(block[9].rfind("Current: Min> 10.      Max> ", 0), 0u);
    EXPECT_NE(block[9].find("     Abs TC> "), std::string::npos);
    EXPECT_EQ(block[10], "");

    auto min = std::find_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.rfind("Minimum of ", 0) == 0; });
    ASSERT_NE(min, lines.end());
    ASSERT_LT(min + 6, lines.end());
    EXPECT_EQ(*min, "Minimum of 10. found at these 5 adjusted parameter values:");
    EXPECT_EQ(*(min - 1), "");
    EXPECT_EQ(*(min - 2), "");
    EXPECT_EQ(*(min + 1), "");
    EXPECT_EQ((min + 2)->size(), 4 * 23u);
    EXPECT_EQ((min + 3)->size(), 23u);
    EXPECT_EQ(*(min + 4), "");
    EXPECT_EQ((min + 5)->rfind("This result required ", 0), 0u);
    EXPECT_EQ(*(min + 6), "");
    EXPECT_EQ(min + 7, lines.end());
}

TEST(SimplexLog, FourFreeParametersGiveOneRecordAndTwoEmptyOnes) {
    auto lines = LoggedRun({1, 2, 3, 4, 5}, {1, 1, 0, 1, 1}, 1);
    const std::vector<std::string> head = {
        "", "", "Initial parameter values:", "", kRecord4, "", "",
        "Initial Simplex: Starting function value> 10. Max> 11. Min> 10."};
    ASSERT_GE(lines.size(), head.size());
    for (size_t k = 0; k < head.size(); ++k) EXPECT_EQ(lines[k], head[k]) << "line " << k;
    auto min = std::find_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.rfind("Minimum of ", 0) == 0; });
    ASSERT_LT(min + 5, lines.end());
    EXPECT_EQ(*(min + 3), "");
    EXPECT_EQ(*(min + 4), "");
    EXPECT_EQ((min + 5)->rfind("This result required ", 0), 0u);
}

TEST(SimplexLog, FrequencyDecidesWhichIterationsAreLoggedAndZeroWritesNothing) {
    long iterations = 0;
    auto lines = LoggedRun({1, 2}, {1, 1}, 3, &iterations);
    long notes = std::count_if(lines.begin(), lines.end(),
                               [](const std::string& l) { return l.rfind("Note: ", 0) == 0; });
    EXPECT_EQ(notes, (iterations + 2) / 3);   // iterations 1, 4, 7, ...
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.rfind("Number of", 0) == 0; }),
              0);
    EXPECT_TRUE(LoggedRun({1, 2}, {1, 1}, 0).empty());
}

TEST(SimplexDisplay, PanesShowTheInitialSimplexAndTheProgress) {
    Bench b;
    b.Params({4, -4}, {1, 0.5});
    b.app.eng.par.FuseCode(2) = "AB";   // a code only one parameter carries becomes "~~"
    b.Objective(Quadratic({0, 0}, {1, 1}));
    b.app.eng.opt.TerminalFreq = 1;
    b.app.eng.opt.ConvTol = -1E-06;
    b.At(5, Step::Click, "frmSimplex.cmdStop");
    b.s.backend.AnswerMsgBox("Simplex interrupt", platform::vbYes);
    b.Minimize();
    frmSimplex& w = b.app.form<frmSimplex>();
    EXPECT_EQ(w.rtbSimplexInitial.Text(),
              "\r\nInitial Simplex: Starting function value> 32. Max> 41. Min> 28.25\r\n\r\n"
              "Initial parameter values:\r\n\r\n"
              "    001)  4.0000000E+00  ~~  Par1\r\n"
              "    002) -4.0000000E+00  ~~  Par2\r\n");
    const std::string shown = w.rtbSimplex.Text;
    const SimplexState& s = b.app.simplex;
    std::string expectStart = "\r\nNote: 3 iterations, " + std::to_string(b.app.eng.NF) +
                              " function calls, and 0 restarts\r\n\r\nCurrent: Min> ";
    EXPECT_EQ(shown.rfind(expectStart, 0), 0u) << shown;
    EXPECT_NE(shown.find(" Rel TC> "), std::string::npos);
    EXPECT_NE(shown.find("\r\n\r\nNumber of function values (parameter vectors) improved: " +
                         platform::Format(static_cast<double>(s.NBetter), "#0") +
                         "; Action accepted: " + s.SimplexAction + "\r\n\r\n"
                         "Current minimum found at these 2 adjusted parameter values:\r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(shown.substr(shown.size() - 4), "\r\n\r\n");
    EXPECT_EQ(w.cmdStop.Caption, "&Interrupt this minimization");
}

TEST(SimplexDisplay, TheTextIsDrawnAtMostEverySoOftenAndAlwaysAtTheEnd) {
    for (double tick : {0.0, 1.0}) {
        Bench b;
        b.Params({4, -4}, {1, 1});
        b.Objective(Quadratic({0, 0}, {1, 1}));
        b.app.eng.opt.TerminalFreq = 1;
        b.s.clock.step = tick;
        std::string seen;
        Step look;
        look.kind = Step::Call;
        look.call = [&] { seen = b.app.form<frmSimplex>().rtbSimplex.Text(); };
        b.s.backend.AtDoEvents(5, look);   // at iteration 3's yield
        b.s.backend.AnswerMsgBox("Simplex minimum", platform::vbOK);
        b.Minimize();
        // A clock that stands still draws only the first display until the end.
        EXPECT_EQ(seen.rfind(tick > 0 ? "\r\nNote: 3 iterations" : "\r\nNote: 1 iterations", 0), 0u)
            << seen;
    }
}

TEST(SimplexDisplay, QuickValueFormatMatchesFormat) {
    std::vector<double> xs = {0.0, -0.0, 1, -1, 12345678.5, 193432.625, 9.99999995, 1E100,
                              -1E-100, 5E-324, 1.7976931348623157E308, 0.1, 2.0 / 3};
    unsigned long long u = 88172645463325252ULL;
    for (int k = 0; k < 20000; ++k) {
        u ^= u << 13;
        u ^= u >> 7;
        u ^= u << 17;
        double x = std::ldexp(static_cast<double>(u % 200000000) - 1E8, static_cast<int>(u % 41) - 20);
        xs.push_back(x);
    }
    for (double x : xs) ASSERT_EQ(FormatE7(x), platform::Format(x, "0.0000000E+00")) << x;
    EXPECT_EQ(ParameterItem(7, -2.5), "    007) -2.5000000E+00");
    EXPECT_EQ(ParameterItem(1234, 1), "    1234)  1.0000000E+00");
    EXPECT_EQ(MinutesSeconds(65.4), "1:05");
    EXPECT_EQ(MinutesSeconds(3599.6), "60:00");
}

TEST(SimplexDisplay, TerminalFrequencyZeroLeavesThePanesEmpty) {
    Bench b;
    b.Params({4, -4}, {1, 1});
    b.Objective(Quadratic({0, 0}, {1, 1}));
    b.app.eng.opt.TerminalFreq = 0;
    b.At(5, Step::Click, "frmSimplex.cmdStop");
    b.s.backend.AnswerMsgBox("Simplex interrupt", platform::vbYes);
    b.Minimize();
    EXPECT_EQ(b.app.form<frmSimplex>().rtbSimplexInitial.Text(), "");
    EXPECT_EQ(b.app.form<frmSimplex>().rtbSimplex.Text(), "");
}

TEST(SimplexWindow, LayoutSplitterAndFontSize) {
    Bench b;
    frmSimplex& w = b.app.form<frmSimplex>();
    EXPECT_EQ(w.Width, 14000);
    EXPECT_EQ(w.cmdStop.Width, 14000);
    EXPECT_EQ(w.rtbSimplexInitial.Width, 13880);
    EXPECT_EQ(w.rtbSimplex.Top, 3390);
    EXPECT_EQ(w.rtbSimplex.Height, w.Height - 375 - 3000 - 400);
    EXPECT_EQ(w.rtbSimplex.FontName, "Courier New");

    w.Form_MouseDown(1, 0, 13500, 3370);   // within 400 twips of the right side
    EXPECT_EQ(w.SplitterDragging, 0);
    w.Form_MouseMove(0, 0, 100, 3370);
    EXPECT_EQ(w.MousePointer, 7);
    w.rtbSimplex_MouseMove(0, 0, 10, 10);
    EXPECT_EQ(w.MousePointer, 0);
    w.Form_MouseDown(2, 0, 100, 3395);
    EXPECT_NE(w.SplitterDragging, 0);
    w.Form_MouseMove(1, 0, 100, 2000);
    EXPECT_EQ(w.rtbSimplexInitial.Height, 1633);
    EXPECT_EQ(w.rtbSimplex.Top, 1633 + 375 + 15);
    w.Form_MouseMove(1, 0, 100, 300);   // above the pane's top: the height stays
    EXPECT_EQ(w.rtbSimplexInitial.Height, 1633);
    w.Form_MouseUp(1, 0, 100, 300);
    EXPECT_EQ(w.SplitterDragging, 0);

    EXPECT_EQ(w.rtbSimplex.FontSize, 10);
    b.app.eng.free.NFree = 26;
    w.Form_Resize();
    EXPECT_EQ(w.rtbSimplex.FontSize, 8);
    EXPECT_EQ(w.rtbSimplexInitial.FontSize, 8);
}

TEST(SimplexButton, AllStepsZeroIsRefusedAndLeavesNothingBusy) {
    Bench b;
    b.Params({1, 2}, {0, 0});
    b.Objective(Quadratic({0, 0}, {1, 1}));
    b.MenuReady();
    b.s.backend.AnswerMsgBox("There is nothing to do!", platform::vbOK);
    b.s.backend.Click("frmMenu.cmdSimplex");
    ASSERT_EQ(b.s.backend.msgBoxes.size(), 1u);
    EXPECT_EQ(b.s.backend.msgBoxes[0].text, "All step sizes are zero");
    EXPECT_EQ(b.s.backend.msgBoxes[0].style, 48);
    EXPECT_EQ(b.app.sw.SimplexBusy, 0);
    EXPECT_EQ(b.evals, 0);
    EXPECT_TRUE(b.app.form<frmMenu>().Visible());
    EXPECT_TRUE(b.app.form<frmMenu>().cmdSimplex.Enabled());
    EXPECT_TRUE(b.app.form<frmMain>().mnuApplication.Enabled());
}

TEST(SimplexButton, ClosingTheWindowDuringARunStopsItCleanly) {
    Bench b;
    b.Params({4, -4}, {1, 1});
    b.Objective(Quadratic({0, 0}, {1, 1}));
    b.MenuReady();
    b.app.eng.CovStore.ReDim(3, 3, 3);
    b.At(4, Step::Close, "frmSimplex");
    b.s.backend.AnswerMsgBox("Simplex interrupt", platform::vbYes);
    b.s.backend.Click("frmMenu.cmdSimplex");
    EXPECT_EQ(b.Count("Simplex interrupt"), 1);
    EXPECT_TRUE(b.app.IsLoaded<frmSimplex>());
    EXPECT_EQ(b.app.sw.SimplexBusy, 0);
    EXPECT_EQ(b.app.sw.CovDone, "off");
    EXPECT_EQ(b.app.eng.CovStore.UBound1(), 1);   // work arrays shrunk for a new simplex
    EXPECT_EQ(b.app.eng.Simplex.UBound2(), 4);

    // After the run the window closes and the main menu is there.
    b.app.form<frmMenu>().Hide();
    b.app.form<frmMain>().stbMain5.SetPanel(3, "x");
    b.s.backend.Close("frmSimplex");
    EXPECT_FALSE(b.app.IsLoaded<frmSimplex>());
    EXPECT_TRUE(b.app.form<frmMenu>().Visible());
    EXPECT_EQ(b.Panel(3), "");
}
