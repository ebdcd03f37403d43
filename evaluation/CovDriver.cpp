// The covariance dialogue: method, editing, grid factors, the centre, the
// likelihood constant, then three grids (or the analytical Hessian).
#include <cmath>
#include <limits>

#include "state/App.h"
#include "state/Task.h"
#include "engine/Likelihood.h"
#include "windows/LikelihoodConstant.h"
#include "engine/Objective.h"
#include "evaluation/Covariance.h"
#include "evaluation/frmCovData.h"
#include "platform/runtime.h"
#include "windows/frmMain.h"

namespace tivelor {

namespace {

using platform::vbCrLf;

constexpr const char* kTitle = "Covariance calculator";

std::string MethodQuestion() {
    return std::string("Do you want to calculate covariances analytically or numerically?") +
           "  Numerical covariances are provided automatically, whereas for analytical covariances you must have "
           "provided analytical" +
           " derivatives in your model code (i.e., in that section of Sub MODEL() accessed when NF=-2)." + vbCrLf +
           vbCrLf +
           "WARNING: Analytical covariances will fail if Bayesian prior probabilities contribute to the likelihood "
           "function." +
           vbCrLf + vbCrLf + "DO NOT USE ANALYTICAL COVARIANCES IN CONJUNCTION WITH BAYESIAN PRIOR DISTRIBUTIONS!" +
           vbCrLf + "               THE PRIOR DISTRIBUTION FOR ALL PARAMETERS MUST BE UNIFORM-UNBOUNDED!" + vbCrLf +
           vbCrLf +
           "Choose 'Yes' if you have provided ANALYTICAL derivatives; else 'No' to calculate covariances "
           "NUMERICALLY";
}

std::string Explanation() {
    return std::string("A covariance matrix is calculated by inverting the numerically calculated") +
           " Hessian matrix of second partial derivatives of the likelihood function." +
           "  Three grids are used to calculate the derivatives.  Each grid is formed" +
           " using the current parameter values and (non-zero) step sizes. Three scale" +
           " factors are required. The initial steps will be multiplied by these scale" +
           " factors to adjust the size of the grid." + vbCrLf + vbCrLf +
           "When interpreting the three grid results under the multinormal assumption," +
           " the standard deviations of the -ln[likelihood] should span a range from" +
           " near zero for the smallest step to about 5 for the largest step." +
           "  This should reassure the user that the multinormal assumption holds over" +
           " the entire posterior distributions of the parameters if the model is parsimonious," +
           " 'close-to linear', and there are no extraordinarily high correlations." + vbCrLf + vbCrLf +
           "You can now edit the parameter values and step sizes (if so desired);" +
           " realizing that for meaningful results you might have to carefully choose step sizes." + vbCrLf;
}

std::string FactorList(App& app, const char* first) {
    const platform::Vec<double>& f = app.eval.GridFactor;
    const std::string& p = app.msg.NumFormat;
    return first + platform::Format(f(1), p) + "     2) " + platform::Format(f(2), p) + "     3) " +
           platform::Format(f(3), p);
}

// The arrays of a run that the model's initialization and the main window
// size elsewhere; made to fit the parameter set here.
void FitRunArrays(App& app) {
    EvalState& ev = app.eval;
    const int n = app.eng.par.NumPars;
    for (platform::Vec<double>* v : {&ev.CovCentre, &ev.CovStep, &ev.GridPar, &ev.CholDiag})
        if (v->UBound() != n) v->ReDim(n);
    if (ev.CovIndex.UBound() != n) ev.CovIndex.ReDim(n);
    ev.CovSlot.ReDim(n);   // a parameter fixed now has no slot left from an earlier run
    for (platform::Vec<double>* v : {&ev.GridFactor, &ev.GridLMean, &ev.GridLSD, &ev.GridLCV, &ev.GridP1})
        if (v->UBound() < 3) v->ReDimPreserve(3);
    ev.CovLnDet.ReDim(3);
    ev.CovLnVarProd.ReDim(3);
    ev.CovLnDet.Fill(std::numeric_limits<double>::quiet_NaN());
    ev.CovLnVarProd.Fill(std::numeric_limits<double>::quiet_NaN());
    EngineState& e = app.eng;
    for (platform::Matrix<double>* m : {&e.HessMat, &e.InvWork, &e.CholFactor, &e.AnaHess})
        if (m->UBound1() < n || m->UBound2() < n) m->ReDim(n, n);
    for (platform::Vec<double>* v : {&e.MarqBeta, &e.AnaGrad})
        if (v->UBound() < n) v->ReDim(n);
    if (e.GridNegLnL.UBound1() < n || e.GridNegLnL.UBound2() < n || e.GridNegLnL.UBound3() < 2)
        e.GridNegLnL.ReDim(n, n, 2);
    if (e.CovStore.UBound1() < n || e.CovStore.UBound2() < n || e.CovStore.UBound3() < 3)
        e.CovStore.ReDim(n, n, 3);
}

void CopyCentreAndSteps(App& app) {
    const ParameterSet& par = app.eng.par;
    for (int i = 1; i <= par.NumPars; ++i) {
        app.eval.CovCentre(i) = par.ParValue(i);
        app.eval.CovStep(i) = par.StepSize(i);
    }
}

bool AnyStep(App& app) {
    for (int i = 1; i <= app.eng.par.NumPars; ++i)
        if (app.eval.CovStep(i) != 0) return true;
    return false;
}

// NFree and NEst, with the maps between covariance index and parameter.
void BuildCovIndex(App& app) {
    EvalState& ev = app.eval;
    const int n = app.eng.par.NumPars;
    long count = 0;
    for (int i = 1; i <= n; ++i)
        if (ev.CovStep(i) != 0) ++count;
    app.eng.free.NFree = count;
    ev.NEst = 0;
    for (int i = 1; i <= n; ++i)
        if (ev.CovStep(i) != 0) {
            ++ev.NEst;
            ev.CovIndex(ev.NEst) = i;
            ev.CovSlot(i) = static_cast<int>(ev.NEst);
        }
}

// Asks the three factors (true) or is cancelled (false).
bool AskGridFactors(App& app) {
    platform::Vec<double>& f = app.eval.GridFactor;
    for (;;) {
        app.msg.NumFormat = "0.000E+00";
        for (int g = 1; g <= 3; ++g) {
            app.msg.MsgTitle = kTitle;
            app.msg.MsgText = "Default grid factor for Grid " + platform::CStr(g) + " :" + vbCrLf + vbCrLf +
                              FactorList(app, " Currently:   1) ") + vbCrLf + vbCrLf +
                              "Value must be positive for all factors";
            app.msg.InputText = app.ui.InputBox(app.msg.MsgText, app.msg.MsgTitle, platform::CStr(f(g)));
            if (app.msg.InputText.empty()) return false;
            // Only a finite positive factor is taken; anything else is ignored.
            const double v = platform::Val(app.msg.InputText);
            if (std::isfinite(v) && v > 0) f(g) = v;
        }
        const std::string text = std::string("Are these default grid factors OK?") + vbCrLf + vbCrLf +
                                 FactorList(app, " 1) ");
        if (app.ShowMsg(text, platform::vbYesNo + platform::vbQuestion, kTitle) == platform::vbYes) return true;
    }
}

void TellNothingToDo(App& app) {
    ReturnToMainMenu(app);
    app.ShowMsg("All step sizes are zero", platform::vbExclamation, "There is nothing to do!");
}

}  // namespace

void AskOptimisticSEs(App& app) {
    const std::string text = std::string("Choose the quicker option to calculate under-estimated conditional SEs?") +
                             vbCrLf + "Each SE estimate assumes the SE of all other parameters to be zero (0)." +
                             vbCrLf + "(This is not recommended for final analyses, but can be a time-efficient way " +
                             vbCrLf + "to rapidly assess relative parameter uncertainty in preliminary analyses).";
    app.sw.OptimisticSEs = platform::False;
    if (app.ShowMsg(text, platform::vbYesNo + platform::vbQuestion + platform::vbDefaultButton2,
                    "Calculate optimistic SEs only?") == platform::vbYes)
        app.sw.OptimisticSEs = platform::True;
}

bool CovarianceCalculator(App& app) {
    Switches& sw = app.sw;
    EvalState& ev = app.eval;
    EngineState& eng = app.eng;
    frmMain& main = app.form<frmMain>();
    auto leave = [&] {
        ReturnToMainMenu(app);
        sw.AlgoFromCov = "off";
        return false;
    };

    sw.AlgoFromCov = "on";
    sw.CovMethod = "";
    // An Interrupt press left over from an earlier run does not stop this one.
    CovGridWatch watch(app);
    if (platform::Form* f = app.ui.forms.Find(frmCovData::kName)) {
        auto& data = static_cast<frmCovData&>(*f);
        data.watch = &watch;
        data.cmdStop.Caption = frmCovData::kInterruptCaption;
        data.cmdStop.StopsRun = true;
        data.cmdStop.Enabled = true;
    }
    FitRunArrays(app);

    for (;;) {
        const double answer = app.ShowMsg(MethodQuestion(), platform::vbYesNoCancel + platform::vbQuestion, kTitle);
        if (answer == platform::vbCancel) return leave();
        if (answer == platform::vbYes && sw.PriorsOn == "on") {
            // The prior term has no analytical derivatives: such covariances
            // would be wrong.
            app.ShowMsg(std::string("Analytical covariances cannot be calculated while Bayesian prior ") +
                            "distributions contribute to the likelihood function." + vbCrLf + vbCrLf +
                            "Choose numerical covariances, or set every prior to uniform-unbounded first.",
                        platform::vbExclamation, kTitle);
            continue;
        }
        sw.CovMethod = answer == platform::vbYes ? "A" : "N";
        break;
    }

    if (sw.CovMethod == "N") {
        if (app.ShowMsg(Explanation(),
                        platform::vbOKCancel + platform::vbInformation, kTitle) == platform::vbCancel) return leave();

        platform::Vec<int>& on = app.shell.AlgoColOn;
        if (on.UBound() < 9) on.ReDimPreserve(9);
        for (int k = 4; k <= 9; ++k) on(k) = 1;
        const bool same = WaitForEditorEdits(app);
        for (int k = 4; k <= 9; ++k) on(k) = 0;
        if (!same) return leave();

        ev.GridFactor(1) = 1;
        ev.GridFactor(2) = 0.1;
        ev.GridFactor(3) = 0.01;
        CopyCentreAndSteps(app);
        if (!AnyStep(app)) {
            sw.AlgoFromCov = "off";
            TellNothingToDo(app);
            return false;
        }
        if (!AskGridFactors(app)) return leave();

        main.stbMain5.SetPanel(1, "One moment please...");
        app.ui.DoEvents();
        BuildCovIndex(app);
        ev.FMin = EvaluateObjective(app, ev.CovCentre, 1, true);
        EnterLikelihoodConstant(app);
        AskOptimisticSEs(app);

        for (ev.GridNum = 1; ev.GridNum <= 3; ++ev.GridNum) {
            const int g = ev.GridNum;
            ev.GridQuit = "false";
            CalcGridLikelihoods(app, watch, ev.GridFactor(g), ev.GridLMean(g), ev.GridLSD(g), g, 3);
            if (ev.GridQuit != "true") {
                BuildGridHessian(app, ev.GridFactor(g));
                InvertHessian(app);
            }
        }
        ev.GridNum = 3;
        main.stbMain5.SetPanel(2, "");
    } else {
        main.stbMain5.SetPanel(1, "One moment please while one function call is executed");
        CopyCentreAndSteps(app);
        if (!AnyStep(app)) {
            main.stbMain5.SetPanel(1, "");
            sw.AlgoFromCov = "off";
            TellNothingToDo(app);
            return false;
        }
        ev.FMin = EvaluateObjective(app, ev.CovCentre, 1, true);
        main.stbMain5.SetPanel(1, "");
        BuildCovIndex(app);
        EnterLikelihoodConstant(app);
        AskOptimisticSEs(app);
        main.stbMain5.SetPanel(1, "Calculating covariances, one moment please...");
        const long n = ev.NEst;
        for (ev.GridNum = 1; ev.GridNum <= 3; ++ev.GridNum) {
            ev.GridFactor(ev.GridNum) = 0;
            eng.AnaHess.ReDim(eng.par.NumPars, eng.par.NumPars);
            eng.AnaGrad.ReDim(eng.par.NumPars);
            EvaluateObjective(app, ev.CovCentre, -2, false);
            for (long i = 1; i <= n; ++i) {
                for (long j = 1; j <= n; ++j) eng.HessMat(i, j) = eng.AnaHess(ev.CovIndex(i), ev.CovIndex(j));
                eng.MarqBeta(i) = eng.AnaGrad(ev.CovIndex(i));
            }
            InvertHessian(app);
        }
        ev.GridNum = 3;
        main.stbMain5.SetPanel(1, "");
    }

    sw.CovCompleted = "1";
    frmCovDisplay& chooser = app.form<frmCovDisplay>();
    chooser.Show();
    chooser.SetFocus();
    sw.AlgoFromCov = "off";
    return true;
}

}  // namespace tivelor
