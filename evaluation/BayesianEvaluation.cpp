// The Bayesian posterior of one parameter, integrated over a grid of the
// other free parameters at every point of its profile.
#include "evaluation/ProfileRun.h"
#include "evaluation/BayesianEvaluation.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <new>
#include <optional>

#include "state/App.h"
#include "state/Task.h"
#include "engine/Likelihood.h"
#include "windows/LikelihoodConstant.h"
#include "engine/Objective.h"
#include "engine/Parameters.h"
#include "evaluation/CovarianceSteps.h"
#include "evaluation/MLEvaluation.h"
#include "evaluation/frmBayesian.h"
#include "windows/TextWindows.h"
#include "numerics/PosteriorSums.h"
#include "numerics/ProfileDistribution.h"
#include "platform/runtime.h"
#include "plots/DistributionPlots.h"
#include "windows/frmMain.h"

namespace tivelor {

using platform::Format;
using platform::vbCrLf;

namespace {

const char* const kTitle = "Bayesian parameter estimate evaluation";
constexpr double kMaxCalls = 32767;
constexpr long kMaxIntegrated = 6;
constexpr double kNoWeight = 1E+20;   // -ln value of a point whose nodes carry no weight

// A point count 1..1001 made odd and at least 3; nothing when out of range.
std::optional<long> PointCount(std::optional<int> n) {
    if (!n || *n < 1 || *n > 1001) return std::nullopt;
    long c = std::max(*n, 3);
    if (c % 2 == 0) ++c;
    return c;
}

std::string TimeOfDay(const std::tm& t) {
    return Format(t.tm_hour, "00") + ":" + Format(t.tm_min, "00") + ":" + Format(t.tm_sec, "00");
}

class BayesRun {
public:
    explicit BayesRun(App& a) : app(a), eng(a.eng), ev(a.eval), bs(a.bayes), main(a.form<frmMain>()) {}

    void Run() {
        while (Attempt() == Outcome::Restart) {
        }
        End();
    }

private:
    enum class Outcome { Exit, Restart };

    double Ask(const std::string& text, int style, const std::string& title = kTitle) {
        return app.ShowMsg(text, style, title);
    }

    Outcome Attempt() {
        app.sw.PosteriorOn = "on";
        bs.EditorShown = 0;
        const std::string choosing =
            std::string("First choose the parameter to be evaluated, then the number of grid points. ") +
            "You may then wisely edit the mid-range parameter value and the step size " +
            "for that parameter and those (maximum = 6) over which probabilities will be integrated. " +
            "For a one dimensional example, if you choose 101 grid points then grid point 1 will be " +
            "the parameter value - 50 * the step size, grid point 51 will be the point parameter value, " +
            "and grid point 101 will be the parameter value + 50 * the step size. " +
            "Parameters with a step size of zero will not be integrated into the BP distribution. ";
        if (!IntroduceEvaluation(app, kTitle, "a Bayesian posterior distribution",
                                 std::string(vbCrLf) + vbCrLf +
                                     "If only two variables are evaluated a bivarate pdf plot is also generated",
                                 choosing))
            return Outcome::Exit;

        if (PreviousResultsAvailable() && PreviousPlotsChosen(app, kTitle, "integrations", "BP")) {
            ReShow();
            return Outcome::Exit;
        }

        if (!Dialogue()) return Outcome::Exit;
        if (!WithinCallLimit(IntegratedCount())) return Outcome::Exit;
        if (!CovarianceSteps()) return Outcome::Exit;

        bs.EditorShown = 1;
        if (!WaitForEditorEdits(app)) {
            Refuse();
            return Outcome::Exit;
        }
        keep.Retake();   // the user's edits stay

        if (eng.par.StepSize(ev.ProfPar) == 0) {
            Ask("The parameter chosen has a step size of zero; please try again",
                platform::vbExclamation, "Problem with setup");
            Refuse();
            return Outcome::Exit;
        }
        SetAside();
        SetUpFusedParameters(app.eng);
        PackAdjustableParameters(app);
        startValues = eng.par.ParValue;
        moved = true;
        // The editor may have freed parameters after the counts were checked.
        if (eng.free.NFree == 0) bs.NGridPts = 0;
        if (eng.free.NFree > 0 && bs.NGridPts == 0 && !AskGridCount()) {
            Refuse();
            return Outcome::Exit;
        }
        if (eng.free.NFree > kMaxIntegrated) {
            Ask("Too many free parameters - maximum is 6", platform::vbExclamation, "Problem with setup");
            Refuse();
            return Outcome::Exit;
        }
        if (!WithinCallLimit(eng.free.NFree)) return Outcome::Exit;

        if (eng.free.NFree >= 1) {
            if (!Evaluate(eng.par.ParValue, bs.RefNegLnL)) return Outcome::Exit;
            bs.BivarSizeFailed = 0;
            try {
                const long nx = eng.free.NFree == 1 ? ev.NProfPts : 1, ny = eng.free.NFree == 1 ? bs.NGridPts : 1;
                bs.BivarDensity.ReDim(nx, ny);
                bs.BivarX.ReDim(nx);
                bs.BivarY.ReDim(ny);
                bs.PeakDensity = 0;
            } catch (const std::bad_alloc&) {
                bs.BivarSizeFailed = 1;
                Ask("Bivariate array is probably too large; reduce grid size",
                    platform::vbInformation, "Error message");
                PutBack();
                eng.par.StepSize(ev.ProfPar) = bs.SavedProfStep;
                fixed = false;
                return Outcome::Restart;
            }
        }
        Integrate();
        return Outcome::Exit;
    }

