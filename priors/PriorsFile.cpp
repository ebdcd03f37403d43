#include "priors/PriorsFile.h"

#include <cmath>
#include <cstring>
#include <optional>
#include <sstream>
#include <vector>

#include "engine/AlgorithmFile.h"
#include "engine/Parameters.h"
#include "numerics/PriorMath.h"
#include "platform/files.h"
#include "platform/runtime.h"
#include "state/App.h"
#include "windows/TextWindows.h"
#include "windows/frmMain.h"

namespace tivelor {

namespace {

constexpr int kPriorsFile = 204;
constexpr const char* kNames[10] = {"",
                                    "Uniform - unbounded",
                                    "Uniform - bounded",
                                    "Gaussian or Normal",
                                    "Exponential",
                                    "Gamma",
                                    "Beta",
                                    "Left-side cliff",
                                    "Right-side cliff",
                                    "Ln-normal"};

// An 11-column field: the sign position, then the pattern "0.000E+000".
std::string ValueField(double v) {
    std::string text = (v < 0 ? "-" : " ") + platform::Format(std::fabs(v), "0.000E+000");
    return RSetPad(text, 11);
}

std::string VariantField(const PriorVariant& v) {
    if (const double* d = std::get_if<double>(&v)) return ValueField(*d);
    const std::string& s = std::get<std::string>(v);
    if (platform::IsNumeric(s)) return ValueField(platform::Val(s));
    return RSetPad(s, 11);
}

// A first-term field: blank reads 0, otherwise the whole field is a number.
bool FieldNumber(const std::string& field, double& x) {
    x = 0;
    if (platform::Trim(field).empty()) return true;
    const std::optional<double> v = platform::NumericField(field);
    if (v) x = *v;
    return v.has_value();
}

void Lines(const std::string& text, std::vector<std::string>& out) {
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
    }
}

}  // namespace

std::string PriorTypeName(int k) { return k >= 1 && k <= 9 ? kNames[k] : std::string(); }

int PriorKind(const std::string& letter) {
    if (letter.size() != 1) return 0;
    const char* p = std::strchr(kPriorLetters, letter[0]);
    return p && letter[0] ? static_cast<int>(p - kPriorLetters) + 1 : 0;
}

std::string PriorVariantText(const PriorVariant& v) {
    if (const double* d = std::get_if<double>(&v)) return *d == kPriorUnset ? "*" : platform::CStr(*d);
    const std::string& s = std::get<std::string>(v);
    if (platform::IsNumeric(s) && platform::Val(s) == kPriorUnset) return "*";
    return s;
}

void SetDefaultPriors(App& app) {
    PriorTable& t = app.priors;
    for (int i = 1; i <= app.eng.par.NumPars && i <= t.PriorType.UBound(); ++i) {
        t.PriorType(i) = "U";
        t.PriorMean(i) = kPriorUnset;
        t.PriorSD(i) = kPriorUnset;
        t.PriorMean2(i) = std::string("Unused");
        t.PriorSD2(i) = std::string("Unused");
    }
    app.eng.SimplexValid = 0;
}

bool AnyPriorInForce(const App& app) {
    const platform::Vec<std::string>& type = app.priors.PriorType;
    for (int i = 1; i <= app.eng.par.NumPars && i <= type.UBound(); ++i)
        if (!type(i).empty() && type(i) != "U") return true;
    return false;
}

void PriorsOnFromTable(App& app) { app.sw.PriorsOn = AnyPriorInForce(app) ? "on" : "off"; }

std::string PriorValuesFault(const std::string& letter, double m, double s, double m2, double s2) {
    switch (PriorKind(letter)) {
        case 0: return "has no known prior letter in column 7";
        case 1: return "";
        case 3:
            if (!(s > 0)) return "has a normal prior whose SD is not above 0";
            return "";
        case 4:
            if (!(m > 0)) return "has an exponential prior whose mean is not above 0";
            return "";
        case 5:
            if (!(m > 0 && s > 0 && s < m)) return "has a gamma prior whose SD is not between 0 and its mean";
            return "";
        case 9:
            if (!(m > 0 && s > 0)) return "has a ln-normal prior whose mean or SD is not above 0";
            return "";
        case 6: {
            if (!(m > 0 && m < 1 && s > 0)) return "has a beta prior whose mean is not between 0 and 1 or whose SD is not above 0";
            numerics::BetaShapes ab = numerics::BetaShapesFromMoments(m, s);
            if (!(ab.a > 0 && ab.b > 0)) return "has a beta prior whose SD is too large for its mean";
            return "";
        }
        case 2:
            if (!(s >= 0 && s2 >= 0)) return "has a uniform-bounded prior with an SD below 0";
            if (!(m2 > m)) return "has a uniform-bounded prior whose right foot does not exceed its left foot";
            return "";
        default:   // the cliffs
            if (!(s >= 0)) return "has a cliff prior with an SD below 0";
            return "";
    }
}

std::optional<double> PriorsFileValue(double x) {
    if (!std::isfinite(x)) return std::nullopt;
    return platform::NumericField(ValueField(x));
}

std::string PriorsFileText(const PriorTable& t, int numPars) {
    std::string out = platform::CStr(numPars) + "\r\n";
    for (int i = 1; i <= numPars; ++i) {
        const std::string& letter = t.PriorType(i);
        // A number past 999 takes its extra columns from the blanks before the letter.
        out += ColumnLine().Field(platform::CStr(i), 3).Field("", 3).Text() + platform::UCase(letter) +
               ValueField(t.PriorMean(i)) +
               ValueField(t.PriorSD(i)) + VariantField(t.PriorMean2(i)) + VariantField(t.PriorSD2(i)) + "   " +
               PriorTypeName(PriorKind(platform::UCase(letter))) + "\r\n";
    }
    return out;
}

