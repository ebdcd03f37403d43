#include "engine/ProgressText.h"

#include <cmath>

#include "engine/Parameters.h"
#include "platform/runtime.h"
#include "shell/App.h"

namespace tivelor {

std::string MinutesSeconds(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
    if (seconds > 1E9) seconds = 1E9;
    double r = std::nearbyint(seconds);
    double m = std::floor(r / 60);
    std::string s = platform::CStr(r - 60 * m);
    if (s.size() == 1) s = "0" + s;
    return platform::CStr(m) + ":" + s;
}

std::string ParameterItem(int parNumber, double value) {
    return platform::Format(static_cast<double>(parNumber), "    000) ") +
           RSetPad(platform::Format(value, "0.0000000E+00"), 14);
}

std::string ScreenParameterLine(App& app, int parNumber, double value) {
    const ParameterSet& par = app.eng.par;
    return ParameterItem(parNumber, value) + " " +
           RSetPad(platform::Format(std::string_view(par.FuseCode(parNumber)), "  "), 3) + "  " +
           par.ParName(parNumber) + "\r\n";
}

void LogLine(App& app, const std::string& text) {
    if (app.eng.opt.FileFreq != 0) app.ui.files.Print(kLogFile, text);
}

void LogParameterBlock(App& app, const std::function<double(long i)>& value) {
    if (app.eng.opt.FileFreq == 0) return;
    const FreeVector& fv = app.eng.free;
    for (long i = 1; i <= fv.NFree; ++i) {
        app.ui.files.Print(kLogFile, ParameterItem(fv.FreeIndex(i), value(i)), false);
        if (i % 4 == 0) app.ui.files.Print(kLogFile, "");
    }
    app.ui.files.Print(kLogFile, "");
    app.ui.files.Print(kLogFile, "");
}

std::string ZeroValueMessage() {
    return "A function value of zero has caused a division by zero error.\r\n"
           "Reset the tolerance to ABSolute or otherwise correct model";
}

}  // namespace tivelor
