// The maximum-likelihood profile of one parameter and its confidence table.
#include "evaluation/MLEvaluation.h"

#include <cmath>

#include "state/App.h"
#include "state/Task.h"
#include "windows/frmMarquardt.h"
#include "windows/frmSimplex.h"
#include "engine/Likelihood.h"
#include "windows/LikelihoodConstant.h"
#include "engine/Marquardt.h"
#include "engine/Objective.h"
#include "engine/Parameters.h"
#include "engine/Simplex.h"
#include "evaluation/CovarianceSteps.h"
#include "evaluation/ProfileRun.h"
#include "evaluation/frmMaxLike.h"
#include "numerics/ProfileDistribution.h"
#include "platform/runtime.h"
#include "plots/DistributionPlots.h"
#include "windows/frmMain.h"

namespace tivelor {

using platform::Format;
using platform::vbCrLf;

namespace {

const char* const kTitle = "ML parameter estimate evaluation";

// Seconds since start, across midnight.
double Elapsed(App& app, double start) {
    double t = app.ui.Timer() - start;
    if (t < 0) t += 86400;
    return t;
}

void Snapshot(App& app) { SaveProfileTable(app.eval, app.ml.last); }

void Restore(App& app) { LoadProfileTable(app.ml.last, app.eval); }

bool PreviousResultsAvailable(App& app) {
    const ProfileSnapshot& s = app.ml.last;
    return s.valid && s.NProfPts != 0 && s.ProfX(s.NProfPts) - s.ProfX(1) != 0 &&
           app.eval.LastEvalType == "ML" && app.eval.EvalValid == 1;
}

class MLRun {
public:
    explicit MLRun(App& a) : app(a), eng(a.eng), ev(a.eval), ml(a.ml), main(a.form<frmMain>()) {}

    void Run() {
        app.sw.MLOn = "on";
        ml.EditorShown = 0;
        if (Dialogue()) Profile();
        End();
    }

private:
    double Ask(const std::string& text, int style) { return app.ShowMsg(text, style, kTitle); }

    // Steps up to the fixed parameter; false on every way out.
    bool Dialogue() {
        const std::string choosing =
            std::string("First choose the parameter to be profiled, then the number of data points. ") +
            "You may then wisely edit the mid-range of the parameter value and the step size. " +
            "For example, if you choose 101 profile points then profile point 1 will be the parameter " +
            "value - 50 * the step size, profile point 51 will be the parameter value, and profile " +
            "point 101 will be the parameter value + 50 * the step size. " +
            "This routine is works best when the value of the parameter corresponds to the minimum. ";
        if (!IntroduceEvaluation(app, kTitle, "a confidence distribution at ML estimates", "", choosing)) return false;

        if (PreviousResultsAvailable(app) && PreviousPlotsChosen(app, kTitle, "minimizations", "ML")) {
            Restore(app);
            eng.free.NFree -= 1;
            ml.SavedProfStep = eng.par.StepSize(ev.ProfPar);
            eng.par.StepSize(ev.ProfPar) = 0;
            fixed = true;
            HandOff();
            return false;
        }

        if (eng.NObs == 0) EnterLikelihoodConstant(app);

        const int numPars = eng.par.NumPars;
        for (;;) {
            const std::string a = app.ui.InputBox(std::string("Choose the parameter number to be profiled:") + vbCrLf +
                                                      "0 < parameter # <= " + platform::CStr(numPars),
                                                  kTitle, "");
            if (a.empty()) return false;
            const auto p = IntegerAnswer(a);
            if (p && *p >= 1 && *p <= numPars) {
                ev.ProfPar = *p;
                break;
            }
        }
        for (;;) {
            const auto n = IntegerAnswer(app.ui.InputBox(
                std::string("Choose the number of x-y data points per plot:") + vbCrLf + "0 <= # points <= 1001", kTitle, "25"));
            if (!n || *n < 0 || *n > 1001) continue;
            long count = *n;
            if (count == 0) count = 25;
            if (count < 3) count = 3;
            if (count % 2 == 0) ++count;
            ev.NProfPts = count;
            break;
        }
        ml.MinMethod = Ask(std::string("Choose 'Yes' to minimize with SIMPLEX") + vbCrLf +
                               "Choose 'No' to minimize with MARQUARDT",
                           platform::vbYesNo + platform::vbQuestion) == platform::vbYes
                           ? "S"
                           : "M";
        if (app.sw.CovDone == "on" && !AskCovarianceGridSteps(app, ev.NProfPts, kTitle)) {
            Withdraw();
            return false;
        }

        ml.EditorShown = 1;
        if (!WaitForEditorEdits(app)) {
            Withdraw();
            return false;
        }
        keep.Retake();   // the user's edits stay

        if (eng.par.StepSize(ev.ProfPar) == 0) {
            Ask("The parameter chosen has a step size of zero; please try again", platform::vbExclamation);
            Withdraw();
            return false;
        }
        return true;
    }