std::string ParsePriorsFile(const std::string& text, int numPars, PriorTable& table, int& count, int& line) {
    std::vector<std::string> lines;
    Lines(text, lines);
    line = 1;
    count = 0;
    if (lines.empty() || !platform::IsNumeric(lines[0])) return "does not hold the number of parameters";
    std::optional<int> n = platform::CInt(platform::Val(platform::Trim(lines[0])));
    if (!n) return "does not hold the number of parameters";
    count = *n;
    if (count != numPars) return "";

    PriorTable read;
    read.Reset(numPars);
    for (int i = 1; i <= numPars; ++i) {
        line = i + 1;
        if (static_cast<int>(lines.size()) < line) return "is missing: the file ends early";
        const std::string& l = lines[static_cast<std::size_t>(i)];
        const std::string letter = platform::UCase(platform::Mid(l, 7, 1));
        double m = 0, s = 0;
        if (!FieldNumber(platform::Mid(l, 8, 11), m)) return "holds a first mean (columns 8-18) that is not a number";
        if (!FieldNumber(platform::Mid(l, 19, 11), s)) return "holds a first SD (columns 19-29) that is not a number";
        const std::string m2 = platform::Trim(platform::Mid(l, 30, 11));
        const std::string s2 = platform::Trim(platform::Mid(l, 41, 11));
        for (const std::string* term : {&m2, &s2}) {
            const bool fits = platform::IsNumeric(*term) || (letter != "T" && (term->empty() || *term == "Unused"));
            if (!fits) return "holds a second term (columns 30-51) that is not a number";
        }
        const double m2v = platform::IsNumeric(m2) ? platform::Val(m2) : 0, s2v = platform::IsNumeric(s2) ? platform::Val(s2) : 0;
        std::string fault = PriorValuesFault(letter, m, s, m2v, s2v);
        if (!fault.empty()) return fault;
        read.PriorType(i) = letter;
        read.PriorMean(i) = m;
        read.PriorSD(i) = s;
        read.PriorMean2(i) = m2;
        read.PriorSD2(i) = s2;
    }
    read.PriorTerm = table.PriorTerm;
    read.PriorTerm.ReDimPreserve(numPars);
    table = std::move(read);
    return "";
}

PriorsRead ReadPriorsFile(App& app) {
    app.eng.FileReadFailed = 0;
    const std::string& path = app.shell.PriFileName;
    const int numPars = app.eng.par.NumPars;
    // The count and one line per parameter are all that is read.
    std::string text, line;
    int k = 0;
    for (; k <= numPars && app.ui.files.LineInput(kPriorsFile, line); ++k) text += line + "\r\n";
    // A line that could not be read is told as such, not as the file's end.
    std::string fault;
    if (app.ui.files.LineTooLong(kPriorsFile)) fault = "is too long to be read";
    else if (const std::string why = app.ui.files.ReadError(kPriorsFile); !why.empty())
        fault = "could not be read: " + why;
    app.ui.files.Close(kPriorsFile);

    int count = 0, faultLine = k + 1;
    PriorTable read = app.priors;
    if (fault.empty()) fault = ParsePriorsFile(text, numPars, read, count, faultLine);
    if (!fault.empty()) {
        app.ShowMsg("Bayesian priors file " + path + " cannot be used: line " + platform::CStr(faultLine) + " " +
                        fault + "." + "\r\n\r\n" + "The Bayesian priors have not been changed.",
                    platform::vbExclamation, "Bayes information");
        return PriorsRead::Failed;
    }
    if (count != numPars) {
        app.ShowMsg("Bayesian priors file  " + path + "  has " + platform::CStr(count) +
                        " parameters, but your model specifies " + platform::CStr(numPars) + "." + "\r\n" +
                        "Therefore default (uniform-unbounded) priors have been loaded instead.",
                    platform::vbCritical + platform::vbInformation, "Bayes information");
        SetDefaultPriors(app);
        app.eng.FileReadFailed = 1;
        app.sw.PriorsOn = "off";
        return PriorsRead::CountMismatch;
    }
    app.priors = std::move(read);
    app.eng.SimplexValid = 0;
    PriorsOnFromTable(app);
    if (platform::Form* menu = app.shellAccess->LoadedMainMenu()) menu->Hide();
    app.ShowMsg("Bayesian Priors file " + path + " has been loaded", platform::vbInformation, "Bayes information");
    return PriorsRead::Loaded;
}

bool SavePriorsFile(App& app, platform::CommonDialog& dialog, bool showTitle) {
    ShellState& sh = app.shell;
    app.msg.DlgFilter = std::string("All files (*.*)|*.*|") + "Bayesian prior files (*.pri)|*.pri";
    if (sh.PriFileName.empty()) sh.PriFileName = platform::DateTimeFileName(app.ui.Now(), ".pri");
    if (!ChooseSaveFile(dialog, {"Save Bayesian priors file in...", app.msg.DlgFilter, 2, sh.PriFileName}))
        return true;

    const std::string path = dialog.FileName;
    app.msg.NumFormat = " 0.000E+000";
    if (!WriteFileOrReport(app, "Bayesian priors file", path, PriorsFileText(app.priors, app.eng.par.NumPars)))
        return false;
    sh.PriFileName = path;
    frmMain& main = app.form<frmMain>();
    if (showTitle) {
        FileTitleFromPath(sh.PriFileName, sh.PriFileTitle);
        main.stbMain1.SetPanel(2, "Bayesian priors file: " + sh.PriFileTitle);
    } else {
        main.stbMain1.SetPanel(2, "Bayesian priors file: " + sh.PriFileName);
    }
    return true;
}

}  // namespace tivelor
