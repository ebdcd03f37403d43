// The ranking window's files: the covariance files it averages, the
// multi-model statistics file, and the algorithm data it loads and saves.
#include <cmath>
#include <filesystem>
#include <map>

#include "state/App.h"
#include "state/Task.h"
#include "priors/frmLoadPriors.h"
#include "engine/AlgorithmFile.h"
#include "engine/Parameters.h"
#include "numerics/ModelRanking.h"
#include "platform/files.h"
#include "platform/runtime.h"
#include "ranking/frmRank.h"
#include "uncertainty/CovarianceLink.h"
#include "windows/TextWindows.h"
#include "windows/frmMain.h"

namespace tivelor {

using platform::Format;
using platform::Mid;
using platform::vbCrLf;

namespace {

constexpr int kCovFile = 206;

// A field that reads wholly as a finite number.
bool NumberField(const std::string& field, double& value) {
    const std::optional<double> v = platform::NumericField(field);
    value = v.value_or(0);
    return v && std::isfinite(*v);
}

}  // namespace

// ------------------------------------------------------- covariance files

void frmRank::CheckCovFileName(std::string& CovFileName, int i, const std::string& folder) {
    platform::FileTable& files = app.ui.files;
    const std::string path = InFolder(CovFileName, folder);
    const bool named = !CovFileName.empty() && !IsCovPlaceholder(CovFileName);
    const bool opened = named && files.Open(kCovFile, path, platform::FileMode::Input);
    files.Close(kCovFile);
    if (opened) return;
    // Something that is there but cannot be read (a folder, a device, a pipe) is told.
    std::error_code ec;
    if (named && std::filesystem::exists(path, ec)) ShowCovFileProblem(CovOpenProblem(path, files.LastReason()));
    if (i == 1) CovFileName = kNoCovFound;
    if (i == 2) CovFileName = kNoSuchFile;
}

std::string frmRank::CovFilePath(const RankedModel& m) const { return InFolder(m.ModelCovFile, m.AlgFolder); }

int frmRank::CovFileMismatch(const std::string& path, const RankedModel& m, std::string& problem) {
    platform::FileTable& files = app.ui.files;
    problem.clear();
    if (!files.Open(kCovFile, path, platform::FileMode::Input)) {
        problem = CovOpenProblem(path, files.LastReason());
        return -1;
    }
    const int n = m.NumKept();
    std::string line;
    long linesRead = 0;
    auto next = [&] {
        const bool ok = !files.Eof(kCovFile) && files.LineInput(kCovFile, line);
        linesRead += ok;
        if (!ok) problem = CovReadProblem(files, kCovFile, path, linesRead == 0);
        return ok;
    };
    int mismatch = 0;
    for (int k = 0; k < 4 && !mismatch; ++k)
        if (!next()) mismatch = 1;
    for (int i = 1; i <= n && !mismatch; ++i) {
        const auto k = static_cast<std::size_t>(i);
        CovParameterLine read;
        if (!next() || !CheckCovParameterLine(line, m.ParValue[k], m.StepSize[k], m.FuseCode[k], read)) mismatch = i;
    }
    files.Close(kCovFile);
    return problem.empty() ? mismatch : -1;
}

void frmRank::ShowCovFileProblem(const std::string& problem) {
    app.ShowMsg(problem, platform::vbCritical + platform::vbInformation, "Covariance file not read");
}

void frmRank::CheckCovFileParameters(std::string& CovFileName, const RankedModel& m) {
    if (IsCovPlaceholder(CovFileName) || m.NumKept() == 0) return;
    std::string problem;
    const int i = CovFileMismatch(InFolder(CovFileName, m.AlgFolder), m, problem);
    if (i == 0) return;
    if (!problem.empty()) ShowCovFileProblem(problem);
    if (i > 0)
        app.ShowMsg("Disagreement between the parameter value, step size or link code for parameter #" +
                        platform::CStr(i),
                    platform::vbCritical + platform::vbInformation,
                    "Algorithm file and covariance file parameter mismatch");
    CovFileName = kNoCovFound;
}

frmRank::CovFileRead frmRank::ReadCovarianceFile(const RankedModel& m, CovReading& out) {
    const int n = app.eng.par.NumPars;
    platform::FileTable& files = app.ui.files;
    const std::string path = CovFilePath(m);
    if (!files.Open(kCovFile, path, platform::FileMode::Input)) {
        std::error_code ec;
        return std::filesystem::exists(path, ec) ? CovFileRead::Unusable : CovFileRead::Missing;
    }
    std::string line;
    auto next = [&] { return !files.Eof(kCovFile) && files.LineInput(kCovFile, line); };
    auto fail = [&] {
        files.Close(kCovFile);
        return CovFileRead::Unusable;
    };
    for (int k = 0; k < 4; ++k)
        if (!next()) return fail();
    out.est.assign(static_cast<std::size_t>(n) + 1, 0.0);
    for (auto& s : out.se) s.assign(static_cast<std::size_t>(n) + 1, 0.0);
    out.missing = {};
    // A fused follower carries a link code that an earlier parameter carries.
    std::vector<int> leader(static_cast<std::size_t>(n) + 1, 0);
    std::map<std::string, int> firstWithCode;
    // A file that no longer agrees with the model it was taken for is not used.
    const bool check = m.NumKept() > 0;
    if (check && m.NumKept() != n) return fail();
    for (int p = 1; p <= n; ++p) {
        const auto k = static_cast<std::size_t>(p);
        CovParameterLine read;
        if (!next()) return fail();
        if (!(check ? CheckCovParameterLine(line, m.ParValue[k], m.StepSize[k], m.FuseCode[k], read)
                    : ReadCovParameterLine(line, read)))
            return fail();
        out.est[k] = read.value;
        const std::string& code = read.code;
        if (code.empty() || code == "~~") continue;
        auto [it, fresh] = firstWithCode.emplace(code, p);
        if (!fresh) leader[static_cast<std::size_t>(p)] = it->second;
    }
    for (int k = 0; k < 15; ++k)
        if (!next()) return fail();
    for (int k = 0; k < m.ModelK; ++k) {
        double q = 0;
        if (!next() || !NumberField(ColumnField(line, 1, 3), q) || q < 1 || q > n || q != std::floor(q))
            return fail();
        for (int g = 1; g <= 3; ++g) {
            double se = 0;
            const std::size_t last = 38 + 18 * static_cast<std::size_t>(g - 1);
            if (!NumberField(ColumnField(line, g == 1 ? 4 : last - 17, last), se)) return fail();
            // A negative standard error is one that was not computed.
            if (se < 0) out.missing[static_cast<std::size_t>(g)] = true;
            out.se[static_cast<std::size_t>(g)][static_cast<std::size_t>(q)] = se;
        }
    }
    files.Close(kCovFile);
    for (int p = 1; p <= n; ++p)
        if (int l = leader[static_cast<std::size_t>(p)])
            for (int g = 1; g <= 3; ++g)
                out.se[static_cast<std::size_t>(g)][static_cast<std::size_t>(p)] =
                    out.se[static_cast<std::size_t>(g)][static_cast<std::size_t>(l)];
    return CovFileRead::Read;
}

void frmRank::cmdAverage_Click() {
    TaskGuard task(app, "Model ranking", this);
    if (!task) return;
    const int N = table.NumModels, n = app.eng.par.NumPars;
    const bool quasi = table.Quasi();
    auto missingFile = [&] {
        app.ShowMsg("Sorry, the covariance file is missing for at least one ranked model",
                    platform::vbOKOnly, "Can't average models");
    };
    for (int m = 1; m <= N; ++m)
        if (IsCovPlaceholder(table.At(2, m).ModelCovFile)) {
            missingFile();
            cmdAverage.Enabled = false;
            return;
        }
    std::vector<numerics::ModelEstimates> models(static_cast<std::size_t>(N));
    std::vector<double> w(static_cast<std::size_t>(N));
    std::array<bool, 4> missing{};
    for (int m = 1; m <= N; ++m) {
        const RankedModel& r = table.At(2, m);
        const MaybeValue weight = quasi ? r.ModelQAICWt : r.ModelAICWt;
        CovReading c;
        const CovFileRead read = weight ? ReadCovarianceFile(r, c) : CovFileRead::Missing;
        if (read == CovFileRead::Unusable) {
            app.ShowMsg("Sorry, the covariance file " + CovFilePath(r) + " of model " + platform::CStr(r.ModelID) +
                            " cannot be read as that model's covariance file",
                        platform::vbOKOnly, "Can't average models");
            return;
        }
        if (read == CovFileRead::Missing) {
            missingFile();
            return;
        }
        w[static_cast<std::size_t>(m - 1)] = *weight;
        models[static_cast<std::size_t>(m - 1)].est = std::move(c.est);
        models[static_cast<std::size_t>(m - 1)].se = std::move(c.se);
        for (int g = 1; g <= 3; ++g) missing[static_cast<std::size_t>(g)] |= c.missing[static_cast<std::size_t>(g)];
    }
    const numerics::AveragedEstimates a = numerics::AverageModels(w, models, n, missing, table.CHat);
    // Values so large that their averages leave the range of a double cannot be used.
    for (int p = 1; p <= n; ++p)
        for (const std::vector<double>* v : {&a.Avg, &a.USE[1], &a.USE[2], &a.USE[3]})
            if (!std::isfinite((*v)[static_cast<std::size_t>(p)])) {
                app.ShowMsg("Sorry, the averages of the ranked models' estimates or standard errors are too "
                            "large to be shown",
                            platform::vbOKOnly, "Can't average models");
                return;
            }

    std::string t = std::string("Parameter estimates and their SEs resulting from averaging across all ranked models.") + vbCrLf;
    t += std::string("Each model contributes to the reported averages according to its AIC Weight.") + vbCrLf;
    t += std::string("SEs will report a value of -1 if any model is missing an estimate for SE.") + vbCrLf + vbCrLf;
    t += std::string("Parameter_#  Parameter_Value") + "     SEs_Grid_#1     SEs_Grid_#2     SEs_Grid_#3" + vbCrLf;
    for (int p = 1; p <= n; ++p) {
        const auto P = static_cast<std::size_t>(p);
        t += RSetPad(Format(static_cast<double>(p), "##0"), 11) + " " + RSetPad(Format(a.Avg[P], "0.0000E+00"), 16);
        for (int g = 1; g <= 3; ++g) t += RSetPad(Format(a.USE[static_cast<std::size_t>(g)][P], "0.0000E+00"), 16);
        t += vbCrLf;
    }
    txtAverage.Text = t;
    cmdAICc.SetFocus();
    table.AveragingDone = platform::True;
    lblAverage.Enabled = true;
}

// -------------------------------------------------- multi-model statistics

std::string frmRank::RanksFileText() {
    const bool quasi = table.Quasi();
    std::string t = RSetPad(Format(static_cast<double>(table.NumModels), "####0"), 6) + " < Number of models ranked";
    if (quasi) t += "; C-hat for QAICc calculation: " + Format(table.CHat, "0.000");
    t += vbCrLf;
    t += quasi ? " Model     -nln[L] #Prms       QAICc      dQAICc     QAIC Wt                            "
                 "Algorithm file                           Covariance file  Notes>"
               : " Model     -nln[L] #Prms        AICc       dAICc      AIC Wt                            "
                 "Algorithm file                           Covariance file  Notes>";
    t += vbCrLf;
    auto maybe = [](const MaybeValue& v, const char* pattern) {
        return v ? Format(*v, pattern) : std::string("undefined");
    };
    for (int r = 1; r <= table.NumModels; ++r) {
        const RankedModel& m = table.At(2, r);
        t += RSetPad(Format(static_cast<double>(r), "####0"), 6);
        t += RSetPad(Format(m.ModelNLnL, "0.0000E+00"), 12);
        t += RSetPad(Format(static_cast<double>(m.ModelK), "####0"), 6);
        t += RSetPad(Format(quasi ? m.ModelQAICc : m.ModelAICc, "0.0000E+00"), 12);
        t += RSetPad(maybe(quasi ? m.ModelDQAICc : m.ModelDAICc, "0.0000E+00"), 12);
        t += RSetPad(maybe(quasi ? m.ModelQAICWt : m.ModelAICWt, "0.00000"), 12);
        t += "  " + RSetPad(m.ModelAlgFile, 40) + "  " + RSetPad(m.ModelCovFile, 40) + "  " + m.ModelNotes + vbCrLf;
    }
    if (table.AveragingDone) t += vbCrLf + txtAverage.Text() + vbCrLf;
    return t;
}

void frmRank::Save_Ranks() {
    app.msg.DlgFilter = std::string("All files (*.*)|*.*|") + "Multi-model statistics files (*.mms)|*.mms";
    if (!ChooseSaveFile(CommonDialog1, {"Save model ranking results in...", app.msg.DlgFilter, 2,
                                        platform::DateTimeFileName(app.ui.Now(), ".mms")}))
        return;
    const std::string path = CommonDialog1.FileName;
    WriteFileOrReport(app, "multi-model statistics file", path, RanksFileText());
    cmdAICc.SetFocus();
}

// --------------------------------------------------------- algorithm data

void frmRank::cmdLoadAlg_Click() {
    TaskGuard task(app, "Model ranking", this);
    if (!task) return;
    ClearAveraging();
    EngineState& eng = app.eng;
    if (OpenAlgorithmFile(app, CommonDialog1) != AlgorithmOpen::Loaded) return;
    eng.SimplexValid = 0;
    app.form<frmMain>().stbMain1.SetPanel(1, "Algorithm file: " + eng.AlgFileTitle);
    app.ui.DoEvents();
    cmdAICc_Click();
    cmdAICc.SetFocus();
}

void frmRank::cmdEditAlg_Click() {
    Hide();
    ClearAveraging();
    platform::Vec<int>& on = app.shell.AlgoColOn;
    if (on.UBound() < 9) on.ReDimPreserve(9);
    for (int k = 4; k <= 9; ++k) on(k) = 1;
    app.shellAccess->ShowAlgorithmEditor();
}

void frmRank::cmdSaveAlg_Click() {
    ClearAveraging();
    Save_Alg();
}

void frmRank::Save_Alg() {
    EngineState& eng = app.eng;
    if (!ChooseAlgorithmSaveFile(app, CommonDialog1, 2)) return;
    // The file takes its new name only once it is written.
    const std::string path = CommonDialog1.FileName;
    const std::string oldLog = eng.opt.LogFileName;
    if (!WriteFileOrReport(app, "algorithm file", path, AlgorithmFileText(app.eng, "  Value, step then link for: "))) {
        eng.opt.LogFileName = oldLog;
        return;
    }
    eng.AlgFileName = path;
    FileTitleFromPath(eng.AlgFileName, eng.AlgFileTitle);
    app.form<frmMain>().stbMain1.SetPanel(1, "Algorithm file: " + eng.AlgFileTitle);
    cmdAICc.SetFocus();
}

void frmRank::cmdBayesian_Click() {
    ClearAveraging();
    app.sw.PriorsFromRank = "on";
    Hide();
    app.form<frmLoadPriors>().Show();
}

}  // namespace tivelor
