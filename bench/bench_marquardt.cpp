// A Marquardt fit with analytical derivatives of the synthetic 225-species,
// 50-quadrat data set, from the grid-search start to a verified minimum, and
// the share of its time spent outside MODEL and the LU solve.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <string>

#include "engine/LU.h"
#include "engine/Marquardt.h"
#include "model/GridSearch.h"
#include "model/SyntheticData.h"
#include "numerics/LU.h"
#include "tests/support/ModelSession.h"

namespace {

using namespace tivelor;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

struct Synthetic : testing::AppSession {
    platform::Vec<double> start, startSteps;
    platform::Vec<std::string> startCodes;
    double modelSeconds = 0;
    long modelCalls = 0;
    long iterations = 0, solves = 0;

    Synthetic() {
        LoadMainWindow();
        AnswerNotes(3);
        SetUpModel(testing::WriteData("bench_marquardt.dat", SyntheticDataText(1)), 225, 50, 1000, true, true);
        EngineState& e = app.eng;

        // The set-up's advice: species with the same counts fused, before the
        // grid search; the Theta of a singleton fixed at 0, after it.
        const ModelState& m = app.model;
        const int NSpp = m.NSpp, NQuad = m.NQuad;
        ParameterSet& par = e.par;
        int groups = 0;
        for (int i = 1; i <= NSpp; ++i) {
            if (par.FuseCode(i) != "~~") continue;
            std::string code;
            for (int j = i + 1; j <= NSpp; ++j)
                if (par.FuseCode(j) == "~~" && m.CumCount(j, NQuad) == m.CumCount(i, NQuad) &&
                    m.SpMeanCount(j) == m.SpMeanCount(i) && m.SpVarCount(j) == m.SpVarCount(i)) {
                    if (code.empty()) code = GroupCode(groups++);
                    par.FuseCode(i) = par.FuseCode(j) = code;
                    par.FuseCode(NSpp + i) = par.FuseCode(NSpp + j) = code + "U";
                }
        }
        SearchInitialValues(app, par.ParValue, par.FuseCode);
        for (int i = 1; i <= par.NumPars; ++i) par.StepSize(i) = 0.1;
        for (int i = 1; i <= NSpp; ++i)
            if (m.CumCount(i, NQuad) == 1) {
                par.ParValue(i) = -18.42;
                par.StepSize(i) = 0;
            }
        // An absolute change of 0.001 in -2 ln L: a verification with the
        // default 1E-06 keeps finding probes of 0.01 that gain more than that
        // along the flattest of 318 axes and gives up after five.
        e.opt.ConvTol = 1E-3;
        start = par.ParValue;
        startSteps = par.StepSize;
        startCodes = par.FuseCode;

        e.TestModel = [this](platform::Vec<double>& P, long NF) {
            const auto t0 = Clock::now();
            const double f = EvaluateModel(P, NF);
            modelSeconds += Seconds(t0);
            ++modelCalls;
            return f;
        };
    }

    static std::string GroupCode(int g) {
        return std::string(1, static_cast<char>('A' + g / 26)) + static_cast<char>('A' + g % 26);
    }

    void Reset() {
        app.eng.par.ParValue = start;
        app.eng.par.StepSize = startSteps;
        app.eng.par.FuseCode = startCodes;
        modelSeconds = 0;
        modelCalls = iterations = solves = 0;
    }

    // One run as the Marquardt button makes it, with analytical derivatives.
    // A parameter the decomposition names as dead is fixed, as the user would,
    // and the run is made again. The title of the last message box.
    std::string Run(int& restarts) {
        EngineState& e = app.eng;
        for (restarts = 0;; ++restarts) {
            e.DerivMethod = "A";
            e.ShowDerivs = "no";
            SizeForMarquardt();
            s.backend.AnswerMsgBox("", platform::vbOK);
            MarquardtMinimize(app);
            const std::string title = s.backend.msgBoxes.back().title;
            const std::string dead = "Matrix decompositon failure at parameter #";
            iterations += app.marq.NIter;
            solves += e.NF - 1;   // every counted evaluation after the first is a trial
            if (title.rfind(dead, 0) != 0) return title;
            const int p = std::stoi(title.substr(dead.size()));
            e.par.StepSize(p) = 0;
        }
    }
};

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
