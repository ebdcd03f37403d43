// The minimization log, the progress texts, the progress window, and a run
// on an example data file through the model itself.
#include <cmath>
#include <filesystem>

#include "engine/Objective.h"
#include "engine/ProgressText.h"
#include "platform/files.h"
#include "platform/runtime.h"
#include "simplex_fixture.h"

using namespace simplex_test;

TEST(SimplexLog, BlocksForFiveAndFourFreeParameters) {
    const std::string four =
        "    001)  1.0000000E+00    002)  2.0000000E+00    004)  4.0000000E+00    005)  5.0000000E+00\r\n";
    for (long nfree : {5, 4}) {
        SCOPED_TRACE(nfree);
        Bench b;   // parameter 3 fixed; the run starts at the minimum
        std::vector<double> v = {1, 2, 3, 4, 5, 6}, step = {1, 1, 0, 1, 1, -1};
        v.resize(nfree + 1), step.resize(nfree + 1);
        b.Params(v, step, Quadratic(v, std::vector<double>(v.size(), 1.0), 10));
        const std::string path = (std::filesystem::path(::testing::TempDir()) / "layout.tvl").string();
        ASSERT_TRUE(b.app.ui.files.Open(kLogFile, path, platform::FileMode::Output));
        b.app.eng.opt.FileFreq = 1;
        b.Ok("Simplex minimum");
        b.Minimize();
        b.app.ui.files.Close(kLogFile);
        std::string text;
        ASSERT_TRUE(platform::ReadWholeFile(path, text));
        const std::string block = four + (nfree == 5 ? "    006)  6.0000000E+00\r\n\r\n" : "\r\n\r\n");
        const std::string n = std::to_string(nfree);
        EXPECT_EQ(text.rfind("\r\n\r\nInitial parameter values:\r\n\r\n" + block +
                                 "Initial Simplex: Starting function value> 10. Max> 11. Min> 10.\r\n"
                                 "\r\nNote: 1 iterations, ", 0), 0u);
        EXPECT_NE(text.find(" restarts\r\nNumber of function values (parameter vectors) improved: "), std::string::npos);
        EXPECT_NE(text.find("\r\nCurrent minimum found at these " + n + " adjusted parameter values: \r\n\r\n" + block +
                            "Current: Min> 10.      Max> "), std::string::npos);
        const std::string last =
            "\r\n\r\nMinimum of 10. found at these " + n + " adjusted parameter values:\r\n\r\n" + block + "This result required ";
        const size_t at = text.find(last);
        ASSERT_NE(at, std::string::npos);
        EXPECT_EQ(text.find("\r\n", at + last.size()), text.size() - 4);   // the counts, one empty line
    }
}

TEST(SimplexDisplay, PanesShowTheInitialSimplexAndTheLastProgress) {
    for (int terminalFreq : {1, 0}) {
        Bench b;
        b.Params({4, -4}, {1, 0.5}, Quadratic({0, 0}, {1, 1}));
        b.app.eng.opt.TerminalFreq = terminalFreq;
        b.app.eng.opt.ConvTol = -1E-06;
        b.At(5, Step::Click, "frmSimplex.cmdStop");   // the yield of iteration 3
        b.s.backend.AnswerMsgBox("Simplex interrupt", platform::vbYes);
        b.Minimize();
        frmSimplex& w = b.app.form<frmSimplex>();
        const std::string shown = w.rtbSimplex.Text, initial = w.rtbSimplexInitial.Text;
        if (terminalFreq == 0) {
            EXPECT_EQ(initial + shown, "");
            continue;
        }
        EXPECT_EQ(initial, "\r\nInitial Simplex: Starting function value> 32. Max> 41. Min> 28.25\r\n"
                           "\r\nInitial parameter values:\r\n\r\n"
                           "    001)  4.0000000E+00  ~~  Par1\r\n    002) -4.0000000E+00  ~~  Par2\r\n");
        EXPECT_EQ(shown.rfind("\r\nNote: 3 iterations, " + std::to_string(b.app.eng.NF) +
                              " function calls, and 0 restarts\r\n\r\nCurrent: Min> ", 0), 0u);
        EXPECT_NE(shown.find("     Rel TC> "), std::string::npos);
        EXPECT_NE(shown.find("\r\n\r\nNumber of function values (parameter vectors) improved: " +
                             platform::Format(static_cast<double>(b.app.simplex.NBetter), "#0") +
                             "; Action accepted: " + b.app.simplex.SimplexAction + "\r\n\r\nCurrent minimum found at these 2 adjusted parameter values:\r\n\r\n"),
                  std::string::npos);
        EXPECT_EQ(shown.substr(shown.size() - 4), "\r\n\r\n");
    }
}

