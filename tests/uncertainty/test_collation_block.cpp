// The collation's text block and its output: the worked five estimates as a
// golden text, the undefined and too-large variants, and the plot offer.
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "../plots/PlotTestSupport.h"
#include "UncertaintyTestSupport.h"
#include "uncertainty/Collation.h"

using namespace tivelor;
using unctest::Pad;
using unctest::Unc;

namespace {

std::string Row(int c, std::initializer_list<std::pair<const char*, int>> cols) {
    std::string r = Pad(std::to_string(c), 9);
    for (auto [mid, f] : cols) r += "," + Pad(mid, 11) + "," + Pad(std::to_string(f), 10);
    return r + "\r\n";
}

numerics::RichnessCollation Five() {
    const int v[5] = {101, 103, 103, 104, 108};
    return numerics::CollateRichness(v, 5, 32767, 4);
}

}  // namespace

TEST(CollationBlock, FiveEstimatesGolden) {
    const std::string got = CollationBlock(Five(), 5, true, "N", 2, "/data/run.cov", 104.5);
    const std::string want =
        "\r\n"
        "The SAMPLE-BASED UNCERTAINTY statistics were calculated using numerical derivatives from grid # 2 of covariance file:\r\n"
        "     /data/run.cov\r\n"
        "\r\n"
        "The SAMPLE-BASED UNCERTAINTY statistics for the estimate of the species richness (ESR) are:\r\n"
        "\r\n"
        "     The Vandrel-Oskety SAMPLE-BASED mean ESR from 5 randomizations is:                    103.80\r\n"
        "     The SD of the 5 randomizations of ESR is:                                               2.32\r\n"
        "     The SE of the mean of the 5 randomizations of ESR is:                                   1.04\r\n"
        "     The approximate lower end of the 95% CI of the 5 randomizations of ESR is:            101\r\n"
        "     The approximate upper end of the 95% CI of the 5 randomizations of ESR is:            108\r\n"
        "     The minimum value among the 5 randomizations of ESR is:                               101\r\n"
        "     The maximum value among the 5 randomizations of ESR is:                               108\r\n"
        "     A unique mode in the distribution of 5 randomized values of ESR occurs at:             103\r\n"
        "\r\n"
        "     The maximum likelihood point estimate of the Vandrel-Oskety ESR (as above) is:           104.50\r\n"
        "\r\n"
        "Up to four frequency histograms of the randomized species richness results:\r\n"
        "\r\n"
        "                  ESR,Randomized,        ESR,Randomized,        ESR,Randomized,        ESR,Randomized\r\n"
        "   Cell #,   Midpoint, Frequency,   Midpoint, Frequency,   Midpoint, Frequency,   Midpoint, Frequency\r\n"
        "\r\n" +
        Row(1, {{"100.5", 0}, {"101.0", 1}, {"97.5", 0}, {"95.0", 0}}) +
        Row(2, {{"101.5", 1}, {"103.0", 2}, {"102.5", 4}, {"105.0", 5}}) +
        Row(3, {{"102.5", 0}, {"105.0", 1}, {"107.5", 1}, {"115.0", 0}}) +
        Row(4, {{"103.5", 2}, {"107.0", 0}, {"112.5", 0}}) +
        Row(5, {{"104.5", 1}, {"109.0", 1}}) +
        Row(6, {{"105.5", 0}}) + Row(7, {{"106.5", 0}}) + Row(8, {{"107.5", 0}}) + Row(9, {{"108.5", 1}}) +
        "\r\n"
        "End of SAMPLE-BASED UNCERTAINTY statistics\r\n";
    EXPECT_EQ(got, want);
}

TEST(CollationBlock, DistributionWordingUndefinedAndTooLarge) {
    // One estimate, distribution-based, analytical grid 3.
    const int one[1] = {37};
    std::string t = CollationBlock(numerics::CollateRichness(one, 1, 32767, 40), 1, false, "A", 3, "x.cov", 41.257);
    EXPECT_NE(t.find("using analytical derivatives from grid # 3 of covariance file:\r\n     x.cov\r\n"), std::string::npos);
    EXPECT_NE(t.find("     The Vandrel-Oskety DISTRIBUTION-BASED mean ESR from 1 randomizations is:               37.00\r\n"),
              std::string::npos);
    EXPECT_NE(t.find("     The SE of the mean of the 1 randomizations of ESR is:                              Undefined\r\n"),
              std::string::npos);
    EXPECT_NE(t.find("among the 1 randomizations of ESR is:                                40\r\n"), std::string::npos);
    EXPECT_NE(t.find("     The maximum likelihood Vandrel-Oskety DISTRIBUTION-BASED estimate of ESR is:              41.26\r\n"),
              std::string::npos);
    EXPECT_NE(t.find("\r\nEnd of DISTRIBUTION-BASED UNCERTAINTY statistics\r\n"), std::string::npos);
    // Without a method letter the covariance lines are left out.
    t = CollationBlock(numerics::CollateRichness(one, 1, 32767, 0), 1, true, "", 1, "x.cov", 1);
    EXPECT_EQ(t.rfind("\r\nThe SAMPLE-BASED UNCERTAINTY statistics for the estimate", 0), 0u);
    // Two values once each; a range too wide for any table.
    const int two[2] = {100, 102};
    t = CollationBlock(numerics::CollateRichness(two, 2, 32767, 0), 2, true, "N", 1, "x.cov", 1);
    EXPECT_NE(t.find("\r\n     There is no unique mode in the distribution of 2 randomized values of ESR\r\n\r\n"), std::string::npos);
    const int wide[2] = {50, 20000};
    t = CollationBlock(numerics::CollateRichness(wide, 2, 32767, 0), 2, true, "N", 1, "x.cov", 1);
    EXPECT_NE(t.find("Frequency\r\n\r\nEstimates for species richness are too large to collate (i.e., at least one "
                     "estimate is > 20000 spp)\r\n\r\nEnd of"),
              std::string::npos);
}

TEST(CollationBlock, AppendsToTheSummaryAndOffersThePages) {
    Unc u(1, 10, {1}, true, true);
    u.app.model.Report.NRand = 5;
    u.app.unc.Rand.RandESR.ReDim(5);
    const int v[5] = {101, 103, 103, 104, 108};
    for (int i = 1; i <= 5; ++i) u.app.unc.Rand.RandESR(i) = v[i - 1];
    u.app.form<frmSummary>().rtbOut.Text = "Report so far\r\n";
    u.app.form<frmMain>().stbMain5.SetPanel(1, "Sample-based uncertainty statistics: one moment please...");
    // Yes: the pages in width order until one quits (here the second).
    u.b.AnswerMsgBox("View plots?", platform::vbYes);
    for (const char* button : {"cmdNext_Page", "cmdCancel"}) plottest::WhileOpen(u.b, "frmXYPlot", {}, button);
    u.app.unc.Rand.RandESRMin = 32767;
    CollateRandomizedRichness(u.app, platform::True);
    EXPECT_EQ(u.Summary().rfind("Report so far\r\n\r\nThe SAMPLE-BASED", 0), 0u);
    EXPECT_EQ(u.Panels() + u.app.msg.ReportText, "");
    EXPECT_EQ(u.app.plot.VarName(1), "Frequency distribution of ESR (in 2 species cells)");
    EXPECT_EQ(u.b.PendingSteps(), 0u);
    EXPECT_EQ(u.app.unc.Rand.ESRFreq[2](2), 4);   // kept for the pages
}