    void Profile() {
        const long n = ev.NProfPts;
        for (platform::Vec<double>* v :
             {&ev.ProfNegLnL, &ev.ProfX, &ev.ProfPDF, &ev.ProfNormPDF, &ev.ProfCIMode, &ev.ProfCIMean})
            v->ReDim(n);
        // The last table is replaced by this run's or by none.
        ml.last = ProfileSnapshot{};
        const int p = ev.ProfPar;
        ml.ProfCentre = eng.par.ParValue(p);
        ml.ProfStep = ml.SavedProfStep = eng.par.StepSize(p);
        eng.par.StepSize(p) = 0;
        fixed = true;
        ml.MinNegLnL = 1E+100;
        ml.MinPt = 0;
        ml.MidProfPt = static_cast<double>(n - 1) / 2 + 1;
        ml.StartTime = app.ui.Timer();
        main.stbMain4.Visible = true;
        SetUpFusedParameters(app.eng);
        PackAdjustableParameters(app);
        if (eng.free.NFree == 0) main.mnuMLInt.Visible = true;
        app.ui.DoEvents();
        startValues = eng.par.ParValue;
        moved = true;

        const std::string method = platform::UCase(ml.MinMethod);
        bool quit = false;
        for (ev.ProfPt = 1; ev.ProfPt <= ev.NProfPts; ++ev.ProfPt) {
            const long pt = ev.ProfPt;
            const double x = ml.ProfCentre - (ml.MidProfPt - static_cast<double>(pt)) * ml.ProfStep;
            eng.par.ParValue(p) = x;
            ev.ProfX(pt) = x;
            if (eng.free.NFree > 0) {
                if (!Minimize(method, pt)) return;
            } else {
                main.stbMain5.SetPanel(1, "Calculating profile point " + Format(static_cast<double>(pt), "###0") +
                                              " of " + Format(static_cast<double>(ev.NProfPts), "###0") + "," +
                                              " Value of parameter # " + platform::CStr(p) +
                                              " which is being profiled is: " + Format(x, "0.0000E+00"));
                app.ui.DoEvents();
            }
            if (ev.ProfPt <= ev.NProfPts) {
                if (!EvaluatePoint(pt)) return;
                if (eng.free.NFree == 0 && !interrupt.GoOn({pt, eng.NF, ev.ProfNegLnL(pt)})) {
                    if (app.ShowMsg("Interrupt received.  Quit calculations?",
                                    platform::vbYesNo + platform::vbQuestion, "Maximum-likelihood calculations") ==
                        platform::vbYes) {
                        ev.SavedProfPt = ev.ProfPt;
                        ev.ProfPt = ev.NProfPts + 2;
                    }
                }
            }
            if (ev.ProfPt == ev.NProfPts + 2) {
                quit = true;
                break;
            }
            if (ev.ProfNegLnL(pt) < ml.MinNegLnL) {
                ev.EVEstimate = ev.ProfX(pt);
                ml.MinNegLnL = ev.ProfNegLnL(pt);
                ml.MinPt = pt;
            }
            ShowTimeLeft(pt);
        }
        PutBack();
        if (quit) {
            ev.NProfPts = PointsKeptAfterQuit(ev.SavedProfPt);
        }
        if (ev.NProfPts < 3 || ml.MinPt < 1 || ml.MinPt > ev.NProfPts) {
            if (quit)
                Ask(TooFewPointsText(ev.NProfPts), platform::vbExclamation);
            Withdraw();
            return;
        }
        if (ml.ProfStep < 0) Reverse();
        app.ui.Beep();
        HandOff();
    }

