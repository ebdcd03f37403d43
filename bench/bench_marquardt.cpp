// A Marquardt fit with analytical derivatives of the synthetic 225-species,
// 50-quadrat data set, from the grid-search start to a verified minimum, and
// the share of its time spent outside MODEL and the LU solve.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <string>

#include "SyntheticFit.h"
#include "engine/HessianLU.h"
#include "numerics/LU.h"

namespace {

using namespace tivelor;
using benchfit::Clock;
using benchfit::Seconds;
using benchfit::Synthetic;

void BM_MarquardtSynthetic225(benchmark::State& state) {
    Synthetic x;
    double total = 0;
    int restarts = 0;
    std::string end;
    for (auto _ : state) {
        x.Reset();
        const auto t0 = Clock::now();
        end = x.Run(restarts);
        total = Seconds(t0);
    }
    // The LU solve, timed apart on the last curvature matrix damped as a
    // trial damps it, times the number of trials.
    EngineState& e = x.app.eng;
    MarquardtState& m = x.app.marq;
    const long nfree = e.free.NFree;
    const int reps = 5;
    const auto t0 = Clock::now();
    for (int r = 0; r < reps; ++r) {
        for (long i = 1; i <= nfree; ++i) {
            for (long j = 1; j <= nfree; ++j) e.HessMat(i, j) = m.Alpha(i, j);
            e.HessMat(i, i) = std::fabs(m.Alpha(i, i)) * 1.001;
            m.LURHS(i, 1) = e.MarqBeta(i);
        }
        m.LUFailed = 0;
        LUDecompose(x.app, nfree);
        LUBackSubstitute(x.app, nfree, 1, m.LURHS);
    }
    const double lu = Seconds(t0) / reps * static_cast<double>(x.solves);
    state.counters["iterations"] = static_cast<double>(x.iterations);
    state.counters["last_run_iterations"] = static_cast<double>(m.NIter);
    state.counters["evaluations"] = static_cast<double>(x.modelCalls);
    state.counters["lu_solves"] = static_cast<double>(x.solves);
    state.counters["free_pars"] = static_cast<double>(nfree);
    state.counters["dead_fixed"] = restarts;
    state.counters["model_pct"] = 100 * x.modelSeconds / total;
    state.counters["lu_pct"] = 100 * lu / total;
    state.counters["other_pct"] = 100 * (total - x.modelSeconds - lu) / total;
    state.SetLabel(end);
}
BENCHMARK(BM_MarquardtSynthetic225)->Unit(benchmark::kMillisecond)->Iterations(1);

// One trial's solve: decomposition and back-substitution of order n.
void BM_LUSolve(benchmark::State& state) {
    const long n = state.range(0);
    platform::Matrix<double> a(n, n), f(n, n), rhs(n, 1), trans;
    platform::Vec<int> index;
    platform::Vec<double> scale, column;
    const numerics::LUArrays w{index, scale, column, trans};
    for (long i = 1; i <= n; ++i)
        for (long j = 1; j <= n; ++j) a(i, j) = i == j ? n : std::sin(static_cast<double>(i * 7 + j * 3));
    for (auto _ : state) {
        for (long i = 1; i <= n; ++i) {
            for (long j = 1; j <= n; ++j) f(i, j) = a(i, j);
            rhs(i, 1) = 1;
        }
        numerics::LUDecompose(f, n, w, true);
        numerics::LUBackSubstitute(f, n, index, 1, rhs);
        benchmark::DoNotOptimize(rhs(1, 1));
    }
}
BENCHMARK(BM_LUSolve)->Arg(50)->Arg(318)->Arg(450)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