    bool PreviousResultsAvailable() const {
        const PosteriorRecord& r = bs.last;
        const long n = r.table.NProfPts;
        return r.valid && n != 0 && r.table.ProfX(n) != r.table.ProfX(1) && ev.LastEvalType == "BP" &&
               ev.EvalValid == 1;
    }

    // The parameter and the counts; false on every way out.
    bool Dialogue() {
        const int numPars = eng.par.NumPars;
        for (;;) {
            SetUpFusedParameters(app.eng);
            PackAdjustableParameters(app);
            if (eng.NObs == 0) EnterLikelihoodConstant(app);
            bs.ParAnswer = app.ui.InputBox(std::string("Choose the parameter number to be evaluated or Quit: ") + vbCrLf +
                                               "0 < parameter # <= " + platform::CStr(numPars),
                                           kTitle, "");
            if (bs.ParAnswer.empty()) return false;
            const auto p = IntegerAnswer(bs.ParAnswer);
            if (!p || *p < 1 || *p > numPars) {
                ev.ProfPar = 0;
                continue;
            }
            ev.ProfPar = *p;
            do {
                bs.PtsAnswer = app.ui.InputBox(std::string("Choose the number of data points for profile parameter:") + vbCrLf +
                                                   "0 <= # points <= 1001",
                                               kTitle, "25");
            } while (platform::Trim(bs.PtsAnswer).empty() || !platform::IsNumeric(platform::Trim(bs.PtsAnswer)));
            const auto n = PointCount(IntegerAnswer(bs.PtsAnswer));
            if (!n) continue;
            ev.NProfPts = *n;
            if (IntegratedCount() == 0) {
                bs.NGridPts = 0;
            } else {
                const auto g = PointCount(IntegerAnswer(GridQuestion()));
                if (!g) continue;
                bs.NGridPts = *g;
            }
            return true;
        }
    }

    std::string GridQuestion() {
        return app.ui.InputBox(
            std::string("Choose the number of data points for grid parameter:") + vbCrLf + "0 <= # points <= 1001",
            kTitle, "25");
    }

    // The grid count when the editor freed parameters that none was asked
    // for; asked until valid, false on Cancel.
    bool AskGridCount() {
        for (;;) {
            const std::string a = GridQuestion();
            if (a.empty()) return false;
            if (const auto g = PointCount(IntegerAnswer(a))) {
                bs.NGridPts = *g;
                bs.MidGridPt = (bs.NGridPts - 1) / 2 + 1;
                return true;
            }
        }
    }

