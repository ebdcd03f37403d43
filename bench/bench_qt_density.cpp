// The Qt canvas of the bivariate density plot after drawing: a repaint (the
// window uncovered) and a full redraw (the canvas resized), for the largest
// grids of the posterior's call limit and a 1001 x 1001 grid.
#include <benchmark/benchmark.h>

#include <QImage>
#include <cmath>
#include <memory>

#include "state/App.h"
#include "platform/headless/headless.h"
#include "platform/qt/Canvas.h"
#include "platform/qt/Convert.h"
#include "plots/DistributionPlots.h"
#include "plots/frmBivarPlot.h"

namespace {

using namespace tivelor;

struct DrawnDensity {
    platform::headless::Session s;
    App app{s.ui};
    frmBivarPlot* f = nullptr;
    std::unique_ptr<platform::qt::Canvas> canvas;
    QImage target;

    DrawnDensity(long nx, long ny) {
        platform::Vec<double> X(nx), Y(ny);
        platform::Matrix<double> D(nx, ny);
        for (long i = 1; i <= nx; ++i) X(i) = -3 + 6.0 * static_cast<double>(i - 1) / static_cast<double>(nx - 1);
        for (long j = 1; j <= ny; ++j) Y(j) = -3 + 6.0 * static_cast<double>(j - 1) / static_cast<double>(ny - 1);
        double peak = 0, px = 0, py = 0;
        for (long i = 1; i <= nx; ++i)
            for (long j = 1; j <= ny; ++j) {
                D(i, j) = std::exp(-(X(i) * X(i) - 1.2 * X(i) * Y(j) + Y(j) * Y(j)) / 1.28);
                if (D(i, j) > peak) peak = D(i, j), px = X(i), py = Y(j);
            }
        platform::headless::Step look;   // keeps the window, which stays readable after it closes
        look.kind = platform::headless::Step::Call;
        look.call = [this] { f = &app.form<frmBivarPlot>(); };
        s.backend.Push(look);
        platform::headless::Step done;
        done.kind = platform::headless::Step::Click;
        done.target = "frmBivarPlot.cmdDone";
        s.backend.Push(done);
        int xPar = 1, yPar = 2;
        PlotBivariateDensity(app, X, Y, D, peak, xPar, yPar, nx, ny, px, py);
        canvas = std::make_unique<platform::qt::Canvas>(f->Graph, nullptr);
        canvas->resize(platform::qt::Px(f->Graph.Width), platform::qt::Px(f->Graph.Height));
        canvas->show();
        Paint();
    }
    void Paint() {
        if (target.size() != canvas->size()) target = QImage(canvas->size(), QImage::Format_ARGB32_Premultiplied);
        canvas->render(&target);
    }
};

void BM_DensityCanvasRepaint(benchmark::State& state) {
    DrawnDensity t(state.range(0), state.range(1));
    for (auto _ : state) t.Paint();
    state.counters["ops"] = static_cast<double>(t.f->Graph.DisplayList().size());
}
BENCHMARK(BM_DensityCanvasRepaint)->Args({1001, 31})->Args({181, 181})->Args({1001, 1001})->Unit(benchmark::kMillisecond);

void BM_DensityCanvasRedraw(benchmark::State& state) {
    DrawnDensity t(state.range(0), state.range(1));
    const QSize size = t.canvas->size();
    int k = 0;
    for (auto _ : state) {
        t.canvas->resize(size + QSize(k++ % 2, 0));   // a new size draws the whole list again
        t.Paint();
    }
}
BENCHMARK(BM_DensityCanvasRedraw)->Args({1001, 31})->Args({181, 181})->Args({1001, 1001})->Unit(benchmark::kMillisecond);

}  // namespace
