// The results report's estimators on sample-sized count matrices: the
// incidence summary with the four classical estimators (the bootstrap visits
// every pair of species), the greedy accumulation curve with its fits, and
// the distribution statistics of a fit's species.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "numerics/Accumulation.h"
#include "numerics/DistributionStats.h"
#include "numerics/Estimators.h"

namespace {

using namespace tivelor::numerics;

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
        benchmark::DoNotOptimize(FitMichaelisMenten(c, t.NSpp()));
        benchmark::DoNotOptimize(FitAsymptoteML(c, t.NSpp()));
    }
}
BENCHMARK(BM_AccumulationFits)->Args({225, 50})->Args({1000, 200})->Unit(benchmark::kMillisecond);

// Argument: the number of species.
void BM_DistributionStatistics(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    SpeciesSpread s;
    for (int i = 1; i <= n; ++i) {
        s.Theta.push_back(0.9 / (1 + 0.05 * i));
        s.Abund.push_back(std::round(5000.0 / i));
        s.DetectProb.push_back(1 - std::exp(-0.02 * i * 0.9));
        s.ESR += 1 / s.DetectProb.back();
    }
    for (auto _ : state) benchmark::DoNotOptimize(ComputeDistributionStatistics(s));
}
BENCHMARK(BM_DistributionStatistics)->Arg(225)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
