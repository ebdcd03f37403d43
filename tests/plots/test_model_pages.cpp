// The model's plot pages, built from plain inputs, and the series of pages
// that the results report and the collation offer.
#include "PlotTestSupport.h"

#include <cmath>

#include "model/Report.h"
#include "plots/ModelPlots.h"

using namespace tivelor;
using platform::headless::Step;
using plottest::kMissing;

namespace {

const char* kNothing = "There is nothing to plot due to zero variance";

TEST(ModelPages, ThetaPagePlacesSpeciesAndDrawsBetaDensities) {
    PlotRequest req;
    BuildThetaPage({0, 0.00005, 1, 0.3}, {0.3, 0.01}, {0.3, 0.25}, req);
    EXPECT_EQ(req.NumPlotVars, 7);
    EXPECT_EQ(req.RecMin, 0);
    EXPECT_EQ(req.RecMax, 10000);
    EXPECT_EQ(req.RecLabelMax, 10000);
    EXPECT_EQ(req.PlotXTitle, "Sequential record #");
    // Theta 0 and the border value 0.00005 at record 0, and so at 1 too.
    EXPECT_EQ(req.PlotData(5, 0), 2);
    EXPECT_EQ(req.PlotData(5, 1), 2);
    EXPECT_EQ(req.PlotData(5, 10000), 1);
    EXPECT_EQ(req.PlotData(5, 3000), 1);
    for (long v : {1, 2, 3, 4, 6, 7}) {
        EXPECT_EQ(req.PlotData(v, 0), kMissing) << v;
        EXPECT_EQ(req.PlotData(v, 10000), kMissing) << v;
    }
    EXPECT_DOUBLE_EQ(req.PlotData(1, 2500), 0.25);
    EXPECT_DOUBLE_EQ(req.PlotData(2, 5000), std::log(0.5));
    EXPECT_DOUBLE_EQ(req.PlotData(3, 9999), 0);   // -Ln(10000 - r), not -Ln(1 - x)
    EXPECT_DOUBLE_EQ(req.PlotData(3, 9990), -std::log(10.0));
    EXPECT_NEAR(req.PlotData(4, 7500), std::log(3.0), 1e-12);
    // Beta(6, 14) for the estimated pair.
    EXPECT_NEAR(req.PlotData(6, 3000), 3.832780, 5e-7);
    EXPECT_NEAR(req.PlotData(6, 1000), 0.413795, 5e-7);
    // Variance 0.25 >= 0.3 * 0.7: no beta distribution, an empty column under its name.
    EXPECT_EQ(req.VarName(7), "Beta probability density (PD) for the inferred distribution of Theta");
    EXPECT_EQ(req.PlotData(7, 3000), kMissing);
    EXPECT_EQ(req.VarMin(1), 0);
    EXPECT_EQ(req.VarMax(1), 1);
}

TEST(ModelPages, AZeroVarianceColumnIsEmpty) {
    PlotRequest req;
    BuildThetaPage({0.5}, {0.5, 0.01}, {0.5, 0}, req);
    EXPECT_EQ(req.VarName(7), kNothing);
    EXPECT_EQ(req.VarMin(7), 0);
    EXPECT_EQ(req.VarMax(7), 1);
    for (long r : {0L, 1L, 5000L, 10000L}) EXPECT_EQ(req.PlotData(7, r), kMissing);
    EXPECT_GT(req.PlotData(6, 5000), 0);
    // A negative variance empties the column but keeps its title.
    BuildLogitThetaPage({0}, {0, 1}, {0, -1}, req);
    EXPECT_NE(req.VarName(4), kNothing);
    EXPECT_EQ(req.PlotData(4, 500), kMissing);
    BuildLnAbundancePage({1}, {0, 0}, {0, 1}, req);
    EXPECT_EQ(req.VarName(3), kNothing);
    EXPECT_EQ(req.PlotData(3, 0), kMissing);
}

TEST(ModelPages, LogitPageAxisAndDensities) {
    PlotRequest req;
    BuildLogitThetaPage({-2.5, 0, 1}, {0, 1}, {1, 4}, req);
    EXPECT_EQ(req.NumPlotVars, 4);
    EXPECT_EQ(req.RecMax, 1000);
    EXPECT_EQ(req.VarMin(1), -7);
    EXPECT_EQ(req.VarMax(1), 7);
    EXPECT_EQ(req.VarName(1), "Value for Logit[Theta]");
    EXPECT_EQ(req.PlotData(2, 321), 1);
    EXPECT_EQ(req.PlotData(2, 500), 1);
    EXPECT_EQ(req.PlotData(2, 571), 1);
    EXPECT_DOUBLE_EQ(req.PlotData(1, 0), -7);
    EXPECT_DOUBLE_EQ(req.PlotData(1, 1000), 7);
    EXPECT_NEAR(req.PlotData(3, 500), 0.398942, 5e-7);   // N(0, 1) at 0
    EXPECT_NEAR(req.PlotData(4, 500), 0.176033, 5e-7);   // N(1, 4) at 0
    BuildLnAbundancePage({2}, {2, 1}, {2, 1}, req);
    EXPECT_EQ(req.VarName(2), "By-species estimates for Ln[Estimated species abundance]");
    EXPECT_EQ(req.VarMin(1), -1);
    EXPECT_EQ(req.VarMax(1), 5);
    EXPECT_EQ(req.PlotData(2, 500), 1);
}

// A model of two species in three quadrats.
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
    for (int s = 1; s <= 2; ++s) {
        double cum = 0;
        for (int q = 1; q <= 3; ++q) {
            md.Count(s, q) = counts[s - 1][q - 1];
            md.CumCount(s, q) = cum += static_cast<double>(counts[s - 1][q - 1]);
        }
    }
    md.TotAbund.ReDim(2);
    md.TotAbund(1) = 9;
    md.TotAbund(2) = 4;
    md.IncrCurve.ReDim(3);
    md.AccumCurve.ReDim(3);
    const double incr[] = {0, 2, 0, 0};
    for (int q = 1; q <= 3; ++q) {
        md.IncrCurve(q) = incr[q];
        md.AccumCurve(q) = md.AccumCurve(q - 1) + incr[q];
    }
    return md;
}

