#include "engine/AlgorithmFile.h"

#include <cmath>
#include <cctype>
#include <cstdint>
#include <cstdlib>

#include "engine/Parameters.h"
#include "engine/ProgressText.h"
#include "platform/runtime.h"
#include "state/App.h"

namespace tivelor {

using platform::Format;
using platform::Mid;

namespace {

constexpr int kAlgFile = 201;
const char* const kNumPattern = "0.0000000E+00";

// A field that must hold a number: blanks around it, nothing else.
bool NumberField(const std::string& field, double& x) {
    std::string t = platform::Trim(field);
    if (t.empty()) return false;
    for (char c : t)
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.' ||
              c == 'E' || c == 'e'))
            return false;
    char* end = nullptr;
    x = std::strtod(t.c_str(), &end);
    // A value below the normal range reads as the nearest one there is.
    return end == t.c_str() + t.size() && std::isfinite(x);
}

// A number for a 14-column field. A negative value with a three-digit
// exponent takes 15 characters in the file's pattern; it gives up one
// mantissa digit rather than be cut.
std::string FieldNumber(double x) {
    std::string t = Format(x, kNumPattern);
    if (t.size() > 14) t = Format(x, "0.000000E+00");
    return t;
}

bool IntField(const std::string& field, long lo, long hi, long& v) {
    double x;
    if (!NumberField(field, x)) return false;
    std::optional<std::int32_t> r = platform::CLng(x);
    if (!r || *r < lo || *r > hi) return false;
    v = *r;
    return true;
}

bool IsCapital(char c) { return c >= 'A' && c <= 'Z'; }

std::string Line(const std::string& text) { return text + "\r\n"; }

enum class ReadFailure { None, CountDiffers, TooMany, TooFew, BadlyFormatted, LineTooLong, Unreadable };

}  // namespace

std::string ShortLogFileName(const std::string& name) {
    const long len = platform::Len(name);
    if (len <= 14) return name;
    std::string last = platform::Right(name, 14);
    for (long k = 14; k >= 1; --k) {
        char c = last[static_cast<std::size_t>(k - 1)];
        if (c == '/' || c == '\\') return platform::Right(name, 14 - k);
    }
    return last;
}

bool FileTitleFromPath(const std::string& path, std::string& title) {
    for (long k = platform::Len(path); k >= 1; --k) {
        char c = path[static_cast<std::size_t>(k - 1)];
        if (c == '/' || c == '\\') {
            long n = platform::Len(path) - k - 4;
            title = n >= 0 ? Mid(path, k + 1, n) : Mid(path, k + 1);
            return true;
        }
    }
    return false;
}

std::string AlgorithmFileText(EngineState& eng, const std::string& parLabel) {
    ParameterSet& par = eng.par;
    MinOptions& opt = eng.opt;
    std::string out = Line(RSetPad(Format(par.NumPars, "###0"), 14) + "  Number of parameters");
    for (int i = 1; i <= par.NumPars; ++i) {
        std::string name = i <= par.ParName.UBound() ? par.ParName(i) : std::string();
        out += Line(RSetPad(FieldNumber(par.ParValue(i)), 14) +
                    RSetPad(FieldNumber(par.StepSize(i)), 16) + RSetPad(par.FuseCode(i), 4) +
                    parLabel + name);
    }
    opt.LogFileName = ShortLogFileName(opt.LogFileName);
    out += Line(RSetPad(FieldNumber(opt.ConvTol), 14) + "  Simplex limit (+ for ABS, - for REL)");
    out += Line(RSetPad(Format(static_cast<double>(opt.MaxCalls), "####0"), 14) +
                "  Maximum # of function calls (simplex) or iterations (Marquardt)");
    out += Line(RSetPad(Format(opt.TerminalFreq, "####0"), 14) + "  Terminal output frequency");
    out += Line(RSetPad(Format(opt.FileFreq, "####0"), 14) + "  File output frequency");
    out += Line(RSetPad(opt.LogFileName, 14) + "  Name of output file");
    out += Line(RSetPad(FieldNumber(opt.StepReduction), 14) + "  Step size reduction fraction");
    return out;
}

