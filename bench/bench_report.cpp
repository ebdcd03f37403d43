// The results report's estimators on sample-sized count matrices: the
// incidence summary with the four classical estimators (the bootstrap visits
// every pair of species), and the greedy accumulation curve with its fits.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "model/Accumulation.h"
#include "model/Estimators.h"

namespace {

using namespace tivelor;

// Species i occurs in a quadrat with a probability falling with i.
CountTable RandomCounts(int nspp, int nquad) {
    CountTable t(nspp, nquad);
    std::uint64_t x = 88172645463325252ull;
    for (int i = 1; i <= nspp; ++i) {
        const double p = 0.9 / (1 + 0.05 * i);
        for (int j = 1; j <= nquad; ++j) {
            x ^= x << 13, x ^= x >> 7, x ^= x << 17;
            if (static_cast<double>(x % 1000000) / 1e6 < p) t(i, j) = 1 + static_cast<long>(x % 7);
        }
        if (t(i, 1 + i % nquad) == 0) t(i, 1 + i % nquad) = 1;   // every species found
    }
    return t;
}

void BM_ClassicalEstimators(benchmark::State& state) {
    const CountTable t = RandomCounts(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        const IncidenceSummary inc = SummarizeIncidence(t);
        const double tq = StudentT975(inc.m - 1);
        benchmark::DoNotOptimize(ChaoTwo(inc, tq));
        benchmark::DoNotOptimize(FirstOrderJackknife(inc, tq));
        benchmark::DoNotOptimize(SecondOrderJackknife(inc, tq));
        benchmark::DoNotOptimize(BootstrapEstimate(inc, tq));
    }
}
BENCHMARK(BM_ClassicalEstimators)->Args({225, 50})->Args({1000, 200})->Unit(benchmark::kMillisecond);

void BM_AccumulationFits(benchmark::State& state) {
    const CountTable t = RandomCounts(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        const AccumulationCurve c = GreedyAccumulation(t);
        MaybeNumber r1, r2;
        benchmark::DoNotOptimize(FitMichaelisMenten(c, t.NSpp(), r1));
        benchmark::DoNotOptimize(FitAsymptoteML(c, t.NSpp(), r2));
    }
}
BENCHMARK(BM_AccumulationFits)->Args({225, 50})->Args({1000, 200})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