TEST(ModelPages, AccumulationPageEndsWhereTheCurveLevels) {
    ModelState md = SmallModel();
    md.Report.NCurvePts = 7;   // an earlier data set's value
    PlotRequest req;
    BuildAccumulationPage(md, req);
    EXPECT_EQ(req.RecMin, 1);
    EXPECT_EQ(req.RecMax, 2);
    EXPECT_EQ(req.RecLabelMax, 2);
    EXPECT_EQ(req.VarMax(1), 2);
    EXPECT_EQ(req.VarMax(2), 2);
    EXPECT_EQ(req.VarName(3), "Species accumulation curve");
    EXPECT_EQ(req.PlotData(3, 2), 2);
    // A curve that never levels runs to the last quadrat.
    md.IncrCurve(2) = 1;
    md.IncrCurve(3) = 1;
    BuildAccumulationPage(md, req);
    EXPECT_EQ(req.RecMax, 3);
    EXPECT_EQ(req.PlotData(1, 3), 3);
}

TEST(ModelPages, QuadratAndSpeciesPages) {
    const ModelState md = SmallModel();
    PlotRequest req;
    BuildQuadratPage(md, req);
    EXPECT_EQ(req.NumPlotVars, 3);
    EXPECT_EQ(req.RecMax, 3);
    EXPECT_EQ(req.VarName(2), "Sample distribution for species: Abies");
    EXPECT_EQ(req.VarName(3), "Sample distribution for species: Carex");
    EXPECT_EQ(req.VarMax(2), 6);
    EXPECT_EQ(req.VarMax(3), 1);
    EXPECT_EQ(req.PlotData(2, 2), 0);
    EXPECT_EQ(req.PlotData(2, 3), 2);
    EXPECT_EQ(req.PlotData(1, 3), 3);
    BuildSpeciesPage(md, req);
    EXPECT_EQ(req.RecMax, 2);
    EXPECT_EQ(req.VarMax(2), 1);
    EXPECT_EQ(req.VarMax(3), 1);
    EXPECT_EQ(req.PlotData(2, 1), 6);
    EXPECT_EQ(req.PlotData(3, 2), 4);
}

TEST(ModelPages, HistogramLabelsSitAtCellMidpoints) {
    EsrHistogram h;
    h.CellWidth = 1;
    h.Cells = 7;
    h.Freq.ReDim(7);
    for (long k = 1; k <= 7; ++k) h.Freq(k) = static_cast<int>(k * 3);
    PlotRequest req;
    BuildHistogramPage(h, 40, 46, req);
    EXPECT_EQ(req.RecMin, 0);
    EXPECT_EQ(req.RecMax, 7);
    EXPECT_DOUBLE_EQ(req.RecLabelMin, 39.5);
    EXPECT_DOUBLE_EQ(req.RecLabelMax, 46.5);
    EXPECT_EQ(req.PlotXTitle, "Species richness midpoints");
    EXPECT_EQ(req.VarName(1), "Frequency distribution of ESR (in 1 species cells)");
    EXPECT_EQ(req.PlotData(1, 7), 21);
    // Record 1 stands for 40.5.
    EXPECT_DOUBLE_EQ(req.RecLabelMin + (req.RecLabelMax - req.RecLabelMin) * 1 / 7, 40.5);
    h.CellWidth = 2;
    h.Cells = 4;
    BuildHistogramPage(h, 40, 46, req);
    EXPECT_DOUBLE_EQ(req.RecLabelMin, 39);
    EXPECT_DOUBLE_EQ(req.RecLabelMax, 47);
    EXPECT_DOUBLE_EQ(req.RecLabelMin + (req.RecLabelMax - req.RecLabelMin) * 1 / 4, 41);
    EXPECT_EQ(HistogramPageText(5), "Estimated Species Richness (ESR, in 5 species cells)");
}

