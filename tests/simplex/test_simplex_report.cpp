// The minimization log, the progress texts, the progress window and the
// Simplex button of the main menu.
#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "engine/ProgressText.h"
#include "platform/files.h"
#include "platform/runtime.h"
#include "simplex_fixture.h"

using namespace tivelor;
using namespace simplex_test;

TEST(SimplexLog, BlocksForFiveAndFourFreeParameters) {
    const std::string four =
        "    001)  1.0000000E+00    002)  2.0000000E+00    004)  4.0000000E+00    005)  5.0000000E+00\r\n";
    for (long nfree : {5, 4}) {
        SCOPED_TRACE(nfree);
        Bench b;   // parameter 3 fixed; the run starts at the minimum
        std::vector<double> v = {1, 2, 3, 4, 5, 6}, step = {1, 1, 0, 1, 1, -1};
        v.resize(nfree + 1);
        step.resize(nfree + 1);
        b.Params(v, step, Quadratic(v, std::vector<double>(v.size(), 1.0), 10));
        const std::string path = (std::filesystem::path(::testing::TempDir()) / "layout.tvl").string();
        ASSERT_TRUE(b.app.ui.files.Open(203, path, platform::FileMode::Output));
        b.app.eng.opt.FileFreq = 1;
        b.Ok("Simplex minimum");
        b.Minimize();
        b.app.ui.files.Close(203);
        std::string text;
        ASSERT_TRUE(platform::ReadWholeFile(path, text));

        const std::string block = four + (nfree == 5 ? "    006)  6.0000000E+00\r\n\r\n" : "\r\n\r\n");
        const std::string n = std::to_string(nfree);
        EXPECT_EQ(text.rfind("\r\n\r\nInitial parameter values:\r\n\r\n" + block +
                                 "Initial Simplex: Starting function value> 10. Max> 11. Min> 10.\r\n"
                                 "\r\nNote: 1 iterations, ",
                             0),
                  0u);
        EXPECT_NE(text.find(" restarts\r\nNumber of function values (parameter vectors) improved: "),
                  std::string::npos);
        EXPECT_NE(text.find("\r\nCurrent minimum found at these " + n + " adjusted parameter values: \r\n\r\n" +
                            block + "Current: Min> 10.      Max> "),
                  std::string::npos);
        const std::string last = "\r\n\r\nMinimum of 10. found at these " + n +
                                 " adjusted parameter values:\r\n\r\n" + block + "This result required ";
        const size_t at = text.find(last);
        ASSERT_NE(at, std::string::npos);
        EXPECT_EQ(text.find("\r\n", at + last.size()), text.size() - 4);   // the counts, one empty line
    }
}

TEST(SimplexDisplay, PanesShowTheInitialSimplexAndTheLastProgress) {
    for (int terminalFreq : {1, 0}) {
        Bench b;
        b.Params({4, -4}, {1, 0.5}, Quadratic({0, 0}, {1, 1}));
        b.app.eng.par.FuseCode(2) = "AB";   // carried by one parameter only: becomes "~~"
        b.app.eng.opt.TerminalFreq = terminalFreq;
        b.app.eng.opt.ConvTol = -1E-06;
        b.At(5, Step::Click, "frmSimplex.cmdStop");   // the yield of iteration 3
        b.s.backend.AnswerMsgBox("Simplex interrupt", platform::vbYes);
        b.Minimize();
        frmSimplex& w = b.app.form<frmSimplex>();
        EXPECT_EQ(w.rtbSimplexInitial.Text(),
                  terminalFreq == 0 ? ""
                                    : "\r\nInitial Simplex: Starting function value> 32. Max> 41. Min> 28.25\r\n"
                                      "\r\nInitial parameter values:\r\n\r\n"
                                      "    001)  4.0000000E+00  ~~  Par1\r\n"
                                      "    002) -4.0000000E+00  ~~  Par2\r\n");
        const std::string shown = w.rtbSimplex.Text;
        if (terminalFreq == 0) {
            EXPECT_EQ(shown, "");
            continue;
        }
        const SimplexState& s = b.app.simplex;
        EXPECT_EQ(shown.rfind("\r\nNote: 3 iterations, " + std::to_string(b.app.eng.NF) +
                                  " function calls, and 0 restarts\r\n\r\nCurrent: Min> ", 0), 0u);
        EXPECT_NE(shown.find("     Rel TC> "), std::string::npos);
        EXPECT_NE(shown.find("\r\n\r\nNumber of function values (parameter vectors) improved: " +
                             platform::Format(static_cast<double>(s.NBetter), "#0") + "; Action accepted: " +
                             s.SimplexAction +
                             "\r\n\r\nCurrent minimum found at these 2 adjusted parameter values:\r\n\r\n"),
                  std::string::npos);
        EXPECT_EQ(shown.substr(shown.size() - 4), "\r\n\r\n");
        EXPECT_EQ(w.cmdStop.Caption, "&Interrupt this minimization");
    }
}

