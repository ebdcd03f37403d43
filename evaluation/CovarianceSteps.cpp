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
        EngineState& eng = app.eng;
        const EvalState& ev = app.eval;
        // Each free parameter's own standard error, through its covariance slot.
        auto slotOf = [&](int p) {
            const int slot = p <= ev.CovSlot.UBound() ? ev.CovSlot(p) : 0;
            return slot >= 1 && slot <= eng.CovStore.UBound2() && g <= eng.CovStore.UBound3() ? slot : 0;
        };
        bool computed = false, failed = false;
        for (long i = 1; i <= eng.free.NFree; ++i)
            if (const int slot = slotOf(eng.free.FreeIndex(i))) {
                computed = true;
                if (eng.CovStore(0, slot, g) == -1) failed = true;
            }
        if (!computed || failed) {
            app.ShowMsg("Covariance grid " + a + " holds no standard errors (it was not computed); please choose "
                        "another grid or N",
                        48, title);
            continue;
        }
        for (long i = 1; i <= eng.free.NFree; ++i) {
            const int p = eng.free.FreeIndex(i);
            if (const int slot = slotOf(p); slot && eng.par.StepSize(p) != 0)
                eng.par.StepSize(p) = eng.CovStore(0, slot, g) * 24 / (3 * static_cast<double>(points - 1));
        }
        return true;
    }
}

std::optional<double> CovarianceGridSE(const App& app, int p, int g) {
    const EngineState& eng = app.eng;
    const platform::Array3<double>& cs = eng.CovStore;
    if (g < 1 || g > cs.UBound3()) return std::nullopt;
    for (long i = 1; i <= eng.free.NFree; ++i) {
        if (eng.free.FreeIndex(i) != p) continue;
        if (i > cs.UBound1() || i > cs.UBound2() || !(cs(i, i, g) > 0)) return std::nullopt;
        return cs(0, i, g);
    }
    return std::nullopt;
}

}  // namespace tivelor
