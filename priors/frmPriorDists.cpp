#include "priors/frmPriorDists.h"

#include "engine/Priors.h"
#include "numerics/PriorMath.h"
#include "numerics/ProfileDistribution.h"
#include "platform/runtime.h"
#include "state/App.h"
#include "priors/PriorsFile.h"
#include "windows/TextWindows.h"
#include "windows/frmMain.h"

namespace tivelor {

void ComputePriorProfile(App& app, int par, int K, double& Mean, double& Diff, double& SD) {
    EvalState& ev = app.eval;
    const PriorTable& pr = app.priors;
    ev.ProfPar = par;
    ev.NProfPts = K;
    for (platform::Vec<double>* v :
         {&ev.ProfNegLnL, &ev.ProfX, &ev.ProfPDF, &ev.ProfNormPDF, &ev.ProfCIMode, &ev.ProfCIMean, &ev.ProfCum})
        v->ReDim(K);
    platform::Vec<double> work(app.eng.par.NumPars);

    const std::string& letter = pr.PriorType(par);
    const numerics::ProfileGrid grid =
        numerics::PriorProfileGrid(letter.empty() ? 'U' : letter[0], pr.PriorMean(par), pr.PriorSD(par),
                                   PriorNumber(pr.PriorMean2(par)), PriorNumber(pr.PriorSD2(par)), K);

    frmMain& main = app.form<frmMain>();
    double smallest = 1E+100;
    long modePt = 0;
    for (long p = 1; p <= K; ++p) {
        ev.ProfPt = p;
        work(par) = ev.ProfX(p) = grid.x[static_cast<std::size_t>(p)];
        main.stbMain5.SetPanel(1, "Calculating profile point " + platform::Format(static_cast<double>(p), "###0") +
                                      " of " + platform::Format(K, "###0") + "," + " Value of parameter # " +
                                      platform::CStr(par) + " which is being profiled is: " +
                                      platform::Format(ev.ProfX(p), "0.0000E+00"));
        app.ui.DoEvents();
        PriorPenalty(app, work);
        ev.ProfNegLnL(p) = app.priors.PriorTerm(par);
        if (ev.ProfNegLnL(p) < smallest) {
            ev.EVEstimate = ev.ProfX(p);
            smallest = ev.ProfNegLnL(p);
            modePt = p;
        }
    }
    app.ui.Beep();
    Mean = Diff = SD = 0;
    if (modePt == 0) return;   // no point had a finite density
    numerics::ProfileDistribution({ev.NProfPts, ev.ProfX, ev.ProfNegLnL, ev.ProfPDF, ev.ProfCum, ev.ProfCIMode,
                                   ev.ProfCIMean, ev.ProfNormPDF},
                                  ev.EVEstimate, Mean, Diff, SD, modePt, grid.step);
}

frmPriorDists::frmPriorDists(App& a)
    : Form(a.ui, kName, "Prior distribution statistics", platform::FormKind::MdiChild, 11400, 6800), app(a) {
    cmdSavePriorDists.ToolTipText = "Saves the (possibly edited) output appearing in the textbox below";
    rtbPriorDists.FontName = "Courier New";
    cmdSavePriorDists.OnClick = [this] { cmdSavePriorDists_Click(); };
}

void frmPriorDists::Form_Load() { Form_Resize(); }

void frmPriorDists::Form_Resize() { LayoutTextWindow(*this, &cmdSavePriorDists, 0, rtbPriorDists); }

void frmPriorDists::Form_Unload(int&) {
    app.form<frmMain>().stbMain5.SetPanel(1, "");
    app.ui.DoEvents();
}

void frmPriorDists::cmdSavePriorDists_Click() {
    TextWindowSave what;
    what.title = "Save Bayesian prior values in...";
    app.msg.DlgFilter = std::string("All files (*.*)|*.*|") + "Bayesian prior distribution files (*.pdp)|*.pdp";
    what.filter = app.msg.DlgFilter;
    what.filterIndex = 2;
    what.proposedName = platform::DateTimeFileName(app.ui.Now(), ".pdp");
    SaveTextWindow(app, CommonDialog1, rtbPriorDists, what);
}

}  // namespace tivelor