TEST(SimplexDisplay, DrawnAtMostEverySoOftenAndAlwaysAtTheEndWithFormatsOwnDigits) {
    for (double tick : {0.0, 1.0}) {
        Bench b;
        b.Params({4, -4}, {1, 1}, Quadratic({0, 0}, {1, 1}));
        b.app.eng.opt.TerminalFreq = 1;
        b.s.clock.step = tick;
        std::string seen;
        b.At(5, Step::Call, "", [&] { seen = b.app.form<frmSimplex>().rtbSimplex.Text(); });
        b.Ok("Simplex minimum");
        b.Minimize();
        // At iteration 3; a clock that stands still draws only the first display.
        EXPECT_EQ(seen.rfind(tick > 0 ? "\r\nNote: 3 iterations" : "\r\nNote: 1 iterations", 0), 0u);
    }
    unsigned long long u = 88172645463325252ULL;
    for (int k = 0; k < 20000; ++k) {
        u ^= u << 13;
        u ^= u >> 7;
        u ^= u << 17;
        const double x = std::ldexp(static_cast<double>(u % 200000000) - 1E8, static_cast<int>(u % 41) - 20);
        ASSERT_EQ(FormatE7(x), platform::Format(x, "0.0000000E+00")) << x;
    }
    for (double x : {0.0, -0.0, 12345678.5, 1E100, -1E-100, 5E-324})
        EXPECT_EQ(FormatE7(x), platform::Format(x, "0.0000000E+00"));
    EXPECT_EQ(ParameterItem(1234, 1), "    1234)  1.0000000E+00");
    EXPECT_EQ(MinutesSeconds(65.4), "1:05");
}

TEST(SimplexWindow, LayoutSplitterAndFontSize) {
    Bench b;
    frmSimplex& w = b.app.form<frmSimplex>();
    EXPECT_EQ(w.cmdStop.Width, 14000);
    EXPECT_EQ(w.rtbSimplexInitial.Width, 13880);
    EXPECT_EQ(w.rtbSimplex.Top, 3000 + 375 + 15);
    EXPECT_EQ(w.rtbSimplex.Height, w.Height - 375 - 3000 - 400);
    w.Form_MouseDown(1, 0, 13500, 3370);   // within 400 twips of the right side
    EXPECT_EQ(w.SplitterDragging, 0);
    w.Form_MouseMove(0, 0, 100, 3370);
    EXPECT_EQ(w.MousePointer, 7);
    w.rtbSimplex_MouseMove(0, 0, 10, 10);
    EXPECT_EQ(w.MousePointer, 0);
    w.Form_MouseDown(2, 0, 100, 3395);
    w.Form_MouseMove(1, 0, 100, 2000);
    EXPECT_EQ(w.rtbSimplexInitial.Height, 1633);   // (2000 - 360) - 7.5
    EXPECT_EQ(w.rtbSimplex.Top, 1633 + 375 + 15);
    w.Form_MouseMove(1, 0, 100, 300);   // above the pane's top: the height stays
    w.Form_MouseUp(1, 0, 100, 300);
    EXPECT_EQ(w.rtbSimplexInitial.Height, 1633);
    EXPECT_EQ(w.SplitterDragging, 0);
    EXPECT_EQ(w.rtbSimplex.FontSize, 10);
    b.app.eng.free.NFree = 26;
    w.Form_Resize();
    EXPECT_EQ(w.rtbSimplex.FontSize, 8);
}

TEST(SimplexButton, NothingStaysBusyAfterARefusalAClosedWindowOrAnError) {
    Bench b;
    b.Params({4, -4}, {0, 0}, Quadratic({0, 0}, {1, 1}));
    b.MenuReady();
    b.Ok("There is nothing to do!");
    b.s.backend.Click("frmMenu.cmdSimplex");
    EXPECT_EQ(b.s.backend.msgBoxes.at(0).text, "All step sizes are zero");
    EXPECT_EQ(b.s.backend.msgBoxes.at(0).style, 48);
    EXPECT_EQ(b.app.sw.SimplexBusy, 0);
    EXPECT_TRUE(b.app.form<frmMenu>().cmdSimplex.Enabled());
    EXPECT_TRUE(b.app.form<frmMain>().mnuApplication.Enabled());

    // Closing the window during a run asks to stop, as Interrupt does.
    b.app.eng.par.StepSize(1) = b.app.eng.par.StepSize(2) = 1;
    b.app.eng.CovStore.ReDim(3, 3, 3);
    b.At(4, Step::Close, "frmSimplex");
    b.s.backend.AnswerMsgBox("Simplex interrupt", platform::vbYes);
    b.s.backend.Click("frmMenu.cmdSimplex");
    EXPECT_TRUE(b.app.IsLoaded<frmSimplex>());
    EXPECT_EQ(b.app.sw.SimplexBusy, 0);
    EXPECT_EQ(b.app.sw.CovDone, "off");
    EXPECT_EQ(b.app.eng.CovStore.UBound1(), 1);   // shrunk for a new simplex
    b.app.form<frmMenu>().Hide();
    b.s.backend.Close("frmSimplex");
    EXPECT_FALSE(b.app.IsLoaded<frmSimplex>());
    EXPECT_TRUE(b.app.form<frmMenu>().Visible());

    // A failure inside the model.
    b.app.eng.SimplexValid = 0;
    b.app.eng.TestModel = [](Vec<double>&, long) -> double { throw std::runtime_error("model failure"); };
    EXPECT_THROW(b.s.backend.Click("frmMenu.cmdSimplex"), std::runtime_error);
    EXPECT_EQ(b.app.sw.SimplexBusy, 0);
    EXPECT_TRUE(b.app.form<frmMain>().mnuApplication.Enabled());
    b.s.backend.Close("frmSimplex");
    EXPECT_TRUE(b.app.form<frmMenu>().Visible());
}
