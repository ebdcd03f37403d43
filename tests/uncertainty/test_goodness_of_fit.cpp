// The Pearson-deviates goodness-of-fit test on small hand-made model data:
// the observed sum, the report block, the range dialog and the abort.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "state/App.h"
#include "platform/headless/headless.h"
#include "windows/frmMain.h"
#include "tests/support/StartedProgram.h"
#include "uncertainty/GoodnessOfFit.h"
#include "uncertainty/frmAbort.h"
#include "uncertainty/frmRange.h"

using namespace tivelor;
using platform::headless::Step;

namespace {

struct Gof {
    platform::headless::Session s;
    platform::headless::HeadlessBackend& b = s.backend;
    App app{s.ui};
    ModelState& md = app.model;

    // counts[s][j] of species s + 1 in quadrat j + 1; TotAbund and Theta per species.
    Gof(long nh, const std::vector<std::vector<long>>& counts, const std::vector<long>& tot,
        const std::vector<double>& theta) {
        const int nspp = static_cast<int>(counts.size()), nq = static_cast<int>(counts[0].size());
        md.NSpp = nspp, md.NQuad = nq, md.NQuadHab = nh;
        md.Count.ReDim(nspp, nq), md.CumCount.ReDim(nspp, nq), md.ExpCount.ReDim(nspp, nq);
        md.QuadProb.ReDim(nq), md.SpName.ReDim(-nspp, nspp), md.TotAbund.ReDim(nspp), md.SpTheta.ReDim(nspp);
        for (int j = 1; j <= nq; ++j) md.QuadProb(j) = 1.0 / static_cast<double>(nh - j + 1);
        for (int i = 1; i <= nspp; ++i) {
            md.SpName(i) = "Sp" + std::to_string(i);
            md.TotAbund(i) = tot[i - 1];
            md.SpTheta(i) = theta[i - 1] * theta[i - 1];
            double cum = 0;
            for (int j = 1; j <= nq; ++j) {
                md.Count(i, j) = counts[i - 1][j - 1];
                md.CumCount(i, j) = cum += static_cast<double>(counts[i - 1][j - 1]);
            }
        }
    }
    void Act(Step::Kind kind, const std::string& target, const std::string& text = "") {
        Step st;
        st.kind = kind, st.target = target, st.text = text;
        b.Push(st);
    }
    static Step Call(std::function<void()> f) {
        Step st;
        st.kind = Step::Call, st.call = std::move(f);
        return st;
    }
    std::string Run(int nrand) {
        md.Report.NRand = nrand;
        app.msg.ReportText = "";
        PearsonDeviatesTest(app);
        return app.msg.ReportText;
    }
    std::string Panel(int i) { return app.form<frmMain>().stbMain5.Panel(i); }
};

constexpr auto Line = tivelor::testing::LineStartingWith;

const std::string kHead =
    "Pearson-deviates statistics for the model (over the chosen species range):\r\n\r\n"
    "The following Pearson-deviates test is based on Jarn and Ketterly (J. Quant. Ecol. 6:539-545, 1989)\r\n";
const std::string kTail =
    "A very small value for cumulative p[Pearson-deviates] (i.e., < 0.025) when n is large suggests the "
    "model under-fits the data (fits too poorly)\r\n"
    "A very large value for cumulative p[Pearson-deviates] (i.e., > 0.975) when n is large suggests the "
    "model over-fits  the data (fits too well)\r\n\r\n";

}  // namespace

TEST(PearsonDeviates, ObservedSumAndTheBlockWithoutRandomizations) {
    // E = 8 / 4 = 2 per quadrat, EU = 2 * (4 - 2) = 4, U = 8 - 4 = 4:
    // D = 1/2 + 1/2 + 0 = 1.
    Gof g(4, {{3, 1}}, {8}, {0.3});
    const std::string block = g.Run(0);   // no range dialog: none is scripted
    EXPECT_EQ(g.md.ExpCount(1, 1), 2.0);
    EXPECT_EQ(g.md.ExpCount(1, 2), 2.0);
    EXPECT_EQ(block,
              kHead +
                  "This goodness-of-fit (GOF) test was applied to the range from species #1 to species #1\r\n"
                  "You can reject this model if the cumulative p[Pearson-deviates] is outside your "
                  "acceptance range (e.g., 0.025 < p < 0.975)\r\n"
                  "Randomized Pearson-deviates> n: 0; Mean: Undefined; SD: Undefined; Minimum: Undefined; "
                  "Maximum: Undefined\r\n"
                  "Sample sum of Pearson-deviates> 1.000; Cumulative p[Pearson-deviates]: Undefined; SE "
                  "cumulative p[Pearson-deviates]: Undefined\r\n\r\n" +
                  kTail);
    EXPECT_FALSE(g.app.IsLoaded<frmAbort>());
    EXPECT_EQ(g.Panel(1) + g.Panel(2), "");
    // TotAbund 10: E 2.5, EU 5, U 6: 0.1 + 0.9 + 0.2.
    Gof h(4, {{3, 1}}, {10}, {0.3});
    EXPECT_EQ(Line(h.Run(0), "Sample sum"),
              "Sample sum of Pearson-deviates> 1.200; Cumulative p[Pearson-deviates]: Undefined; SE "
              "cumulative p[Pearson-deviates]: Undefined");
}

