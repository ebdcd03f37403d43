// Speed of the count probabilities and log-gamma, called directly.
#include <benchmark/benchmark.h>

#include <vector>

#include "numerics/CountProb.h"
#include "numerics/LnGamma.h"

namespace {

using namespace tivelor::numerics;

// Arguments spread over what the model passes: small shapes to large abundances.
std::vector<double> Arguments() {
    std::vector<double> v;
    for (int k = 0; k < 256; ++k) v.push_back(0.05 + 0.37 * k + (k % 7) * 13.1);
    return v;
}

void BM_LnGammaValue(benchmark::State& state) {
    const std::vector<double> xs = Arguments();
    for (auto _ : state)
        for (double x : xs) benchmark::DoNotOptimize(LnGammaValue(x));
    state.SetItemsProcessed(state.iterations() * static_cast<long>(xs.size()));
}
BENCHMARK(BM_LnGammaValue);

void BM_LnGammaDerivs(benchmark::State& state) {
    const std::vector<double> xs = Arguments();
    for (auto _ : state)
        for (double x : xs) {
            double lg = 0, dig = 0, trig = 0;
            LnGammaDerivs(x, lg, dig, trig);
            benchmark::DoNotOptimize(trig);
        }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(xs.size()));
}
BENCHMARK(BM_LnGammaDerivs);

// One species' quadrats: N falls by each count; counts mostly 0 and small,
// or (argument 1) all above the short-product range.
void CountLoop(benchmark::State& state, bool beta, bool derivs) {
    const long big = state.range(0) ? kShortCountMax + 5 : 0;
    CountProbCache cache;
    for (auto _ : state) {
        cache.Invalidate();
        double N = 900.5, sum = 0;
        for (int q = 1; q <= 50; ++q) {
            const long x = big + (q % 5 == 0 ? q % 3 + 1 : 0);
            double r = 0, p = 1.0 / (1001 - q);
            double d1 = kNotWanted, d2 = kNotWanted, d3 = kNotWanted, d4 = kNotWanted, d5 = kNotWanted;
            if (derivs) d1 = d2 = d3 = d4 = d5 = 0;
            if (beta)
                QuadratProbBetaBinomial(cache, r, N, x, q, p, 0.04, d1, d2, d3, d4, d5);
            else
                QuadratProbBinomial(cache, r, N, x, q, p, d1, d2, d3, d4, d5);
            sum += r + d1 + d3;
            N -= static_cast<double>(x);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 50);
}

void BM_Binomial(benchmark::State& state) { CountLoop(state, false, false); }
BENCHMARK(BM_Binomial)->Arg(0)->Arg(1);
void BM_BetaBinomial(benchmark::State& state) { CountLoop(state, true, false); }
BENCHMARK(BM_BetaBinomial)->Arg(0)->Arg(1);
void BM_BetaBinomialAllDerivatives(benchmark::State& state) { CountLoop(state, true, true); }
BENCHMARK(BM_BetaBinomialAllDerivatives)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
