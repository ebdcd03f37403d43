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

const std::string kDeg = platform::Chr(176);

struct XYPlot : plottest::PlotWindow {};

TEST_F(XYPlot, ClearedCanvasHoldsTheAxesAndTwentyTicks) {
    Request({{0, 1, 2}}, 0, 2, 0, 2);
    Show([](frmXYPlot& f) {
        const auto& fixed = f.Graph.FixedLines();
        ASSERT_EQ(fixed.size(), 2u);
        EXPECT_EQ(fixed[0].text, "Xaxis");
        EXPECT_EQ(fixed[1].text, "Yaxis");
        const auto points = OpsOf(f.Graph, DrawOp::PSet);
        const auto lines = OpsOf(f.Graph, DrawOp::Line);
        ASSERT_EQ(points.size(), 20u);
        ASSERT_EQ(lines.size(), 20u);
        EXPECT_EQ(f.Graph.DisplayList().size(), 40u);
        for (int i = 0; i < 10; ++i) {
            const DrawOp& left = lines[2 * i];
            const DrawOp& bottom = lines[2 * i + 1];
            EXPECT_EQ(left.y1, 480 + 624 * i);
            EXPECT_EQ(left.x1, 720);
            EXPECT_EQ(left.x2, 820);
            EXPECT_EQ(bottom.x1, 7200 - 648 * i);
            EXPECT_EQ(bottom.y1, 6720);
            EXPECT_EQ(bottom.y2, 6620);
        }
        for (const DrawOp& p : points) EXPECT_FALSE(p.x1 == 720 && p.y1 == 6720) << "a tick at the corner";
        // Plot, then clear twice: the same picture as one clear.
        const std::string once = platform::DisplayListText(f.Graph);
        f.cmdPlot.Click();
        f.cmdClear_Click();
        f.cmdClear_Click();
        EXPECT_EQ(platform::DisplayListText(f.Graph), once);
        EXPECT_EQ(f.Graph.FixedLines().size(), 2u);
    });
}

TEST_F(XYPlot, ColoursRunFromOneAfterAClear) {
    Request({{1, 2, 3}}, 0, 2, 0, 2);
    Show([](frmXYPlot& f) {
        f.Check_Line.Value = 0;   // points only
        for (int k = 1; k <= 16; ++k) {
            f.cmdPlot.Click();
            EXPECT_EQ(f.PlotColour, k == 15 ? 0 : k % 15);
            EXPECT_EQ(OpsOf(f.Graph, DrawOp::Circle).back().colour, QBColor(f.PlotColour));
        }
        f.cmdClear.Click();
        f.listYVar.DblClick();   // plots too
        EXPECT_EQ(f.PlotColour, 1);
        // The count never passes 16 bits and keeps its colour cycle.
        f.PlotCount = 32767;
        const int colour = f.PlotColour = 32767 % 15;
        f.cmdPlot.Click();
        EXPECT_LE(f.PlotCount, 32767);
        EXPECT_GT(f.PlotCount, 0);
        EXPECT_EQ(f.PlotColour, (colour + 1) % 15);
    });
}

TEST_F(XYPlot, CheckBoxesExcludeEachOther) {
    Request({{1, 2}, {3, 4}}, 0, 1, 0, 1);
    Show([](frmXYPlot& f) {
        // The load turns Lines <> and Points on.
        EXPECT_EQ(f.Check_Line.Value, 1);
        EXPECT_EQ(f.Check_Scatter.Value, 1);
        f.listXVar.ListIndex = 1;   // a series: every box enabled
        platform::CheckBox* all[] = {&f.Check_Line, &f.Check_Line_LtoR, &f.Check_Line_RtoL,
                                     &f.Check_Scatter, &f.Check_Drop, &f.Check_8X8, &f.Check_10X10};
        // For each box turned on, the boxes left on (all others were on).
        const std::vector<std::pair<platform::CheckBox*, std::vector<platform::CheckBox*>>> table = {
            {&f.Check_Line, {&f.Check_Scatter}},
            {&f.Check_Line_LtoR, {&f.Check_Scatter}},
            {&f.Check_Line_RtoL, {&f.Check_Scatter}},
            {&f.Check_Scatter, {&f.Check_Line, &f.Check_Line_LtoR, &f.Check_Line_RtoL}},
            {&f.Check_Drop, {}},
            {&f.Check_8X8, {}},
            {&f.Check_10X10, {}},
        };
        for (const auto& [box, kept] : table) {
            SCOPED_TRACE(box->name);
            for (platform::CheckBox* b : all) b->Value.SetQuietly(1);
            box->Value.SetQuietly(0);
            box->Value = 1;
            for (platform::CheckBox* b : all) {
                const bool on = b == box || std::find(kept.begin(), kept.end(), b) != kept.end();
                EXPECT_EQ(b->Value(), on ? 1 : 0) << b->name;
            }
        }
        // Turning a box off touches nothing else.
        for (platform::CheckBox* b : all) b->Value.SetQuietly(1);
        f.Check_Drop.Value = 0;
        for (platform::CheckBox* b : all) EXPECT_EQ(b->Value(), b == &f.Check_Drop ? 0 : 1);
    });
}

