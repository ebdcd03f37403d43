// The prior editor's entry commands: one prior kind each for the selected
// parameter, asked in input boxes and checked before anything is stored.
#include <cmath>
#include <optional>

#include "numerics/PriorMath.h"
#include "platform/runtime.h"
#include "app/App.h"
#include "priors/PriorsFile.h"
#include "priors/frmSetPriors.h"
#include "shell/AlgoEditor.h"

namespace tivelor {

namespace {
const std::string kBeta = "\xC3\x9F";   // the sharp s that names the beta function
}

bool frmSetPriors::Ask(const std::string& question, const std::string& title, int i, std::string& answer) {
    app.msg.NumFormat = "0.000E+000";
    answer = app.ui.InputBox(question + platform::CStr(i), title, "", 5000, 2000);
    return !answer.empty();
}

bool frmSetPriors::AskPair(const std::string& q1, const std::string& q2, const std::string& title, int i,
                           double& a, double& b) {
    std::string t1, t2;
    if (!Ask(q1, title, i, t1) || !Ask(q2, title, i, t2)) return false;
    if (!IsNumeric(t1) || !IsNumeric(t2)) return false;
    const std::optional<double> x = PriorsFileValue(platform::Val(t1)), y = PriorsFileValue(platform::Val(t2));
    if (!x || !y) return false;
    a = *x;
    b = *y;
    return true;
}

void frmSetPriors::Store(int i, const std::string& letter, double mean, double sd) {
    PriorTable& pr = app.priors;
    pr.PriorType(i) = letter;
    pr.PriorMean(i) = mean;
    pr.PriorSD(i) = sd;
    pr.PriorMean2(i) = std::string("Unused");
    pr.PriorSD2(i) = std::string("Unused");
    app.eng.SimplexValid = 0;
    ShowRow(i);
    MarkEntered(i);
}

void frmSetPriors::mnuN_Click() {
    const int i = Selected();
    if (i == 0) return;
    double m, s;
    if (!AskPair("Choose mean of parameter #", "Choose SD of parameter #", "Gaussian (i.e., Normal)", i, m, s)) return;
    if (s == 0) return;
    Store(i, "N", m, std::fabs(s));
}

void frmSetPriors::mnuG_Click() {
    const int i = Selected();
    if (i == 0) return;
    double m, s;
    if (!AskPair("Choose mean (> 0) of parameter #", "Choose SD (0 < SD < Mean) of parameter #", "Gamma", i, m, s))
        return;
    if (m == 0 || s == 0 || s >= m || std::fabs(s) >= std::fabs(m)) return;
    Store(i, "G", std::fabs(m), std::fabs(s));
}

void frmSetPriors::mnuE_Click() {
    const int i = Selected();
    if (i == 0) return;
    app.msg.MsgText = std::string("For the exponential distribution the instantaneous decay rate ") +
                      "is equal to the reciprocal of both the mean and the SD" + "\r\n\r\n" +
                      "Choose the mean (and thus SD) of parameter #";
    std::string t;
    if (!Ask(app.msg.MsgText, "Exponential", i, t) || !IsNumeric(t)) return;
    const std::optional<double> kept = PriorsFileValue(platform::Val(t));
    if (!kept) return;
    const double m = std::fabs(*kept);
    if (m == 0) return;
    Store(i, "E", m, m);
}

void frmSetPriors::mnuL_Click() {
    const int i = Selected();
    if (i == 0) return;
    double m, s;
    if (!AskPair("Choose mean (> 0) of parameter #", "Choose SD (> 0) of parameter #", "Ln-normal", i, m, s)) return;
    if (m == 0 || s == 0) return;
    Store(i, "L", std::fabs(m), std::fabs(s));
}

void frmSetPriors::mnuB_Click() {
    const int i = Selected();
    if (i == 0) return;
    double m, s;
    if (!AskPair("Choose mean (0 < mean < 1) of parameter #", "Choose SD (> 0) of parameter #", "Beta", i, m, s))
        return;
    if (m <= 0 || m >= 1 || s == 0) return;
    m = std::fabs(m);
    s = std::fabs(s);
    const numerics::BetaShapes ab = numerics::BetaShapesFromMoments(m, s);
    app.msg.MsgTitle = "Beta";
    app.msg.MsgStyle = platform::vbInformation;
    if (ab.a > 0 && ab.b > 0) {
        app.msg.MsgText = "The corresponding values for 'a' & 'b' of " + kBeta + " (a,b) are: " +
                          platform::Format(ab.a, "####0.####") + " & " + platform::Format(ab.b, "####0.####");
        app.ShowMsg();
        Store(i, "B", m, s);
    } else if (ab.a <= 0) {
        app.msg.MsgText = "An unacceptable (< 0) value for 'a' of " + kBeta + " (a,b) is: " +
                          platform::Format(ab.a, "####0.####");
        app.ShowMsg();
    } else {
        app.msg.MsgText = "An unacceptable (< 0) value for 'b' of " + kBeta + " (a,b) is: " +
                          platform::Format(ab.b, "####0.####");
        app.ShowMsg();
    }
}

void frmSetPriors::MnuS_Click() {
    const int i = Selected();
    if (i == 0) return;
    double foot, s;
    if (!AskPair("Choose left foot of parameter #", "Choose SD @ the left foot of parameter #", "Left-side cliff", i,
                 foot, s))
        return;
    Store(i, "S", foot, std::fabs(s));
}

void frmSetPriors::mnuR_Click() {
    const int i = Selected();
    if (i == 0) return;
    double foot, s;
    if (!AskPair("Choose right foot of parameter #", "Choose SD @ the right foot of parameter #", "Right-side cliff",
                 i, foot, s))
        return;
    Store(i, "D", foot, std::fabs(s));
}

void frmSetPriors::mnuT_Click() {
    const int i = Selected();
    if (i == 0) return;
    const std::string title = "Uniform-bounded";
    std::string left, leftSD, right, rightSD;
    const std::string* typed[4] = {&left, &leftSD, &right, &rightSD};
    std::optional<double> kept[4];   // what the priors file keeps of each
    for (;;) {
        if (!Ask("Choose left foot of parameter #", title, i, left)) return;
        if (!Ask("Choose SD @ the left foot of parameter #", title, i, leftSD)) return;
        app.msg.NumFormat = "0.000E+000";
        right = app.ui.InputBox("Choose right foot of parameter #" + platform::CStr(i) + ", it must exceed left foot.",
                                title, "", 5000, 2000);
        if (right.empty()) return;
        if (!Ask("Choose SD @ the right foot of parameter #", title, i, rightSD)) return;
        const bool numbers = IsNumeric(left) && IsNumeric(leftSD) && IsNumeric(right) && IsNumeric(rightSD);
        if (!numbers) continue;
        for (int k = 0; k < 4; ++k) kept[k] = PriorsFileValue(platform::Val(*typed[k]));
        if (!kept[0] || !kept[1] || !kept[2] || !kept[3]) return;
        if (*kept[2] > *kept[0]) break;
    }
    // The right foot keeps its typed text unless the file rounds it.
    if (platform::Val(right) != *kept[2]) right = platform::CStr(*kept[2]);
    PriorTable& pr = app.priors;
    pr.PriorType(i) = "T";
    pr.PriorMean(i) = *kept[0];
    pr.PriorSD(i) = std::fabs(*kept[1]);
    pr.PriorMean2(i) = right;
    pr.PriorSD2(i) = std::fabs(*kept[3]);
    app.eng.SimplexValid = 0;
    ShowRow(i);
    MarkEntered(i);
}

void frmSetPriors::mnuU_Click() {
    app.msg.NumFormat = "0.000E+000";
    const int i = Selected();
    if (i == 0) return;
    Store(i, "U", kPriorUnset, kPriorUnset);
}

}  // namespace tivelor