    // One re-minimization at point pt; false when the run must end.
    bool Minimize(const std::string& method, long pt) {
        if (method == "S") {
            eng.SimplexValid = 0;
            if (pt == 1 && !SizeSimplexArrays(app)) {
                Withdraw();
                PutBack();
                return false;
            }
        } else if (pt == 1) {
            terminalFreq = eng.opt.TerminalFreq;
            marquardt = true;
            MarquardtSetup(app);
            eng.Simplex.ReDim(1, 1);
            if (eng.DerivMethod.empty() || !SizeMarquardtArrays(app)) {
                Withdraw();
                PutBack();
                return false;
            }
        }
        app.sw.CovDone = "off";
        app.sw.OptimisticSEs = platform::False;
        if (method == "S") {
            SimplexWatch watch(app);
            SimplexMinimize(app, watch);
        } else {
            MarquardtWatch watch(app);
            MarquardtMinimize(app, watch);
        }
        return true;
    }

    // -ln[L] at ParValue, with the prior term on the same scale.
    bool EvaluatePoint(long pt) {
        const double F = EvaluateObjective(app, eng.par.ParValue, 1, true);
        if (eng.RecipLnLConst <= 0) {
            WarnInsufficientDF(app);
            Withdraw();
            PutBack();
            return false;
        }
        ev.ProfNegLnL(pt) = F / eng.RecipLnLConst;
        return true;
    }

    void ShowTimeLeft(long pt) {
        const double secs = Elapsed(app, ml.StartTime) / static_cast<double>(pt) * static_cast<double>(ev.NProfPts - pt);
        const TimeLeft left = SplitTimeLeft(secs);
        ml.SecsLeft = left.SecsLeft;
        ml.MinLeft = left.MinLeft;
        ml.SecLeft = left.SecLeft;
        main.stbMain4.SetPanel(1, "Minimizations remaining: " + platform::Str(static_cast<long long>(ev.NProfPts - pt)));
        main.stbMain4.SetPanel(2, "Estimated time remaining (m:s): " + ml.MinLeft + ":" + ml.SecLeft);
        app.ui.DoEvents();
    }

    // Every value as the loop found it, and the profiled parameter's step.
    void PutBack() {
        if (!moved) return;
        eng.par.ParValue = startValues;
        eng.par.StepSize(ev.ProfPar) = ml.ProfStep;
        moved = false;
    }

    // An exit without a table: no earlier table is offered either.
    void Withdraw() {
        ev.NProfPts = 0;
        ml.last = ProfileSnapshot{};
    }

    // Points made from high to low values become an ascending table.
    void Reverse() {
        const long n = ev.NProfPts;
        for (long k = 1; k <= n / 2; ++k) {
            std::swap(ev.ProfX(k), ev.ProfX(n - k + 1));
            std::swap(ev.ProfNegLnL(k), ev.ProfNegLnL(n - k + 1));
        }
        ml.MinPt = n - ml.MinPt + 1;
        ev.EVEstimate = ev.ProfX(ml.MinPt);
        ml.MinNegLnL = ev.ProfNegLnL(ml.MinPt);
        ev.ProfX(0) = 0;
        ev.ProfNegLnL(0) = 0;
        ml.ProfStep = -ml.ProfStep;
    }

    void HandOff() {
        if (ml.MinPt > ev.NProfPts) return;
        numerics::ProfileDistribution({ev.NProfPts, ev.ProfX, ev.ProfNegLnL, ev.ProfPDF, ev.ProfCum, ev.ProfCIMode,
                                       ev.ProfCIMean, ev.ProfNormPDF},
                                      ev.EVEstimate, ml.ProfMean, ml.ProfDiff, ml.ProfSD, ml.MinPt, ml.ProfStep);
        Snapshot(app);
        ShowDistributionPlots(app, ev.ProfNegLnL, ml.ProfMean, ml.ProfDiff, ev.EVEstimate, ml.ProfSD, ev.NProfPts,
                              ev.ProfPDF, ev.ProfCIMode, ev.ProfCIMean, ev.ProfCum, ev.ProfNormPDF, ev.ProfX,
                              app.sw.PriorProfileOn, app.sw.PosteriorOn, app.sw.MLOn);
        ShowMLConfidenceData(app, ml.ProfMean, ev.EVEstimate, ml.ProfDiff, ml.ProfSD);
    }

