// A whole Simplex run on an example data file, and the share of its time
// spent in MODEL.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "engine/Simplex.h"
#include "tests/support/ModelSession.h"
#include "windows/frmSimplex.h"

namespace {

using namespace tivelor;
using Clock = std::chrono::steady_clock;

struct Example : testing::AppSession {
    double modelSeconds = 0;
    long calls = 0;

    // bog10: 10 species in 6 of 30 quadrats, both links.
    Example() {
        LoadMainWindow();
        AnswerNotes(3);
        SetUpModel(std::string(TIVELOR_SOURCE_DIR) + "/examples/bog10.dat", 10, 6, 30, true, true);
        app.eng.opt.MaxCalls = 1000000;
        // MODEL itself, timed.
        app.eng.Objective = [this](platform::Vec<double>& P, long NF) {
            const auto t0 = Clock::now();
            const double f = EvaluateModel(P, NF);
            modelSeconds += std::chrono::duration<double>(Clock::now() - t0).count();
            ++calls;
            return f;
        };
    }

    void Start() {
        ParameterSet& par = app.eng.par;
        for (int i = 1; i <= 10; ++i) {
            par.ParValue(i) = -1;
            par.StepSize(i) = 0.5;
            par.ParValue(10 + i) = 1;
            par.StepSize(10 + i) = 0.5;
        }
        SizeForSimplex();
    }
};

// Argument: TerminalFreq.
void BM_SimplexRunBog10(benchmark::State& state) {
    Example x;
    x.app.eng.opt.TerminalFreq = static_cast<int>(state.range(0));
    double total = 0;
    for (auto _ : state) {
        x.Start();
        x.s.backend.AnswerMsgBox("Simplex minimum", platform::vbOK);
        const auto t0 = Clock::now();
        SimplexWatch watch(x.app);
        SimplexMinimize(x.app, watch);
        total += std::chrono::duration<double>(Clock::now() - t0).count();
    }
    state.counters["calls_per_run"] = static_cast<double>(x.calls) / static_cast<double>(state.iterations());
    state.counters["model_share_pct"] = 100 * x.modelSeconds / total;
}
BENCHMARK(BM_SimplexRunBog10)->Arg(10)->Arg(1)->Unit(benchmark::kMillisecond);

// One progress display of the 20 parameters: taking its state (0), and also
// drawing its text (1).
void BM_ShowProgress(benchmark::State& state) {
    Example x;
    x.Start();
    x.s.backend.AnswerMsgBox("Simplex minimum", platform::vbOK);
    SimplexWatch watch(x.app);
    SimplexMinimize(x.app, watch);
    auto& S = x.app.eng.Simplex;
    const int lo = x.app.simplex.ILo;
    long k = 0;
    for (auto _ : state) {
        S(1, lo) += 1E-9 * static_cast<double>((++k & 1) ? 1 : -1);
        ShowSimplexProgress(x.app, watch, 1.5, 2.5);
        if (state.range(0)) DrawSimplexProgress(x.app, watch);
    }
    state.counters["iterations_per_run"] = static_cast<double>(x.app.simplex.NIter);
}
BENCHMARK(BM_ShowProgress)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
