#include "shell/AlgoEditor.h"

#include <cmath>

#include "platform/runtime.h"
#include "state/App.h"
#include "shell/frmAlgo.h"

namespace tivelor {

void ShowAlgorithmEditor(App& app) {
    frmAlgo& algo = app.form<frmAlgo>();
    algo.Show();
    algo.cmdFinish.SetFocus();
}

bool IsValidFuseCode(std::string_view code) {
    if (code == "~~") return true;
    if (code.empty() || code.size() > 2) return false;
    for (char ch : code)
        if (ch < 'A' || ch > 'Z') return false;
    return true;
}

bool AskStepProportion(App& app) {
    app.msg.MsgTitle = "Change proportionality constant";
    app.msg.MsgText = std::string("Enter step size as a fraction of parameter values.") +
                      platform::vbCrLf + "A proportion of 0 will default to 0.1";
    for (;;) {
        std::string answer = app.ui.InputBox(app.msg.MsgText, app.msg.MsgTitle,
                                             platform::CStr(app.shell.StepProp), 8000, 1500);
        if (answer.empty()) return false;
        if (!platform::IsNumeric(answer)) continue;
        double p = platform::Val(answer);
        app.shell.StepProp = p == 0 ? 0.1 : p;
        return true;
    }
}

}  // namespace tivelor