bool ReadAlgorithmFile(App& app) {
    EngineState& eng = app.eng;
    platform::FileTable& files = app.ui.files;
    eng.FileReadFailed = 0;
    const int numPars = eng.par.NumPars;

    // Everything is read into copies; the parameter set and the options take
    // them only when the read succeeds.
    Vec<double> value(numPars), step(numPars);
    Vec<std::string> code(numPars);
    MinOptions opt = eng.opt;
    long n = 0, E = 0, C = 0;
    ReadFailure failure = ReadFailure::None;

    // A line that is not there is a short file; a field that is not a number,
    // or a line that cannot be read (too long, a read error), is bad
    // formatting, wherever in the file it stands.
    bool missing = false;
    auto next = [&](std::string& line) {
        if (files.LineInput(kAlgFile, line)) return true;
        missing = !files.LineTooLong(kAlgFile) && files.ReadError(kAlgFile).empty();
        return false;
    };
    auto read = [&]() -> bool {
        std::string line;
        if (!next(line)) return false;
        if (!IntField(Mid(line, 1, 14), -32768, 32767, n)) return false;
        if (n != numPars) {
            failure = ReadFailure::CountDiffers;
            return true;
        }
        E = n + 7;
        C = 1;
        for (int i = 1; i <= numPars; ++i) {
            if (!next(line)) return false;
            ++C;
            if (!NumberField(Mid(line, 1, 14), value(i))) return false;
            if (!NumberField(Mid(line, 17, 14), step(i))) return false;
            std::string c = platform::UCase(platform::Trim(Mid(line, 33, 2)));
            if (c.empty()) return false;
            code(i) = IsCapital(c.front()) && IsCapital(c.back()) ? c : "~~";
        }
        // Each option line is taken as it is read.
        long v;
        if (!next(line)) return false;
        ++C;
        if (!NumberField(Mid(line, 1, 14), opt.ConvTol)) return false;
        if (!next(line)) return false;
        ++C;
        if (!IntField(Mid(line, 1, 14), INT32_MIN, INT32_MAX, v)) return false;
        opt.MaxCalls = v;
        if (!next(line)) return false;
        ++C;
        if (!IntField(Mid(line, 1, 14), -32768, 32767, v)) return false;
        opt.TerminalFreq = static_cast<int>(v);
        if (!next(line)) return false;
        ++C;
        if (!IntField(Mid(line, 1, 14), -32768, 32767, v)) return false;
        opt.FileFreq = static_cast<int>(v);
        if (!next(line)) return false;
        ++C;
        // The padding blanks of the field are not part of the name.
        opt.LogFileName = platform::Trim(Mid(line, 1, 14));
        if (!next(line)) return false;
        ++C;
        if (!NumberField(Mid(line, 1, 14), opt.StepReduction)) return false;
        while (files.LineInput(kAlgFile, line))
            if (!platform::Trim(line).empty()) ++C;
        if (files.LineTooLong(kAlgFile)) ++C;   // still a line, too long to be read
        if (C > E) failure = ReadFailure::TooMany;
        return true;
    };

    const bool stopped = !read();
    const std::string why = files.ReadError(kAlgFile);
    if (stopped) {
        if (C > E)
            failure = ReadFailure::TooMany;
        else if (!why.empty())
            failure = ReadFailure::Unreadable;
        else if (files.LineTooLong(kAlgFile))
            failure = ReadFailure::LineTooLong;
        else if (missing)
            failure = ReadFailure::TooFew;
        else
            failure = ReadFailure::BadlyFormatted;
    }

    files.Close(kAlgFile);
    if (failure == ReadFailure::None) {
        ++eng.Generation;
        eng.par.ParValue = value;
        eng.par.StepSize = step;
        eng.par.FuseCode = code;
        eng.opt = opt;
        CloseLog(app);   // no log file is open after a load; FileFreq 0
        return true;
    }

    std::string text;
    switch (failure) {
        case ReadFailure::CountDiffers:
            text = "Algorithm file  " + eng.AlgFileName + "  has " + platform::CStr(n) +
                   " parameters, but your model specifies " + platform::CStr(numPars);
            break;
        case ReadFailure::TooMany:
            text = "Algorithm file seems to have too many lines of information - better check it!";
            break;
        case ReadFailure::TooFew:
            text = "Algorithm file seems to have too few lines of information - better check it!";
            break;
        case ReadFailure::LineTooLong:
            text = "Algorithm file has a line too long to be read - better check it!";
            break;
        case ReadFailure::Unreadable:
            text = "Algorithm file  " + eng.AlgFileName + "  could not be read: " + why + ".";
            break;
        default:
            text = "Algorithm file seems to have inappropriate, badly formatted, or missing, "
                   "information - better check it!";
            break;
    }
    platform::Form* menu = app.shellAccess->LoadedMainMenu();
    // A main menu beside a running task stays as it stands, taking no input.
    bool wasVisible = menu && menu->Visible() && !app.task.InCharge();
    if (wasVisible) menu->Hide();
    app.ShowMsg(text, platform::vbInformation, "Algorithm file - information input failed");
    if (menu) {
        if (wasVisible) menu->Show();
        app.shellAccess->EnableLoadButtons();
    }
    eng.FileReadFailed = 1;
    return false;
}

