#include "uncertainty/CovarianceLink.h"

#include <cmath>
#include <vector>

#include "numerics/CovarianceMatch.h"
#include "state/App.h"
#include "platform/runtime.h"
#include "windows/TextWindows.h"

namespace tivelor {

namespace {

constexpr int kCovFile = 1;
constexpr const char* kNotFused = "~~";

// A fixed field read by the leading-number rule (blank reads 0); false when
// it holds something that is not a number.
bool Field(const std::string& line, long start, long length, double& v) {
    const std::string t = platform::Mid(line, start, length);
    v = 0;
    if (platform::Trim(t).empty()) return true;
    const std::optional<double> n = platform::NumericField(t);
    if (n) v = *n;
    return n && std::isfinite(v);
}

// A parameter number field: a whole number from 1 to numPars.
bool ParameterNumber(const std::string& line, long start, int numPars, int& n) {
    double v = 0;
    if (!Field(line, start, 3, v) || v != std::floor(v) || v < 1 || v > numPars) return false;
    n = static_cast<int>(v);
    return true;
}

}  // namespace

bool ReadCovParameterLine(const std::string& line, CovParameterLine& read) {
    read = CovParameterLine{};
    read.code = platform::Trim(platform::Mid(line, 38, 3));
    return Field(line, 7, 14, read.value) && Field(line, 23, 14, read.step);
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
        app.ShowMsg("The covariance file could not be opened:\r\n\r\n" + c.CovFileName,
                    platform::vbCritical + platform::vbInformation,
                    "Covariance file not read");
        return;
    }
    std::string line;
    auto next = [&] { return !files.Eof(kCovFile) && files.LineInput(kCovFile, line); };
    auto refuse = [&](const std::string& text, const std::string& title) {
        c.CovFileOK = platform::False;
        files.Close(kCovFile);
        app.ShowMsg(text, platform::vbCritical + platform::vbInformation, title);
    };
    auto mismatch = [&](int i) {
        refuse("Disagreement between the parameter value, step size or link code for parameter #" +
                   platform::CStr(i),
               "Algorithm file and covariance file parameter mismatch");
    };

    for (int k = 1; k <= 4; ++k) {
        if (!next()) return mismatch(1);
        if (k == 3) c.CovMethodLetter = platform::UCase(platform::Mid(line, 63, 1));
    }

    // Parameter lines.
    c.CovFileOK = platform::True;
    std::vector<int> freeIndex;
    for (int i = 1; i <= NumPars; ++i) {
        if (!next()) return mismatch(i);
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
    const long gridColumn = 25 + 18 * (c.CovGrid - 1);
    for (int k = 0; k < 15; ++k)
        if (!next()) return mismatch(NFree > 0 ? freeIndex[0] : NumPars);
    for (int k = 0; k < NFree; ++k) {
        int j = 0;
        double e = 0;
        if (!next() || !ParameterNumber(line, 1, NumPars, j) || !Field(line, gridColumn, 14, e))
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
        if (!next()) correlations = false;
        else if (k == NFree + 3 && platform::Left(line, 5) == "Note:") correlations = false;
    }
    for (int ka = 0; correlations && ka < NFree; ++ka) {
        for (int kb = ka + 1; kb < NFree; ++kb) {
            if (!next()) {
                correlations = false;
                break;
            }
            int a = 0, b = 0;
            double r = 0;
            if (!ParameterNumber(line, 1, NumPars, a) || !ParameterNumber(line, 6, NumPars, b) ||
                !Field(line, gridColumn, 14, r))
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
