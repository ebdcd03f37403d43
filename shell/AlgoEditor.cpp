#include "shell/AlgoEditor.h"

#include <cmath>

#include "platform/runtime.h"
#include "app/App.h"
#include "shell/frmAlgo.h"

namespace tivelor {

void ShowAlgorithmEditor(App& app) {
    frmAlgo& algo = app.form<frmAlgo>();
    algo.Show();
    algo.cmdFinish.SetFocus();
}

bool IsNumeric(std::string_view text) {
    std::string t = platform::Trim(text);
    std::size_t i = 0;
    auto digits = [&] {
        std::size_t start = i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
        return i - start;
    };
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t n = digits();
    if (i < t.size() && t[i] == '.') {
        ++i;
        n += digits();
    }
    if (n == 0) return false;
    if (i < t.size() && (t[i] == 'E' || t[i] == 'e' || t[i] == 'D' || t[i] == 'd')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        if (digits() == 0) return false;
    }
    return i == t.size() && std::isfinite(platform::Val(t));
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
        if (!IsNumeric(answer)) continue;
        double p = platform::Val(answer);
        app.shell.StepProp = p == 0 ? 0.1 : p;
        return true;
    }
}

std::optional<double> NumericField(std::string_view text) {
    const std::string t = platform::Trim(text);
    if (t.empty() || !IsNumeric(t)) return std::nullopt;
    return platform::Val(t);
}

}  // namespace tivelor
