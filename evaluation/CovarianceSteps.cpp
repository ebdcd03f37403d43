#include "evaluation/CovarianceSteps.h"

#include "app/App.h"
#include "engine/Parameters.h"
#include "platform/runtime.h"

namespace tivelor {

bool AskCovarianceGridSteps(App& app, long points, const std::string& title) {
    for (;;) {
        app.msg.InputText = app.ui.InputBox(std::string("Base step sizes on SD's from covariance grid 1, 2, 3, No or Quit?") +
                                                "\r\n" + "Please enter 1, 2, 3, N, or Q",
                                            title, "N");
        const std::string a = platform::UCase(app.msg.InputText);
        if (a.empty() || a == "Q") return false;
        if (a == "N") return true;
        if (a != "1" && a != "2" && a != "3") continue;
        const int g = a[0] - '0';
        SetUpFusedParameters(app);
        PackAdjustableParameters(app);
        if (!CovarianceGridComputed(app, g)) {
            ReportGridNotComputed(app, g, title);
            continue;
        }
        EngineState& eng = app.eng;
        for (long i = 1; i <= eng.free.NFree; ++i) {
            const int p = eng.free.FreeIndex(i);
            if (const auto se = CovarianceGridSE(app, p, g); se && eng.par.StepSize(p) != 0)
                eng.par.StepSize(p) = *se * 24 / (3 * static_cast<double>(points - 1));
        }
        return true;
    }
}

namespace {

// Parameter p's covariance slot when grid g can hold it, else 0.
int SlotOf(const App& app, int p, int g) {
    const EvalState& ev = app.eval;
    const platform::Array3<double>& cs = app.eng.CovStore;
    const int slot = p >= 0 && p <= ev.CovSlot.UBound() ? ev.CovSlot(p) : 0;
    return g >= 1 && slot >= 1 && slot <= cs.UBound2() && g <= cs.UBound3() ? slot : 0;
}

}  // namespace

bool CovarianceGridComputed(const App& app, int g) {
    const EngineState& eng = app.eng;
    bool computed = false;
    for (long i = 1; i <= eng.free.NFree; ++i)
        if (const int slot = SlotOf(app, eng.free.FreeIndex(i), g)) {
            if (eng.CovStore(0, slot, g) == -1) return false;
            computed = true;
        }
    return computed;
}

std::optional<double> CovarianceGridSE(const App& app, int p, int g) {
    const int slot = SlotOf(app, p, g);
    if (!slot || app.eng.CovStore(0, slot, g) == -1) return std::nullopt;
    return app.eng.CovStore(0, slot, g);
}

void ReportGridNotComputed(App& app, int g, const std::string& title) {
    app.ShowMsg("Covariance grid " + platform::CStr(g) +
                    " holds no standard errors (it was not computed); please choose another grid or N",
                platform::vbExclamation, title);
}

}  // namespace tivelor