TEST(PearsonDeviates, WholeHabitatSampledLeavesOutTheUnsampledTerm) {
    // NQuadHab = NQuad: nothing is expected outside the sample.
    Gof g(2, {{3, 1}, {0, 2}}, {4, 2}, {0.4, 0.0});
    g.Act(Step::Click, "frmRange.cmdOK");
    const std::string block = g.Run(40);
    EXPECT_NE(block.find("Sample sum of Pearson-deviates> 3.000;"), std::string::npos);   // 1 + 2
    EXPECT_EQ(block.find("nan"), std::string::npos);
    EXPECT_EQ(block.find("Undefined"), std::string::npos);
    EXPECT_EQ(g.app.unc.Gof.SimUnsampled(1) + g.app.unc.Gof.SimUnsampled(2), 0);
    EXPECT_NE(Line(block, "Sp# 02    Sp2 > Obsd:      2.00,"), "");
}

TEST(PearsonDeviates, OneRandomizationAndSumsEqualToTheObserved) {
    // One quadrat that is the whole habitat: every simulated count is the
    // total, as observed, so each randomized sum equals the observed 0.
    Gof g(1, {{6}, {2}}, {6, 2}, {0.5, 0.0});
    for (int n : {1, 5}) {
        g.Act(Step::Click, "frmRange.cmdOK");
        const std::string block = g.Run(n);
        EXPECT_EQ(Line(block, "Randomized"), "Randomized Pearson-deviates> n: " + std::to_string(n) +
                                                 "; Mean:  0.000; SD: Undefined; Minimum:  0.000; Maximum:  0.000")
            << block;
        EXPECT_EQ(Line(block, "Sample sum"), "Sample sum of Pearson-deviates> 0.000; Cumulative "
                                             "p[Pearson-deviates]:  1.000; SE cumulative p[Pearson-deviates]:  0.000");
        EXPECT_EQ(Line(block, "Sp# 01"), "Sp# 01    Sp1 > Obsd:      0.00,    Mean:      0.00,    SD: "
                                         "Undefined,    Min:      0.00,    Max:      0.00,    p:   1.000,    "
                                         "SE of p:   0.000");
    }
    // A single randomization of a real spread: p is 0 or 1, its SE 0.
    Gof h(50, {{3, 0, 1}, {0, 1, 0}}, {40, 5}, {0.3, 0.2});
    h.Act(Step::Click, "frmRange.cmdOK");
    const std::string block = h.Run(1);
    const std::string sum = Line(block, "Sample sum");
    EXPECT_TRUE(sum.find("p[Pearson-deviates]:  1.000; SE") != std::string::npos ||
                sum.find("p[Pearson-deviates]:  0.000; SE") != std::string::npos)
        << sum;
    EXPECT_NE(sum.find("SE cumulative p[Pearson-deviates]:  0.000"), std::string::npos);
    EXPECT_NE(Line(block, "Sp# 02"), "");
    EXPECT_NE(block.find("Pearson-deviates statistics for:\r\n\r\nSp# 01"), std::string::npos);
}

TEST(PearsonDeviates, SimulatedCountsPlaceEveryIndividualOfTheRange) {
    Gof g(30, {{5, 0, 2, 1}, {1, 1, 0, 0}, {0, 0, 3, 0}, {1, 0, 0, 0}},
          {120, 9, 7, 1}, {0.6, 0.0, 0.2, 0.5});
    GoodnessOfFitState& st = g.app.unc.Gof;
    st.FirstSpGOF = 2;
    st.LastSpGOF = 4;
    st.SimUnsampled.ReDim(4);
    for (int r = 0; r < 300; ++r) {
        SimulateQuadratCounts(g.app);
        for (int s = 1; s <= 4; ++s) {
            long sum = st.SimUnsampled(s);
            for (int j = 1; j <= 4; ++j) {
                ASSERT_GE(st.SimCount(s, j), 0);
                sum += st.SimCount(s, j);
            }
            ASSERT_EQ(sum, s == 1 ? 0 : g.md.TotAbund(s)) << s;   // species 1 is outside the range
        }
    }
}

TEST(PearsonDeviates, SameTimerSameReportWhateverThePolling) {
    auto report = [](double timer, bool polls) {
        Gof g(40, {{5, 0, 2, 1}, {1, 1, 0, 0}, {0, 0, 3, 0}}, {60, 9, 7}, {0.6, 0.0, 0.2});
        g.s.clock.timer = timer;
        if (polls)   // a poll at every yield that reads the clock
            for (std::uint64_t k = 1; k <= 600; ++k) g.b.AtDoEvents(k, Gof::Call([&g] { (void)g.app.ui.Timer(); }));
        g.Act(Step::Click, "frmRange.cmdOK");
        return g.Run(200);
    };
    const std::string a = report(36000, false);
    EXPECT_EQ(report(36000, true), a);
    EXPECT_NE(report(36001, false), a);
}

