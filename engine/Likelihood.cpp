#include "engine/Likelihood.h"

#include <cmath>

#include "engine/Objective.h"
#include "engine/Parameters.h"
#include "engine/Simplex.h"
#include "engine/Priors.h"
#include "platform/runtime.h"
#include "app/App.h"
#include "shell/TextWindows.h"
#include "shell/frmMain.h"

namespace tivelor {

void WarnInsufficientDF(App& app) {
    app.ShowMsg("Cannot accept a negative or zero constant; perhaps the degrees of freedom are zero or fewer",
                platform::vbExclamation, "Insufficient degrees of freedom");
}

void EnterLikelihoodConstant(App& app) {
    frmMain& main = app.form<frmMain>();
    for (;;) {
        main.stbMain5.SetPanel(1, "");
        app.ui.DoEvents();
        app.msg.MsgTitle = "Enter constant";
        app.msg.MsgText = "Enter the constant WHICH WILL MAKE the objective function the -ln[likelihood]" +
                          std::string(platform::vbCrLf);
        std::string answer = app.ui.InputBox(app.msg.MsgText, app.msg.MsgTitle, "", 5000, 2000);
        app.msg.InputText = answer;
        if (answer.empty()) continue;
        double c = platform::Val(answer);
        // The constant and its reciprocal scale every -ln L: both must be normal numbers.
        if (c > 0 && !(std::isnormal(c) && std::isnormal(1 / c))) {
            app.ShowMsg("Cannot accept a constant so large or so small that it or its reciprocal is out of "
                        "range; choose a constant between 1E-307 and 1E+307",
                        platform::vbExclamation, "Enter constant");
            continue;
        }
        if (c > 0) {
            // A new constant changes the objective a kept simplex was built on.
            if (app.eng.RecipLnLConst != 1 / c) InvalidateSimplex(app);
            app.eng.RecipLnLConst = 1 / c;
            return;
        }
        WarnInsufficientDF(app);
    }
}

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

    if (app.sw.PriorsOn == "on") ShowPriorReview(app);
    main.stbMain5.SetPanel(1, "");
}

}  // namespace tivelor
