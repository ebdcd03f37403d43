// Speed of the uncertainty statistics on the shared 225-species, 50-quadrat
// set: one bivariate integration, the distribution-based randomizations, one
// expected-richness sum, the sample-based randomizations and a collation of
// 32000 estimates.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "state/App.h"
#include "tests/support/ModelSession.h"
#include "platform/random.h"
#include "numerics/RichnessCollation.h"
#include "numerics/RichnessDraws.h"
#include "uncertainty/Collation.h"
#include "uncertainty/Randomizations.h"
#include "uncertainty/RuntimeUniforms.h"

namespace {

using namespace tivelor;

// The data set initialized and evaluated at Thetas 0.05 to 0.5 and Ln[UA]s
// 3 to 5.25, with sampling variances of 0.25 on the link scales.
struct Fitted : testing::ModelFixture {
    static constexpr int kSpp = 225;

    Fitted() {
        SetupSynthetic("tivelor_bench_unc_225.dat");
        for (int k = 1; k <= NumPars; ++k) Step(k) = 0.1;
        for (int i = 1; i <= kSpp; ++i) {
            const double theta = 0.05 + 0.45 * i / kSpp;
            P(i) = std::log(theta / (1 - theta));
            P(kSpp + i) = 3 + 0.01 * i;
        }
        Call(P, 1);
        CovarianceLink& c = app.unc.Cov;
        for (auto* v : {&c.VarTheta, &c.VarUA, &c.CorThetaUA}) v->ReDim(kSpp);
        for (int i = 1; i <= kSpp; ++i) {
            c.VarTheta(i) = c.VarUA(i) = 0.25;
            c.CorThetaUA(i) = -0.3;
        }
        app.ui.Randomize(36000);
    }
};

// Moments near those of the fitted species.
constexpr double kMeanT = -1.3, kSDT = 0.9, kMeanN = 4.2, kSDN = 1.1, kRho = 0.2;

void BM_IntegrateBivariateRichness(benchmark::State& state) {
    Fitted f;
    for (auto _ : state) {
        double esr = 0;
        IntegrateBivariateRichness(f.app, esr, kMeanT, kSDT, kMeanN, kSDN, kRho);
        benchmark::DoNotOptimize(esr);
    }
}
BENCHMARK(BM_IntegrateBivariateRichness)->Unit(benchmark::kMillisecond);

// The distribution-based randomizations' work: 1000 perturbed integrations.
void BM_DistributionBased1000(benchmark::State& state) {
    Fitted f;
    const double VT = kSDT * kSDT, VN = kSDN * kSDN;
    RuntimeUniforms u(f.app.ui.random);
    for (auto _ : state) {
        double sum = 0;
        for (int i = 0; i < 1000; ++i) {
            double a = 0, b = 0, c = 0, d = 0, e = 0;
            numerics::NormalDeviate(u, a, b);
            numerics::NormalDeviate(u, c, d);
            IntegrateBivariateRichness(f.app, e, numerics::PerturbedMean(kMeanT, VT, 225, a),
                                       numerics::PerturbedSD(VT, 225, c),
                                       numerics::PerturbedMean(kMeanN, VN, 225, b),
                                       numerics::PerturbedSD(VN, 225, d), kRho);
            sum += e;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_DistributionBased1000)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_CalcExpectedRichness(benchmark::State& state) {
    Fitted f;
    platform::Vec<double> th(Fitted::kSpp), ua(Fitted::kSpp);
    for (int s = 1; s <= Fitted::kSpp; ++s) {
        th(s) = 1 / (1 + std::exp(-f.P(s)));
        ua(s) = std::exp(f.P(Fitted::kSpp + s));
    }
    for (auto _ : state) {
        double esr = 0;
        CalcExpectedRichness(f.app, esr, th, ua);
        benchmark::DoNotOptimize(esr);
    }
}
BENCHMARK(BM_CalcExpectedRichness)->Unit(benchmark::kMillisecond);

// The sample-based randomizations' work: 1000 draws of every species and
// their expected richness.
void BM_SampleBased1000(benchmark::State& state) {
    Fitted f;
    platform::Vec<double> th(Fitted::kSpp), ua(Fitted::kSpp);
    RuntimeUniforms u(f.app.ui.random);
    for (auto _ : state) {
        double sum = 0;
        for (int i = 0; i < 1000; ++i) {
            for (int s = 1; s <= Fitted::kSpp; ++s) {
                double z1 = 0, z2 = 0;
                numerics::NormalDeviate(u, z1, z2);
                const SpeciesDraw d = DrawSpecies(f.app, s, f.P, f.Step, f.Fuse, z1, z2);
                th(s) = d.theta;
                ua(s) = d.ua;
            }
            double esr = 0;
            CalcExpectedRichness(f.app, esr, th, ua);
            sum += esr;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_SampleBased1000)->Unit(benchmark::kMillisecond)->Iterations(2);

// Statistics, histograms and the text block of 32000 estimates.
void BM_Collation32000(benchmark::State& state) {
    platform::Rng g(1);
    std::vector<int> est;
    for (int i = 0; i < 32000; ++i) est.push_back(300 + static_cast<int>(g.Rnd() * 150));
    for (auto _ : state) {
        const numerics::RichnessCollation c = numerics::CollateRichness(est.data(), 32000, 32767, 225);
        benchmark::DoNotOptimize(CollationBlock(c, 32000, true, "N", 1, "x.cov", 360.5));
    }
}
BENCHMARK(BM_Collation32000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
