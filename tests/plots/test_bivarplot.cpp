// The bivariate density plot on the headless back end: the widened area,
// the colour bands of the inner nodes, the reference lines, the labels, the
// correlation and the cases that show no window.
#include "PlotTestSupport.h"

#include <cmath>
#include <map>

#include "platform/runtime.h"
#include "plots/DistributionPlots.h"
#include "plots/frmBivarPlot.h"

using namespace tivelor;
using platform::DrawOp;
using platform::QBColor;

namespace {

struct BivarPlot : ::testing::Test {
    platform::headless::Session s;
    App app{s.ui};
    platform::Vec<double> X, Y;
    platform::Matrix<double> D;
    double peak = 0, peakX = 0, peakY = 0;
    int xPar = 2, yPar = 5;
    long nx = 0, ny = 0;

    void Grid(double x0, double dx, long n, double y0, double dy, long m,
              const std::function<double(double, double)>& density) {
        nx = n, ny = m;
        X.ReDim(n);
        Y.ReDim(m);
        D.ReDim(n, m);
        peak = 0;
        for (long i = 1; i <= n; ++i) X(i) = x0 + dx * static_cast<double>(i - 1);
        for (long j = 1; j <= m; ++j) Y(j) = y0 + dy * static_cast<double>(j - 1);
        for (long i = 1; i <= n; ++i)
            for (long j = 1; j <= m; ++j) {
                D(i, j) = density(X(i), Y(j));
                if (D(i, j) > peak) peak = D(i, j), peakX = X(i), peakY = Y(j);
            }
    }
    void Call() { PlotBivariateDensity(app, X, Y, D, peak, xPar, yPar, nx, ny, peakX, peakY); }
    // Shows the window; inside runs while it is open, then "&Done" (or the
    // close box) ends it.
    void Show(const std::function<void(frmBivarPlot&)>& inside, bool closeBox = false) {
        plottest::WhileOpen(s.backend, "frmBivarPlot", [this, inside] { inside(app.form<frmBivarPlot>()); },
                            closeBox ? "close" : "cmdDone");
        Call();
        EXPECT_EQ(s.backend.PendingSteps(), 0u);
    }
};

// Colour number of a palette colour.
int Number(std::int32_t c) {
    for (int n = 0; n < 16; ++n)
        if (QBColor(n) == c) return n;
    return -1;
}

double Rho06(double x, double y) { return std::exp(-(x * x - 1.2 * x * y + y * y) / 1.28); }

TEST_F(BivarPlot, CorrelatedNormalGrid) {
    Grid(-2.5, 0.3, 21, -2.5, 0.3, 21, Rho06);
    EXPECT_NEAR(peakX, -0.1, 1e-12);
    app.sw.FormClosed = 0;
    Show([](frmBivarPlot& f) {
        EXPECT_EQ(f.Caption(), "Bivariate pdf plot");
        EXPECT_TRUE(f.BivarLeft == 522 && f.BivarRight == 8843 && f.BivarTop == 324 && f.BivarBottom == 6880);
        const auto boxes = plottest::OpsOf(f.Graph, DrawOp::FilledBox);
        ASSERT_EQ(boxes.size(), 361u);
        std::map<int, int> count;
        for (const DrawOp& b : boxes) ++count[Number(b.colour)];
        EXPECT_NEAR(boxes[0].x2 - boxes[0].x1, 2 * 198.119, 0.01);
        EXPECT_EQ(boxes[0].y2 - boxes[0].y1, 312);
        const std::map<int, int> expected = {{12, 1}, {6, 6}, {14, 17}, {2, 41}, {3, 45}, {1, 63}, {5, 50}, {15, 138}};
        EXPECT_EQ(count, expected);
        // A node's box is centred on the node: x = 522 + (v + 2.65) x 8321 / 6.3.
        auto colourAt = [&](double vx, double vy) {
            const double cx = 522 + (vx + 2.65) * 8321 / 6.3, cy = 324 + (3.65 - vy) * 6556 / 6.3;
            for (const DrawOp& b : boxes)
                if (std::fabs((b.x1 + b.x2) / 2 - cx) < 0.5 && std::fabs((b.y1 + b.y2) / 2 - cy) < 0.5)
                    return Number(b.colour);
            return -1;
        };
        EXPECT_EQ(colourAt(0.5, -1.0), 3);
        EXPECT_EQ(colourAt(1.1, 0.5), 2);
        EXPECT_EQ(colourAt(-0.1, -0.1), 12);
        const auto dotted = plottest::OpsOf(f.Graph, DrawOp::Line, 2);
        ASSERT_EQ(dotted.size(), 4u);
        EXPECT_NEAR(dotted[0].y1, 4122.32, 0.01);   // Y = 0, black
        EXPECT_TRUE(dotted[0].x1 == 522 && dotted[0].x2 == 8843 && dotted[0].colour == QBColor(0));
        EXPECT_NEAR(dotted[1].x1, 4022.10, 0.01);   // X = 0
        EXPECT_TRUE(dotted[1].y1 == 324 && dotted[1].y2 == 6880);
        EXPECT_NEAR(dotted[2].y1, 3081.68, 0.01);   // Y = 1
        EXPECT_EQ(dotted[3].x1, 5343);               // X = 1
        EXPECT_EQ(f.Graph.DrawStyle, 0);
        EXPECT_EQ(f.lblLineInfo.Caption(), "NOTE: Dashed line(s) locate 0 and/or 1");
        EXPECT_EQ(f.lblCorr.Caption(), "       r = 0.579");
        EXPECT_EQ(f.lblXYMax.Caption(), "X-Max = 3.500E+00\r\nY-Max = 3.500E+00");
        EXPECT_EQ(f.lblXYMin.Caption(), "X-Min = -2.500E+00\r\nY-Min = -2.500E+00");
        EXPECT_EQ(f.lblPeak.Caption(), "X-Peak = -1.000E-01\r\nY-Peak = -1.000E-01");
        EXPECT_EQ(f.lblVar.Caption(), "X - Axis: Values for parameter # 2\r\nY - Axis: Values for parameter # 5");
        EXPECT_EQ(f.lblLegend.Caption(),
                  "   0.0  \r\n\n< 0.5\r\n\n< 1.0\r\n\n< 1.5\r\n\n< 2.0\r\n\n< 2.5\r\n\n< 3.0");
        EXPECT_EQ(plottest::OpsOf(f.Graph, DrawOp::PSet).size(), 20u);   // the default ticks stay
        // The legend: seven bands from the peak's colour down.
        const auto bands = plottest::OpsOf(f.LegendBox, DrawOp::FilledBox);
        ASSERT_EQ(bands.size(), 7u);
        const int top[] = {12, 6, 14, 2, 3, 1, 5};
        for (int i = 0; i < 7; ++i) EXPECT_EQ(Number(bands[i].colour), top[i]);
        EXPECT_NEAR(bands[6].y1, 6 * 2775 / 7.0, 0.01);
        EXPECT_TRUE(bands[6].x1 == 0 && bands[6].x2 == 735);
    });
    EXPECT_EQ(app.sw.FormClosed, platform::True);
}

TEST_F(BivarPlot, ThreeByThreeGridPaintsTheCentreOnly) {
    Grid(0.2, 0.1, 3, 2, 1, 3, [](double x, double y) { return x + y; });
    Show([](frmBivarPlot& f) {
        EXPECT_TRUE(f.BivarLeft == -1260 && f.BivarRight == 11115 && f.BivarTop == -1080 && f.BivarBottom == 8670);
        const auto boxes = plottest::OpsOf(f.Graph, DrawOp::FilledBox);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].x2 - boxes[0].x1, 4125);
        EXPECT_EQ(boxes[0].y2 - boxes[0].y1, 3250);
        EXPECT_EQ(f.lblCorr.Caption(), "");
        // X from 0.15 to 0.45 and Y from 1.5 to 4.5 cross neither 0 nor 1.
        EXPECT_TRUE(plottest::OpsOf(f.Graph, DrawOp::Line, 2).empty());
        EXPECT_EQ(f.lblLineInfo.Caption(), "");
    });
}

