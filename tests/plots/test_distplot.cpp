// The distribution plot window on the headless back end: the seven columns
// of a profile, their scales, reference lines, colours, the statistics of
// column 2 and the plot options.
#include "PlotTestSupport.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime.h"
#include "plots/DistributionPlots.h"
#include "plots/frmDistPlot.h"

using namespace tivelor;
using platform::DrawOp;
using platform::QBColor;

namespace {

struct DistPlot : ::testing::Test {
    platform::headless::Session s;
    App app{s.ui};
    platform::Vec<double> neg, pdf, mode, mean, cum, norm, xs;
    double Mean = 0.52, Diff = -0.02, EV = 0.5, SD = 0.41;
    std::string prior = "off", post = "off", ml = "on";

    // A profile at xv; column 1 from f1, the others from fk(k, x).
    void Profile(const std::vector<double>& xv, const std::function<double(double)>& f1,
                 const std::function<double(int, double)>& fk = [](int, double) { return 0.0; }) {
        const long n = static_cast<long>(xv.size());
        for (auto* v : {&neg, &pdf, &mode, &mean, &cum, &norm, &xs}) v->ReDim(n);
        for (long k = 1; k <= n; ++k) {
            const double x = xv[static_cast<std::size_t>(k - 1)];
            xs(k) = x;
            neg(k) = f1(x);
            pdf(k) = fk(2, x);
            mode(k) = fk(3, x);
            mean(k) = fk(4, x);
            cum(k) = fk(5, x);
            norm(k) = fk(7, x);
        }
        app.eval.NProfPts = n;
        app.eval.ProfX = xs;
        app.eval.ProfPar = 3;
        app.eval.EVEstimate = EV;
    }