AlgorithmOpen OpenAlgorithmFile(App& app, platform::CommonDialog& dialog) {
    EngineState& eng = app.eng;
    app.msg.DlgFilter = std::string("All files (*.*)|*.*|") + "Algorithm files (*.alg)|*.alg";
    dialog.CancelError = true;
    dialog.Flags = 0;
    dialog.DialogTitle = "Open algorithm data file";
    dialog.Filter = app.msg.DlgFilter;
    dialog.FilterIndex = 2;
    dialog.FileName = eng.AlgFileName;
    if (!dialog.ShowOpen()) return AlgorithmOpen::Cancelled;
    const std::string oldName = eng.AlgFileName, oldTitle = eng.AlgFileTitle;
    eng.AlgFileName = dialog.FileName;
    FileTitleFromPath(eng.AlgFileName, eng.AlgFileTitle);
    auto restore = [&] {
        eng.AlgFileName = oldName;
        eng.AlgFileTitle = oldTitle;
    };
    if (!app.ui.files.Open(kAlgFile, eng.AlgFileName, platform::FileMode::Input)) {
        app.ui.files.Close(kAlgFile);
        restore();
        app.ShowMsg("Be suspicious that your algorithm file is not properly formatted", platform::vbCritical,
                    "Problem Reading Algorithm File!");
        return AlgorithmOpen::NotOpened;
    }
    if (!ReadAlgorithmFile(app)) {   // the reader has told the user
        restore();
        return AlgorithmOpen::NotRead;
    }
    double& tol = eng.opt.ConvTol;
    if (tol != 0 && std::fabs(tol) < 1E-06) tol = tol < 0 ? -1E-06 : 1E-06;
    return AlgorithmOpen::Loaded;
}

bool ChooseAlgorithmSaveFile(App& app, platform::CommonDialog& dialog, int filterIndex) {
    EngineState& eng = app.eng;
    const std::string& dataTitle = app.model.DataFileTitle;
    app.msg.DlgFilter = std::string("All files (*.*)|*.*|") + "Algorithm files (*.alg)|*.alg|" +
                        "Named for data file (" + dataTitle + ".*)|" + dataTitle + ".*|";
    dialog.CancelError = true;
    dialog.Flags = platform::cdlOFNOverwritePrompt;
    dialog.DialogTitle = "Save algorithm data in...";
    dialog.Filter = app.msg.DlgFilter;
    dialog.FilterIndex = filterIndex;
    if (eng.AlgFileName.empty()) eng.AlgFileName = platform::DateTimeFileName(app.ui.Now(), ".alg");
    dialog.FileName = eng.AlgFileName;
    return dialog.ShowSave();
}

}  // namespace tivelor