TEST(SimplexDisplay, FastValueFormatMatchesFormat) {
    unsigned long long u = 88172645463325252ULL;
    for (int k = 0; k < 20000; ++k) {
        u ^= u << 13, u ^= u >> 7, u ^= u << 17;
        const double x = std::ldexp(static_cast<double>(u % 200000000) - 1E8, static_cast<int>(u % 41) - 20);
        for (double y : {x, k < 6 ? std::vector{0.0, -0.0, 12345678.5, 1E100, -1E-100, 5E-324}[k] : x})
            ASSERT_EQ(FormatE7(y), platform::Format(y, "0.0000000E+00")) << y;
    }
}

TEST(SimplexWindow, LayoutSplitterAndFontSize) {
    Bench b;
    frmSimplex& w = b.app.form<frmSimplex>();
    w.Form_MouseDown(1, 0, 13500, 3370);   // within 400 twips of the right side
    EXPECT_EQ(w.SplitterDragging, 0);
    w.Form_MouseDown(2, 0, 100, 3395);
    w.Form_MouseMove(1, 0, 100, 2000);
    w.Form_MouseMove(1, 0, 100, 300);   // above the pane's top: the height stays
    w.Form_MouseUp(1, 0, 100, 300);
    EXPECT_EQ(w.rtbSimplexInitial.Height, 1633);   // (2000 - 360) - 7.5
    EXPECT_EQ(w.rtbSimplex.Top, 1633 + 375 + 15);
    b.app.eng.free.NFree = 26;
    w.Form_Resize();
    EXPECT_EQ(w.rtbSimplex.FontSize, 8);
}

TEST(SimplexExample, FinalValueEqualsOneEvaluationAtTheResult) {
    Bench b;
    auto& ui = b.s.backend;
    ui.Click("frmMenu.cmdInitialize");
    ui.Type("frmInitialize.txtDataFile", std::string(TIVELOR_SOURCE_DIR) + "/examples/bog10.dat");
    for (auto [box, text] : {std::pair{"cboQuadsinHab", "30"}, {"cboQuadsSampled", "6"}, {"cboNSpecies", "10"}})
        ui.Type(std::string("frmInitialize.") + box, text);
    for (auto box : {"chkLogitThetas", "chkLogNs"}) ui.Set(std::string("frmInitialize.") + box, 1);
    for (int k = 0; k < 3; ++k) b.Ok("");   // re-ordering, fuse and fix advice
    ui.Click("frmInitialize.cmdDone");
    ui.AnswerMsgBox("Load algorithm data", platform::vbNo);
    b.Ok("Default Algorithm Values");
    ui.Click("frmMenu.cmdLoadAlg");
    ParameterSet& par = b.app.eng.par;
    for (int i = 1; i <= par.NumPars; ++i) par.StepSize(i) = 0.5;
    b.app.eng.opt.MaxCalls = 200000;
    Vec<double> start = par.ParValue;
    const double fstart = EvaluateObjective(b.app, start, 1, true);
    b.Ok("Simplex minimum");
    ui.Click("frmMenu.cmdSimplex");

    const double fmin = b.app.simplex.SimplexF(b.app.simplex.ILo);
    Vec<double> at = par.ParValue;
    EXPECT_EQ(EvaluateObjective(b.app, at, 1, true), fmin);   // to the last bit
    EXPECT_LT(fmin, fstart - 1);
    EXPECT_NE(b.app.form<frmSimplex>().rtbSimplex.Text().find("Minimum of " + platform::Format(fmin, "####0.#####")),
              std::string::npos);
}
