// The plot pages and the XY plot renderer on the headless back end: the
// Theta page of 225 species, and one plot of a 10001-record series with
// lines and points.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "state/App.h"
#include "platform/headless/headless.h"
#include "plots/ModelPlots.h"
#include "plots/frmXYPlot.h"

namespace {

using namespace tivelor;

void BM_ThetaPage(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<double> theta;
    for (int i = 0; i < n; ++i) theta.push_back(std::fmod(0.6180339887 * i, 1.0));
    PlotRequest req;
    for (auto _ : state) {
        BuildThetaPage(theta, {0.3, 0.01}, {0.28, 0.012}, req);
        benchmark::DoNotOptimize(req.PlotData(5, 1));
    }
}
BENCHMARK(BM_ThetaPage)->Arg(225)->Unit(benchmark::kMillisecond);

// The window as the plot request shows it, without the modal loop.
frmXYPlot& OpenWindow(App& app, long last) {
    PlotRequest& r = app.plot;
    r.NumPlotVars = 1;
    r.PlotXTitle = "Sequential record #";
    r.PlotData.ReDim(1, last);
    r.VarMin.ReDim(1);
    r.VarMax.ReDim(1);
    r.VarName.ReDim(1);
    r.VarName(1) = "Series";
    for (long i = 0; i <= last; ++i) r.PlotData(1, i) = std::sin(i * 0.001) * (1 + i * 1e-4);
    r.RecMin = 0;
    r.RecMax = last;
    r.RecLabelMax = static_cast<double>(last);
    frmXYPlot& f = app.form<frmXYPlot>();
    f.listXVar.AddItem(r.PlotXTitle);
    f.listXVar.AddItem(r.VarName(1));
    f.listYVar.AddItem(r.VarName(1));
    f.listXVar.ListIndex = 0;
    f.listYVar.ListIndex = 0;
    f.cmdClear_Click();
    return f;
}

void BM_XYPlotLinesAndPoints(benchmark::State& state) {
    platform::headless::Session s;
    App app(s.ui);
    frmXYPlot& f = OpenWindow(app, 10000);
    for (auto _ : state) {
        state.PauseTiming();
        f.cmdClear_Click();
        state.ResumeTiming();
        f.cmdPlot_Click();
    }
    state.counters["ops"] = static_cast<double>(f.Graph.DisplayList().size());
}
BENCHMARK(BM_XYPlotLinesAndPoints)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
