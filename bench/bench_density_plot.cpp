// The bivariate density plot drawn on the headless back end: the two largest
// grids of the posterior's call limit and a 1001 x 1001 grid, with the size
// of the display list it leaves.
#include <benchmark/benchmark.h>

#include <cmath>

#include "state/App.h"
#include "platform/headless/headless.h"
#include "plots/DistributionPlots.h"
#include "plots/frmBivarPlot.h"

namespace {

using namespace tivelor;

void BM_DensityPlot(benchmark::State& state) {
    const long nx = state.range(0), ny = state.range(1);
    platform::headless::Session s;
    App app(s.ui);
    platform::Vec<double> X(nx), Y(ny);
    platform::Matrix<double> D(nx, ny);
    for (long i = 1; i <= nx; ++i) X(i) = -3 + 6.0 * static_cast<double>(i - 1) / static_cast<double>(nx - 1);
    for (long j = 1; j <= ny; ++j) Y(j) = -3 + 6.0 * static_cast<double>(j - 1) / static_cast<double>(ny - 1);
    double peak = 0, px = 0, py = 0;
    for (long i = 1; i <= nx; ++i)
        for (long j = 1; j <= ny; ++j) {
            const double x = X(i), y = Y(j);
            D(i, j) = std::exp(-(x * x - 1.2 * x * y + y * y) / 1.28);
            if (D(i, j) > peak) peak = D(i, j), px = x, py = y;
        }
    int xPar = 1, yPar = 2;
    long NX = nx, NY = ny;
    std::size_t bytes = 0, ops = 0;
    for (auto _ : state) {
        frmBivarPlot* f = nullptr;
        platform::headless::Step look;   // inside the modal window
        look.kind = platform::headless::Step::Call;
        look.call = [&] { f = &app.form<frmBivarPlot>(); };
        s.backend.Push(look);
        platform::headless::Step done;
        done.kind = platform::headless::Step::Click;
        done.target = "frmBivarPlot.cmdDone";
        s.backend.Push(done);
        PlotBivariateDensity(app, X, Y, D, peak, xPar, yPar, NX, NY, px, py);
        if (f) {
            ops = f->Graph.DisplayList().size();
            bytes = f->Graph.DisplayList().capacity() * sizeof(platform::DrawOp);
        }
        state.PauseTiming();
        s.ui.forms.ReleaseUnloaded();
        state.ResumeTiming();
    }
    state.counters["ops"] = static_cast<double>(ops);
    state.counters["list_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_DensityPlot)->Args({1001, 31})->Args({181, 181})->Args({1001, 1001})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
