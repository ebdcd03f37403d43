// Speed of the goodness-of-fit test on the shared 225-species, 50-quadrat set:
// the uniform generator, the two variates at the shapes the test meets, one
// randomization, and a whole test of 100 randomizations.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "state/App.h"
#include "tests/support/ModelSession.h"
#include "numerics/PearsonStats.h"
#include "numerics/Random.h"
#include "uncertainty/RuntimeUniforms.h"
#include "numerics/Variates.h"
#include "uncertainty/GoodnessOfFit.h"

namespace {

using namespace tivelor;

// The data set initialized and evaluated once, which leaves the fitted
// abundances and Thetas that the test simulates from.
struct Fitted : testing::ModelFixture {
    static constexpr int kSpp = 225;

    Fitted() {
        SetupSynthetic("tivelor_bench_gof_225.dat");
        for (int i = 1; i <= kSpp; ++i) {
            const double theta = 0.05 + 0.45 * i / kSpp;   // Theta 0.05 to 0.5
            P(i) = std::log(theta / (1 - theta));
            P(kSpp + i) = 3 + 0.01 * i;
        }
        Call(P, 1);
        app.unc.Gof.FirstSpGOF = 1;
        app.unc.Gof.LastSpGOF = kSpp;
        app.unc.Gof.SimUnsampled.ReDim(kSpp);
        app.ui.Randomize(36000);
    }
};

void BM_Rnd(benchmark::State& state) {
    platform::Rng g(36000.0);
    for (auto _ : state) benchmark::DoNotOptimize(g.Rnd());
}
BENCHMARK(BM_Rnd);

// Through the platform's Random, as the variates see it.
void BM_RndOfThePlatform(benchmark::State& state) {
    platform::Random r;
    r.Randomize(36000.0);
    RuntimeUniforms uniforms(r);
    numerics::UniformSource& u = uniforms;
    for (auto _ : state) benchmark::DoNotOptimize(u.Rnd());
}
BENCHMARK(BM_RndOfThePlatform);

void BM_RandomBeta(benchmark::State& state) {
    platform::Random r;
    r.Randomize(36000.0);
    RuntimeUniforms u(r);
    const double a = static_cast<double>(state.range(0)) / 10, b = static_cast<double>(state.range(1)) / 10;
    for (auto _ : state) benchmark::DoNotOptimize(numerics::RandomBeta(a, b, u));
}
BENCHMARK(BM_RandomBeta)->Args({3, 27})->Args({20, 50})->Args({5, 5});

void BM_RandomBinomial(benchmark::State& state) {
    platform::Random r;
    r.Randomize(36000.0);
    const auto n = static_cast<std::int32_t>(state.range(0));
    RuntimeUniforms u(r);
    const double p = static_cast<double>(state.range(1)) / 1000;
    for (auto _ : state) benchmark::DoNotOptimize(numerics::RandomBinomial(n, p, u));
}
BENCHMARK(BM_RandomBinomial)->Args({200, 20})->Args({10000, 300})->Args({60, 500});

// One randomization: a simulated data set and its deviate sums.
void BM_OneRandomization(benchmark::State& state) {
    Fitted f;
    const ModelState& md = f.app.model;
    const GoodnessOfFitState& g = f.app.unc.Gof;
    const double NH = static_cast<double>(md.NQuadHab);
    for (auto _ : state) {
        SimulateQuadratCounts(f.app);
        double Dr = 0;
        for (int s = 1; s <= Fitted::kSpp; ++s) {
            const double tot = static_cast<double>(md.TotAbund(s));
            const double E = tot / NH, EU = tot / NH * (NH - md.NQuad);
            for (int j = 1; j <= md.NQuad; ++j)
                Dr += numerics::PearsonTerm(static_cast<double>(g.SimCount(s, j)), E);
            Dr += numerics::PearsonTerm(static_cast<double>(g.SimUnsampled(s)), EU);
        }
        benchmark::DoNotOptimize(Dr);
    }
}
BENCHMARK(BM_OneRandomization)->Unit(benchmark::kMillisecond);

// The whole test with 100 randomizations, range dialog and report included.
void BM_TestOf100Randomizations(benchmark::State& state) {
    Fitted f;
    f.app.model.Report.NRand = 100;
    for (auto _ : state) {
        platform::headless::Step ok;
        ok.kind = platform::headless::Step::Click;
        ok.target = "frmRange.cmdOK";
        f.s.backend.Push(ok);
        f.app.msg.ReportText.clear();
        PearsonDeviatesTest(f.app);
        benchmark::DoNotOptimize(f.app.msg.ReportText);
    }
}
BENCHMARK(BM_TestOf100Randomizations)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