    // Free parameters other than the profiled one.
    long IntegratedCount() const {
        long n = 0;
        for (long i = 1; i <= eng.free.NFree; ++i)
            if (eng.free.FreeIndex(i) != ev.ProfPar) ++n;
        return n;
    }

    bool WithinCallLimit(long integrated) {
        const double calls =
            static_cast<double>(ev.NProfPts) * std::pow(static_cast<double>(bs.NGridPts), static_cast<double>(integrated));
        if (calls <= kMaxCalls) return true;
        Ask(std::string("Required number of function calls exceeds the maximum allowed of 32767.") + vbCrLf +
                "Correct this by reducing the number of free parameters or the grid resolution",
            platform::vbExclamation, "Too many function calls");
        Refuse();
        return false;
    }

    bool CovarianceSteps() {
        if (app.sw.CovDone != "on") return true;
        for (;;) {
            app.msg.InputText =
                app.ui.InputBox("Base step sizes on SD's from covariance grid 1, 2, 3, No or Quit?", kTitle, "N");
            const std::string a = platform::UCase(platform::Trim(app.msg.InputText));
            if (a == "Q") {
                Refuse();
                return false;
            }
            if (a != "1" && a != "2" && a != "3") return true;
            const int g = a[0] - '0';
            if (!CovarianceGridComputed(app, g)) {
                ReportGridNotComputed(app, g, kTitle);
                continue;
            }
            // Integrated grids span 3.5 standard errors either side, the profile 4.
            if (bs.NGridPts >= 3)
                for (long i = 1; i <= eng.free.NFree; ++i) {
                    const int p = eng.free.FreeIndex(i);
                    if (p == ev.ProfPar) continue;
                    if (const auto se = CovarianceGridSE(app, p, g))
                        eng.par.StepSize(p) = *se * 7 / static_cast<double>(bs.NGridPts - 1);
                }
            if (const auto se = CovarianceGridSE(app, ev.ProfPar, g); se && eng.par.StepSize(ev.ProfPar) != 0)
                eng.par.StepSize(ev.ProfPar) = *se * 24 / (3 * static_cast<double>(ev.NProfPts - 1));
            return true;
        }
    }

    void Refuse() {
        ev.NProfPts = 0;
        bs.last.valid = false;
    }

    // The profile columns sized and the profiled parameter taken out of the free set.
    void SetAside() {
        const long n = ev.NProfPts;
        for (platform::Vec<double>* v :
             {&ev.ProfNegLnL, &ev.ProfX, &ev.ProfPDF, &ev.ProfNormPDF, &ev.ProfCIMode, &ev.ProfCIMean})
            v->ReDim(n);
        bs.last.valid = false;
        const int p = ev.ProfPar;
        bs.ProfCentre = eng.par.ParValue(p);
        bs.ProfStep = bs.SavedProfStep = eng.par.StepSize(p);
        eng.par.StepSize(p) = 0;
        fixed = true;
        bs.MinNegLnL = 1E+100;
        bs.MinPt = 0;
        bs.MidProfPt = (n - 1) / 2 + 1;
        bs.MidGridPt = (bs.NGridPts - 1) / 2 + 1;
    }

    // -ln posterior at V; false (after the warning) without a usable constant.
    bool Evaluate(platform::Vec<double>& V, double& out) {
        const double F = EvaluateObjective(app, V, 1, true);
        if (eng.RecipLnLConst <= 0) {
            WarnInsufficientDF(app);
            Refuse();
            return false;
        }
        out = F / eng.RecipLnLConst;
        return true;
    }