    void End() {
        Finish();
        app.ui.DoEvents();
        if (ml.EditorShown == 1)
            app.ShowMsg("Your algorithm file may have been automatically edited",
                        platform::vbExclamation, "A friendly reminder");
    }

    // The end of every run, without a word to the user.
    void Finish() {
        PutBack();
        eng.SimplexValid = 0;
        ev.LastEvalType = "ML";
        ev.EvalValid = 1;
        if (fixed) {
            eng.par.StepSize(ev.ProfPar) = ml.SavedProfStep;
            eng.free.NFree += 1;
            fixed = false;
        }
        if (marquardt) eng.opt.TerminalFreq = terminalFreq;
        marquardt = false;
        app.sw.MLOn = "off";
        main.mnuMLInt.Visible = false;
        ReturnToMainMenu(app);
        main.stbMain5.SetPanel(1, "");
        main.stbMain4.SetPanel(1, "");
        main.stbMain4.SetPanel(2, "");
        main.stbMain4.Visible = false;
    }

    App& app;
    EngineState& eng;
    EvalState& ev;
    MLState& ml;
    frmMain& main;
    // A press left over from an earlier run does not stop this one.
    MainWindowWatch interrupt{app, MainWindowWatch::Item::InterruptML};
    bool fixed = false;        // this call set the profiled parameter's step to 0
    bool moved = false;        // ParValue may differ from startValues
    bool marquardt = false;    // TerminalFreq is to be restored
    int terminalFreq = 0;
    platform::Vec<double> startValues;   // ParValue when the loop started
    // A run that unwinds ends as any other, with the parameter set back.
    PutBackOnUnwind keep{eng, [this] {
                             Withdraw();
                             Finish();
                         }};
};

}  // namespace

void MLParameterEvaluation(App& app) { MLRun(app).Run(); }

std::string ConfidenceTableText(const EvalState& ev, const std::string& heading, double Mean, double Estimate,
                                double Diff, double SD) {
    const std::string pattern = "0.0000E+000   ";
    auto field = [&](double x) { return RSetPad(Format(x, pattern), 15); };
    std::string t = heading + vbCrLf + vbCrLf +
                    "  Point       Value         -ln[L]           PDF        CI on mode     CI on mean     Normal PDF" +
                    vbCrLf;
    for (long k = 1; k <= ev.NProfPts; ++k) {
        t += RSetPad(Format(static_cast<double>(k), "##0"), 5) + "    " + field(ev.ProfX(k)) + field(ev.ProfNegLnL(k)) +
             field(ev.ProfPDF(k)) + field(ev.ProfCIMode(k)) + field(ev.ProfCIMean(k)) + field(ev.ProfNormPDF(k)) +
             vbCrLf;
    }
    t += vbCrLf;
    t += "Max Likelihood: " + field(Estimate) + vbCrLf;
    t += "Expected Value: " + field(Mean) + vbCrLf;
    t += "Estimated Diff: " + field(Diff) + vbCrLf;
    t += "Percent Diff:   " + (Mean == 0 ? RSetPad("Undefined", 15) : field(Diff * 100 / Mean)) + vbCrLf;
    t += "Estimated SE:   " + field(SD) + vbCrLf;
    return t;
}

void ShowMLConfidenceData(App& app, double Mean, double Estimate, double Diff, double SD) {
    app.msg.NumFormat = "0.0000E+000   ";
    app.msg.ReportText =
        ConfidenceTableText(app.eval, "Maximum-likelihood confidence distribution data", Mean, Estimate, Diff, SD);
    frmMaxLike& w = app.form<frmMaxLike>();
    w.Show();
    w.rtbMaxLike.Text = app.msg.ReportText;
}

}  // namespace tivelor
