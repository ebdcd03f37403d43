#include "shell/Quit.h"

#include "engine/ProgressText.h"
#include "platform/runtime.h"
#include "platform/ui.h"
#include "app/App.h"
#include "shell/frmMenu.h"

namespace tivelor {

namespace {

// A failed save keeps the program running, so nothing more is lost.
bool NotQuitting(App& app, const std::string& what) {
    app.ShowMsg(what + " could not be saved, so Tivelor has not quit.", platform::vbExclamation, "Exit Tivelor");
    return false;
}

}  // namespace

bool AnyPriorInForce(const App& app) {
    const platform::Vec<std::string>& type = app.priors.PriorType;
    for (int i = 1; i <= app.eng.par.NumPars && i <= type.UBound(); ++i)
        if (!type(i).empty() && type(i) != "U") return true;
    return false;
}

bool RunQuitSequence(App& app, QuitFrom, const PriorsSaver& savePriors) {
    if (app.ShowMsg("Do you want to quit Tivelor?", platform::vbYesNo + platform::vbQuestion + platform::vbDefaultButton2,
                    "Exit Tivelor") != platform::vbYes)
        return false;
    if (app.ShowMsg("Save algorithm data?",
                    platform::vbYesNo + platform::vbQuestion, "What about algorithm data?") == platform::vbYes) {
        const bool menuWasLoaded = app.IsLoaded<frmMenu>();
        if (!app.form<frmMenu>().Save_Alg()) {
            if (!menuWasLoaded) app.UnloadIfLoaded<frmMenu>();
            return NotQuitting(app, "The algorithm data");
        }
    }
    if (AnyPriorInForce(app) &&
        app.ShowMsg("Save Bayesian priors?",
                    platform::vbYesNo + platform::vbQuestion, "What about Bayesian priors?") == platform::vbYes) {
        bool saved;
        if (savePriors) {
            saved = savePriors();
        } else {
            const bool menuWasLoaded = app.IsLoaded<frmMenu>();
            saved = app.form<frmMenu>().Save_Priors();
            if (!saved && !menuWasLoaded) app.UnloadIfLoaded<frmMenu>();
        }
        if (!saved) return NotQuitting(app, "The Bayesian priors");
    }
    CloseLog(app);
    app.ui.End();
}

}  // namespace tivelor