    void Integrate() {
        main.stbMain2.Visible = true;
        main.stbMain4.Visible = true;
        main.mnuBayesianInt.Visible = true;
        for (platform::Menu* m : {&main.mnuWindow, &main.mnuAbout, &main.mnuWisdom, &main.mnuDefaultNames})
            m->Visible = false;
        if (platform::Form* menu = app.shellAccess->LoadedMainMenu()) menu->Hide();
        app.ui.DoEvents();
        bs.StartTime = app.ui.clock.Monotonic();
        bs.CallsDone = 0;
        const long nFree = eng.free.NFree;
        total = static_cast<double>(ev.NProfPts) * std::pow(static_cast<double>(bs.NGridPts), static_cast<double>(nFree));
        weights = numerics::WeightReference{bs.RefNegLnL};
        const int p = ev.ProfPar;

        for (ev.ProfPt = 1; ev.ProfPt <= ev.NProfPts; ++ev.ProfPt) {
            const long pt = ev.ProfPt;
            const double x = bs.ProfCentre - static_cast<double>(bs.MidProfPt - pt) * bs.ProfStep;
            eng.par.ParValue(p) = x;
            ev.ProfX(pt) = x;
            if (nFree == 0) {
                main.stbMain5.SetPanel(1, "Calculating profile point " + Format(static_cast<double>(pt), "###0") +
                                              " of " + Format(static_cast<double>(ev.NProfPts), "###0") + "," +
                                              " Value of parameter # " + platform::CStr(p) +
                                              " which is being profiled is: " + Format(x, "0.0000E+00"));
                app.ui.DoEvents();
                if (!Evaluate(eng.par.ParValue, ev.ProfNegLnL(pt))) return PutBack();
                ++bs.CallsDone;
                if (QuitAsked()) break;
                ShowTimeLeft();
            } else {
                bs.PostSum.Clear();
                ev.PostPar = eng.par.ParValue;
                main.stbMain5.SetPanel(1, "Value of parameter being profiled: " + Format(x, "0.0000E+00") +
                                              " (point " + Format(static_cast<double>(pt), "##0") + " of " +
                                              Format(static_cast<double>(ev.NProfPts), "##0") + ")");
                app.ui.DoEvents();
                if (pt == 1) {
                    main.stbMain2.SetPanel(1, platform::Str(total) + " function calls required");
                    main.stbMain2.SetPanel(2, "Started at " + TimeOfDay(app.ui.Now()));
                    main.stbMain2.SetPanel(3, "Integrating probabilities for profile parameter #" + platform::CStr(p));
                    app.ui.DoEvents();
                }
                main.stbMain3.Visible = true;
                app.ui.DoEvents();
                if (!Level(1)) {
                    if (failed) return PutBack();
                    break;
                }
                ev.ProfNegLnL(pt) = numerics::MarginalNegLnL(bs.PostSum, kNoWeight);
            }
            if (ev.ProfNegLnL(pt) < bs.MinNegLnL) {
                ev.EVEstimate = ev.ProfX(pt);
                bs.MinNegLnL = ev.ProfNegLnL(pt);
                bs.MinPt = pt;
            }
        }
        PutBack();
        eng.par.StepSize(p) = bs.ProfStep;
        if (quit) {
            ev.NProfPts = PointsKeptAfterQuit(ev.SavedProfPt);
        }
        if (ev.NProfPts < 3 || bs.MinPt < 1 || bs.MinPt > ev.NProfPts) {
            if (quit)
                Ask(TooFewPointsText(ev.NProfPts), platform::vbExclamation);
            else if (bs.MinPt < 1)
                Ask("No profile point gave a usable posterior value; nothing can be shown.", platform::vbExclamation);
            Refuse();
            return;
        }
        if (bs.ProfStep < 0) Reverse();
        if (nFree == 1 && eng.par.StepSize(eng.free.FreeIndex(1)) < 0) {
            numerics::ReverseRows(bs.BivarY, bs.NGridPts);
            numerics::ReverseSecondIndex(bs.BivarDensity, ev.NProfPts, bs.NGridPts);
        }
        if (nFree > 0) {
            main.stbMain5.SetPanel(1, "Integrations completed at " + TimeOfDay(app.ui.Now()));
            app.ui.DoEvents();
        }
        Results(nFree, nFree >= 1 ? eng.free.FreeIndex(1) : 0, true);
    }