    // Shows the window; inside runs while it is open, then "&Done" (or the
    // close box) ends it.
    void Show(const std::function<void(frmDistPlot&)>& inside, bool closeBox = false) {
        plottest::WhileOpen(s.backend, "frmDistPlot", [this, inside] { inside(app.form<frmDistPlot>()); },
                            closeBox ? "close" : "cmdDone");
        long n = app.eval.NProfPts;
        ShowDistributionPlots(app, neg, Mean, Diff, EV, SD, n, pdf, mode, mean, cum, norm, xs, prior, post, ml);
        EXPECT_EQ(s.backend.PendingSteps(), 0u);
    }
};

std::vector<DrawOp> Plot(frmDistPlot& f, int column) {
    const auto& list = f.Graph.DisplayList();
    const std::size_t before = list.size();
    f.listVar.ListIndex = column - 1;
    f.cmdPlot.Click();
    return {list.begin() + static_cast<long>(before), list.end()};
}

const std::vector<double> kWide = {-0.5, 0, 0.5, 1, 1.5, 2};
double Parabola(double x) { return 2 * (x - 0.5) * (x - 0.5); }

TEST_F(DistPlot, LikelihoodColumnPointsScaleAndReferenceLines) {
    Profile(kWide, Parabola);
    Show([](frmDistPlot& f) {
        EXPECT_EQ(f.Caption(), "Distribution plots");
        EXPECT_EQ(f.listVar.ListIndex, 0);
        const auto ops = Plot(f, 1);
        const auto circles = plottest::OpsOf(ops, DrawOp::Circle);
        const double xe[] = {720, 2016, 3312, 4608, 5904, 7200};
        const double ye[] = {3946.67, 6026.67, 6720, 6026.67, 3946.67, 480};
        ASSERT_EQ(circles.size(), 6u);
        for (int k = 0; k < 6; ++k)
            EXPECT_TRUE(std::fabs(circles[k].x1 - xe[k]) < 0.01 && std::fabs(circles[k].y1 - ye[k]) < 0.01) << k;
        EXPECT_TRUE(circles[0].r == 30 && circles[0].fillStyle == 0 && circles[0].fillColour == QBColor(2));
        // The line starts with a point on the Y axis and joins the six.
        const auto psets = plottest::OpsOf(ops, DrawOp::PSet);
        ASSERT_EQ(psets.size(), 1u);
        EXPECT_EQ(psets[0].x1, 720);
        EXPECT_NEAR(psets[0].y1, 3946.67, 0.01);
        std::vector<DrawOp> curve, dotted;
        for (const DrawOp& op : plottest::OpsOf(ops, DrawOp::Line)) (op.drawStyle == 2 ? dotted : curve).push_back(op);
        ASSERT_EQ(curve.size(), 5u);
        EXPECT_NEAR(curve[4].x2, 7200, 0.01);
        EXPECT_NEAR(curve[4].y2, 480, 0.01);
        ASSERT_EQ(dotted.size(), 2u);
        EXPECT_TRUE(dotted[0].x1 == 2016 && dotted[0].x2 == 2016 && dotted[0].y1 == 480 && dotted[0].y2 == 6720);
        EXPECT_TRUE(dotted[1].x1 == 4608 && dotted[1].x2 == 4608);
        EXPECT_EQ(dotted[0].colour, QBColor(0));
        EXPECT_EQ(f.Graph.DrawStyle, 0);
        EXPECT_EQ(f.lblVerticalLine.Caption(), "Left vertical line locates 0\r\nRight vertical line locates 1");
        EXPECT_EQ(f.lblGraphMax.Caption(), "Max =  4.5\r\nMin =  0.0");
        EXPECT_EQ(f.lblXStart.Caption() + " " + f.lblXEnd.Caption(), "-0.5 2.0");
        EXPECT_EQ(f.lblVar.Caption(), "Y: Parameter Likelihood Profile\r\nX: Values for parameter # 3");
        EXPECT_EQ(f.lblConfidenceInterval.Caption(), "");
        EXPECT_EQ(f.lblPlotInfo.Caption(), "");   // only column 2 shows the statistics
    });
}

TEST_F(DistPlot, ColumnTwoStatisticsAndTheirPlace) {
    Profile(kWide, Parabola, [](int, double x) { return x; });
    Show([this](frmDistPlot& f) {
        Plot(f, 2);
        EXPECT_EQ(f.lblPlotInfo.Caption(),
                  "ML Estimate: \r\nEV Estimate:\r\nEstimated Diff:\r\nPercent Diff:\r\nEstimated SE:");
        EXPECT_EQ(f.lblPlotInfoValues.Caption(), "5.000E-01\r\n5.200E-01\r\n-2.000E-02\r\n-3.846E+00\r\n4.100E-01");
        // 15 characters of 8.25 x 11 twips, then 50 twips of space.
        EXPECT_EQ(f.lblPlotInfo.Width, 1361);
        EXPECT_EQ(f.lblPlotInfoValues.Left, 7440 + 1361 + 50);
        // The legend's first line, 36 characters, would run off the canvas:
        // it ends 150 twips inside. A shorter one stands at its place.
        EXPECT_EQ(f.lblVar.Left + f.lblVar.Width, 10095 - 150);
        // Another column leaves them as they are.
        Plot(f, 3);
        EXPECT_EQ(f.lblVar.Left, 7440);
        EXPECT_EQ(f.lblPlotInfoValues.Caption(), "5.000E-01\r\n5.200E-01\r\n-2.000E-02\r\n-3.846E+00\r\n4.100E-01");
        // In a larger font the values would run off the canvas: both move
        // left so that the values end 150 twips inside it.
        f.lblPlotInfo.FontSize = 12;
        f.lblPlotInfoValues.FontSize = 12;
        Plot(f, 2);
        EXPECT_EQ(f.lblPlotInfo.Width, 1980);
        EXPECT_EQ(f.lblPlotInfoValues.Width, 1320);
        EXPECT_EQ(f.lblPlotInfoValues.Left + f.lblPlotInfoValues.Width, 10095 - 150);
        EXPECT_EQ(f.lblPlotInfo.Left, 7440 - 845);
        // The moved labels stay where they are at the next plot.
        Mean = 0;
        f.DistMean = 0;
        Plot(f, 2);
        EXPECT_EQ(f.lblPlotInfo.Left, 7440 - 845);
        EXPECT_EQ(f.lblPlotInfoValues.Caption(), "5.000E-01\r\n0.000E+00\r\n-2.000E-02\r\nUndefined\r\n4.100E-01");
    });
}

TEST_F(DistPlot, NinetyFiveLineNarrowProfileAndColours) {
    Profile({0.2, 0.4, 0.6, 0.8}, [](double x) { return x; },
            [](int k, double x) { return k == 7 ? 3 * x : x / k; });
    Show([this](frmDistPlot& f) {
        f.lblVerticalLine.Caption = "before";
        for (int c = 1; c <= 7; ++c) {
            f.lblConfidenceInterval.Caption = "";
            const auto ops = Plot(f, c);
            int at792 = 0, vertical = 0;
            for (const DrawOp& op : plottest::OpsOf(ops, DrawOp::Line)) {
                if (op.drawStyle != 2) continue;
                if (op.y1 == 792 && op.y2 == 792 && op.x1 == 720 && op.x2 == 7200) ++at792;
                if (op.x1 == op.x2) ++vertical;
            }
            EXPECT_EQ(at792, c >= 3 && c <= 6 ? 1 : 0) << c;
            EXPECT_EQ(f.lblConfidenceInterval.Caption(), c >= 3 && c <= 6 ? "< 95% CI >" : "") << c;
            EXPECT_EQ(vertical, 0);
            const int colour[] = {0, 2, 3, 5, 12, 13, 14, 4};
            EXPECT_EQ(plottest::OpsOf(ops, DrawOp::Circle).at(0).colour, QBColor(colour[c])) << c;
        }
        EXPECT_EQ(f.lblVerticalLine.Caption(), "before");
        // Column 6 is 1 - column 5 (x / 5 here), all positive: drawn from 0.
        Plot(f, 6);
        EXPECT_EQ(f.lblGraphMax.Caption(), "Max =  0.96\r\nMin =  0.0");
        // A profile that only crosses 1 gets the single note.
        app.eval.ProfX(4) = 1.6;
        Plot(f, 1);
        EXPECT_EQ(f.lblVerticalLine.Caption(), "Note: Vertical line locates 1");
    });
}

TEST_F(DistPlot, RangesOfPositiveZeroAndNegativeColumns) {
    Profile({1, 2, 3, 4}, [](double x) { return x + 1; },
            [](int k, double x) { return k == 2 ? 0.0 : -x; });
    Show([](frmDistPlot& f) {
        Plot(f, 1);
        EXPECT_EQ(f.lblGraphMax.Caption(), "Max =  5.0\r\nMin =  0.0");
        const auto zero = plottest::OpsOf(Plot(f, 2), DrawOp::Circle);
        EXPECT_EQ(f.lblGraphMax.Caption(), "Max =  1.0\r\nMin =  -1.0");
        EXPECT_EQ(zero.at(0).y1, 3600);   // 0 in the middle of -1 .. 1
        const auto neg = plottest::OpsOf(Plot(f, 3), DrawOp::Circle);
        EXPECT_EQ(f.lblGraphMax.Caption(), "Max =  0.0\r\nMin =  -4.0");
        EXPECT_EQ(neg.at(0).y1, 480 + 1560);
        EXPECT_EQ(neg.at(3).y1, 6720);
    });
}

TEST_F(DistPlot, ZeroWidthProfileDrawsNothing) {
    Profile({0.5, 0.5, 0.5}, Parabola);
    Show([](frmDistPlot& f) {
        const std::string before = platform::DisplayListText(f.Graph);
        EXPECT_TRUE(Plot(f, 1).empty());
        EXPECT_EQ(platform::DisplayListText(f.Graph), before);
        EXPECT_EQ(f.lblGraphMax.Caption(), "");
    });
}

TEST_F(DistPlot, ColumnTwoIsNamedByTheSwitches) {
    Profile(kWide, Parabola);
    // prior, posterior, likelihood -> name
    const struct {
        const char *prior, *post, *ml, *name;
    } cases[] = {
        {"off", "off", "off", ""},
        {"off", "off", "on", "Parameter Confidence Distribution"},
        {"off", "on", "on", "Bayesian Posterior Distribution"},
        {"on", "off", "off", "Bayesian Prior Distribution"},
        {"on", "on", "on", "Bayesian Prior Distribution"},
    };
    for (const auto& c : cases) {
        prior = c.prior, post = c.post, ml = c.ml;
        Show([&c](frmDistPlot& f) {
            ASSERT_EQ(f.listVar.ListCount(), 7);   // a fresh list each time
            EXPECT_EQ(f.listVar.List(1), c.name) << c.prior << c.post << c.ml;
            EXPECT_EQ(f.listVar.List(6), "Gaussian Probability Distribution");
        });
    }
}

TEST_F(DistPlot, PlotOptionsAndDropLines) {
    Profile(kWide, Parabola);
    Show([](frmDistPlot& f) {
        EXPECT_TRUE(f.Check_Line.Value == 1 && f.Check_Scatter.Value == 1 && f.Check_Drop.Value == 0);
        f.Check_Drop.Value = 1;
        EXPECT_TRUE(f.Check_Line.Value == 0 && f.Check_Scatter.Value == 0);
        const auto ops = Plot(f, 1);
        EXPECT_TRUE(plottest::OpsOf(ops, DrawOp::PSet).empty());   // no curve
        const auto discs = plottest::OpsOf(ops, DrawOp::Circle);
        std::vector<DrawOp> drops;
        for (const DrawOp& op : plottest::OpsOf(ops, DrawOp::Line))
            if (op.drawStyle == 0) drops.push_back(op);
        ASSERT_EQ(discs.size(), 6u);
        ASSERT_EQ(drops.size(), 6u);
        for (int k = 0; k < 6; ++k)
            EXPECT_TRUE(drops[k].x1 == discs[k].x1 && drops[k].y1 == discs[k].y1 && drops[k].x2 == discs[k].x1 &&
                        drops[k].y2 == 6720);
        f.Check_Scatter.Value = 1;
        EXPECT_EQ(f.Check_Drop.Value, 0);
        f.Check_Drop.Value = 1;
        f.Check_Line.Value = 1;
        EXPECT_TRUE(f.Check_Drop.Value == 0 && f.Check_Scatter.Value == 0);
        // Lines only: no discs.
        const auto lines = Plot(f, 1);
        EXPECT_TRUE(plottest::OpsOf(lines, DrawOp::Circle).empty());
        EXPECT_EQ(plottest::OpsOf(lines, DrawOp::PSet).size(), 1u);
    });
}

TEST_F(DistPlot, ClearDoubleClickAndLeaving) {
    Profile(kWide, Parabola);
    app.sw.FormClosed = 0;
    Show([this](frmDistPlot& f) {
        const std::string cleared = platform::DisplayListText(f.Graph);
        EXPECT_EQ(std::count(cleared.begin(), cleared.end(), '\n'), 2 + 40);
        f.listVar.ListIndex = 6;
        f.listVar.DblClick();
        EXPECT_NE(platform::DisplayListText(f.Graph), cleared);
        EXPECT_EQ(f.lblVar.Caption(), "Y: Gaussian Probability Distribution\r\nX: Values for parameter # 3");
        f.cmdClear.Click();
        EXPECT_EQ(platform::DisplayListText(f.Graph), cleared);
        EXPECT_EQ(f.lblXEnd.Caption() + f.lblXStart.Caption() + f.lblGraphMax.Caption() + f.lblVar.Caption(), "");
        EXPECT_EQ(f.lblXEnd.Left, 7000);
        EXPECT_EQ(f.lblXStart.Left, 520);
        EXPECT_EQ(app.sw.KeepPlotting, platform::True);
    });
    EXPECT_EQ(app.sw.KeepPlotting, platform::False);
    EXPECT_EQ(app.sw.FormClosed, platform::True);
    // The close box also ends it, without ending the plotting.
    app.sw.FormClosed = 0;
    Show([](frmDistPlot&) {}, true);
    EXPECT_EQ(app.sw.FormClosed, platform::True);
    EXPECT_EQ(app.sw.KeepPlotting, platform::True);
}

}  // namespace