TEST_F(BivarPlot, OnlyTheXOneLineAndConstantDensities) {
    Grid(0.2, 0.14, 21, 2, 0.1, 21, [](double, double) { return 0.25; });
    Show([](frmBivarPlot& f) {
        const auto dotted = plottest::OpsOf(f.Graph, DrawOp::Line, 2);
        ASSERT_EQ(dotted.size(), 1u);
        EXPECT_EQ(dotted[0].x1, dotted[0].x2);
        EXPECT_EQ(dotted[0].colour, QBColor(0));   // the foreground colour
        EXPECT_EQ(f.lblCorr.Caption(), "       r = 0.0");
        for (const DrawOp& b : plottest::OpsOf(f.Graph, DrawOp::FilledBox)) EXPECT_EQ(b.colour, QBColor(12));
    });
    // A single inner row gives no correlation.
    Grid(0.2, 0.14, 21, 2, 0.1, 3, [](double, double) { return 0.25; });
    app.sw.FormClosed = 0;
    Show([](frmBivarPlot& f) { EXPECT_EQ(f.lblCorr.Caption(), ""); }, true);
    EXPECT_EQ(app.sw.FormClosed, platform::True);
    // Every inner node at 0: white boxes and no correlation.
    Grid(-0.5, 0.25, 5, -0.5, 0.25, 5, [](double x, double y) { return x == -0.5 && y == -0.5 ? 1.0 : 0.0; });
    Show([](frmBivarPlot& f) {
        EXPECT_EQ(plottest::OpsOf(f.Graph, DrawOp::Line, 2).size(), 2u);   // both zero lines
        for (const DrawOp& b : plottest::OpsOf(f.Graph, DrawOp::FilledBox)) EXPECT_EQ(b.colour, QBColor(15));
        EXPECT_EQ(f.lblCorr.Caption(), "");
    });
}