TEST_F(XYPlot, RecordEntryDisablesDirectedLinesAndTheXBoxes) {
    Request({{0, 5, 9}, {1, 2, 3}}, 0, 2, 10, 20);
    Show([](frmXYPlot& f) {
        EXPECT_EQ(f.txtXmin.Text(), "0 (10)");
        EXPECT_EQ(f.txtXmax.Text(), "2 (20)");
        EXPECT_FALSE(f.txtXmin.Enabled());
        EXPECT_FALSE(f.Check_Line_LtoR.Enabled());
        EXPECT_FALSE(f.Check_Line_RtoL.Enabled());
        // Switching to a series keeps the record texts; typed numbers stay.
        f.listXVar.ListIndex = 1;
        EXPECT_TRUE(f.txtXmin.Enabled());
        EXPECT_TRUE(f.Check_Line_LtoR.Enabled());
        EXPECT_EQ(f.txtXmin.Text(), "0 (10)");
        f.txtXmin.Text = "3";
        f.listXVar.ListIndex = 2;
        EXPECT_EQ(f.txtXmin.Text(), "3");
        // A clear fills all four boxes from the selection again.
        f.cmdClear.Click();
        EXPECT_EQ(f.txtXmin.Text(), "0");
        EXPECT_EQ(f.txtYmin.Text(), "0");
    });
}

TEST_F(XYPlot, AMissingPointBreaksTheLine) {
    Request({{1, 2, kMissing, 4, 5}}, 0, 4, 0, 4);
    Show([](frmXYPlot& f) {
        f.Check_Scatter.Value = 0;
        const std::size_t before = f.Graph.DisplayList().size();
        f.cmdPlot.Click();
        std::vector<DrawOp> drawn(f.Graph.DisplayList().begin() + static_cast<long>(before),
                                  f.Graph.DisplayList().end());
        // Y range 0..5 (the boxes start at 0): x = 720 + 1620 r, y = 6720 - 1248 v.
        ASSERT_EQ(drawn.size(), 4u);
        EXPECT_EQ(drawn[0].kind, DrawOp::PSet);
        EXPECT_EQ(drawn[0].colour, QBColor(0));
        EXPECT_EQ(drawn[0].x1, 720);
        EXPECT_EQ(drawn[0].y1, 5472);
        EXPECT_EQ(drawn[1].kind, DrawOp::Line);
        EXPECT_EQ(drawn[1].x2, 2340);
        EXPECT_EQ(drawn[1].y2, 4224);
        EXPECT_EQ(drawn[2].kind, DrawOp::PSet);   // a new piece after the gap
        EXPECT_EQ(drawn[2].colour, QBColor(15));
        EXPECT_EQ(drawn[2].x1, 5580);
        EXPECT_EQ(drawn[3].kind, DrawOp::Line);
        EXPECT_EQ(drawn[3].x1, 5580);
        EXPECT_EQ(drawn[3].x2, 7200);
        EXPECT_EQ(drawn[3].y2, 480);
        EXPECT_EQ(drawn[3].colour, QBColor(1));
    });
}