struct PageSeries : plottest::PlotWindow {
    void SetUp() override {
        ModelState& md = app.model;
        const ModelState small = SmallModel();
        md.NSpp = small.NSpp;
        md.NQuad = small.NQuad;
        md.Count = small.Count;
        md.CumCount = small.CumCount;
        md.SpName = small.SpName;
        md.TotAbund = small.TotAbund;
        md.IncrCurve = small.IncrCurve;
        md.AccumCurve = small.AccumCurve;
        md.SpTheta.ReDim(2);
        md.SpTheta(1) = 0.04;
        md.SpTheta(2) = 0;   // Theta 0: the report's logit -18.42
        md.Report.Dist.ThetaMeanEst = 0.1;
        md.Report.Dist.ThetaVarEst = 0.02;
        md.Report.Dist.LogitThetaMeanEst = -5;
        md.Report.Dist.LogitThetaVarEst = 4;
    }
    void Answer(int a) { s.backend.AnswerMsgBox("View plots?", a); }
    void Click(const std::string& path) {
        Step c;
        c.kind = Step::Click;
        c.target = path;
        s.backend.Push(c);
    }
    std::vector<std::string> Pages() const {
        std::vector<std::string> out;
        for (const std::string& l : s.backend.log)
            if (l.rfind("show frmXYPlot", 0) == 0) out.push_back(l);
        return out;
    }
};

TEST_F(PageSeries, QuitOnTheThetaPageEndsTheSeries) {
    Answer(platform::vbYes);
    Click("frmXYPlot.cmdCancel");
    OfferReportPlots(app);
    EXPECT_EQ(Pages().size(), 1u);
    EXPECT_EQ(s.backend.msgBoxes.size(), 1u);
}

TEST_F(PageSeries, EveryPageOpensAndNextPageGoesOn) {
    for (int k = 0; k < 6; ++k) {
        Answer(platform::vbYes);
        Click("frmXYPlot.cmdNext_Page");
    }
    OfferReportPlots(app);
    EXPECT_EQ(Pages().size(), 6u);
    // The last page shown is the species page, its Logit page held -18.42.
    EXPECT_EQ(app.plot.RecMax, 2);
    EXPECT_EQ(app.plot.VarName(3), "Estimated species abundance in defined habitat");
}

TEST_F(PageSeries, LogitPageTakesTheReportsLogitForThetaZero) {
    Answer(platform::vbNo);
    Answer(platform::vbYes);
    Click("frmXYPlot.cmdCancel");
    OfferReportPlots(app);
    double placed = 0;
    for (long r = 1; r <= 1000; ++r) placed += app.plot.PlotData(2, r);
    EXPECT_EQ(placed, 2);
    EXPECT_LE(app.plot.VarMin(1), -18.42);
}

TEST_F(PageSeries, CancelAtTheFirstQuestionShowsNothing) {
    Answer(platform::vbCancel);
    OfferReportPlots(app);
    EXPECT_TRUE(Pages().empty());
    EXPECT_EQ(s.backend.msgBoxes.size(), 1u);
}

TEST_F(PageSeries, QuitOnTheFiveSpeciesHistogramEndsTheHistograms) {
    std::vector<EsrHistogramPage> pages;
    for (int w : {1, 2, 5, 10, 20, 50, 100}) {
        EsrHistogramPage p;
        p.Hist.CellWidth = w;
        p.Hist.Cells = 1;
        p.Hist.Freq.ReDim(1);
        p.Hist.Freq(1) = 10;
        p.L = p.H = 100;
        pages.push_back(p);
    }
    s.backend.AnswerMsgBox("View plots?", platform::vbYes);
    Click("frmXYPlot.cmdNext_Page");
    Click("frmXYPlot.cmdNext_Page");
    Click("frmXYPlot.cmdCancel");
    OfferESRHistograms(app, pages);
    EXPECT_EQ(Pages().size(), 3u);
    EXPECT_EQ(s.backend.msgBoxes.back().style, 36);
    EXPECT_EQ(app.plot.VarName(1), "Frequency distribution of ESR (in 5 species cells)");
    s.backend.AnswerMsgBox("View plots?", platform::vbNo);
    OfferESRHistograms(app, pages);
    EXPECT_EQ(Pages().size(), 3u);
}

}  // namespace
