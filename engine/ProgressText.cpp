#include "engine/ProgressText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "engine/Parameters.h"
#include "engine/Progress.h"
#include "platform/runtime.h"
#include "state/App.h"

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

std::string FormatE7(double x) {
    constexpr const char* kPattern = "0.0000000E+00";
    if (!std::isfinite(x) || x == 0) return platform::Format(x, kPattern);
    char b[40];
    // A value halfway between two 8-digit texts is left to Format, which
    // rounds such ties away from zero.
    auto r9 = std::to_chars(b, b + sizeof b, x, std::chars_format::scientific, 8);
    const char* dot = std::find(b, r9.ptr, '.');
    if (r9.ec != std::errc() || r9.ptr - dot < 9 || dot[8] == '5') return platform::Format(x, kPattern);
    auto r = std::to_chars(b, b + sizeof b, x, std::chars_format::scientific, 7);
    std::string out(b, r.ptr);
    out[out.find('e')] = 'E';
    return out;
}

std::string ParameterItem(int parNumber, double value) {
    std::string item;
    if (parNumber >= 0 && parNumber <= 999) {
        item = "    000) ";
        item[4] = static_cast<char>('0' + parNumber / 100);
        item[5] = static_cast<char>('0' + parNumber / 10 % 10);
        item[6] = static_cast<char>('0' + parNumber % 10);
        return item + RSetPad(FormatE7(value), 14);
    }
    return ColumnLine()
        .Field(platform::Format(static_cast<double>(parNumber), "000) "), 9)
        .Field(FormatE7(value), 14)
        .Text();
}

std::string ScreenParameterTail(App& app, int parNumber) {
    const ParameterSet& par = app.eng.par;
    return " " + RSetPad(platform::Format(std::string_view(par.FuseCode(parNumber)), "  "), 3) +
           "  " + par.ParName(parNumber) + "\r\n";
}

std::string ScreenParameterLine(App& app, int parNumber, double value) {
    return ParameterItem(parNumber, value) + ScreenParameterTail(app, parNumber);
}

bool CloseLog(App& app, bool writeFailed) {
    const std::string path = app.ui.files.PathOf(kLogFile);
    const bool ok = app.ui.files.Close(kLogFile) && !writeFailed;
    app.eng.opt.FileFreq = 0;
    app.shell.LogFileOpen = platform::False;
    if (!ok)
        app.ShowMsg("The log file " + path + " could not be written." + platform::vbCrLf + platform::vbCrLf +
                        "It has been closed; the minimization log ends before this point.",
                    platform::vbExclamation, "Log file management");
    return ok;
}

namespace {

void LogPrint(App& app, const std::string& text, bool newline = true) {
    if (app.eng.opt.FileFreq != 0 && !app.ui.files.Print(kLogFile, text, newline)) CloseLog(app, true);
}

}  // namespace

void LogLine(App& app, const std::string& text) { LogPrint(app, text); }

void LogParameterBlock(App& app, const std::function<double(long i)>& value) {
    if (app.eng.opt.FileFreq == 0) return;
    const FreeVector& fv = app.eng.free;
    for (long i = 1; i <= fv.NFree; ++i) {
        LogPrint(app, ParameterItem(fv.FreeIndex(i), value(i)), false);
        if (i % 4 == 0) LogPrint(app, "");
    }
    LogPrint(app, "");
    LogPrint(app, "");
}

std::string ZeroValueMessage() {
    return "A function value of zero has caused a division by zero error.\r\n"
           "Reset the tolerance to ABSolute or otherwise correct model";
}

std::string ToleranceChange(App& app, double value, double ref) {
    if (app.eng.opt.ConvTol >= 0) return " Abs TC> " + platform::Format(std::fabs(value - ref), "0.0000E+00");
    // Measured from a value of 0 the relative change has no value.
    if (ref == 0) return " Rel TC> Undefined";
    return " Rel TC> " + platform::Format(std::fabs((value - ref) / ref), "0.0000E+00");
}

std::string MinimumLine(double f, long nfree) {
    return "Minimum of " + platform::Format(f, "####0.#####") + " found at these " + platform::CStr(nfree) +
           " adjusted parameter values:";
}

std::string AxialCallText(long n, long m) {
    return "Axial function call " + platform::Format(static_cast<double>(n), "###0") + " of " +
           platform::Format(static_cast<double>(m), "###0");
}

void ShowProfilePoint(App& app, ProgressObserver& progress, const char* valuePattern) {
    const EvalState& ev = app.eval;
    const ParameterSet& par = app.eng.par;
    std::string text = "Calculating profile point " + platform::Format(static_cast<double>(ev.ProfPt), "##0") +
                       " of " + platform::Format(static_cast<double>(ev.NProfPts), "##0") + ",";
    if (app.eng.free.NFree != 0 && ev.ProfPar >= 1 && ev.ProfPar <= par.ParValue.UBound())
        text += " Value of parameter # " + platform::CStr(ev.ProfPar) + " which is being profiled is: " +
                platform::Format(par.ParValue(ev.ProfPar), valuePattern);
    progress.Panel(1, text);
    app.ui.DoEvents();
}

void StoreProfilePoint(App& app, double f) {
    EvalState& ev = app.eval;
    const ParameterSet& par = app.eng.par;
    if (ev.ProfPt < 0 || ev.ProfPt > ev.ProfNegLnL.UBound() || ev.ProfPt > ev.ProfX.UBound() ||
        ev.ProfPar < 1 || ev.ProfPar > par.ParValue.UBound())
        return;
    ev.ProfNegLnL(ev.ProfPt) = f;
    ev.ProfX(ev.ProfPt) = par.ParValue(ev.ProfPar);
}

InterruptAnswer AskAfterInterrupt(App& app, const std::string& title) {
    if (app.sw.MLOn != "on")
        return app.ShowMsg("Interrupt received. Do you want to quit minimizing?",
                           platform::vbYesNo + platform::vbQuestion, title) == platform::vbYes
                   ? InterruptAnswer::Quit
                   : InterruptAnswer::GoOn;
    if (app.ShowMsg("Interrupt received. Do you want to quit the ML procedure?",
                    platform::vbYesNo + platform::vbQuestion, title) == platform::vbYes) {
        app.eval.SavedProfPt = app.eval.ProfPt;
        app.eval.ProfPt = app.eval.NProfPts + 2;
        return InterruptAnswer::QuitProfile;
    }
    if (app.ShowMsg("Do you want to continue starting with the NEXT point?",
                    platform::vbYesNo + platform::vbQuestion + platform::vbDefaultButton2, title) == platform::vbYes)
        return InterruptAnswer::NextPoint;
    return InterruptAnswer::GoOn;
}

}  // namespace tivelor