TEST_F(XYPlot, DirectedLinesJoinOnlyRisingOrFallingSteps) {
    // X 1 3 2 4, Y 1 2 3 4 in variable mode.
    Request({{1, 3, 2, 4}, {1, 2, 3, 4}}, 0, 3, 0, 3);
    Show([](frmXYPlot& f) {
        f.listXVar.ListIndex = 1;
        f.listYVar.ListIndex = 1;
        f.Check_Line_LtoR.Value = 1;
        f.Check_Scatter.Value = 0;
        const std::size_t before = f.Graph.DisplayList().size();
        f.cmdPlot.Click();
        int lines = 0;
        for (std::size_t i = before; i < f.Graph.DisplayList().size(); ++i)
            if (f.Graph.DisplayList()[i].kind == DrawOp::Line) ++lines;
        EXPECT_EQ(lines, 2);   // 1->3 and 2->4; 3->2 falls
        f.Check_Line_RtoL.Value = 1;
        const std::size_t mid = f.Graph.DisplayList().size();
        f.cmdPlot.Click();
        lines = 0;
        for (std::size_t i = mid; i < f.Graph.DisplayList().size(); ++i)
            if (f.Graph.DisplayList()[i].kind == DrawOp::Line) ++lines;
        EXPECT_EQ(lines, 1);
    });
}

TEST_F(XYPlot, GridPressesDrawAndEraseTheGrid) {
    Request({{1, 2}}, 0, 1, 0, 1);
    Show([](frmXYPlot& f) {
        f.Check_8X8.Value = 1;
        f.cmdPlot.Click();
        auto lines = OpsOf(f.Graph, DrawOp::Line);
        ASSERT_EQ(lines.size(), 20u + 14u);
        EXPECT_EQ(lines[20].x1, 720 + 810);
        EXPECT_EQ(lines[21].y1, 480 + 780);
        EXPECT_EQ(lines[20].drawStyle, 2);
        EXPECT_EQ(lines[20].colour, QBColor(0));
        EXPECT_TRUE(OpsOf(f.Graph, DrawOp::Circle).empty());   // no data
        f.cmdPlot.Click();
        lines = OpsOf(f.Graph, DrawOp::Line);
        ASSERT_EQ(lines.size(), 20u + 28u);
        EXPECT_EQ(lines.back().colour, QBColor(15));
        EXPECT_EQ(f.Graph.DrawStyle(), 0);
        EXPECT_EQ(f.PlotCount, 2);
        f.Check_10X10.Value = 1;
        f.cmdPlot.Click();
        EXPECT_EQ(OpsOf(f.Graph, DrawOp::Line).size(), 20u + 28u + 18u);
    });
}

TEST_F(XYPlot, ZeroWidthRangesOpenUp) {
    Request({{5, 5, 5}, {-5, -5, -5}, {0, 0, 0}}, 0, 2, 0, 2);
    Show([](frmXYPlot& f) {
        f.listXVar.ListIndex = 1;
        f.listYVar.ListIndex = 2;
        f.txtXmin.Text = "5";
        f.txtXmax.Text = "5";
        f.txtYmin.Text = "";
        f.txtYmax.Text = "";
        f.cmdPlot.Click();
        EXPECT_EQ(f.txtXmin.Text(), "4.5");
        EXPECT_EQ(f.txtXmax.Text(), "5.5");
        EXPECT_EQ(f.txtYmin.Text(), "-1");
        EXPECT_EQ(f.txtYmax.Text(), "1");
        EXPECT_EQ(f.lblXMaxMin.Caption(), "X-Max =   5.5\r\nX-Min =   4.5");
        EXPECT_EQ(f.lblYZero.Caption(), "Horizontal dashed line shows Y=0");
        f.listXVar.ListIndex = 2;
        f.txtXmin.Text = "-5";
        f.txtXmax.Text = "-5";
        f.cmdPlot.Click();
        EXPECT_EQ(f.txtXmin.Text(), "-4.5");
        EXPECT_EQ(f.txtXmax.Text(), "-5.5");
        // Record mode: a collapsed Y range is -1 to 1, the boxes keep their text.
        f.listXVar.ListIndex = 0;
        f.listYVar.ListIndex = 0;
        f.txtYmin.Text = "5";
        f.txtYmax.Text = "5";
        f.cmdPlot.Click();
        EXPECT_EQ(f.txtYmin.Text(), "5");
        EXPECT_EQ(f.lblGraphMax.Caption(), "Y-Max =   1\r\nY-Min =  -1");
    });
}

