#include "shell/InfoWindows.h"

#include "app/App.h"
#include "shell/frmMain.h"

namespace tivelor {

using platform::vbCrLf;

namespace {
constexpr std::int32_t kSilver = 0xC0C0C0;

const std::string kSimplexReference =
    "Technical report on the Simplex method of non-linear parameter estimation: "
    "geometry, convergence tests and restarts. Technical report series, number 1, pages 1-48.";
const std::string kSelectionReference =
    "Reference book on model selection and multi-model inference: a practical "
    "information-theoretic approach.";
}  // namespace

InfoWindow::InfoWindow(App& a, std::string name, std::string caption, int clientWidth,
                       int clientHeight)
    : Form(a.ui, std::move(name), std::move(caption), platform::FormKind::TopLevel, clientWidth,
           clientHeight),
      app(a) {
    BackColor = kSilver;
}

void InfoWindow::ReturnToMain() {
    frmMain& main = app.form<frmMain>();
    main.Enabled = true;
    main.SetFocus();
}

void InfoWindow::Form_Unload(int&) {
    // A window closed by its close box gives the main window back as OK does;
    // at start-up that is what creates the main window.
    ReturnToMain();
}

// ------------------------------------------------------------- frmCredits

frmCredits::frmCredits(App& a) : InfoWindow(a, kName, "Thanks everyone", 7545, 5295) {
    txtCredits.BackColor = kSilver;
    txtCredits.Locked = true;
    cmdOK.OnClick = [this] { cmdOK_Click(); };
}

void frmCredits::Form_Load() {
    txtCredits.Text = std::string("Tivelor for Windows 95/98/NT") + vbCrLf + vbCrLf + "Acknowledgments: " + vbCrLf +
                      vbCrLf + std::string(20, ' ') + "The field crews who counted the quadrats" +
                      vbCrLf + std::string(23, ' ') + "The analysts who tried the early versions" +
                      vbCrLf + std::string(26, ' ') + "The reviewers of the model" + vbCrLf + vbCrLf +
                      "A very useful technical reference is:" + vbCrLf + vbCrLf + kSimplexReference +
                      vbCrLf + vbCrLf +
                      "This Orsadine Model is a contribution of the Tivelor developers.";
}

void frmCredits::cmdOK_Click() { Unload(); }

// ------------------------------------------------------------ frmDefaults

frmDefaults::frmDefaults(App& a)
    : InfoWindow(a, kName, "Default names and values etc.", 9330, 5715) {
    txtDefaultNames.BackColor = kSilver;
    txtDefaultNames.Locked = true;
    cmdOK.OnClick = [this] { cmdOK_Click(); };
}

void frmDefaults::Form_Load() {
    txtDefaultNames.Text =
        std::string("Tivelor is most user-friendly when used at a resolution of 1280 X 1024 pixels "
                    "(small or large fonts).  ") +
        "It's not too bad at 1152 X 864 pixels (small fonts) or 1024 X 768 pixels (small fonts).  "
        "Lower resolutions or large fonts tend to be less satisfactory." +
        vbCrLf + vbCrLf +
        "An unnamed file to which data are to be saved will be given a default, but changable, "
        "8-digit time-date based name. " +
        " For example: 'mmddhhmm.alg' for an algorithm file." + vbCrLf + vbCrLf +
        "A value of -1 for standard errors and associated outputs in the covariance " +
        "routine indicates that no reliable values for those outputs could be generated, i.e., "
        "the Hessian matrix was not positive-definite.  You might try the Bayesian or "
        "maximum-likelihood routines." +
        vbCrLf + vbCrLf +
        "Occasionally, and depending on the particular model, a value that you know should be "
        "positive (or negative) will appear as negative (or positive) during minimization." +
        " Don't worry, Tivelor knows what's going on and retains and reports the proper sign for "
        "that value." +
        vbCrLf + vbCrLf +
        "Occasionally, a value you fixed at zero (0) might appear as a very small number (e.g., "
        "0.00001) in the output summary." +
        " This means that Tivelor avoided 'divide by zero' or 'Log[0]' errors by safely choosing "
        "that small number inconsequentially different from zero.";
}

void frmDefaults::cmdOK_Click() { Unload(); }

// -------------------------------------------------------------- frmWisdom

frmWisdom::frmWisdom(App& a)
    : InfoWindow(a, kName, "Patience and wisdom lead to satisfying results", 14430, 6135) {
    txtWisdom.BackColor = kSilver;
    txtWisdom.Locked = true;
    cmdOK.OnClick = [this] { cmdOK_Click(); };
}

void frmWisdom::Form_Load() {
    txtWisdom.Text =
        std::string("By far the single most common cause of a frustrating program crash is an "
                    "unwise choice of initial model parameters to begin a minimization.") +
        vbCrLf +
        "For example, poor parameter estimates can lead to untrapped overflows, logarithms or "
        "square roots of zero or negative numbers, or divisions by zero." +
        vbCrLf +
        "When possible (often it's not), use a spreadsheet and its graphics to judge how well "
        "particular parameter values suit a data set to be analyzed." +
        vbCrLf +
        "When the objective function of a particular model seems sensitive to parameter values, "
        "choose small initial step sizes when beginning a minimization." +
        vbCrLf +
        "Poor or unsatisfactory model performance can be due to incompatibility between the model "
        "and the data.  Be sure you've chosen the appropriate model." +
        vbCrLf + vbCrLf +
        "Extremely large values for the objective function are likely due to a penalty value that "
        "keeps parameter values within acceptable limits, e.g., 0<=p<=1." +
        vbCrLf +
        "When model-building, try to use parameterizations that are biologically meaningful, "
        "rather than, say, polynomial coefficients which are difficult to guess." +
        vbCrLf +
        "Of course, the appropriate use of link functions can be helpful, but you'll then need to "
        "back-transform the SEs of the transformed parameters." +
        vbCrLf + vbCrLf +
        "YOU ARE THUS WELL ADVISED TO GIVE CONSIDERABLE THOUGHT TO YOUR CHOICE OF INITIAL "
        "PARAMETER VALUES AND STEP SIZES!" +
        vbCrLf + vbCrLf + "A very useful technical reference is:" + vbCrLf + vbCrLf + kSimplexReference +
        vbCrLf + vbCrLf +
        "The model selection, ranking and inference philosophies and routines used in this "
        "modelling package are based on the excellent reference book:" +
        vbCrLf + vbCrLf + kSelectionReference;
}

void frmWisdom::cmdOK_Click() { Unload(); }

}  // namespace tivelor