    // Grid level k and the levels inside it; false when the run ends.
    bool Level(long k) {
        const int q = eng.free.FreeIndex(k);
        const long n = bs.NGridPts;
        for (bs.GridPt(k) = 1; bs.GridPt(k) <= n; ++bs.GridPt(k)) {
            const long g = bs.GridPt(k);
            main.stbMain3.SetPanel(static_cast<int>(k), "Parameter #" + Format(static_cast<double>(q), "#0") +
                                                            " (point " + Format(static_cast<double>(g), "##0") +
                                                            " of " + Format(static_cast<double>(n), "##0") + ")");
            app.ui.DoEvents();
            if (QuitAsked()) return false;
            ev.PostPar(q) = eng.par.ParValue(q) - static_cast<double>(bs.MidGridPt - g) * eng.par.StepSize(q);
            if (k == eng.free.NFree ? !Node() : !Level(k + 1)) return false;
        }
        return true;
    }

    bool Node() {
        if (!Evaluate(ev.PostPar, bs.NodeNegLnL)) return failed = true, false;
        ++bs.CallsDone;
        ShowTimeLeft();
        const double v = bs.NodeNegLnL;
        bs.PostSum.Add(-(v - bs.RefNegLnL));
        if (eng.free.NFree == 1) {
            const long pt = ev.ProfPt, g = bs.GridPt(1);
            const double w = std::isfinite(v) ? weights.Weight(v, [this](double d) { Rescale(d); }) : 0.0;
            bs.BivarDensity(pt, g) = w;
            bs.BivarX(pt) = ev.PostPar(ev.ProfPar);
            bs.BivarY(g) = ev.PostPar(eng.free.FreeIndex(1));
            if (w > bs.PeakDensity) {
                bs.PeakDensity = w;
                bs.PeakX = bs.BivarX(pt);
                bs.PeakY = bs.BivarY(g);
            }
        }
        return true;
    }

    // The stored node weights on a reference moved down by d.
    void Rescale(double d) {
        using numerics::WeightReference;
        for (long i = 1; i <= ev.ProfPt; ++i)
            for (long j = 1; j <= bs.NGridPts; ++j)
                bs.BivarDensity(i, j) = WeightReference::Rescaled(bs.BivarDensity(i, j), d);
        bs.PeakDensity = WeightReference::Rescaled(bs.PeakDensity, d);
    }

    bool QuitAsked() {
        if (interrupt.GoOn({ev.ProfPt, bs.CallsDone, 0})) return false;
        if (Ask("Interrupt received.  Quit calculations?",
                platform::vbYesNo + platform::vbQuestion, "Bayesian calculations") != platform::vbYes) return false;
        ev.SavedProfPt = ev.ProfPt;
        quit = true;
        return true;
    }

    void ShowTimeLeft() {
        const double perCall = (app.ui.clock.Monotonic() - bs.StartTime) / static_cast<double>(bs.CallsDone);
        const double left = total - static_cast<double>(bs.CallsDone);
        const TimeLeft t = SplitTimeLeft(left * perCall);
        bs.SecsLeft = t.SecsLeft;
        bs.MinLeft = t.MinLeft;
        bs.SecLeft = t.SecLeft;
        main.stbMain4.SetPanel(1, "Function calls remaining: " + platform::Str(static_cast<long long>(left)));
        main.stbMain4.SetPanel(2, "Estimated time remaining (m:s): " + bs.MinLeft + ":" + bs.SecLeft);
        app.ui.DoEvents();
    }

    // Every value as the run found it after the editor.
    void PutBack() {
        if (!moved) return;
        eng.par.ParValue = startValues;
        moved = false;
    }

    // Points made from high to low values become an ascending table, and the
    // bivariate rows with them.
    void Reverse() {
        const long n = ev.NProfPts;
        numerics::ReverseRows(ev.ProfX, n);
        numerics::ReverseRows(ev.ProfNegLnL, n);
        ev.ProfX(0) = 0;
        ev.ProfNegLnL(0) = 0;
        bs.MinPt = n - bs.MinPt + 1;
        ev.EVEstimate = ev.ProfX(bs.MinPt);
        bs.MinNegLnL = ev.ProfNegLnL(bs.MinPt);
        bs.ProfStep = -bs.ProfStep;
        if (eng.free.NFree == 1) {
            numerics::ReverseRows(bs.BivarX, n);
            numerics::ReverseFirstIndex(bs.BivarDensity, n, bs.NGridPts);
        }
    }

