// The XY plot window on the Qt back end: a plotted page, its picture, and
// the canvas keeping its drawing across repaints.
#include <gtest/gtest.h>

#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <cmath>

#include "QtTestSupport.h"
#include "platform/qt/Canvas.h"
#include "platform/qt/Convert.h"
#include "platform/runtime.h"
#include "plots/frmXYPlot.h"
#include "windows/InfoWindows.h"

namespace {

using namespace platform;

void SineRequest(tivelor::PlotRequest& r, long last) {
    r.NumPlotVars = 2;
    r.PlotXTitle = "Sequential record #";
    r.PlotData.ReDim(2, last);
    r.VarMin.ReDim(2);
    r.VarMax.ReDim(2);
    r.VarName.ReDim(2);
    r.VarName(1) = "Sine";
    r.VarName(2) = "Cosine";
    for (long i = 0; i <= last; ++i) {
        r.PlotData(1, i) = std::sin(i * 6.283185307 / last);
        r.PlotData(2, i) = std::cos(i * 6.283185307 / last);
    }
    r.RecMin = 0;
    r.RecMax = last;
    r.RecLabelMin = 0;
    r.RecLabelMax = 1;
}

TEST(QtPlot, XYPlotWindowShowsAPlottedPage) {
    qttest::Desktop d;
    d.Start();
    SineRequest(d.app->plot, 40);
    bool checked = false;
    qttest::WhenModal([&](QWidget* w) {
        auto& f = d.app->form<tivelor::frmXYPlot>();
        EXPECT_EQ(w, d.backend.Window(f));
        auto button = [&](platform::CommandButton& b) { return qobject_cast<QPushButton*>(d.backend.Widget(b)); };
        button(f.cmdPlot)->click();   // the sine in colour 1
        qobject_cast<QListWidget*>(d.backend.Widget(f.listYVar))->setCurrentRow(1);
        button(f.cmdPlot)->click();   // the cosine over it in colour 2
        qttest::Settle();
        qttest::ExpectMirrors(d.backend, f);
        EXPECT_EQ(f.PlotColour, 2);
        EXPECT_NE(f.lblCorr.Caption().find("Scatter of Y:"), std::string::npos);
        EXPECT_TRUE(qttest::Grab(w, "frmXYPlot"));

        // The sine's top (record 10 of 40, Y 1) is a blue dot.
        auto* canvas = static_cast<qt::Canvas*>(d.backend.Widget(f.Graph));
        QImage shot = canvas->grab().toImage();
        const QPointF top = canvas->ToPixels(2340, 480);
        const double dpr = shot.devicePixelRatio();
        EXPECT_EQ(shot.pixelColor(static_cast<int>(top.x() * dpr), static_cast<int>(top.y() * dpr)),
                  qt::ToColor(QBColor(1)));
        // The axes lie over the drawing, and a repaint shows the same picture.
        const QPointF axis = canvas->ToPixels(3000, 6720);
        EXPECT_EQ(shot.pixelColor(static_cast<int>(axis.x() * dpr), static_cast<int>(axis.y() * dpr)),
                  QColor(Qt::black));
        canvas->repaint();
        EXPECT_EQ(canvas->grab().toImage(), shot);
        // A clear leaves the axes and the ticks only.
        button(f.cmdClear)->click();
        qttest::Settle();
        QImage cleared = canvas->grab().toImage();
        EXPECT_EQ(cleared.pixelColor(static_cast<int>(top.x() * dpr), static_cast<int>(top.y() * dpr)),
                  QColor(Qt::white));
        checked = true;
        button(f.cmdCancel)->click();
    });
    d.backend.Deliver([&] { tivelor::ShowXYPlotForm(*d.app, "Qt smoke test"); });
    EXPECT_TRUE(checked);
    EXPECT_EQ(d.app->sw.KeepPlotting, platform::False);
    EXPECT_EQ(d.app->sw.FormClosed, platform::True);
}

}  // namespace
