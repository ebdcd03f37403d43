#include "priors/frmSetPriors.h"

#include "engine/Likelihood.h"
#include "windows/LikelihoodConstant.h"
#include "platform/runtime.h"
#include "state/App.h"
#include "priors/PriorsFile.h"
#include "priors/frmLoadPriors.h"
#include "windows/TextWindows.h"
#include "windows/frmMain.h"

namespace tivelor {

using platform::QBColor;
using platform::vbCrLf;

namespace {
constexpr int kAlignLeft = 1, kAlignCentre = 4;
constexpr int kBlack = 0, kBlue = 1, kGreen = 2, kLightRed = 12;
}  // namespace

frmSetPriors::frmSetPriors(App& a)
    : Form(a.ui, kName, "Set prior distributions", platform::FormKind::MdiChild, 12080, 4600), app(a) {
    grdSetPriors.FixedRows = 2;
    grdSetPriors.FixedCols = 1;
    grdSetPriors.OnClick = [this] { grdSetPriors_Click(); };
    mnuN.OnClick = [this] { mnuN_Click(); };
    mnuG.OnClick = [this] { mnuG_Click(); };
    mnuE.OnClick = [this] { mnuE_Click(); };
    mnuL.OnClick = [this] { mnuL_Click(); };
    mnuB.OnClick = [this] { mnuB_Click(); };
    MnuS.OnClick = [this] { MnuS_Click(); };
    mnuR.OnClick = [this] { mnuR_Click(); };
    mnuT.OnClick = [this] { mnuT_Click(); };
    mnuU.OnClick = [this] { mnuU_Click(); };
    mnuProfile.OnClick = [this] { mnuProfile_Click(); };
    mnuSavePrior.OnClick = [this] { mnuSavePrior_Click(); };
    mnuHelpSetting.OnClick = [this] { mnuHelpSetting_Click(); };
    mnuFinish.OnClick = [this] { mnuFinish_Click(); };
    mnuExit.OnClick = [this] { mnuExit_Click(); };
    mnuCascade.OnClick = [this] { app.form<frmMain>().Arrange(0); };
    mnuTileHorizontal.OnClick = [this] { app.form<frmMain>().Arrange(1); };
    mnuTileVertical.OnClick = [this] { app.form<frmMain>().Arrange(2); };
    mnuArrangeIcons.OnClick = [this] { app.form<frmMain>().Arrange(3); };
}

void frmSetPriors::Form_Load() {
    mnuMainMenu.Enabled = false;
    RowHighlighted = 0;
    app.form<frmMain>().stbMain5.SetPanel(1, "Note: Unset parameters in your Bayesian Priors file have the value '*'");
    app.ui.DoEvents();
    Move(1500, 2000, 12200, 5300);

    const int n = app.eng.par.NumPars;
    platform::FlexGrid& g = grdSetPriors;
    g.Rows = n + 2;
    g.Width = 11900;
    for (int c = 0; c <= 5; ++c) g.SetColWidth(c, 1000);
    g.SetColWidth(1, 1600);
    g.SetColWidth(6, 6000);
    const char* head0[7] = {"", "Distribution", "First term", "First term", "Second term", "Second term", ""};
    const char* head1[7] = {"Parameter", "Type", "Mean", "SD", "Mean", "SD", "Parameter description [null value]"};
    for (int c = 0; c <= 6; ++c) {
        g.SetTextMatrix(0, c, head0[c]);
        g.SetTextMatrix(1, c, head1[c]);
        g.SetCellAlignment(0, c, kAlignCentre);
        g.SetCellAlignment(1, c, c == 6 ? kAlignLeft : kAlignCentre);
    }
    app.msg.NumFormat = "0.000E+000";

    const PriorTable& pr = app.priors;
    for (int i = 1; i <= n; ++i) {
        const int r = i + 1;
        g.SetTextMatrix(r, 0, platform::CStr(i));
        g.SetCellAlignment(r, 0, kAlignCentre);
        ShowRow(i);
        g.SetCellForeColor(r, 1, QBColor(pr.PriorType(i) == "U" ? kBlack : kBlue));
        for (int c = 2; c <= 3; ++c)
            g.SetCellForeColor(r, c, QBColor(g.TextMatrix(r, c) == "*" ? kBlack : kBlue));
        g.SetCellForeColor(r, 4, QBColor(IsUnused(pr.PriorMean2(i)) ? kBlack : kBlue));
        g.SetCellForeColor(r, 5, QBColor(IsUnused(pr.PriorSD2(i)) ? kBlack : kBlue));
        for (int c = 1; c <= 5; ++c) g.SetCellAlignment(r, c, kAlignCentre);
        g.SetTextMatrix(r, 6, i <= app.eng.par.ParName.UBound() ? app.eng.par.ParName(i) : std::string());
        g.SetCellAlignment(r, 6, kAlignLeft);
    }
    if (n >= 1) g.Row = 2;
}

void frmSetPriors::ShowRow(int i) {
    const PriorTable& pr = app.priors;
    platform::FlexGrid& g = grdSetPriors;
    const int r = i + 1;
    auto number = [](double x) { return x == kPriorUnset ? std::string("*") : platform::Format(x, "0.000E+000"); };
    g.SetTextMatrix(r, 1, PriorTypeName(PriorKind(pr.PriorType(i))));
    g.SetTextMatrix(r, 2, number(pr.PriorMean(i)));
    g.SetTextMatrix(r, 3, number(pr.PriorSD(i)));
    g.SetTextMatrix(r, 4, PriorVariantText(pr.PriorMean2(i)));
    g.SetTextMatrix(r, 5, PriorVariantText(pr.PriorSD2(i)));
}

void frmSetPriors::MarkEntered(int i) {
    platform::FlexGrid& g = grdSetPriors;
    const int r = i + 1;
    const bool bounded = app.priors.PriorType(i) == "T";
    for (int c = 1; c <= 5; ++c) g.SetCellForeColor(r, c, QBColor(c <= 3 || bounded ? kLightRed : kBlack));
    RowHighlighted = 0;
}

int frmSetPriors::Selected() const {
    const int i = grdSetPriors.Row - 1;
    return i >= 1 && i <= app.eng.par.NumPars && i <= app.priors.PriorType.UBound() ? i : 0;
}

void frmSetPriors::grdSetPriors_Click() {
    platform::FlexGrid& g = grdSetPriors;
    if (lastRow_ < 2) lastRow_ = 2;
    int clicked = g.Row;
    if (clicked < 1) clicked = 2;
    auto paint = [&](int r, std::int32_t colour) {
        const int i = r - 1;
        const bool bounded = i >= 1 && i <= app.eng.par.NumPars && app.priors.PriorType(i) == "T";
        for (int c = 1; c <= (bounded ? 5 : 3); ++c) g.SetCellForeColor(r, c, colour);
    };
    if (RowHighlighted == 1 && g.InRange(lastRow_, 1)) paint(lastRow_, savedColour_);
    g.Row = clicked;
    lastRow_ = clicked;
    RowHighlighted = 1;
    if (!g.InRange(clicked, 1)) return;
    savedColour_ = g.CellForeColor(clicked, 1);
    paint(clicked, QBColor(kGreen));
}

void frmSetPriors::mnuSavePrior_Click() { Save_Priors(); }

bool frmSetPriors::Save_Priors() { return SavePriorsFile(app, CommonDialog1, true); }

void frmSetPriors::mnuHelpSetting_Click() {
    std::string& t = app.msg.ReportText;
    t = std::string("For each parameter you have the option to choose the mean and SD of a:") + vbCrLf;
    for (const char* line : {"     Gaussian (i.e., Normal) distribution", "     Exponential distribution",
                             "     Ln-normal distribution", "     Gamma distribution", "     Beta distribution;", "",
                             "     The location of the foot of a:", "          Left-side cliff distribution",
                             "          Right-side cliff distribution;", "", "     The location of the feet of a:",
                             "          Uniform-bounded distribution;", "",
                             "     The Uniform-unbounded distribution (default)", "",
                             "To set a prior distribution for a parameter the 'Set prior distributions' form must be showing.",
                             "Then with your mouse click on the parameter for which you wish to set a prior distribution.",
                             "Next select the 'Edit prior distributions' menu and choose the distribution type and its mean and",
                             "", "SD.  All distributions are defined by a mean and a SD except the uniform-bounded distribution.",
                             "The uniform-bounded distribution requires a mean and SD for both its left and right feet.", "",
                             "To save your distribution descriptions choose 'Save prior distributions.'",
                             "You can preview distributions by selecting 'Profile prior distributions.'",
                             "When you are done select 'Finished'.", ""})
        t += std::string(line) + vbCrLf;
    t += "Note that unrequired values are labelled 'Unused' whereas unset values are assigned an asterisk (*).";
    frmHelp& help = app.form<frmHelp>();
    help.Show();
    help.rtbHelp.Text = t;
}

void frmSetPriors::mnuFinish_Click() { Unload(); }

void frmSetPriors::Form_Unload(int&) {
    frmMain& main = app.form<frmMain>();
    main.stbMain5.SetPanel(1, "");
    app.ui.DoEvents();
    app.ShowMsg("Bayesian priors data, if changed, have been updated", platform::vbInformation, "Just so you know");
    if (AnyPriorInForce(app)) {
        if (app.ShowMsg("Save Bayesian priors now?", platform::vbYesNo + platform::vbQuestion, "Save Bayesian priors") ==
            platform::vbYes)
            Save_Priors();
        if (app.eng.NObs == 0) EnterLikelihoodConstant(app);
        main.stbMain5.SetPanel(1, "");
        app.ui.DoEvents();
    }
    PriorsOnFromTable(app);
    ReturnFromPriors(app);
}

void frmSetPriors::mnuExit_Click() {
    app.shellAccess->Quit(QuitFrom::PriorEditor, [this] { return Save_Priors(); });
}

}  // namespace tivelor