TEST_F(XYPlot, TypedRangesOnlyGrow) {
    Request({{2, 8, 4}}, 0, 2, 0, 2);
    Show([](frmXYPlot& f) {
        f.txtYmin.Text = "0";
        f.txtYmax.Text = "6";
        f.cmdPlot.Click();
        EXPECT_EQ(f.txtYmax.Text(), "8");
        EXPECT_EQ(f.txtYmin.Text(), "0");
        f.txtYmax.Text = "100";
        f.txtYmin.Text = "-100";
        f.cmdPlot.Click();
        EXPECT_EQ(f.txtYmax.Text(), "100");
        EXPECT_EQ(f.lblGraphMax.Caption(), "Y-Max =   100\r\nY-Min =  -100");
        // Drop lines end on the bottom axis, not at Y = 0.
        f.Check_Drop.Value = 1;
        f.cmdPlot.Click();
        EXPECT_EQ(OpsOf(f.Graph, DrawOp::Line).back().y2, 6720);
    });
}

TEST_F(XYPlot, OneRecordRangeWidensAndReadsPastTheData) {
    Request({{3}}, 1, 1, 1, 1);   // records 0 .. 0: record 1 lies outside the data
    app.plot.PlotData.ReDim(1, 1);
    app.plot.PlotData(1, 1) = 3;
    Show([this](frmXYPlot& f) {
        f.cmdPlot.Click();
        EXPECT_EQ(app.plot.RecMax, 2);
        EXPECT_EQ(app.plot.RecLabelMax, 2);
        EXPECT_EQ(f.lblXEnd.Caption(), "2");
        EXPECT_EQ(OpsOf(f.Graph, DrawOp::Circle).size(), 1u);
        f.cmdPlot.Click();   // the widened range stays
        EXPECT_EQ(app.plot.RecMax, 2);
    });
}

std::string Stats(const char* r, const char* s, const char* head, const char* mean, const char* sd,
                  const char* var) {
    std::string t = r ? std::string("r  = ") + r + "\r\ns" + kDeg + " = " + s + "\r\n\r\n" : "";
    return t + head + "\r\n      Mean = " + mean + "\r\n      SD = " + sd + "\r\n      Var = " + var;
}

TEST_F(XYPlot, StatisticsOfPointsAndDropLines) {
    Request({{1, 2, 3, 4, 5}, {2, 4, 5, 4, 5}}, 0, 4, 0, 4);
    Show([](frmXYPlot& f) {
        f.listXVar.ListIndex = 1;
        f.listYVar.ListIndex = 1;
        f.Check_Line.Value = 0;
        f.cmdPlot.Click();
        EXPECT_EQ(f.lblCorr.Caption(), Stats("0.7746", "0.3651", "Scatter of Y:", "4.0000", "1.2247", "1.5000"));
        f.Check_Drop.Value = 1;
        f.cmdPlot.Click();
        EXPECT_EQ(f.lblCorr.Caption(),
                  Stats("0.7746", "0.3651", "Distribution of X:", "3.3000", "1.3077", "1.7100"));
    });
}

TEST_F(XYPlot, StatisticsOnTheRecordAxisUseTheLabels) {
    // Records 1..5 labelled 10..20.
    Request({{0, 2, 4, 5, 4, 5}}, 1, 5, 10, 20);
    Show([](frmXYPlot& f) {
        f.Check_Drop.Value = 1;
        f.cmdPlot.Click();
        EXPECT_EQ(f.lblCorr.Caption(),
                  Stats("0.7746", "0.3651", "Distribution of X:", "15.7500", "3.2692", "10.6875"));
        // Lines alone write r and s.
        f.Check_Line.Value = 1;
        f.cmdPlot.Click();
        EXPECT_EQ(f.lblCorr.Caption(), "r  = 0.7746\r\ns" + kDeg + " = 0.3651");
    });
}

