// Speed of a covariance run on the synthetic 225-species, 50-quadrat set with
// all 450 parameters estimated (steps 0.1): one grid point served by the
// model's incremental evaluation, the Cholesky test and inverse of order 450,
// the report of 450 parameters, and three optimistic grids.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

#include "app/App.h"
#include "engine/Objective.h"
#include "evaluation/Covariance.h"
#include "evaluation/frmCovData.h"
#include "model/Model.h"
#include "tests/support/SyntheticData.h"
#include "model/frmInitialize.h"
#include "numerics/TDist.h"
#include "platform/files.h"
#include "platform/headless/headless.h"

namespace {

using namespace tivelor;
using Clock = std::chrono::steady_clock;

struct Run {
    platform::headless::Session s;
    App app{s.ui};
    static constexpr int kSpp = 225;

    Run() {
        app.Start();
        s.backend.Click("frmCredits.cmdOK");
        const std::string path = (std::filesystem::temp_directory_path() / "bench_covariance.dat").string();
        platform::WriteWholeFileSafely(path, SyntheticDataText(1));
        InitSettings& st = app.model.Init;
        st.txtDataFile = path;
        st.cboNSpecies = "225";
        st.cboQuadsSampled = "50";
        st.cboQuadsinHab = "1000";
        st.chkLogitThetas = 1;
        st.chkLogNs = 1;
        for (int k = 0; k < 3; ++k) s.backend.AnswerMsgBox("", platform::vbOK);
        EngineState& e = app.eng;
        double F = 0;
        long nf = 0;
        MODEL(app, F, e.par.ParValue, e.par.StepSize, e.par.ParName, e.par.FuseCode, e.par.NumPars, nf, e.NObs,
              e.AnaGrad, e.AnaHess, e.SampleSize);
        SizeParameterArrays(app);
        const int n = e.par.NumPars;
        for (int i = 1; i <= n; ++i) e.par.FuseCode(i) = "~~";
        for (int i = 1; i <= kSpp; ++i) {
            e.par.ParValue(i) = -2.5 + 0.004 * i;
            e.par.ParValue(kSpp + i) = 3 + 0.01 * i;
        }
        e.RecipLnLConst = 2;
        // What the covariance button and the driver set up before the grids.
        EvalState& ev = app.eval;
        for (auto* v : {&ev.CovCentre, &ev.CovStep, &ev.GridPar, &ev.CholDiag}) v->ReDim(n);
        ev.CovIndex.ReDim(n);
        ev.CovSlot.ReDim(n);
        ev.CovLnDet.ReDim(3);
        ev.CovLnVarProd.ReDim(3);
        for (auto* m : {&e.HessMat, &e.InvWork, &e.CholFactor}) m->ReDim(n, n);
        e.GridNegLnL.ReDim(n, n, 2);
        e.CovStore.ReDim(n, n, 3);
        ev.NEst = 0;
        for (int i = 1; i <= n; ++i) {
            ev.CovCentre(i) = e.par.ParValue(i);
            ev.CovStep(i) = 0.1;
            ev.CovIndex(++ev.NEst) = i;
            ev.CovSlot(i) = static_cast<int>(ev.NEst);
        }
        e.free.NFree = ev.NEst;
        ev.FMin = EvaluateObjective(app, ev.CovCentre, 1, true);
        app.sw.CovMethod = "N";
    }
    // One grid and its inverse.
    void Grid(int g, double factor) {
        EvalState& ev = app.eval;
        ev.GridNum = g;
        ev.GridFactor(g) = factor;
        ev.GridQuit = "false";
        CalcGridLikelihoods(app, ev.GridFactor(g), ev.GridLMean(g), ev.GridLSD(g), g, 3);
        BuildGridHessian(app, ev.GridFactor(g));
    }
};

double Seconds(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

// A whole numerical grid (202,950 points): the time per point, status texts
// and yields included.
void BM_GridPoint(benchmark::State& state) {
    Run r;
    const double points = static_cast<double>(r.app.eval.NEst) * (r.app.eval.NEst + 1);
    for (auto _ : state) {
        const auto t0 = Clock::now();
        r.Grid(1, 1);
        state.SetIterationTime(Seconds(t0) / points);
    }
    state.counters["points"] = points;
}
BENCHMARK(BM_GridPoint)->UseManualTime()->Iterations(1)->Unit(benchmark::kMicrosecond);

// A dense positive-definite matrix of order n: 0.5^|i-j| times a scale.
platform::Matrix<double> Dense(long n) {
    platform::Matrix<double> H(n, n);
    for (long i = 1; i <= n; ++i)
        for (long j = 1; j <= n; ++j) H(i, j) = 40 * std::pow(0.5, std::abs(static_cast<double>(i - j)));
    return H;
}

// Cholesky test and inverse of a Hessian of order 450, with the store.
void BM_CholeskyInverse450(benchmark::State& state) {
    Run r;
    r.app.eval.GridNum = 1;
    const platform::Matrix<double> H = Dense(r.app.eval.NEst);
    for (auto _ : state) {
        r.app.eng.HessMat = H;
        InvertHessian(r.app);
        if (r.app.eval.NotPosDef) state.SkipWithError("not positive definite");
    }
}
BENCHMARK(BM_CholeskyInverse450)->Unit(benchmark::kMillisecond);

// The report of 450 parameters (about 204,000 lines and 2,700 t
// probabilities), built and placed in the window.
void BM_Report450(benchmark::State& state) {
    Run r;
    const platform::Matrix<double> H = Dense(r.app.eval.NEst);
    for (int g = 1; g <= 3; ++g) {
        r.app.eng.HessMat = H;
        r.app.eval.GridNum = g;
        InvertHessian(r.app);
    }
    r.app.sw.CovCompleted = "1";
    r.app.form<frmCovDisplay>();
    std::size_t size = 0;
    for (auto _ : state) {
        CovarianceReport(r.app);
        size = r.app.form<frmCovData>().rtbCovData.Text().size();
    }
    state.counters["MB"] = static_cast<double>(size) / 1E6;
}
BENCHMARK(BM_Report450)->Unit(benchmark::kMillisecond)->Iterations(2);

// The report's 2,700 t probabilities on their own, every one integrated.
void BM_TProbabilities2700(benchmark::State& state) {
    for (auto _ : state) {
        double sum = 0;
        for (int k = 0; k < 2700; ++k) sum += numerics::TProbability(0.5 + k * 0.0005);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_TProbabilities2700)->Unit(benchmark::kMillisecond);

// Three optimistic grids: every pair visited and counted, the diagonal
// points evaluated, then each grid's Hessian and inverse.
void BM_OptimisticThreeGrids(benchmark::State& state) {
    Run r;
    r.app.sw.OptimisticSEs = platform::True;
    for (auto _ : state)
        for (int g = 1; g <= 3; ++g) {
            r.Grid(g, g == 1 ? 1 : g == 2 ? 0.1 : 0.01);
            InvertHessian(r.app);
        }
}
BENCHMARK(BM_OptimisticThreeGrids)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
