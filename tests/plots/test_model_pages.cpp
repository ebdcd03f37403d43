// The model's plot pages, built from plain inputs, and the series of pages
// that the results report and the collation offer.
#include "PlotTestSupport.h"

#include <cmath>

#include "model/Report.h"
#include "plots/ModelPlots.h"

using namespace tivelor;
using plottest::kMissing;

namespace {

const char* kNothing = "There is nothing to plot due to zero variance";

TEST(ModelPages, ThetaPage) {
    PlotRequest req;
    BuildThetaPage({0, 0.00005, 1, 0.3}, {0.3, 0.01}, {0.3, 0.25}, req);
    EXPECT_TRUE(req.NumPlotVars == 7 && req.RecMin == 0 && req.RecMax == 10000 && req.RecLabelMax == 10000);
    // The placing on records has its own tests: the counts land in column 5.
    EXPECT_TRUE(req.PlotData(5, 0) == 2 && req.PlotData(5, 3000) == 1 && req.PlotData(5, 10000) == 1);
    for (long v : {1, 2, 3, 4, 6, 7}) EXPECT_TRUE(req.PlotData(v, 0) == kMissing && req.PlotData(v, 10000) == kMissing);
    EXPECT_DOUBLE_EQ(req.PlotData(3, 9990), -std::log(10.0));   // -Ln(10000 - r), not -Ln(1 - x)
    EXPECT_NEAR(req.PlotData(4, 7500), std::log(3.0), 1e-12);
    // Beta(6, 14) for the estimated pair.
    EXPECT_NEAR(req.PlotData(6, 3000), 3.832780, 5e-7);
    // Variance 0.25 >= 0.3 * 0.7: no beta distribution, an empty column under its title.
    EXPECT_EQ(req.VarName(7), "Beta probability density (PD) for the inferred distribution of Theta");
    EXPECT_EQ(req.PlotData(7, 3000), kMissing);
    // A zero variance: the column says so, scaled 0 to 1, with no points.
    BuildThetaPage({0.5}, {0.5, 0.01}, {0.5, 0}, req);
    EXPECT_TRUE(req.VarName(7) == kNothing && req.VarMin(7) == 0 && req.VarMax(7) == 1);
    EXPECT_EQ(req.PlotData(7, 5000), kMissing);
    EXPECT_GT(req.PlotData(6, 5000), 0);
    // On the border SD² = Mean·(1 - Mean) the pages' arithmetic decides: a is
    // 0 for mean 0.7 with variance 0.21 (no points), and just above 0 for mean
    // 0.1 with variance 0.09 (a density).
    BuildThetaPage({0.5}, {0.7, 0.21}, {0.1, 0.09}, req);
    EXPECT_EQ(req.VarName(6), "Beta probability density (PD) for the estimated distribution of Theta");
    EXPECT_EQ(req.PlotData(6, 3000), kMissing);
    EXPECT_NE(req.PlotData(7, 3000), kMissing);
    EXPECT_GT(req.PlotData(7, 3000), 0);
}

TEST(ModelPages, LogitAndLnAbundancePages) {
    PlotRequest req;
    BuildLogitThetaPage({-2.5, 0, 1}, {0, 1}, {1, 4}, req);
    EXPECT_TRUE(req.NumPlotVars == 4 && req.RecMax == 1000);
    EXPECT_TRUE(req.VarMin(1) == -7 && req.VarMax(1) == 7);
    EXPECT_TRUE(req.PlotData(2, 321) == 1 && req.PlotData(2, 500) == 1 && req.PlotData(2, 571) == 1);
    EXPECT_NEAR(req.PlotData(3, 500), 0.398942, 5e-7);   // N(0, 1) at 0
    EXPECT_NEAR(req.PlotData(4, 500), 0.176033, 5e-7);   // N(1, 4) at 0
    BuildLnAbundancePage({2}, {0, 0}, {2, -1}, req);   // no variance in either: 2 -/+ 1
    EXPECT_TRUE(req.VarMin(1) == 1 && req.VarMax(1) == 3 && req.PlotData(2, 500) == 1);
    EXPECT_EQ(req.VarName(3), kNothing);
    EXPECT_EQ(req.VarName(4), "Normal probability density (PD) for the inferred distribution of Ln[species abundance]");
    EXPECT_EQ(req.PlotData(4, 500), kMissing);
}

// Two species in three quadrats; the curve levels at step 2.
ModelState SmallModel() {
    ModelState md;
    md.NSpp = 2;
    md.NQuad = 3;
    md.Count.ReDim(2, 3);
    md.CumCount.ReDim(2, 3);
    md.SpName.ReDim(-2, 2);
    md.SpName(1) = "Abies";
    md.SpName(2) = "Carex";
    const long counts[2][3] = {{4, 0, 2}, {0, 0, 1}};
    for (int s = 1; s <= 2; ++s)
        for (int q = 1; q <= 3; ++q) {
            md.Count(s, q) = counts[s - 1][q - 1];
            md.CumCount(s, q) = md.CumCount(s, q - 1) + static_cast<double>(counts[s - 1][q - 1]);
        }
    md.TotAbund.ReDim(2);
    md.TotAbund(1) = 9;
    md.TotAbund(2) = 4;
    md.IncrCurve.ReDim(3);
    md.AccumCurve.ReDim(3);
    md.IncrCurve(1) = md.AccumCurve(1) = md.AccumCurve(2) = md.AccumCurve(3) = 2;
    md.SpTheta.ReDim(2);
    md.SpTheta(1) = 0.04;   // the second species' Theta is 0
    md.Report.NCurvePts = 7;   // an earlier data set's value
    return md;
}

TEST(ModelPages, DataPages) {
    ModelState md = SmallModel();
    PlotRequest req;
    BuildAccumulationPage(md, req);
    EXPECT_TRUE(req.RecMin == 1 && req.RecMax == 2 && req.RecLabelMax == 2 && req.VarMax(3) == 2);
    EXPECT_EQ(req.PlotData(3, 2), 2);
    md.IncrCurve(2) = md.IncrCurve(3) = 1;   // never levels: to the last quadrat
    BuildAccumulationPage(md, req);
    EXPECT_EQ(req.RecMax, 3);
    BuildQuadratPage(md, req);
    EXPECT_TRUE(req.NumPlotVars == 3 && req.RecMax == 3);
    EXPECT_EQ(req.VarName(3), "Sample distribution for species: Carex");
    EXPECT_TRUE(req.VarMax(2) == 6 && req.VarMax(3) == 1);
    EXPECT_TRUE(req.PlotData(2, 2) == 0 && req.PlotData(2, 3) == 2 && req.PlotData(1, 3) == 3);
    BuildSpeciesPage(md, req);
    EXPECT_TRUE(req.RecMax == 2 && req.VarMax(2) == 1 && req.VarMax(3) == 1);
    EXPECT_TRUE(req.PlotData(2, 1) == 6 && req.PlotData(3, 2) == 4);
}

TEST(ModelPages, HistogramLabelsSitAtCellMidpoints) {
    EsrHistogram h;
    h.Cells = 7;
    h.Freq.ReDim(7);
    h.Freq(7) = 21;
    PlotRequest req;
    BuildHistogramPage(h, 40, 46, req);
    EXPECT_TRUE(req.RecMin == 0 && req.RecMax == 7 && req.RecLabelMin == 39.5 && req.RecLabelMax == 46.5);
    EXPECT_EQ(req.VarName(1), "Frequency distribution of ESR (in 1 species cells)");
    EXPECT_EQ(req.PlotData(1, 7), 21);
    h.CellWidth = 2;
    h.Cells = 4;
    BuildHistogramPage(h, 40, 46, req);
    EXPECT_TRUE(req.RecLabelMin == 39 && req.RecLabelMax == 47);   // record 1 at 41
}

struct PageSeries : plottest::PlotWindow {
    void SetUp() override {
        ModelState small = SmallModel();
        ModelState& md = app.model;
        md.NSpp = small.NSpp, md.NQuad = small.NQuad, md.Count = small.Count, md.CumCount = small.CumCount;
        md.SpName = small.SpName, md.TotAbund = small.TotAbund, md.IncrCurve = small.IncrCurve;
        md.AccumCurve = small.AccumCurve, md.SpTheta = small.SpTheta;
        md.Report.Dist.LogitThetaMeanEst = -5;
        md.Report.Dist.LogitThetaVarEst = 4;
    }
    void Then(const char* button) { plottest::WhileOpen(s.backend, "frmXYPlot", {}, button); }
    long Pages() const {
        return std::count_if(s.backend.log.begin(), s.backend.log.end(),
                             [](const std::string& l) { return l.rfind("show frmXYPlot", 0) == 0; });
    }
};

TEST_F(PageSeries, QuitEndsTheSeriesAndNextPageGoesOn) {
    s.backend.AnswerMsgBox("View plots?", platform::vbNo);
    s.backend.AnswerMsgBox("View plots?", platform::vbYes);
    Then("cmdNext_Page");
    s.backend.AnswerMsgBox("View plots?", platform::vbYes);
    Then("cmdCancel");
    OfferReportPlots(app);
    EXPECT_EQ(Pages(), 2);
    EXPECT_EQ(s.backend.msgBoxes.size(), 3u);
    s.backend.AnswerMsgBox("View plots?", platform::vbCancel);
    OfferReportPlots(app);
    EXPECT_EQ(Pages(), 2);
}

TEST_F(PageSeries, LogitPageTakesTheReportsLogitForThetaZero) {
    s.backend.AnswerMsgBox("View plots?", platform::vbNo);
    s.backend.AnswerMsgBox("View plots?", platform::vbYes);
    Then("cmdCancel");
    OfferReportPlots(app);
    double placed = 0;
    for (long r = 1; r <= 1000; ++r) placed += app.plot.PlotData(2, r);
    EXPECT_EQ(placed, 2);
    EXPECT_LE(app.plot.VarMin(1), -18.42);
}

TEST_F(PageSeries, QuitOnTheFiveSpeciesHistogramEndsTheHistograms) {
    std::vector<EsrHistogramPage> pages;
    for (int w : {1, 2, 5, 10, 20, 50, 100}) {
        EsrHistogramPage p;
        p.Hist.CellWidth = w;
        pages.push_back(p);
    }
    s.backend.AnswerMsgBox("View plots?", platform::vbYes);
    Then("cmdNext_Page");
    Then("cmdNext_Page");
    Then("cmdCancel");
    OfferESRHistograms(app, pages);
    EXPECT_EQ(Pages(), 3);
    EXPECT_EQ(s.backend.msgBoxes.back().style, 36);
    EXPECT_EQ(app.plot.VarName(1), "Frequency distribution of ESR (in 5 species cells)");
}

}  // namespace
