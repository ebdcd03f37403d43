#include "model/frmInitialize.h"

#include <new>

#include "engine/Objective.h"
#include "model/InitNumbers.h"
#include "model/ModelServices.h"
#include "platform/runtime.h"
#include "state/App.h"
#include "state/Memory.h"
#include "state/Task.h"
#include "windows/frmMain.h"

namespace tivelor {

namespace {

const char* const kInitializeText[] = {
    "I estimate species richness (S_sub_n) within a habitat defined by area that has been subsampled for species abundance using randomly placed quadrats.  ",
    "Species richness is defined as the estimated number of species in that defined habitat, using information on the dispersion charcteristics of species within that habitat contained within the quadrat samples.  ",
    "The method requires that for each individually identified quadrat sampled, the number of individuals of each species IDed has been counted and recorded in the data input file.  ",
    "Only those species that have been IDed in at least one sampled quadrat are to be included included in the data set.  ",
    "As a component of estimating species richness, the number of individuals of each species in the defined habitat must be estimated, as well as a value for a parameter called Theta for each species IDed. ",
    "Theta is a dimensionless value between 0 and 1 which estimates the degree of overdispersion in a species' distribution.  ",
    "When theta=0, there is no overdispersion, thus individuals of a species are randomly distributed.  ",
    "When theta=1, there is complete overdispersion, thus all individuals of a species occur in only one quadrat.  ",
    "The estimate for species richness appears in the 'Results Summary' where is it compared with more conventional estimates such as the number of species counted and S(Max).  ",
    "Uncertainty in the estimate of Species Richness (S_sub_n) is measured using bootstap resampling.  ",
    "The key reference for this model is 'Vandrel/Oskety' Ecol. Monogr. 2001.  ",
    "The number of parameters to be explicitly estimated equals twice the number of species IDed in the habitat.  ",
    "Thus running a model for a large data set can be time very consuming.  Be patient, double check your data for running an estimation, and the results will be worth it!  ",
};

const char* const kDataFormatText[] = {
    "The data input file must be an ascii text matrix of quadrat and species information.  ",
    "The first data record is assumed to contain the field names for the data in subsequent records.  Field 1 is Quadrat#.  ",
    "Fields #2, #3, etc. up to the number of species IDed + 1 name each species.  ",
    "The input for Quadrat#, then the number of individuals of Species #1, Species #2, etc. in that quadrat is in subsequent records and requires the format '######,######,######....'.  ",
    "The commas represent any place holder and are not specifically interpreted as column separators.",
};

}  // namespace

frmInitialize::frmInitialize(App& a)
    : Form(a.ui, kName, "Initialize Orsadine model", platform::FormKind::MdiChild, 8655, 6735), app(a) {
    cboQuadsinHab.ToolTipText = "The number of quadrats that would fully sample the defined habitat";
    cboQuadsSampled.ToolTipText = "The number of quadrats actually sampled";
    cboNSpecies.ToolTipText = "The number of species represented in the input data file";
    cmdSelect.ToolTipText = "Find a data file";
    fraOptions.ToolTipText =
        "Do you want to constrain the probability distribution of Thetas to a Beta distribution?";
    chkLogitThetas.ToolTipText =
        "Check this box to estimate the Logit of the Thetas rather than the actual values of Thetas  "
        "(It might improve convergence performance)";
    chkLogNs.ToolTipText =
        "Check this box to estimate the Log of the unsampled species' abundances rather than the actual "
        "abundance values (It might improve convergence performance)";
    cmdDone.ToolTipText =
        "Click here once all boxes are filled, all options are checked, and a data file has been selected";
    cmdCancel.ToolTipText = "Abort this analysis";
    txtInitialize.Locked = true;
    txtDataFormat.Locked = true;
    cmdSelect.OnClick = [this] { cmdSelect_Click(); };
    cmdDone.OnClick = [this] { cmdDone_Click(); };
    cmdCancel.OnClick = [this] { cmdCancel_Click(); };
}

void frmInitialize::Form_Load() {
    if (platform::Form* menu = app.shellAccess->LoadedMainMenu()) menu->Hide();
    Move(4500, 500, -1, -1);
    app.form<frmMain>().Caption = "Orsadine Estimation Model";
    txtInitialize.Text = "";
    for (const char* s : kInitializeText) txtInitialize.Text = txtInitialize.Text() + s;
    txtDataFormat.Text = "";
    for (const char* s : kDataFormatText) txtDataFormat.Text = txtDataFormat.Text() + s;
    for (int n = 10000; n <= 100000; n += 10000) cboQuadsinHab.AddItem(platform::CStr(n));
    for (int n = 1; n <= 10; ++n) cboQuadsSampled.AddItem(platform::CStr(n));
    for (int n = 20; n <= 100; n += 10) cboQuadsSampled.AddItem(platform::CStr(n));
    for (int n = 200; n <= 1000; n += 100) cboQuadsSampled.AddItem(platform::CStr(n));
    for (int n = 2000; n <= 10000; n += 1000) cboQuadsSampled.AddItem(platform::CStr(n));
    for (int n = 1; n <= 200; ++n) cboNSpecies.AddItem(platform::CStr(n));
    cmdSelect.SetFocus();
}

void frmInitialize::cmdSelect_Click() {
    cdlOpen.CancelError = true;
    cdlOpen.DialogTitle = "Load the input data file";
    app.msg.DlgFilter = std::string("All Files (*.*)|*.*|") + "Data Files (*.dat)|*.dat";
    cdlOpen.Filter = app.msg.DlgFilter;
    cdlOpen.FilterIndex = 2;
    if (!cdlOpen.ShowOpen()) return;
    txtDataFile.Text = cdlOpen.FileName;
    cmdDone.SetFocus();
}

InitSettings frmInitialize::ReadSettings() {
    InitSettings s;
    s.cboQuadsinHab = cboQuadsinHab.Text;
    s.cboQuadsSampled = cboQuadsSampled.Text;
    s.cboNSpecies = cboNSpecies.Text;
    s.chkLogitThetas = chkLogitThetas.Value;
    s.chkLogNs = chkLogNs.Value;
    s.txtDataFile = txtDataFile.Text;
    return s;
}

bool frmInitialize::InputUsable() {
    auto missing = [&](const char* text) {
        app.ShowMsg(text, platform::vbInformation, "Missing input");
        return false;
    };
    if (txtDataFile.Text().empty()) return missing("Please choose a data file");
    if (cboQuadsinHab.Text().empty()) return missing("Please set the number of quadrats in the defined habitat");
    if (cboQuadsSampled.Text().empty()) return missing("Please set the number of quadrats sampled");
    if (cboNSpecies.Text().empty()) return missing("Please set the number of species");

    InitNumbers unused;
    return ReadInitNumbers(app, ReadSettings(), unused);
}

void ParameterArraySizes(App& app, ArraySizes& sizes, int n) {
    PriorTable& pr = app.priors;
    for (platform::Vec<double>* v : {&pr.PriorMean, &pr.PriorSD, &pr.PriorTerm}) sizes.Set(*v, n);
    sizes.Set(pr.PriorType, n);
    sizes.Set(pr.PriorMean2, n);
    sizes.Set(pr.PriorSD2, n);
    ParameterSet& par = app.eng.par;
    sizes.Set(par.FuseCode, n);
    FreeVector& fr = app.eng.free;
    sizes.Set(fr.FreeValue, n);
    sizes.Set(fr.FreeStep, n);
    sizes.Set(fr.FreeIndex, n);
    SimplexState& sx = app.simplex;
    sizes.Set(sx.SimplexF, n + 1);
    for (platform::Vec<double>* v : {&sx.TrialPar, &sx.WorkVertex, &sx.ExtVertex}) sizes.Set(*v, n);
    MarquardtState& mq = app.marq;
    for (platform::Vec<double>* v : {&mq.TrialPar, &mq.LUScale, &mq.GridPar, &mq.MarqPar}) sizes.Set(*v, n);
    sizes.Set(mq.LUIndex, n);
    sizes.Set(mq.LURHS, n, 1);
    sizes.Then([&app, n] {
        NewParameterGeneration(app);
        app.priors.Reset(n);   // in place: the arrays have their size
        for (int i = 1; i <= n; ++i) app.eng.par.FuseCode(i) = "~~";
    });
}

void SizeParameterArrays(App& app) {
    const int n = app.eng.par.NumPars;
    ArraySizes sizes;
    sizes.Set(app.eng.par.ParValue, n);
    sizes.Set(app.eng.par.StepSize, n);
    ParameterArraySizes(app, sizes, n);
    if (!sizes.Commit()) throw std::bad_alloc();
}

void frmInitialize::cmdDone_Click() {
    if (!SetUpModel()) return;   // the dialog stays for another try
    frmMain& main = app.form<frmMain>();
    main.stbMain1.SetPanel(2, "Bayesian priors file: ");
    main.Initialized = platform::True;
    ReturnToMainMenu(app);
    if (platform::Form* menu = app.shellAccess->LoadedMainMenu()) menu->Enabled = true;
    app.shellAccess->FocusLoadAlgorithm();
    main.stbMain0.SetPanel(1, txtDataFile.Text);
    Unload();
}

bool frmInitialize::SetUpModel() {
    TaskGuard task(app, "Initialize", this);
    if (!task || !InputUsable()) return false;

    ModelState& m = app.model;
    m.Init = ReadSettings();

    EngineState& eng = app.eng;
    EvaluateObjective(app, eng.par.ParValue, 0, false);
    // A data-file error has been reported; the earlier model is intact.
    if (!m.SetupOK) return false;

    app.shell.PriFileName = "";
    app.sw.PriorsOn = "off";
    app.sw.CovDone = "off";
    WithdrawPreviousResults(app.ml, app.bayes);
    eng.SimplexValid = 0;
    return true;
}

void frmInitialize::cmdCancel_Click() {
    Unload();
    ReturnToMainMenu(app);
    if (platform::Form* menu = app.shellAccess->LoadedMainMenu()) menu->Enabled = true;
}

}  // namespace tivelor
