#include "uncertainty/Collation.h"

#include "app/App.h"
#include "engine/Parameters.h"
#include "platform/runtime.h"
#include "plots/ModelPlots.h"
#include "shell/TextWindows.h"
#include "shell/frmMain.h"

namespace tivelor {

using platform::vbCrLf;

namespace {

std::string Field(double v, const char* pattern) { return RSetPad(platform::Format(v, pattern), 12); }
std::string Field(const std::optional<double>& v, const char* pattern) {
    return v ? Field(*v, pattern) : RSetPad("Undefined", 12);
}

}  // namespace

std::string CollationBlock(const numerics::RichnessCollation& c, int n, bool sampleBased,
                           const std::string& letter, int grid, const std::string& path,
                           double mlESR) {
    const std::string N = platform::CStr(n);
    const std::string kind = sampleBased ? "SAMPLE-BASED" : "DISTRIBUTION-BASED";
    std::string t = vbCrLf;
    auto line = [&t](const std::string& s = "") { t += s + vbCrLf; };
    if (letter == "N" || letter == "A") {
        line("The " + kind + " UNCERTAINTY statistics were calculated using " +
             (letter == "N" ? "numerical" : "analytical") + " derivatives from grid # " +
             platform::Format(grid, "0") + " of covariance file:");
        line("     " + path);
        line();
    }
    line("The " + kind + " UNCERTAINTY statistics for the estimate of the species richness (ESR) are:");
    line();
    if (sampleBased)
        line("     The Vandrel-Oskety SAMPLE-BASED mean ESR from " + N + " randomizations is:              " +
             Field(c.Mean, "######0.00"));
    else
        line("     The Vandrel-Oskety DISTRIBUTION-BASED mean ESR from " + N + " randomizations is:        " +
             Field(c.Mean, "######0.00"));
    line("     The SD of the " + N + " randomizations of ESR is:                                       " +
         Field(c.SD, "######0.00"));
    line("     The SE of the mean of the " + N + " randomizations of ESR is:                           " +
         Field(c.SE, "######0.00"));
    line("     The approximate lower end of the 95% CI of the " + N + " randomizations of ESR is:   " +
         Field(c.LowCI, "######0"));
    line("     The approximate upper end of the 95% CI of the " + N + " randomizations of ESR is:   " +
         Field(c.UpCI, "######0"));
    line("     The minimum value among the " + N + " randomizations of ESR is:                      " +
         Field(c.Min, "######0"));
    line("     The maximum value among the " + N + " randomizations of ESR is:                      " +
         Field(c.Max, "######0"));
    if (c.Mode)
        line("     A unique mode in the distribution of " + N + " randomized values of ESR occurs at:    " +
             Field(*c.Mode, "######0"));
    else
        line("     There is no unique mode in the distribution of " + N + " randomized values of ESR");
    line();
    if (sampleBased)
        line("     The maximum likelihood point estimate of the Vandrel-Oskety ESR (as above) is:     " +
             Field(mlESR, "######0.00"));
    else
        line("     The maximum likelihood Vandrel-Oskety DISTRIBUTION-BASED estimate of ESR is:       " +
             Field(mlESR, "######0.00"));
    line();
    line("Up to four frequency histograms of the randomized species richness results:");
    line();
    line("                  ESR,Randomized,        ESR,Randomized,        ESR,Randomized,        ESR,Randomized");
    line("   Cell #,   Midpoint, Frequency,   Midpoint, Frequency,   Midpoint, Frequency,   Midpoint, Frequency");
    line();
    const std::vector<int> cols = numerics::TableColumns(c);
    if (cols.empty()) {
        line("Estimates for species richness are too large to collate (i.e., at least one estimate is > 20000 spp)");
    } else {
        const int rows = c.Hist[static_cast<std::size_t>(cols[0])].Cells;
        for (int r = 1; r <= rows; ++r) {
            std::string row = RSetPad(platform::Format(r, "########0"), 9);
            const int listed = numerics::ColumnsOnRow(c, cols, r);
            for (int k = 0; k < listed; ++k) {
                const numerics::RichnessHistogram& h = c.Hist[static_cast<std::size_t>(cols[static_cast<std::size_t>(k)])];
                row += "," + RSetPad(platform::Format(h.Midpoint(r), "########0.0"), 11) + "," +
                       RSetPad(platform::Format(h.Freq[static_cast<std::size_t>(r)], "#########0"), 10);
            }
            line(row);
        }
    }
    line();
    line("End of " + kind + " UNCERTAINTY statistics");
    return t;
}

void CollateRandomizedRichness(App& app, int SampleBased) {
    RandomizedStore& st = app.unc.Rand;
    const CovarianceLink& cov = app.unc.Cov;
    const int NRand = app.model.Report.NRand;
    const bool sample = SampleBased == platform::True;
    const int n = NRand < 0 ? 0 : (NRand > st.RandESR.UBound() ? static_cast<int>(st.RandESR.UBound()) : NRand);
    const numerics::RichnessCollation c =
        numerics::CollateRichness(n > 0 ? st.RandESR.data() + 1 : nullptr, n, st.RandESRMin, st.RandESRMax);

    // Results kept for the histogram pages.
    st.RandESRMin = c.Min;
    st.RandESRMax = c.Max;
    st.RandESRMean = c.Mean;
    st.RandESRSD = c.SD;
    st.RandESRLowCI = c.LowCI;
    st.RandESRUpCI = c.UpCI;
    for (std::size_t h = 0; h < c.Hist.size(); ++h) {
        const numerics::RichnessHistogram& g = c.Hist[h];
        st.ESRCells[h] = g.Cells;
        st.FirstBase[h] = g.FirstBase;
        st.LastBase[h] = g.LastBase;
        st.ESRFreq[h].ReDim(g.Cells);
        for (int k = 1; k <= g.Cells; ++k) st.ESRFreq[h](k) = g.Freq[static_cast<std::size_t>(k)];
    }

    app.msg.ReportText = CollationBlock(c, NRand, sample, cov.CovMethodLetter, cov.CovGrid,
                                        cov.CovFileName, sample ? app.model.ESR : st.ESRDistML);
    platform::RichTextBox& box = app.form<frmSummary>().rtbOut;
    box.Text = box.Text() + app.msg.ReportText;
    app.msg.ReportText = "";
    app.form<frmMain>().stbMain5.SetPanel(1, "");

    std::vector<EsrHistogramPage> pages(c.Hist.size());
    for (std::size_t h = 0; h < c.Hist.size(); ++h) {
        pages[h].Hist.CellWidth = numerics::kCellWidths[h];
        pages[h].Hist.Cells = st.ESRCells[h];
        pages[h].Hist.Freq = st.ESRFreq[h];
        pages[h].L = st.FirstBase[h];
        pages[h].H = st.LastBase[h];
    }
    OfferESRHistograms(app, pages);
}

}  // namespace tivelor
