#include "shell/OneFunction.h"

#include <string>

#include "engine/Objective.h"
#include "engine/Parameters.h"
#include "platform/runtime.h"
#include "shell/frmOneFunction.h"
#include "state/App.h"
#include "windows/frmMain.h"
#include "windows/frmReviewPriors.h"

namespace tivelor {

void OneFunctionCall(App& app) {
    EngineState& eng = app.eng;
    ParameterSet& par = eng.par;
    frmMain& main = app.form<frmMain>();

    app.form<frmOneFunction>().Show();
    main.stbMain5.SetPanel(1, "One moment please...");
    app.ui.DoEvents();
    double T0 = app.ui.Timer();

    eng.OneFunctionEval = platform::True;
    double F;
    try {
        F = EvaluateObjective(app, par.ParValue, 1, true);
    } catch (...) {
        eng.OneFunctionEval = platform::False;
        throw;
    }
    eng.OneFunctionEval = platform::False;

    double T1 = app.ui.Timer();
    if (T1 < T0) T1 += 86400;   // past midnight
    double seconds = platform::Int((T1 - T0) * 100 + 0.5) / 100;
    app.ui.DoEvents();
    app.msg.NumFormat = "0.0000000E+00";

    std::string text = "\r\nCurrent minimum of " + platform::Format(F, "####0.#####") +
                       " found at the following parameter values: \r\n\r\n";
    for (int i = 1; i <= par.NumPars; ++i) {
        std::string name = i <= par.ParName.UBound() ? par.ParName(i) : std::string();
        text += platform::Format(i, "    000) ") +
                RSetPad(platform::Format(par.ParValue(i), app.msg.NumFormat), 14) + " " +
                RSetPad(par.FuseCode(i), 3) + "  " + name + "\r\n";
    }
    text += "\r\nNote: One function call requires about " + platform::CStr(seconds) + " seconds\r\n";
    app.form<frmOneFunction>().rtbOneFunction.Text = text;

    if (app.sw.PriorsOn == "on") ReviewPriorLikelihoods(app);
    main.stbMain5.SetPanel(1, "");
}

}  // namespace tivelor
