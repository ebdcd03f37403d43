#include "uncertainty/CovarianceLink.h"

#include <cmath>
#include <vector>

#include "engine/Parameters.h"
#include "numerics/CovarianceMatch.h"
#include "platform/files.h"
#include "state/App.h"
#include "platform/runtime.h"
#include "windows/TextWindows.h"

namespace tivelor {

namespace {

constexpr int kCovFile = 1;
constexpr const char* kNotFused = "~~";

// The field in columns first to last, read by the leading-number rule
// (blank reads 0); false when it holds something that is not a number.
bool Field(const std::string& line, std::size_t first, std::size_t last, double& v) {
    const std::string t = ColumnField(line, first, last);
    v = 0;
    if (platform::Trim(t).empty()) return true;
    const std::optional<double> n = platform::NumericField(t);
    if (n) v = *n;
    return n && std::isfinite(v);
}

// A parameter number field: a whole number from 1 to numPars.
bool ParameterNumber(const std::string& line, std::size_t first, std::size_t last, int numPars, int& n) {
    double v = 0;
    if (!Field(line, first, last, v) || v != std::floor(v) || v < 1 || v > numPars) return false;
    n = static_cast<int>(v);
    return true;
}

}  // namespace

bool ReadCovParameterLine(const std::string& line, CovParameterLine& read) {
    read = CovParameterLine{};
    read.code = platform::Trim(platform::Mid(line, 38, 3));
    return Field(line, 7, 20, read.value) && Field(line, 21, 36, read.step);
}

std::string CovOpenProblem(const std::string& path, const std::string& reason) {
    return "The covariance file could not be opened:\r\n\r\n" + path + (reason.empty() ? "" : "\r\n\r\n" + reason + ".");
}

std::string CovReadProblem(platform::FileTable& files, int n, const std::string& path, bool nothingRead) {
    if (files.LineTooLong(n)) return "The covariance file has a line too long to be read:\r\n\r\n" + path;
    const std::string why = files.ReadError(n);
    if (!why.empty()) return "The covariance file could not be read:\r\n\r\n" + path + "\r\n\r\n" + why + ".";
    if (nothingRead) return "The covariance file is empty:\r\n\r\n" + path;
    return "";
}

bool CheckCovParameterLine(const std::string& line, double value, double step, const std::string& code,
                           CovParameterLine& read) {
    return ReadCovParameterLine(line, read) &&
           numerics::CovParameterAgrees(read.value, read.step, read.code, value, step, platform::Trim(code));
}

void ChooseCovarianceFile(App& app, int& Grid) {
    CovarianceLink& c = app.unc.Cov;
    c.CovFileName = "";
    platform::CommonDialog& dlg = app.form<frmSummary>().CommonDialog1;
    dlg.Flags = 2;
    dlg.CancelError = true;
    dlg.DialogTitle = "Choose associated covariance file";
    app.msg.DlgFilter = "All files (*.*)|*.*|";
    app.msg.DlgFilter += "Tivelor covariance output files (*.cov)|*.cov";
    dlg.Filter = app.msg.DlgFilter;
    dlg.FilterIndex = 2;
    if (!dlg.ShowOpen()) return;
    c.CovFileName = dlg.FileName;
    app.msg.MsgTitle = "Grid providing covariance results";
    app.msg.MsgText = "Choose from which of the three grids to accept covariance results";
    while (Grid < 1 || Grid > 3) {
        app.msg.InputText = app.ui.InputBox(app.msg.MsgText, app.msg.MsgTitle, "");
        const std::optional<int> v = platform::CInt(platform::Val(app.msg.InputText));
        Grid = v ? *v : 0;
    }
}

void ReadCovarianceFile(App& app, platform::Vec<double>& P, platform::Vec<double>& StepSize,
                        platform::Vec<std::string>& FuseCode) {
    CovarianceLink& c = app.unc.Cov;
    const int NSpp = app.model.NSpp;
    const int NumPars = 2 * NSpp;
    c.CovValue.ReDim(NumPars);
    c.CovStep.ReDim(NumPars);
    c.CovCode.ReDim(NumPars);
    c.VarTheta.ReDim(NSpp);
    c.VarUA.ReDim(NSpp);
    c.CorThetaUA.ReDim(NSpp);
    c.CovGrid = 0;
    ChooseCovarianceFile(app, c.CovGrid);
    if (c.CovFileName.empty()) return;

    platform::FileTable& files = app.ui.files;
    if (!files.Open(kCovFile, c.CovFileName, platform::FileMode::Input)) {
        c.CovFileOK = platform::False;
        app.ShowMsg(CovOpenProblem(c.CovFileName, files.LastReason()), platform::vbCritical + platform::vbInformation,
                    "Covariance file not read");
        return;
    }
    std::string line;
    long linesRead = 0;
    auto next = [&] {
        const bool ok = !files.Eof(kCovFile) && files.LineInput(kCovFile, line);
        linesRead += ok;
        return ok;
    };
    auto refuse = [&](const std::string& text, const std::string& title) {
        c.CovFileOK = platform::False;
        files.Close(kCovFile);
        app.ShowMsg(text, platform::vbCritical + platform::vbInformation, title);
    };
    // A file that stops early for a reason of its own says so; one that just
    // ends disagrees at parameter i.
    auto stopped = [&](int i) {
        const std::string why = CovReadProblem(files, kCovFile, c.CovFileName, linesRead == 0);
        if (!why.empty()) return refuse(why, "Covariance file not read");
        refuse("Disagreement between the parameter value, step size or link code for parameter #" +
                   platform::CStr(i),
               "Algorithm file and covariance file parameter mismatch");
    };
    auto mismatch = [&](int i) {
        refuse("Disagreement between the parameter value, step size or link code for parameter #" +
                   platform::CStr(i),
               "Algorithm file and covariance file parameter mismatch");
    };

    for (int k = 1; k <= 4; ++k) {
        if (!next()) return stopped(1);
        if (k == 3) c.CovMethodLetter = platform::UCase(platform::Mid(line, 63, 1));
    }

    // Parameter lines.
    c.CovFileOK = platform::True;
    std::vector<int> freeIndex;
    for (int i = 1; i <= NumPars; ++i) {
        if (!next()) return stopped(i);
        const double Pi = i <= P.UBound() ? P(i) : 0;
        const double Si = i <= StepSize.UBound() ? StepSize(i) : 0;
        const std::string Fi = i <= FuseCode.UBound() ? FuseCode(i) : "";
        CovParameterLine read;
        const bool agrees = CheckCovParameterLine(line, Pi, Si, Fi, read);
        c.CovValue(i) = read.value;
        c.CovStep(i) = read.step;
        c.CovCode(i) = read.code;
        if (!agrees) return mismatch(i);
        if (Si != 0) freeIndex.push_back(i);
    }
    const int NFree = static_cast<int>(freeIndex.size());

    // Standard errors of the chosen grid.
    // Grid g's field ends at column 38 + 18 * (g - 1); the first one starts
    // after the parameter number, or the pair of them.
    const std::size_t gridLast = 38 + 18 * static_cast<std::size_t>(c.CovGrid - 1);
    const std::size_t gridFirst = c.CovGrid == 1 ? 4 : gridLast - 17;
    for (int k = 0; k < 15; ++k)
        if (!next()) return stopped(NFree > 0 ? freeIndex[0] : NumPars);
    for (int k = 0; k < NFree; ++k) {
        int j = 0;
        double e = 0;
        if (!next()) return stopped(freeIndex[static_cast<std::size_t>(k)]);
        if (!ParameterNumber(line, 1, 3, NumPars, j) || !Field(line, gridFirst, gridLast, e))
            return mismatch(freeIndex[static_cast<std::size_t>(k)]);
        if (e < 0)
            return refuse("Grid #" + platform::CStr(c.CovGrid) +
                              " of this covariance file has no standard error for parameter #" +
                              platform::CStr(j) +
                              " (the grid was not computed, or the standard error is negative)." +
                              "\r\n\r\nChoose a grid that was computed.",
                          "Covariance grid not usable");
        if (!std::isfinite(e * e))
            return refuse("Grid #" + platform::CStr(c.CovGrid) +
                              " of this covariance file has a standard error for parameter #" + platform::CStr(j) +
                              " whose square, the variance, is too large to be used.",
                          "Covariance grid not usable");
        if (j > NSpp)
            c.VarUA(j - NSpp) = e * e;
        else
            c.VarTheta(j) = e * e;
    }

    // Theta-UA correlations; a file saved with optimistic standard errors has
    // its note where the correlation heading would be.
    bool correlations = true;
    for (int k = 0; k < NFree + 4 && correlations; ++k) {
        if (!next()) {
            if (!CovReadProblem(files, kCovFile, c.CovFileName, false).empty()) return stopped(0);
            correlations = false;
        } else if (k == NFree + 3 && platform::Left(line, 5) == "Note:") correlations = false;
    }
    for (int ka = 0; correlations && ka < NFree; ++ka) {
        for (int kb = ka + 1; kb < NFree; ++kb) {
            if (!next()) {
                if (!CovReadProblem(files, kCovFile, c.CovFileName, false).empty()) return stopped(0);
                correlations = false;
                break;
            }
            int a = 0, b = 0;
            double r = 0;
            if (!ParameterNumber(line, 1, 3, NumPars, a) || !ParameterNumber(line, 4, 8, NumPars, b) ||
                !Field(line, c.CovGrid == 1 ? 9 : gridFirst, gridLast, r))
                return mismatch(freeIndex[static_cast<std::size_t>(ka)]);
            if (r > 1) r = 1;
            if (r < -1) r = -1;
            if (b == a + NSpp && a <= NSpp) c.CorThetaUA(a) = r;
        }
    }

    // Link groups: every member takes what the group's first member was given.
    std::vector<char> handled(static_cast<std::size_t>(NumPars) + 1, 0);
    for (int i = 1; i <= NumPars; ++i) {
        const std::string& code = c.CovCode(i);
        if (code.empty() || code == kNotFused || handled[static_cast<std::size_t>(i)]) continue;
        const bool theta = i <= NSpp;
        if (theta && c.CovCode(i + NSpp) == kNotFused)
            return refuse("Linkage patterns among species must be identical for the Thetas and UAs",
                          "Unacceptable parameter linkage(s)");
        for (int j = i + 1; j <= NumPars; ++j) {
            if (c.CovCode(j) != code) continue;
            if (theta && j > NSpp)
                return refuse("A linkage of a Theta and an UA parameter was found",
                              "Unacceptable parameter linkage(s)");
            if (theta) {
                c.VarTheta(j) = c.VarTheta(i);
                c.CorThetaUA(j) = c.CorThetaUA(i);
            } else {
                c.VarUA(j - NSpp) = c.VarUA(i - NSpp);
                c.CorThetaUA(j - NSpp) = c.CorThetaUA(i - NSpp);
            }
            handled[static_cast<std::size_t>(j)] = 1;
        }
    }
    files.Close(kCovFile);
}

}  // namespace tivelor
