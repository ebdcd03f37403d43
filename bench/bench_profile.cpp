// Likelihood profiles on the synthetic 225-species, 50-quadrat set: an
// evaluate-only profile of 1001 points, and a Marquardt profile of 25 points
// re-minimizing the other free parameters from the fitted values.
#include <benchmark/benchmark.h>

#include "SyntheticFit.h"
#include "evaluation/MLEvaluation.h"

namespace {

using namespace tivelor;
using benchfit::Clock;
using benchfit::Seconds;

const char* const kTitle = "ML parameter estimate evaluation";

// The dialogue's answers up to the run, the editor closed unchanged.
void Dialogue(benchfit::Synthetic& x, int par, int points, bool simplex) {
    auto& b = x.s.backend;
    b.AnswerMsgBox(kTitle, platform::vbOK);
    b.AnswerMsgBox(kTitle, platform::vbYes);
    if (x.app.ml.last.valid) b.AnswerMsgBox(kTitle, platform::vbYes);   // new minimizations, not the last plots
    b.AnswerInput("Enter constant", "1");
    b.AnswerInput(kTitle, std::to_string(par));
    b.AnswerInput(kTitle, std::to_string(points));
    b.AnswerMsgBox(kTitle, simplex ? platform::vbYes : platform::vbNo);
    platform::headless::Step finish;
    finish.kind = platform::headless::Step::Click;
    finish.target = "frmAlgo.cmdFinish";
    b.Push(finish);
    b.AnswerMsgBox("Just so you know", platform::vbOK);
}

void Ending(benchfit::Synthetic& x) {
    platform::headless::Step done;
    done.kind = platform::headless::Step::Click;
    done.target = "frmDistPlot.cmdDone";
    x.s.backend.Push(done);
    x.s.backend.AnswerMsgBox("A friendly reminder", platform::vbOK);
}

// One Ln[UA] profiled, every other parameter fixed: each point changes one species.
void BM_ProfileEvaluateOnly1001(benchmark::State& state) {
    benchfit::Synthetic x;
    x.app.shell.AlgoColOn.ReDim(9);
    const int p = x.app.model.NSpp + 10;
    for (auto _ : state) {
        state.PauseTiming();
        x.Reset();
        for (int i = 1; i <= x.app.eng.par.NumPars; ++i) x.app.eng.par.StepSize(i) = i == p ? 0.01 : 0;
        Dialogue(x, p, 1001, true);
        Ending(x);
        state.ResumeTiming();
        MLParameterEvaluation(x.app);
    }
    state.counters["points"] = static_cast<double>(x.app.eval.NProfPts);
    state.counters["model_calls"] = static_cast<double>(x.modelCalls);
}
BENCHMARK(BM_ProfileEvaluateOnly1001)->Unit(benchmark::kMillisecond);

// From the fitted minimum, 25 points of one species' Ln[UA], step 0.1, each
// re-minimized by Marquardt with analytical derivatives.
void BM_ProfileMarquardt25(benchmark::State& state) {
    benchfit::Synthetic x;
    x.app.shell.AlgoColOn.ReDim(9);
    int restarts = 0;
    x.Reset();
    x.Run(restarts);
    const platform::Vec<double> fitted = x.app.eng.par.ParValue, steps = x.app.eng.par.StepSize;
    const int p = x.app.model.NSpp + 10;
    // Each point starts next to a minimum; a coarser test of convergence keeps
    // every point off the frustration message that a user would answer.
    x.app.eng.opt.ConvTol = 1E-2;
    double total = 0;
    for (auto _ : state) {
        x.app.eng.par.ParValue = fitted;
        x.app.eng.par.StepSize = steps;
        x.app.eng.par.StepSize(p) = 0.1;
        x.modelSeconds = 0;
        x.modelCalls = 0;
        Dialogue(x, p, 25, false);
        x.s.backend.AnswerMsgBox("Marquardt minimization", platform::vbYes);
        x.s.backend.AnswerMsgBox("Marquardt minimization", platform::vbOK);
        x.s.backend.AnswerMsgBox("Marquardt minimization", platform::vbNo);
        Ending(x);
        const auto t0 = Clock::now();
        MLParameterEvaluation(x.app);
        total = Seconds(t0);
    }
    state.counters["points"] = static_cast<double>(x.app.eval.NProfPts);
    state.counters["model_calls"] = static_cast<double>(x.modelCalls);
    state.counters["model_pct"] = 100 * x.modelSeconds / total;
}
BENCHMARK(BM_ProfileMarquardt25)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