    void ReShow() {
        const PosteriorRecord& r = bs.last;
        const ProfileSnapshot& s = r.table;
        ev.ProfPar = s.ProfPar;
        eng.free.NFree -= 1;
        bs.SavedProfStep = eng.par.StepSize(ev.ProfPar);
        eng.par.StepSize(ev.ProfPar) = 0;
        fixed = true;
        LoadProfileTable(s, ev);
        bs.MinPt = r.MinPt;
        bs.ProfStep = r.ProfStep;
        bs.NGridPts = r.NGridPts;
        bs.BivarDensity = r.BivarDensity;
        bs.BivarX = r.BivarX;
        bs.BivarY = r.BivarY;
        bs.PeakDensity = r.PeakDensity;
        bs.PeakX = r.PeakX;
        bs.PeakY = r.PeakY;
        Results(r.NIntegrated, r.FreeIndex1, false);
    }

    void Record(long integrated, int yPar) {
        PosteriorRecord& r = bs.last;
        ProfileSnapshot& s = r.table;
        SaveProfileTable(ev, s);
        r.MinPt = bs.MinPt;
        r.ProfStep = bs.ProfStep;
        r.NGridPts = bs.NGridPts;
        r.NIntegrated = integrated;
        r.FreeIndex1 = yPar;
        r.BivarDensity = bs.BivarDensity;
        r.BivarX = bs.BivarX;
        r.BivarY = bs.BivarY;
        r.PeakDensity = bs.PeakDensity;
        r.PeakX = bs.PeakX;
        r.PeakY = bs.PeakY;
        r.valid = true;
    }

    void Results(long integrated, int yPar, bool record) {
        if (bs.MinPt > ev.NProfPts) return;
        numerics::ProfileDistribution({ev.NProfPts, ev.ProfX, ev.ProfNegLnL, ev.ProfPDF, ev.ProfCum, ev.ProfCIMode,
                                       ev.ProfCIMean, ev.ProfNormPDF},
                                      ev.EVEstimate, bs.PostMean, bs.ModeDiff, bs.PostSD, bs.MinPt, bs.ProfStep);
        if (record) Record(integrated, yPar);
        ShowDistributionPlots(app, ev.ProfNegLnL, bs.PostMean, bs.ModeDiff, ev.EVEstimate, bs.PostSD, ev.NProfPts,
                              ev.ProfPDF, ev.ProfCIMode, ev.ProfCIMean, ev.ProfCum, ev.ProfNormPDF, ev.ProfX,
                              app.sw.PriorProfileOn, app.sw.PosteriorOn, app.sw.MLOn);
        if (integrated == 1 &&
            Ask("Do you want to view a bivariate plot of parameters " + platform::CStr(ev.ProfPar) + " and " +
                    platform::CStr(yPar) + "?",
                platform::vbYesNo + platform::vbQuestion, "Bivariate plot") == platform::vbYes) {
            int xPar = ev.ProfPar;
            PlotBivariateDensity(app, bs.BivarX, bs.BivarY, bs.BivarDensity, bs.PeakDensity, xPar, yPar, ev.NProfPts,
                                 bs.NGridPts, bs.PeakX, bs.PeakY);
            SaveGridFile(app, bs.BivarX, bs.BivarY, bs.BivarDensity, ev.NProfPts, bs.NGridPts, ev.ProfPar, yPar);
        }
        ShowPosteriorData(app, bs.PostMean, ev.EVEstimate, bs.ModeDiff, bs.PostSD);
    }

    void End() {
        Finish();
        app.ui.DoEvents();
        if (bs.EditorShown == 1)
            Ask("Your algorithm file may have been automatically edited",
                platform::vbExclamation, "A friendly reminder");
    }

