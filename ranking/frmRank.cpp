// The ranking window: layout, opening and closing, the grid, and the model
// table's AICc, QAICc and ranking.
#include "ranking/frmRank.h"

#include <cmath>

#include "state/App.h"
#include "state/Task.h"
#include "engine/Likelihood.h"
#include "windows/LikelihoodConstant.h"
#include "engine/Objective.h"
#include "engine/Parameters.h"
#include "numerics/ModelRanking.h"
#include "platform/runtime.h"
#include "windows/frmMain.h"

namespace tivelor {

using platform::Format;
using platform::QBColor;

namespace {

constexpr int kLeftCentre = 1, kCentre = 4;   // grid cell alignments

struct Column {
    const char* header;
    int width;
    int align;
};
const Column kColumns[10] = {
    {"Random", 800, kLeftCentre},  {"-ln[L]", 1000, kCentre},        {"K", 400, kCentre},
    {"AICc", 1000, kCentre},       {"dAICc", 800, kCentre},          {"AIC Wt", 800, kCentre},
    {"Algorithm file name", 1600, kLeftCentre}, {"Covariance file name", 1600, kLeftCentre},
    {"Priors file name", 1600, kLeftCentre},    {"Notes:", 9700, kLeftCentre},
};

std::string Shown(const MaybeValue& v, const char* pattern) {
    return v ? Format(*v, pattern) : std::string("undefined");
}

// The text after the last "/" or "\", or the whole name without one.
std::string AfterLastSeparator(const std::string& path) {
    const auto p = path.find_last_of("/\\");
    return p == std::string::npos ? path : path.substr(p + 1);
}

std::string FolderOf(const std::string& path) {
    const auto p = path.find_last_of("/\\");
    return p == std::string::npos ? std::string() : path.substr(0, p);
}

// A fresh model that keeps the parameters as they are evaluated: its covariance
// file must agree with their values, step sizes and link codes.
RankedModel WithParameters(const ParameterSet& par) {
    RankedModel m;
    const auto n = static_cast<std::size_t>(par.NumPars) + 1;
    m.ParValue.assign(n, 0.0);
    m.StepSize.assign(n, 0.0);
    m.FuseCode.assign(n, std::string());
    for (int i = 1; i <= par.NumPars; ++i) {
        const auto k = static_cast<std::size_t>(i);
        m.ParValue[k] = par.ParValue(i);
        m.StepSize[k] = par.StepSize(i);
        m.FuseCode[k] = par.FuseCode(i);
    }
    return m;
}

}  // namespace

std::string InFolder(const std::string& name, const std::string& folder) {
    if (folder.empty() || name.find_first_of("/\\") != std::string::npos) return name;
    return folder + "/" + name;
}

frmRank::frmRank(App& a)
    : Form(a.ui, kName, "Model rankings", platform::FormKind::MdiChild, 12900, 8100), app(a) {
    cmdAICc.ToolTipText = "Calculates the AICc for the currently open, and perhaps edited, algorithm file";
    cmdQAICc.ToolTipText = "Calculates the AICc for the currently open, and perhaps edited, algorithm file";
    cmdRank.ToolTipText =
        "Ranks competing models in ascending order of their AICc values (Note: All AICc values must be positive)";
    cmdAverage.ToolTipText =
        "Averages parameter estimates and SEs over all models using their associated covariance file and "
        "according to their AIC weight (Wt)";
    cmdLoadAlg.ToolTipText =
        "Loads or creates a file that contains parameter estimates and other info used by the minimization "
        "algorithms";
    cmdEditAlg.ToolTipText = "Allows you to edit the current algorithm data";
    cmdSaveAlg.ToolTipText = "Allows you to save the algorithm data (Try to keep the file name <20 characters)";
    cmdBayesian.ToolTipText = "Assigns prior probabilities to the parameters of the currently open algorithm file";
    cmdSaveRank.ToolTipText = "Saves the results of the ranking and/or averaging exercise in a *.mms file";
    cmdFinish.ToolTipText = "Quits the ranking exercise";
    txtCHat.Locked = true;
    txtAverage.Locked = true;
    txtAverage.ScrollBars = true;
    txtAverage.FontName = "Courier New";
    lblAction.ForeColor = QBColor(1);

    cmdAICc.OnClick = [this] { cmdAICc_Click(); };
    cmdQAICc.OnClick = [this] { cmdQAICc_Click(); };
    cmdRank.OnClick = [this] { cmdRank_Click(); };
    cmdAverage.OnClick = [this] { cmdAverage_Click(); };
    cmdLoadAlg.OnClick = [this] { cmdLoadAlg_Click(); };
    cmdEditAlg.OnClick = [this] { cmdEditAlg_Click(); };
    cmdSaveAlg.OnClick = [this] { cmdSaveAlg_Click(); };
    cmdBayesian.OnClick = [this] { cmdBayesian_Click(); };
    cmdSaveRank.OnClick = [this] { cmdSaveRank_Click(); };
    cmdFinish.OnClick = [this] { cmdFinish_Click(); };
    grdRank.OnDblClick = [this] { grdRank_DblClick(); };
}

std::string frmRank::RowLabel(int row, int model) {
    return std::string(row < 10 ? "   " : " ") + platform::CStr(row) + ")" + (model < 10 ? "    " : "  ") +
           platform::CStr(model);
}

void frmRank::Form_Load() {
    frmMain& main = app.form<frmMain>();
    main.mnuApplication.Enabled = false;
    app.sw.RankOn = "on";
    table.Reset();
    Move(1200, 500, 12900, -1);
    Caption = "Model selection, ranking and averaging";

    grdRank.TopRow = 1;
    grdRank.LeftCol = 1;
    grdRank.Rows = 2;
    grdRank.Cols = 10;
    grdRank.FixedRows = 1;
    for (int c = 1; c <= 9; ++c) grdRank.SetCellBackColor(0, c, QBColor(7));
    grdRank.GridColor = QBColor(8);
    for (int c = 0; c <= 9; ++c) {
        grdRank.SetTextMatrix(0, c, kColumns[c].header);
        grdRank.SetColWidth(c, kColumns[c].width);
        grdRank.SetCellAlignment(0, c, c >= 6 ? kLeftCentre : kCentre);
    }

    Show();
    cmdAICc.SetFocus();
    cmdSaveRank.Enabled = false;
    cmdAverage.Enabled = false;
    cmdRank.Enabled = false;
    ClearAveraging();
    txtCHat.Text = "C-hat: " + Format(table.CHat, "0.000");
    txtCHat.ForeColor = QBColor(2);
    cmdAICc_Click();
    cmdLoadAlg.SetFocus();
}

void frmRank::Form_Unload(int& /*cancel*/) {
    if (grdRank.TextMatrix(0, 0) == "Ranked") {
        if (app.ShowMsg("Do you want to save ranking results?",
                        platform::vbYesNo + platform::vbQuestion + platform::vbDefaultButton2,
                        "What about ranking results!") == platform::vbYes)
            Save_Ranks();
    }
    app.sw.RankOn = "off";
    ReturnToMainMenu(app);
}

void frmRank::cmdFinish_Click() { Unload(); }

void frmRank::cmdSaveRank_Click() { Save_Ranks(); }

// ------------------------------------------------------------ grid helpers

void frmRank::SetHeader(const std::string& text, int colour) {
    grdRank.SetTextMatrix(0, 0, text);
    grdRank.SetCellForeColor(0, 0, QBColor(colour));
    grdRank.SetCellFontBold(0, 0, true);
    grdRank.ForeColor = QBColor(colour);
}

void frmRank::SetCriterionHeaders(bool quasi) {
    const char* names[3] = {quasi ? "QAICc" : "AICc", quasi ? "dQAICc" : "dAICc", quasi ? "QAIC Wt" : "AIC Wt"};
    for (int k = 0; k < 3; ++k) {
        grdRank.SetTextMatrix(0, 3 + k, names[k]);
        grdRank.SetColWidth(3 + k, k == 0 ? 1000 : 800);
        grdRank.SetCellAlignment(0, 3 + k, kCentre);
    }
}

void frmRank::DrawRow(int r, const RankedModel& m, bool quasi) {
    const std::string cells[10] = {
        RowLabel(r, m.ModelID),
        Format(m.ModelNLnL, "0.0000E+00"),
        platform::CStr(m.ModelK),
        Format(quasi ? m.ModelQAICc : m.ModelAICc, "0.0000E+00"),
        Shown(quasi ? m.ModelDQAICc : m.ModelDAICc, "####0.00"),
        Shown(quasi ? m.ModelQAICWt : m.ModelAICWt, "0.000000"),
        m.ModelAlgFile,
        m.ModelCovFile,
        m.ModelPriFile,
        m.ModelNotes,
    };
    for (int c = 0; c <= 9; ++c) {
        grdRank.SetTextMatrix(r, c, cells[c]);
        grdRank.SetCellAlignment(r, c, kColumns[c].align);
    }
}

void frmRank::EnableRankButtons() {
    cmdSaveRank.Enabled = false;
    cmdAverage.Enabled = false;
    cmdRank.Enabled = table.NumModels >= 2;
}

void frmRank::ClearAveraging() {
    table.AveragingDone = 0;
    txtAverage.Text = "";
    lblAverage.Enabled = false;
}

// -------------------------------------------------------- AICc and QAICc

void frmRank::cmdAICc_Click() {
    TaskGuard task(app, "Model ranking", this);
    if (!task) return;
    if (table.NumModels >= 99) {
        app.ShowMsg("Sorry, no more than 99 models can be ranked", platform::vbOKOnly, "Model limit reached");
        return;
    }
    EngineState& eng = app.eng;
    // A model enters the table under its algorithm file's name.
    if (eng.AlgFileName.empty()) {
        app.ShowMsg("Please save the algorithm data first: each model is entered in the table under the name "
                    "of its algorithm file.",
                    platform::vbInformation, "No algorithm file");
        return;
    }
    frmMain& main = app.form<frmMain>();
    // The first model's -ln L needs the constant, which the prior term uses too.
    if (table.NumModels == 0) {
        Hide();
        EnterLikelihoodConstant(app);
        Show();
    }
    main.stbMain5.SetPanel(1, "One moment please while one function is executed...");
    SetUpFusedParameters(app.eng);
    PackAdjustableParameters(app);
    RankedModel taken = WithParameters(eng.par);
    table.RankF = EvaluateObjective(app, eng.par.ParValue, 1, true);

    int K = 0;
    for (int i = 1; i <= eng.par.NumPars; ++i)
        if (eng.par.StepSize(i) != 0) ++K;
    const long N = eng.SampleSize;
    // A likelihood constant must not turn -ln L into infinity or 0.
    const std::optional<double> scaled = numerics::ScaledNegLnL(table.RankF, eng.RecipLnLConst);
    const double nlnl = scaled.value_or(0);
    const auto aicc = scaled ? numerics::SmallSampleCriterion(nlnl, K, N) : std::nullopt;
    if (!aicc) {
        main.stbMain5.SetPanel(1, "");
        std::string why;
        if (!scaled)
            why = std::string("its -ln L, the objective function's value scaled by the likelihood constant, is ") +
                  (std::isfinite(table.RankF / eng.RecipLnLConst) ? "too small to be told from 0"
                                                                    : "too large to be a number");
        else if (static_cast<long long>(N) - K - 1 != 0)
            why = "its AICc is too large to be a number";
        else
            why = "with " + platform::CStr(K) + " estimated parameters and " + platform::CStr(N) +
                  " individuals counted its AICc is not a number (N - K - 1 must not be 0)";
        app.ShowMsg("This model cannot be ranked: " + why + ". Nothing was added to the table.",
                    platform::vbExclamation, "Model not added");
        return;
    }

    const int m = ++table.NumModels;
    if (m > 1) grdRank.Rows = grdRank.Rows + 1;
    table.Resize(m);
    RankedModel& row = table.At(1, m);
    row = std::move(taken);
    row.ModelAlgFile = AfterLastSeparator(eng.AlgFileName);
    row.AlgFolder = FolderOf(eng.AlgFileName);
    std::string stem = row.ModelAlgFile;
    if (stem.size() >= 4) stem.resize(stem.size() - 4);
    row.ModelCovFile = stem + ".cov";
    CheckCovFileName(row.ModelCovFile, 1, row.AlgFolder);
    CheckCovFileParameters(row.ModelCovFile, row);
    const bool priorsUsed = app.sw.PriorsOn == "on" && !app.shell.PriFileName.empty();
    row.ModelPriFile = priorsUsed ? AfterLastSeparator(app.shell.PriFileName) : "No Priors loaded";
    row.ModelK = K;
    row.ModelNLnL = nlnl;
    row.ModelAICc = *aicc;
    for (int i = 1; i <= m; ++i) {
        table.At(1, i).ModelDAICc.reset();
        table.At(1, i).ModelAICWt.reset();
    }
    SetHeader("Random", 12);
    row.ModelID = m;
    DrawRow(m, row, false);
    for (int r = 1; r < m; ++r)
        for (int c = 4; c <= 5; ++c) {
            grdRank.SetTextMatrix(r, c, "undefined");
            grdRank.SetCellAlignment(r, c, kCentre);
        }
    if (table.CHat > 1) cmdQAICc_Click();
    EnableRankButtons();
    ClearAveraging();
    main.stbMain5.SetPanel(1, "");
    cmdLoadAlg.SetFocus();
}

void frmRank::cmdQAICc_Click() {
    TaskGuard task(app, "Model ranking", this);
    if (!task) return;
    const int n = table.NumModels;
    table.Resize(n);
    // Empty or Cancel counts as 1; anything below 1 (or not a number) is asked again.
    do {
        const std::string answer =
            app.ui.InputBox("Input a value for C-hat (1 or greater) to correct for unexplained overdispersion:",
                            "Overdispersion correction", platform::CStr(table.CHat));
        table.CHat = answer.empty() ? 1 : platform::Val(answer);
    } while (!(table.CHat >= 1 && std::isfinite(table.CHat)));
    txtCHat.Text = "C-hat: " + Format(table.CHat, "0.000");
    txtCHat.ForeColor = QBColor(table.CHat == 1 ? 2 : 1);

    const bool quasi = table.Quasi();
    SetCriterionHeaders(quasi);
    const long N = app.eng.SampleSize;
    for (int i = 1; i <= n; ++i) {
        RankedModel& r = table.At(1, i);
        // Every model in the table has a defined criterion (it was refused otherwise).
        const double v = numerics::SmallSampleCriterion(r.ModelNLnL, r.ModelK, N, table.CHat).value_or(0);
        if (quasi) {
            r.ModelQAICc = v;
            r.ModelDQAICc.reset();
            r.ModelQAICWt.reset();
        } else {
            r.ModelAICc = v;
            r.ModelDAICc.reset();
            r.ModelAICWt.reset();
        }
    }
    for (int r = 1; r <= grdRank.Rows - 1 && r <= n; ++r) DrawRow(r, table.At(1, r), quasi);
    SetHeader("Random", 12);
    EnableRankButtons();
    ClearAveraging();
    app.form<frmMain>().stbMain5.SetPanel(1, "");
    cmdLoadAlg.SetFocus();
}

// ---------------------------------------------------------------- ranking

void frmRank::cmdRank_Click() {
    TaskGuard task(app, "Model ranking", this);
    if (!task) return;
    const int n = table.NumModels;
    const bool quasi = table.Quasi();
    std::vector<double> v(static_cast<std::size_t>(n));
    std::string refused;
    for (int j = 1; j <= n; ++j) {
        const RankedModel& r = table.At(1, j);
        const double x = quasi ? r.ModelQAICc : r.ModelAICc;
        v[static_cast<std::size_t>(j - 1)] = x;
        if (!(x > 0 && x < 1E+100)) refused += (refused.empty() ? "" : ", ") + platform::CStr(r.ModelID);
    }
    if (!refused.empty()) {
        app.ShowMsg(std::string("The models can be ranked only when every ") + (quasi ? "QAICc" : "AICc") +
                        " value is a positive number. Not so for model(s) " + refused +
                        ": delete them from the table (double-click their first cell) and rank again.",
                    platform::vbExclamation, "Cannot rank the models");
        return;
    }
    const std::vector<int> order = numerics::RankBySelection(v);

    table.Resize(n);
    std::vector<double> ranked;
    for (int r = 1; r <= n; ++r) {
        const RankedModel& src = table.At(1, order[static_cast<std::size_t>(r)]);
        RankedModel& dst = table.At(2, r);
        const MaybeValue keepD = quasi ? dst.ModelDQAICc : dst.ModelDAICc;
        const MaybeValue keepW = quasi ? dst.ModelQAICWt : dst.ModelAICWt;
        const double otherValue = quasi ? dst.ModelAICc : dst.ModelQAICc;
        const MaybeValue otherD = quasi ? dst.ModelDAICc : dst.ModelDQAICc;
        const MaybeValue otherW = quasi ? dst.ModelAICWt : dst.ModelQAICWt;
        dst = src;
        // The other criterion's ranked entries are left as they were.
        if (quasi) {
            dst.ModelAICc = otherValue;
            dst.ModelDAICc = otherD;
            dst.ModelAICWt = otherW;
            dst.ModelDQAICc = keepD;
            dst.ModelQAICWt = keepW;
        } else {
            dst.ModelQAICc = otherValue;
            dst.ModelDQAICc = otherD;
            dst.ModelQAICWt = otherW;
            dst.ModelDAICc = keepD;
            dst.ModelAICWt = keepW;
        }
        ranked.push_back(quasi ? src.ModelQAICc : src.ModelAICc);
    }
    if (n >= 2) {
        const numerics::AkaikeWeights a = numerics::DeltasAndWeights(ranked);
        for (int r = 1; r <= n; ++r) {
            RankedModel& dst = table.At(2, r);
            (quasi ? dst.ModelDQAICc : dst.ModelDAICc) = a.delta[static_cast<std::size_t>(r - 1)];
            (quasi ? dst.ModelQAICWt : dst.ModelAICWt) = a.weight[static_cast<std::size_t>(r - 1)];
        }
    }
    for (int r = 1; r <= n; ++r) {
        RankedModel& entry = table.At(1, r);
        entry = table.At(2, r);
        (quasi ? entry.ModelDQAICc : entry.ModelDAICc).reset();
        (quasi ? entry.ModelQAICWt : entry.ModelAICWt).reset();
    }
    SetHeader("Ranked", quasi ? 1 : 2);
    for (int r = 1; r <= n; ++r) DrawRow(r, table.At(2, r), quasi);
    cmdSaveRank.Enabled = true;
    cmdAICc.SetFocus();
    cmdAverage.Enabled = false;
    bool allFiles = true;
    for (int r = 1; r <= n && allFiles; ++r) allFiles = !IsCovPlaceholder(table.At(2, r).ModelCovFile);
    if (allFiles && n >= 2) cmdAverage.Enabled = true;
    ClearAveraging();
}

// ------------------------------------------------------------ table edits

void frmRank::grdRank_DblClick() {
    const int R = grdRank.MouseRow, C = grdRank.MouseCol, N = table.NumModels;
    grdRank.Row = 0;
    grdRank.Col = 0;
    const int source = grdRank.TextMatrix(0, 0) == "Ranked" ? 2 : 1;
    const bool quasi = table.Quasi();
    if (C == 0 && R >= 1 && R <= N) {
        std::vector<RankedModel> kept;
        for (int j = 1; j <= N; ++j)
            if (j != R) kept.push_back(table.At(source, j));
        for (int j = 1; j <= N - 1; ++j) {
            RankedModel& entry = table.At(1, j);
            entry = kept[static_cast<std::size_t>(j - 1)];
            (quasi ? entry.ModelDQAICc : entry.ModelDAICc).reset();
            (quasi ? entry.ModelQAICWt : entry.ModelAICWt).reset();
        }
        table.NumModels = N - 1;
        grdRank.Rows = grdRank.Rows - 1;
        for (int r = 1; r <= grdRank.Rows - 1 && r <= table.NumModels; ++r) DrawRow(r, table.At(1, r), quasi);
        SetHeader("Random", 12);
        table.Resize(table.NumModels);
    } else if (C == 7 && R >= 1 && R <= N) {
        grdRank.Row = R;
        grdRank.Col = 7;
        app.msg.MsgTitle = "Choose an associated covariance file";
        app.msg.MsgText = "Please input the desired covariance file name";
        std::string name = app.ui.InputBox(app.msg.MsgText, app.msg.MsgTitle, grdRank.TextMatrix(R, 7), 8000, 1500);
        CheckCovFileName(name, 2, table.At(source, R).AlgFolder);
        CheckCovFileParameters(name, table.At(source, R));
        for (int h = 1; h <= 2; ++h)
            if (static_cast<int>(table.half[static_cast<std::size_t>(h)].size()) > R) table.At(h, R).ModelCovFile = name;
        grdRank.SetTextMatrix(R, 7, name);
    } else if (C == 9 && R >= 1 && R <= N) {
        grdRank.Row = R;
        grdRank.Col = 9;
        app.msg.MsgTitle = "Model notes";
        app.msg.MsgText = "Enter your annotations concerning the selected model";
        grdRank.SetTextMatrix(R, 9, app.ui.InputBox(app.msg.MsgText, app.msg.MsgTitle, "Add your notation here", 8000, 1500));
        for (int h = 1; h <= 2; ++h)
            if (static_cast<int>(table.half[static_cast<std::size_t>(h)].size()) > R)
                table.At(h, R).ModelNotes = grdRank.TextMatrix(R, 9);
    }
    cmdAICc.SetFocus();
    EnableRankButtons();
    ClearAveraging();
    if (table.NumModels == 0) grdRank.Rows = 2;
}

}  // namespace tivelor
