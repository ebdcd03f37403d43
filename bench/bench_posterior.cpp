// Bayesian posteriors on the synthetic 225-species, 50-quadrat set: one
// Ln[UA] profiled over 1001 points and integrated over another's 31 grid
// points (the largest run the call limit allows), and two integrated
// parameters at 25 x 25 x 25 points. Status texts and yields included.
#include <benchmark/benchmark.h>

#include "SyntheticFit.h"
#include "evaluation/BayesianEvaluation.h"

namespace {

using namespace tivelor;

const char* const kTitle = "Bayesian parameter estimate evaluation";

// The dialogue's answers up to the run, the editor closed unchanged, and the
// answers at its end.
void Script(benchfit::Synthetic& x, int par, int points, int grid, bool bivariate) {
    auto& b = x.s.backend;
    b.AnswerMsgBox(kTitle, platform::vbOK);
    b.AnswerMsgBox(kTitle, platform::vbYes);
    if (x.app.bayes.last.valid) b.AnswerMsgBox(kTitle, platform::vbYes);   // integrate, not the last plots
    b.AnswerInput("Enter constant", "1");
    b.AnswerInput(kTitle, std::to_string(par));
    b.AnswerInput(kTitle, std::to_string(points));
    b.AnswerInput(kTitle, std::to_string(grid));
    platform::headless::Step finish;
    finish.kind = platform::headless::Step::Click;
    finish.target = "frmAlgo.cmdFinish";
    b.Push(finish);
    b.AnswerMsgBox("Just so you know", platform::vbOK);
    platform::headless::Step done;
    done.kind = platform::headless::Step::Click;
    done.target = "frmDistPlot.cmdDone";
    b.Push(done);
    if (bivariate) b.AnswerMsgBox("Bivariate plot", platform::vbNo);
    b.AnswerMsgBox("A friendly reminder", platform::vbOK);
}

void Run(benchmark::State& state, const std::vector<int>& free, int points, int grid) {
    benchfit::Synthetic x;
    x.app.shell.AlgoColOn.ReDim(9);
    for (auto _ : state) {
        state.PauseTiming();
        x.Reset();
        for (int i = 1; i <= x.app.eng.par.NumPars; ++i) x.app.eng.par.StepSize(i) = 0;
        for (int p : free) x.app.eng.par.StepSize(p) = 0.01;
        Script(x, free[0], points, grid, free.size() == 2);
        state.ResumeTiming();
        BayesianEvaluation(x.app);
    }
    state.counters["points"] = static_cast<double>(x.app.eval.NProfPts);
    state.counters["model_calls"] = static_cast<double>(x.modelCalls);
    state.counters["us_per_call"] = 1E6 * x.modelSeconds / static_cast<double>(x.modelCalls);
}

// 1001 x 31 = 31,031 nodes.
void BM_Posterior1001x31(benchmark::State& state) {
    const int nSpp = 225;
    Run(state, {nSpp + 10, nSpp + 40}, 1001, 31);
}
BENCHMARK(BM_Posterior1001x31)->Unit(benchmark::kMillisecond)->Iterations(3);

// 25 x 25 x 25 = 15,625 nodes.
void BM_Posterior25Cubed(benchmark::State& state) {
    const int nSpp = 225;
    Run(state, {nSpp + 10, nSpp + 40, nSpp + 70}, 25, 25);
}
BENCHMARK(BM_Posterior25Cubed)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
