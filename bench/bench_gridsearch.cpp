// The initial-value grid search on the 225-species data set (50 of 1000
// quadrats), at the dialog's default 10 by 10 grid and at 20 by 20.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "model/GridSearch.h"
#include "tests/support/SyntheticData.h"
#include "model/frmInitialize.h"
#include "platform/headless/headless.h"
#include "app/App.h"

using namespace tivelor;

namespace {

struct Initialized {
    platform::headless::Session s;
    App app{s.ui};
    Initialized() {
        const std::string path =
            (std::filesystem::temp_directory_path() / "bench_gridsearch_225.dat").string();
        std::ofstream(path, std::ios::binary) << SyntheticDataText();
        app.Start();
        s.backend.Click("frmCredits.cmdOK");
        s.backend.Click("frmMenu.cmdInitialize");
        frmInitialize& dlg = app.form<frmInitialize>();
        dlg.txtDataFile.Text = path;
        dlg.cboQuadsinHab.Text = "1000";
        dlg.cboQuadsSampled.Text = "50";
        dlg.cboNSpecies.Text = "225";
        // The reader's notes (re-ordering, fuse and fix advice), whatever they are.
        for (int i = 0; i < 3; ++i) s.backend.AnswerMsgBox("", platform::vbOK);
        s.backend.Click("frmInitialize.cmdDone");
    }
};

void BM_GridSearch225(benchmark::State& state) {
    Initialized t;
    if (t.app.eng.par.NumPars != 450) {
        state.SkipWithError("set-up of the 225-species data failed");
        return;
    }
    t.app.model.ThetaGridRes = static_cast<int>(state.range(0));
    t.app.model.UAGridRes = static_cast<int>(state.range(0));
    platform::Vec<double> P(450);
    platform::Vec<std::string> codes(450);
    for (int i = 1; i <= 450; ++i) codes(i) = "~~";
    for (auto _ : state) {
        SearchInitialValues(t.app, P, codes);
        benchmark::DoNotOptimize(P(1));
    }
}
BENCHMARK(BM_GridSearch225)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
