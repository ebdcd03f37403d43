// The ranking window: competing models of one data set ranked by AICc or
// QAICc, with deltas, Akaike weights and model-averaged estimates.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/forms.h"
#include "ranking/ModelTable.h"

namespace tivelor {

class App;

// What the averaging takes from one covariance file.
struct CovReading {
    std::vector<double> est;                      // 1..NumPars
    std::array<std::vector<double>, 4> se;        // grids 1..3
    std::array<bool, 4> missing{};                // a grid some line reports as not computed
};

class frmRank : public platform::Form {
public:
    static constexpr const char* kName = "frmRank";
    explicit frmRank(App& app);

    platform::TextBox txtCHat{*this, "txtCHat", "C-hat: ", 120, 1200, 1920, 330};
    platform::CommandButton cmdAICc{*this, "cmdAICc", "Calculate model AICc", 120, 1800, 1920, 435};
    platform::CommandButton cmdQAICc{*this, "cmdQAICc", "Calculate QAICc", 120, 2280, 1920, 435};
    platform::CommandButton cmdRank{*this, "cmdRank", "&Rank competing models", 120, 2760, 1920, 435};
    platform::CommandButton cmdAverage{*this, "cmdAverage", "&Average across models", 120, 3240, 1920, 435};
    platform::CommandButton cmdLoadAlg{*this, "cmdLoadAlg", "&Load Algorithm Data", 120, 3840, 1920, 435};
    platform::CommandButton cmdEditAlg{*this, "cmdEditAlg", "&Edit Algorithm Data", 120, 4320, 1920, 435};
    platform::CommandButton cmdSaveAlg{*this, "cmdSaveAlg", "&Save Algorithm Data", 120, 4800, 1920, 435};
    platform::CommandButton cmdBayesian{*this, "cmdBayesian", "Set &Bayesian priors", 120, 5280, 1920, 435};
    platform::CommandButton cmdSaveRank{*this, "cmdSaveRank", "&Save ranking and averaging results", 120, 5880,
                                        1920, 435};
    platform::CommandButton cmdFinish{*this, "cmdFinish", "&Finish", 120, 7440, 1920, 435};
    platform::FlexGrid grdRank{*this, "grdRank", 2200, 1800, 10500, 4380, 2, 10};
    platform::TextBox txtAverage{*this, "txtAverage", "", 2200, 6400, 10500, 1500, true};
    platform::Label lblRankModels{*this, "lblRankModels",
                                  "Add competing models by sequentially loading or editing their associated "
                                  "algorithm files",
                                  2200, 120, 10500, 255};
    platform::Label lblAction{*this, "lblAction",
                              "Choose 'Calculate AICc' to (re-)calculate AICc for the currently open algorithm file",
                              2200, 400, 10500, 255};
    platform::Label lblCovariance{*this, "lblCovariance",
                                  "(Note: Competitors to be ranked must have mutually associated algorithm and "
                                  "covariance files)",
                                  2200, 680, 10500, 255};
    platform::Label lblDelete{*this, "lblDelete",
                              "Double-click a selected model's 'Ramdom/Ranked' cell to delete that model", 2200,
                              960, 10500, 255};
    platform::Label lblCovar{*this, "lblCovar",
                             "Double-click a selected model's 'Covariance file name' cell to change the "
                             "covariance file",
                             2200, 1200, 10500, 255};
    platform::Label lblNotes{*this, "lblNotes",
                             "Double-click a selected model's 'Notes' cell to annotate that model", 2200, 1440,
                             10500, 255};
    platform::Label lblAverage{*this, "lblAverage", "Averaging results >", 120, 6480, 1920, 255};
    platform::CommonDialog CommonDialog1{*this, "CommonDialog1"};

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void cmdFinish_Click();
    void cmdSaveRank_Click();
    void cmdAICc_Click();
    void cmdQAICc_Click();
    void cmdRank_Click();
    void cmdAverage_Click();
    void grdRank_DblClick();
    void cmdLoadAlg_Click();
    void cmdEditAlg_Click();
    void cmdSaveAlg_Click();
    void cmdBayesian_Click();

    // Asks for a file name and writes the algorithm data with this window's labels.
    void Save_Alg();
    // Asks for a file name and writes the multi-model statistics file.
    void Save_Ranks();
    // Replaces CovFileName by a placeholder (case 1: "No covariance file
    // found", case 2: "No such file exists") when it cannot be opened; a
    // name without a folder is looked for in folder.
    void CheckCovFileName(std::string& CovFileName, int i, const std::string& folder);
    // The covariance link's check of the file CovFileName names for
    // model m: when a parameter's value, step size or link code disagrees with
    // the model's, shows the link's mismatch message and replaces the name by
    // "No covariance file found". A placeholder, or a model that carries no
    // parameters, is left as it is.
    void CheckCovFileParameters(std::string& CovFileName, const RankedModel& m);

    ModelTable table;

    // Grid row label: rank or row number, ")", and the model's number.
    static std::string RowLabel(int row, int model);
    // The multi-model statistics file text of the ranked half.
    std::string RanksFileText();

private:
    void SetHeader(const std::string& text, int colour);
    void SetCriterionHeaders(bool quasi);
    void DrawRow(int r, const RankedModel& m, bool quasi);
    void EnableRankButtons();
    void ClearAveraging();
    std::string CovFilePath(const RankedModel& m) const;
    // Reads one model's covariance file: Missing when no file is there,
    // Unusable when it cannot be opened, is short, holds values that cannot be
    // used or no longer agrees with the model's parameters.
    enum class CovFileRead { Read, Missing, Unusable };
    CovFileRead ReadCovarianceFile(const RankedModel& m, CovReading& out);
    // The first parameter whose line in the covariance file at path disagrees
    // with model m's; 0 when every one agrees, -1 when the file cannot be
    // opened or read, with the message text in problem.
    int CovFileMismatch(const std::string& path, const RankedModel& m, std::string& problem);
    void ShowCovFileProblem(const std::string& problem);

    App& app;
};

// Path of a file named without a folder, looked for in folder.
std::string InFolder(const std::string& name, const std::string& folder);

}  // namespace tivelor