    // The end of every run, without a word to the user.
    void Finish() {
        PutBack();
        eng.SimplexValid = 0;
        app.sw.PosteriorOn = "off";
        ev.LastEvalType = "BP";
        ev.EvalValid = 1;
        if (fixed) {
            eng.par.StepSize(ev.ProfPar) = bs.SavedProfStep;
            eng.free.NFree += 1;
            fixed = false;
        }
        ReturnToMainMenu(app);
        main.stbMain2.Visible = false;
        main.stbMain3.Visible = false;
        main.stbMain4.Visible = false;
        main.mnuBayesianInt.Visible = false;
        for (platform::Menu* m : {&main.mnuWindow, &main.mnuAbout, &main.mnuWisdom, &main.mnuDefaultNames})
            m->Visible = true;
        main.stbMain5.SetPanel(1, "");
        for (int k = 1; k <= 6; ++k) main.stbMain3.SetPanel(k, "");
        ev.PostPar.ReDim(1);
    }

    App& app;
    EngineState& eng;
    EvalState& ev;
    BayesState& bs;
    frmMain& main;
    // A press left over from an earlier run does not stop this one.
    MainWindowWatch interrupt{app, MainWindowWatch::Item::InterruptBayes};
    numerics::WeightReference weights{0};
    double total = 0;          // evaluations the run needs
    bool fixed = false;        // this call set the profiled parameter's step to 0
    bool moved = false;        // ParValue may differ from startValues
    bool quit = false;         // the user quit during the run
    bool failed = false;       // an evaluation ended the run
    platform::Vec<double> startValues;   // ParValue when the run started
    // A run that unwinds ends as any other, with the parameter set back.
    PutBackOnUnwind keep{eng, [this] {
                             Refuse();
                             Finish();
                         }};
};

}  // namespace

void BayesianEvaluation(App& app) { BayesRun(app).Run(); }

void ShowPosteriorData(App& app, double Mean, double Mode, double ModeDiff, double SD) {
    app.msg.NumFormat = "0.0000E+000   ";
    app.msg.ReportText =
        ConfidenceTableText(app.eval, "Bayesian posterior distribution data", Mean, Mode, ModeDiff, SD);
    frmBayesian& w = app.form<frmBayesian>();
    w.Show();
    w.rtbBayesian.Text = app.msg.ReportText;
}

std::string GridFileText(const platform::Vec<double>& X, const platform::Vec<double>& Y,
                         const platform::Matrix<double>& Density, long NX, long NY, int XPar, int YPar) {
    std::string t = "Bivariate plot data for parameters" + platform::Str(XPar) + " and" + platform::Str(YPar) + " " +
                    vbCrLf + "        X_Coord,        Y_Coord,  Prob_Density" + vbCrLf;
    t.reserve(t.size() + static_cast<std::size_t>(NX * NY) * 48);
    for (long i = 1; i <= NX; ++i) {
        const std::string x = Format(X(i), "    0.0000E+000");
        for (long j = 1; j <= NY; ++j)
            t += x + Format(Y(j), "     0.0000E+000") + Format(Density(i, j), "    0.0000E+000") + vbCrLf;
    }
    return t;
}

void SaveGridFile(App& app, const platform::Vec<double>& X, const platform::Vec<double>& Y,
                  const platform::Matrix<double>& Density, long NX, long NY, int XPar, int YPar) {
    platform::CommonDialog& dlg = app.form<frmMain>().CommonDialog1;
    app.msg.DlgFilter = std::string("All files (*.*)|*.*|") + "Grid files (*.grd)|*.grd";
    if (!ChooseSaveFile(dlg, {"Save grid values in...", app.msg.DlgFilter, 2,
                              platform::DateTimeFileName(app.ui.Now(), ".grd")}))
        return;
    const std::string path = dlg.FileName;
    WriteFileOrReport(app, "grid file", path, GridFileText(X, Y, Density, NX, NY, XPar, YPar));
}

}  // namespace tivelor