TEST(PearsonDeviates, AbortLeavesNoBlockAndClearsTheProgress) {
    Gof g(40, {{5, 0, 2, 1}, {1, 1, 0, 0}}, {60, 9}, {0.6, 0.1});
    g.s.clock.step = 1;   // every reading of the timer is a second later
    std::string progress, remaining;
    g.Act(Step::Click, "frmRange.cmdOK");
    // The third yield of randomization 1, then an abort during randomization 6.
    g.b.AtDoEvents(3, Gof::Call([&] { progress = g.Panel(1), remaining = g.Panel(2); }));
    g.b.AtDoEvents(3 * 5 + 2, Gof::Call([&] { g.b.Click("frmAbort.cmdAbort"); }));
    EXPECT_EQ(g.Run(200), "");
    EXPECT_EQ(progress, "Pearson-deviates: doing randomization # 1 of 200");
    EXPECT_EQ(remaining, "Estimated time remaining (m:s): 3:19");   // 1 s a randomization
    EXPECT_FALSE(g.app.IsLoaded<frmAbort>());
}

TEST(RangeDialog, ChecksInOrderAndStaysOpenUntilTheRangeIsSound) {
    Gof g(40, {{5, 0}, {1, 1}, {0, 3}, {1, 0}, {2, 2}}, {60, 9, 7, 3, 8}, {0.6, 0.1, 0.2, 0.0, 0.3});
    int typedFirst = 0;
    const char* inverted = "Warning: range bounds inverted";
    const char* below = "Warning: A range bound choice is less than 1";
    const char* above = "Warning: A range bound choice is greater than 5";
    auto tryRange = [&](const std::string& first, const std::string& last, const char* title) {
        g.Act(Step::Type, "frmRange.cboStart", first);
        g.Act(Step::Type, "frmRange.cboEnd", last);
        g.Act(Step::Click, "frmRange.cmdOK");
        if (title) g.b.AnswerMsgBox(title, platform::vbOK);
    };
    tryRange("5", "3", inverted);
    tryRange("0", "3", below);
    tryRange("2", "6", above);
    g.Act(Step::Type, "frmRange.cboStart", "-3");
    g.Act(Step::Type, "frmRange.cboEnd", "4");
    g.b.Push(Gof::Call([&] { typedFirst = g.app.unc.Gof.FirstSpGOF; }));   // after typing "-3"
    g.Act(Step::Click, "frmRange.cmdOK");
    g.b.AnswerMsgBox(below, platform::vbOK);
    tryRange("1", "99999", above);     // beyond the 16-bit range
    tryRange("-99999", "2", below);
    tryRange("4", "2.5", inverted);    // 2.5 reads as 2
    g.Act(Step::Type, "frmRange.cboStart", "2");
    g.Act(Step::Type, "frmRange.cboEnd", "3.5");   // reads as 4
    g.Act(Step::Click, "frmRange.cmdOK");
    const std::string block = g.Run(3);
    EXPECT_EQ(typedFirst, 3);
    ASSERT_EQ(g.b.msgBoxes.size(), 7u);
    for (const auto& m : g.b.msgBoxes) {
        EXPECT_EQ(m.text, "Please redo your choices for range bounds");
        EXPECT_EQ(m.style, 64);
    }
    EXPECT_EQ(Line(block, "This goodness"),
              "This goodness-of-fit (GOF) test was applied to the range from species #2 to species #4");
    EXPECT_EQ(Line(block, "Sp# 01"), "");
    EXPECT_NE(Line(block, "Sp# 04"), "");
    EXPECT_EQ(Line(block, "Sp# 05"), "");
    // The list holds the species numbers.
    EXPECT_EQ(g.app.form<frmRange>().cboEnd.ListCount(), 5);
    EXPECT_EQ(g.app.form<frmRange>().cboEnd.List(4), "5");
}

TEST(RangeDialog, ClosedByItsFrameKeepsOnlyASoundRange) {
    Gof g(40, {{5, 0}, {1, 1}, {0, 3}}, {60, 9, 7}, {0.6, 0.1, 0.2});
    g.Act(Step::Type, "frmRange.cboStart", "2");
    g.Act(Step::Close, "frmRange");
    EXPECT_NE(g.Run(2).find("from species #2 to species #3\r\n"), std::string::npos);
    for (const char* bad : {"0", "4", "70000", "x"}) {
        g.Act(Step::Type, "frmRange.cboStart", "2");
        g.Act(Step::Type, "frmRange.cboEnd", bad);
        g.Act(Step::Close, "frmRange");
        EXPECT_NE(g.Run(2).find("from species #1 to species #3\r\n"), std::string::npos) << bad;
    }
    EXPECT_TRUE(g.b.msgBoxes.empty());
}