TEST_F(XYPlot, DropLinesOfTwoPointsGiveOnlyTheDistribution) {
    Request({{1, 2}, {0, 0.1}}, 0, 1, 0, 0.1);
    Show([](frmXYPlot& f) {
        f.Check_Drop.Value = 1;
        f.cmdPlot.Click();
        EXPECT_EQ(f.lblCorr.Caption(), Stats(nullptr, "", "Distribution of X:", "0.06667", "0.0471", "0.0022"));
        // The same in variable mode: four decimals.
        f.listXVar.ListIndex = 2;
        f.listYVar.ListIndex = 0;
        f.cmdPlot.Click();
        EXPECT_EQ(f.lblCorr.Caption(), Stats(nullptr, "", "Distribution of X:", "0.0667", "0.0471", "0.0022"));
        // Two points with Points write nothing new in variable mode.
        f.Check_Scatter.Value = 1;
        f.cmdPlot.Click();
        EXPECT_EQ(f.lblCorr.Caption(), Stats(nullptr, "", "Distribution of X:", "0.0667", "0.0471", "0.0022"));
    });
}

TEST_F(XYPlot, StatisticsOfAConstantSeriesAndOfCounts) {
    Request({{1, 2, 3, 4, 5, 6}, {3, 3, 3, 3, 3, 3}, {1, 2, 1}}, 0, 5, 0, 5);
    Show([this](frmXYPlot& f) {
        f.listXVar.ListIndex = 1;
        f.listYVar.ListIndex = 1;
        f.Check_Line.Value = 0;
        f.cmdPlot.Click();
        EXPECT_EQ(f.lblCorr.Caption(), Stats("0.0000", "0.5000", "Scatter of Y:", "3.0000", "0.0000", "0.0000"));
        // X 1 2 3 with counts 1 2 1.
        app.plot.RecMax = 2;
        f.listYVar.ListIndex = 2;
        f.Check_Drop.Value = 1;
        f.cmdPlot.Click();
        EXPECT_EQ(f.lblCorr.Caption(),
                  Stats("0.0000", "1.0000", "Distribution of X:", "2.0000", "0.7071", "0.5000"));
        // All counts 0: no text, the last one stays.
        app.plot.PlotData(3, 0) = app.plot.PlotData(3, 1) = app.plot.PlotData(3, 2) = 0;
        f.cmdPlot.Click();
        EXPECT_NE(f.lblCorr.Caption().find("Mean = 2.0000"), std::string::npos);
    });
}

TEST_F(XYPlot, QuitEndsTheSeriesNextPageAndCloseBoxDoNot) {
    Request({{1, 2}}, 0, 1, 0, 1);
    app.sw.FormClosed = 0;
    Show([](frmXYPlot&) {}, "cmdCancel");
    EXPECT_EQ(app.sw.KeepPlotting, platform::False);
    EXPECT_EQ(app.sw.FormClosed, platform::True);
    app.sw.FormClosed = 0;
    Show([](frmXYPlot&) {}, "cmdNext_Page");
    EXPECT_EQ(app.sw.KeepPlotting, platform::True);
    EXPECT_EQ(app.sw.FormClosed, platform::True);
    app.sw.FormClosed = 0;
    Show([](frmXYPlot&) {}, "close");
    EXPECT_EQ(app.sw.KeepPlotting, platform::True);
    EXPECT_EQ(app.sw.FormClosed, platform::True);
}

TEST_F(XYPlot, PageTextAndListsOfAFreshWindow) {
    Request({{1, 2}, {3, 4}}, 0, 1, 0, 1);
    Show([](frmXYPlot& f) {
        EXPECT_EQ(f.lblGraphPage.Caption(), "Page:  Test page");
        EXPECT_EQ(f.listXVar.Items(), (std::vector<std::string>{"Record", "Series 1", "Series 2"}));
        EXPECT_EQ(f.listYVar.Items(), (std::vector<std::string>{"Series 1", "Series 2"}));
        EXPECT_EQ(f.Caption(), "Data and prediction plots");
    });
    // An empty page text leaves the label as designed; the lists start empty again.
    Show([](frmXYPlot& f) {
        EXPECT_EQ(f.lblGraphPage.Caption(), "Page:");
        EXPECT_EQ(f.listXVar.ListCount(), 3);
    }, "cmdNext_Page", "");
}

}  // namespace
