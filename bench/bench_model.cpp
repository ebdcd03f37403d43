// Speed of the model's evaluation on the shared 225-species, 50-quadrat set.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "tests/support/ModelSession.h"

namespace {

using namespace tivelor;

struct Bench : testing::ModelFixture {
    static constexpr int kSpp = 225;

    Bench() {
        SetupSynthetic("tivelor_bench_225.dat");
        // Every species overdispersed: the beta-binomial throughout.
        for (int i = 1; i <= kSpp; ++i) {
            P(i) = -2.5 + 0.004 * i;
            P(kSpp + i) = 3 + 0.01 * i;
        }
    }
    void Run(long nf, platform::Vec<double>& x) { Call(x, nf); }
};

void BM_FullEvaluation(benchmark::State& state) {
    Bench b;
    platform::Vec<double> x0 = b.P, x1 = b.P;
    for (int i = 1; i <= 2 * Bench::kSpp; ++i) x1(i) += 0.01;   // every species differs
    long n = 0;
    for (auto _ : state) {
        b.Run(2 + n, (n & 1) ? x1 : x0);
        ++n;
        benchmark::DoNotOptimize(b.F);
    }
}
BENCHMARK(BM_FullEvaluation)->Unit(benchmark::kMillisecond);

void BM_OneSpeciesChanged(benchmark::State& state) {
    Bench b;
    platform::Vec<double> x0 = b.P, x1 = b.P;
    x1(17) += 0.05;
    x1(Bench::kSpp + 17) -= 0.05;
    b.Run(1, x0);
    long n = 0;
    for (auto _ : state) {
        b.Run(2 + n, (n & 1) ? x0 : x1);
        ++n;
        benchmark::DoNotOptimize(b.F);
    }
}
BENCHMARK(BM_OneSpeciesChanged)->Unit(benchmark::kMicrosecond);

// The yields of one evaluation (one per species and one after the richness sum).
void BM_DoEventsOfOneEvaluation(benchmark::State& state) {
    Bench b;
    for (auto _ : state)
        for (int i = 0; i <= Bench::kSpp; ++i) b.app.ui.DoEvents();
}
BENCHMARK(BM_DoEventsOfOneEvaluation)->Unit(benchmark::kMicrosecond);

void BM_AnalyticalDerivatives(benchmark::State& state) {
    Bench b;
    for (auto _ : state) {
        platform::Vec<double> x = b.P;
        b.Run(-2, x);
        benchmark::DoNotOptimize(b.Grad);
    }
}
BENCHMARK(BM_AnalyticalDerivatives)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
