// The XY plot window on the headless back end: canvas, colours, options,
// ranges, lines with gaps, grids and the statistics text.
#include "PlotTestSupport.h"

#include "platform/runtime.h"

using namespace tivelor;
using platform::DrawOp;
using platform::QBColor;
using plottest::kMissing;
using plottest::OpsOf;

namespace {

struct XYPlot : plottest::PlotWindow {};

// The operations a press of "&Plot it!" adds.
std::vector<DrawOp> PlotOnce(frmXYPlot& f) {
    const auto& list = f.Graph.DisplayList();
    const std::size_t before = list.size();
    f.cmdPlot.Click();
    return {list.begin() + static_cast<long>(before), list.end()};
}

TEST_F(XYPlot, ClearedCanvasHoldsTheAxesAndTwentyTicks) {
    Request({{0, 1, 2}}, 0, 2, 0, 2);
    Show([](frmXYPlot& f) {
        EXPECT_EQ(f.lblGraphPage.Caption(), "Page:  Test page");
        ASSERT_EQ(f.Graph.FixedLines().size(), 2u);
        const auto lines = OpsOf(f.Graph, DrawOp::Line);
        ASSERT_EQ(lines.size(), 20u);
        EXPECT_EQ(OpsOf(f.Graph, DrawOp::PSet).size(), 20u);
        for (int i = 0; i < 10; ++i) {
            EXPECT_TRUE(lines[2 * i].x1 == 720 && lines[2 * i].x2 == 820 && lines[2 * i].y1 == 480 + 624 * i);
            EXPECT_TRUE(lines[2 * i + 1].y1 == 6720 && lines[2 * i + 1].y2 == 6620 &&
                        lines[2 * i + 1].x1 == 7200 - 648 * i);
        }
        // A plot, then two clears: the picture of one clear.
        const std::string once = platform::DisplayListText(f.Graph);
        f.cmdPlot.Click();
        f.cmdClear_Click();
        f.cmdClear_Click();
        EXPECT_EQ(platform::DisplayListText(f.Graph), once);
    });
}

TEST_F(XYPlot, ColoursRunFromOneAfterAClearAndTheCountStaysIn16Bits) {
    Request({{1, 2, 3}}, 0, 2, 0, 2);
    Show([](frmXYPlot& f) {
        for (int k = 1; k <= 16; ++k) {
            PlotOnce(f);
            EXPECT_EQ(OpsOf(f.Graph, DrawOp::Circle).back().colour, QBColor(k == 15 ? 0 : k % 15));
        }
        f.cmdClear.Click();
        f.listYVar.DblClick();
        EXPECT_EQ(f.PlotColour, 1);
        f.PlotCount = 32767;
        f.PlotColour = 32767 % 15;
        f.cmdPlot.Click();
        EXPECT_TRUE(f.PlotCount > 0 && f.PlotCount <= 32767);
        EXPECT_EQ(f.PlotColour, (32767 % 15 + 1) % 15);
    });
}

TEST_F(XYPlot, CheckBoxesExcludeEachOther) {
    Request({{1, 2}, {3, 4}}, 0, 1, 0, 1);
    Show([](frmXYPlot& f) {
        EXPECT_TRUE(f.Check_Line.Value == 1 && f.Check_Scatter.Value == 1);   // set by the load
        f.listXVar.ListIndex = 1;
        platform::CheckBox* all[] = {&f.Check_Line, &f.Check_Line_LtoR, &f.Check_Line_RtoL,
                                     &f.Check_Scatter, &f.Check_Drop, &f.Check_8X8, &f.Check_10X10};
        // Each box turned on while all the others are on, and those left on.
        const std::vector<std::pair<platform::CheckBox*, std::vector<platform::CheckBox*>>> table = {
            {&f.Check_Line, {&f.Check_Scatter}},
            {&f.Check_Line_LtoR, {&f.Check_Scatter}},
            {&f.Check_Line_RtoL, {&f.Check_Scatter}},
            {&f.Check_Scatter, {&f.Check_Line, &f.Check_Line_LtoR, &f.Check_Line_RtoL}},
            {&f.Check_Drop, {}}, {&f.Check_8X8, {}}, {&f.Check_10X10, {}}};
        for (const auto& [box, kept] : table) {
            for (platform::CheckBox* b : all) b->Value.SetQuietly(b == box ? 0 : 1);
            box->Value = 1;
            for (platform::CheckBox* b : all)
                EXPECT_EQ(b->Value(), b == box || std::count(kept.begin(), kept.end(), b) ? 1 : 0)
                    << box->name << " left " << b->name;
        }
        // The record entry turns the directed lines off and disables them and the X boxes.
        f.listXVar.ListIndex = 0;
        EXPECT_TRUE(!f.Check_Line_LtoR.Enabled() && !f.txtXmin.Enabled() && f.Check_Line_LtoR.Value == 0);
        EXPECT_EQ(f.txtXmin.Text(), "0 (0)");
    });
}

TEST_F(XYPlot, AMissingPointBreaksTheLineAndDirectedLinesSkipSteps) {
    Request({{1, 2, kMissing, 4, 5}, {1, 3, 2, 4, 6}}, 0, 4, 0, 4);
    Show([](frmXYPlot& f) {
        f.Check_Scatter.Value = 0;
        // Y range 0..5 from the boxes' 0: x = 720 + 1620 r, y = 6720 - 1248 v.
        const auto d = PlotOnce(f);
        ASSERT_EQ(d.size(), 4u);
        EXPECT_TRUE(d[0].kind == DrawOp::PSet && d[0].colour == QBColor(0) && d[0].x1 == 720 && d[0].y1 == 5472);
        EXPECT_TRUE(d[1].kind == DrawOp::Line && d[1].x2 == 2340 && d[1].y2 == 4224);
        EXPECT_TRUE(d[2].kind == DrawOp::PSet && d[2].colour == QBColor(15) && d[2].x1 == 5580);
        EXPECT_TRUE(d[3].kind == DrawOp::Line && d[3].x1 == 5580 && d[3].x2 == 7200 && d[3].colour == QBColor(1));
        // X 1 3 2 4 6 against series 1: lines only where X rises, and the gap at record 2.
        f.listXVar.ListIndex = 2;
        f.Check_Line_LtoR.Value = 1;
        const auto e = PlotOnce(f);
        EXPECT_EQ(std::count_if(e.begin(), e.end(), [](const DrawOp& op) { return op.kind == DrawOp::Line; }),
                  2);   // 1->3 and 4->6
    });
}

TEST_F(XYPlot, GridPressesDrawAndEraseTheGrid) {
    Request({{1, 2}}, 0, 1, 0, 1);
    Show([](frmXYPlot& f) {
        f.Check_8X8.Value = 1;
        auto d = PlotOnce(f);
        ASSERT_EQ(d.size(), 14u);
        EXPECT_TRUE(d[0].x1 == 720 + 810 && d[1].y1 == 480 + 780 && d[0].drawStyle == 2);
        EXPECT_EQ(d[0].colour, QBColor(0));
        d = PlotOnce(f);
        EXPECT_EQ(d.back().colour, QBColor(15));
        EXPECT_EQ(f.Graph.DrawStyle(), 0);
        EXPECT_EQ(f.PlotCount, 2);
        f.Check_10X10.Value = 1;
        EXPECT_EQ(PlotOnce(f).size(), 18u);
    });
}

TEST_F(XYPlot, RangesGrowToTheDataAndOpenWhenCollapsed) {
    Request({{5, 5, 5}, {-5, -5, -5}, {0, 0, 0}, {2, 8, 4}}, 0, 2, 0, 2);
    Show([](frmXYPlot& f) {
        auto plot = [&](int x, int y, const char* x0, const char* x1, const char* y0, const char* y1) {
            f.listXVar.ListIndex = x;
            f.listYVar.ListIndex = y;
            f.txtXmin.Text = x0, f.txtXmax.Text = x1, f.txtYmin.Text = y0, f.txtYmax.Text = y1;
            f.cmdPlot.Click();
        };
        plot(1, 2, "5", "5", "", "");
        EXPECT_EQ(f.txtXmin.Text() + " " + f.txtXmax.Text() + " " + f.txtYmin.Text() + " " + f.txtYmax.Text(),
                  "4.5 5.5 -1 1");
        EXPECT_EQ(f.lblXMaxMin.Caption(), "X-Max =   5.5\r\nX-Min =   4.5");
        EXPECT_EQ(f.lblYZero.Caption(), "Horizontal dashed line shows Y=0");
        plot(2, 3, "-5", "-5", "0", "6");
        EXPECT_EQ(f.txtXmin.Text() + " " + f.txtXmax.Text() + " " + f.txtYmax.Text(), "-4.5 -5.5 8");
        // Record mode: a collapsed Y range is -1 to 1 and the boxes keep their text;
        // a typed range wider than the data stays.
        plot(0, 0, "", "", "5", "5");
        EXPECT_EQ(f.txtYmin.Text(), "5");
        EXPECT_EQ(f.lblGraphMax.Caption(), "Y-Max =   1\r\nY-Min =  -1");
        plot(0, 3, "", "", "-100", "100");
        EXPECT_EQ(f.txtYmax.Text(), "100");
        f.Check_Drop.Value = 1;   // drop lines end on the bottom axis
        f.cmdPlot.Click();
        EXPECT_EQ(OpsOf(f.Graph, DrawOp::Line).back().y2, 6720);
    });
}

TEST_F(XYPlot, OneRecordRangeWidensAndReadsPastTheData) {
    Request({{0, 3}}, 1, 1, 1, 1);   // record 2 lies outside the data
    Show([this](frmXYPlot& f) {
        f.cmdPlot.Click();
        EXPECT_TRUE(app.plot.RecMax == 2 && app.plot.RecLabelMax == 2 && f.lblXEnd.Caption() == "2");
        EXPECT_EQ(OpsOf(f.Graph, DrawOp::Circle).size(), 1u);
    });
}

std::string Stats(const char* r, const char* s, const char* head, const char* mean, const char* sd,
                  const char* var) {
    std::string t = r ? std::string("r  = ") + r + "\r\ns" + platform::Chr(176) + " = " + s + "\r\n\r\n" : "";
    return t + head + "\r\n      Mean = " + mean + "\r\n      SD = " + sd + "\r\n      Var = " + var;
}

TEST_F(XYPlot, StatisticsText) {
    // Series: X 1..5, Y 2 4 5 4 5, a constant 3, counts 1 2 1, and two records.
    Request({{1, 2, 3, 4, 5, 6}, {2, 4, 5, 4, 5, kMissing}, {3, 3, 3, 3, 3, 3}, {1, 2, 1, 0, 0, 0},
             {0, 0.1}, {1, 2}},
            0, 5, 0, 5);
    Show([this](frmXYPlot& f) {
        auto plot = [&](int x, int y, bool drop, long last = 5) {
            app.plot.RecMax = last;
            f.listXVar.ListIndex = x;
            f.listYVar.ListIndex = y - 1;
            f.Check_Line.Value = 0;
            (drop ? f.Check_Drop : f.Check_Scatter).Value = 1;
            f.cmdPlot.Click();
            return f.lblCorr.Caption();
        };
        EXPECT_EQ(plot(1, 2, false), Stats("0.7746", "0.2108", "Scatter of Y:", "4.0000", "1.2247", "1.5000"));
        EXPECT_EQ(plot(1, 2, true), Stats("0.7746", "0.2108", "Distribution of X:", "3.3000", "1.3077", "1.7100"));
        EXPECT_EQ(plot(1, 3, false), Stats("0.0000", "0.2500", "Scatter of Y:", "3.0000", "0.0000", "0.0000"));
        EXPECT_EQ(plot(1, 4, true, 2), Stats("0.0000", "1.0000", "Distribution of X:", "2.0000", "0.7071", "0.5000"));
        EXPECT_EQ(plot(5, 6, true, 1), Stats(nullptr, "", "Distribution of X:", "0.0667", "0.0471", "0.0022"));
        // Record mode: records 1..5 labelled 10..20, the label as X.
        app.plot.RecMin = 1, app.plot.RecLabelMin = 10, app.plot.RecLabelMax = 20;
        const double y[] = {kMissing, 2, 4, 5, 4, 5};
        for (long r = 0; r <= 5; ++r) app.plot.PlotData(2, r) = y[r];
        EXPECT_EQ(plot(0, 2, true),
                  Stats("0.7746", "0.2108", "Distribution of X:", "15.7500", "3.2692", "10.6875"));
        f.Check_Line.Value = 1;
        f.cmdPlot.Click();
        EXPECT_EQ(f.lblCorr.Caption(), "r  = 0.7746\r\ns" + platform::Chr(176) + " = 0.2108");
        // Two records labelled 0 and 0.1 with drop lines: five decimals of the mean.
        app.plot.RecMin = 0, app.plot.RecLabelMin = 0, app.plot.RecLabelMax = 0.1;
        EXPECT_EQ(plot(0, 6, true, 1), Stats(nullptr, "", "Distribution of X:", "0.06667", "0.0471", "0.0022"));
    });
}

TEST_F(XYPlot, QuitEndsTheSeriesNextPageAndTheCloseBoxDoNot) {
    Request({{1, 2}}, 0, 1, 0, 1);
    for (const char* leave : {"cmdCancel", "cmdNext_Page", "close"}) {
        app.sw.FormClosed = 0;
        app.sw.KeepPlotting = 0;
        Show([](frmXYPlot&) {}, leave);
        EXPECT_EQ(app.sw.KeepPlotting, std::string(leave) == "cmdCancel" ? platform::False : platform::True);
        EXPECT_EQ(app.sw.FormClosed, platform::True);
    }
}

}  // namespace
