// The Qt canvas holding ten plots of 10001 records with lines and points:
// a repaint (the window uncovered) and a full redraw of the list (the canvas
// resized or first shown).
#include <benchmark/benchmark.h>

#include <QImage>
#include <cmath>

#include "state/App.h"
#include "platform/headless/headless.h"
#include "platform/qt/Canvas.h"
#include "platform/qt/Convert.h"
#include "plots/frmXYPlot.h"

namespace {

using namespace tivelor;

struct TenPlots {
    platform::headless::Session s;
    App app{s.ui};
    frmXYPlot* f = nullptr;
    std::unique_ptr<platform::qt::Canvas> canvas;

    TenPlots() {
        PlotRequest& r = app.plot;
        const long last = 10000;
        r.NumPlotVars = 10;
        r.PlotXTitle = "Sequential record #";
        r.PlotData.ReDim(10, last);
        r.VarMin.ReDim(10);
        r.VarMax.ReDim(10);
        r.VarName.ReDim(10);
        for (long v = 1; v <= 10; ++v)
            for (long i = 0; i <= last; ++i) r.PlotData(v, i) = std::sin(i * 0.001 * v);
        r.RecMax = last;
        r.RecLabelMax = static_cast<double>(last);
        f = &app.form<frmXYPlot>();
        f->listXVar.AddItem(r.PlotXTitle);
        for (long v = 1; v <= 10; ++v) f->listYVar.AddItem("Series " + std::to_string(v));
        f->listXVar.ListIndex = 0;
        f->listYVar.ListIndex = 0;
        f->cmdClear_Click();
        for (int v = 0; v < 10; ++v) {
            f->listYVar.ListIndex = v;
            f->cmdPlot_Click();
        }
        canvas = std::make_unique<platform::qt::Canvas>(f->Graph, nullptr);
        canvas->resize(platform::qt::Px(f->Graph.Width), platform::qt::Px(f->Graph.Height));
        canvas->show();
        Paint();
    }
    // Paints the canvas as a repaint of the window would.
    void Paint() {
        if (target.size() != canvas->size()) target = QImage(canvas->size(), QImage::Format_ARGB32_Premultiplied);
        canvas->render(&target);
    }
    QImage target;
};

void BM_CanvasRepaintTenPlots(benchmark::State& state) {
    TenPlots t;
    for (auto _ : state) t.Paint();
    state.counters["ops"] = static_cast<double>(t.f->Graph.DisplayList().size());
}
BENCHMARK(BM_CanvasRepaintTenPlots)->Unit(benchmark::kMillisecond);

void BM_CanvasRedrawTenPlots(benchmark::State& state) {
    TenPlots t;
    const QSize size = t.canvas->size();
    int k = 0;
    for (auto _ : state) {
        t.canvas->resize(size + QSize(k++ % 2, 0));   // a new size draws the whole list again
        t.Paint();
    }
}
BENCHMARK(BM_CanvasRedrawTenPlots)->Unit(benchmark::kMillisecond);

}  // namespace