TEST_F(BivarPlot, CasesThatShowNoWindow) {
    Grid(-1, 0.5, 5, -1, 0.5, 5, Rho06);
    peak = 0;   // a peak of 0: cleared, legend painted, never shown
    app.sw.FormClosed = 0;
    Call();
    frmBivarPlot& f = app.form<frmBivarPlot>();
    EXPECT_FALSE(f.Visible());
    EXPECT_TRUE(plottest::OpsOf(f.Graph, DrawOp::FilledBox).empty());
    EXPECT_EQ(plottest::OpsOf(f.LegendBox, DrawOp::FilledBox).size(), 7u);
    EXPECT_EQ(f.lblCorr.Caption(), "");
    EXPECT_EQ(app.sw.FormClosed, 0);
    // Too few nodes, or arrays shorter than the counts: nothing drawn.
    Grid(-1, 0.5, 2, -1, 0.5, 5, Rho06);
    Call();
    EXPECT_EQ(plottest::OpsOf(f.Graph, DrawOp::PSet).size(), 20u);
    EXPECT_EQ(plottest::OpsOf(f.LegendBox, DrawOp::FilledBox).size(), 7u);   // not painted again
    Grid(-1, 0.5, 5, -1, 0.5, 5, Rho06);
    nx = 6;
    Call();
    Grid(-1, 0, 5, -1, 0.5, 5, Rho06);   // a grid of zero width
    Call();
    EXPECT_TRUE(plottest::OpsOf(f.Graph, DrawOp::FilledBox).empty());
    EXPECT_FALSE(f.Visible());
    EXPECT_EQ(s.backend.PendingSteps(), 0u);
}

}  // namespace
