#include "engine/Simplex.h"

#include <cmath>

#include "engine/Parameters.h"
#include "engine/Priors.h"
#include "engine/Progress.h"
#include "engine/ProgressText.h"
#include "state/App.h"
#include "state/Memory.h"

namespace tivelor {

namespace {

// Clears the run-in-progress mark on every way out, exceptions included.
struct RunMark {
    SimplexState& s;
    explicit RunMark(SimplexState& st) : s(st) { s.Running = true; }
    ~RunMark() { s.Running = false; }
};

void ClearPanels(ProgressObserver& progress) {
    for (int p = 1; p <= 4; ++p) progress.Panel(p, "");
}

// The run ends after this iteration.
void Stopping(ProgressObserver& progress) {
    progress.Panel(1, "One moment please...");
    for (int p = 2; p <= 4; ++p) progress.Panel(p, "");
}

// Whether the kept simplex was built over the current free parameters and
// its arrays still hold it.
bool KeptSimplexFits(App& app) {
    const EngineState& eng = app.eng;
    const SimplexState& s = app.simplex;
    const long n = eng.free.NFree;
    if (s.BuiltNumPars != eng.par.NumPars || s.BuiltNFree != n) return false;
    if (eng.Simplex.UBound1() < n || eng.Simplex.UBound2() < n + 2) return false;
    if (s.SimplexF.UBound() < n + 1 || s.BuiltFreeIndex.UBound() < n) return false;
    for (long i = 1; i <= n; ++i)
        if (s.BuiltFreeIndex(i) != eng.free.FreeIndex(i)) return false;
    return true;
}

// The vertex vectors, and the simplex unless the caller sizes it, for NumPars.
void RunArraySizes(App& app, ArraySizes& sizes, bool simplex = true) {
    EngineState& eng = app.eng;
    SimplexState& s = app.simplex;
    const int np = eng.par.NumPars;
    if (simplex) sizes.Fit(eng.Simplex, np, np + 2);
    sizes.Fit(s.SimplexF, np + 1);
    for (platform::Vec<double>* v : {&s.WorkVertex, &s.ExtVertex, &s.TrialPar}) sizes.Fit(*v, np);
}

void RememberFreeParameters(App& app) {
    const EngineState& eng = app.eng;
    SimplexState& s = app.simplex;
    s.BuiltNumPars = eng.par.NumPars;
    s.BuiltNFree = eng.free.NFree;
    s.BuiltFreeIndex.ReDim(eng.free.NFree);
    for (long i = 1; i <= eng.free.NFree; ++i) s.BuiltFreeIndex(i) = eng.free.FreeIndex(i);
}

// The prior terms at the minimum just written into ParValue, then the review.
void ReviewPriorsAtMinimum(App& app, ProgressObserver& progress) {
    SimplexState& s = app.simplex;
    for (int p = 1; p <= app.eng.par.NumPars; ++p) s.TrialPar(p) = app.eng.par.ParValue(p);
    ApplyFusedParameters(app, s.TrialPar);
    PriorPenalty(app, s.TrialPar);
    progress.AtPriorMinimum();
}

Iteration Figures(App& app) {
    const SimplexState& s = app.simplex;
    return {s.NIter, app.eng.NF, s.SimplexF.UBound() >= s.ILo ? s.SimplexF(s.ILo) : 0};
}

}  // namespace

void InvalidateSimplex(EngineState& eng) { eng.SimplexValid = 0; }

void SimplexMinimize(App& app, ProgressObserver& progress) {
    EngineState& eng = app.eng;
    SimplexState& s = app.simplex;
    platform::Matrix<double>& S = eng.Simplex;
    const long n = eng.free.NFree;
    if (n < 1) return;
    RunMark mark(s);
    s.Confirmed = false;

    if (eng.SimplexValid != 0 && !KeptSimplexFits(app)) eng.SimplexValid = 0;
    if (eng.SimplexValid == 0) {
        // Made before the run shows anything.
        ArraySizes sizes;
        RunArraySizes(app, sizes);
        if (!sizes.Commit()) return TellNoMemoryForSimplex(app);
    }

    s.ICen = static_cast<int>(n) + 2;
    eng.NF = 0;
    // A new simplex offers Interrupt from the start; a kept one leaves the
    // button as its window has it.
    progress.Begin(eng.SimplexValid == 0);
    if (eng.SimplexValid == 0) {
        for (long i = 1; i <= n; ++i) S(i, 1) = eng.free.FreeValue(i);
        progress.Panel(1, "Building initial simplex...");
        progress.Panel(2, "");
        app.ui.DoEvents();
        eng.SimplexValid = 1;
        RememberFreeParameters(app);
        InitialSimplex(app);
        s.ShowNow = platform::False;
    }

    ReportInitialSimplex(app, progress);
    s.TerminalCount = eng.opt.TerminalFreq;
    s.NIter = 0;
    s.NRestarts = 0;
    s.FileCount = eng.opt.FileFreq;

    for (;;) {
        SimplexMove(app);
        SimplexRankAndCentroid(eng, s);
        ++s.NIter;

        if (s.TerminalCount == eng.opt.TerminalFreq && eng.opt.TerminalFreq != 0) {
            s.TerminalCount = 1;
            ShowSimplexProgress(app, progress, s.SimplexF(s.ILo), s.SimplexF(s.IHi));
        } else if (s.TerminalCount > 0) {
            ++s.TerminalCount;
        }
        if (s.FileCount == eng.opt.FileFreq && eng.opt.FileFreq != 0) {
            s.FileCount = 1;
            LogSimplexProgress(app, s.SimplexF(s.ILo), s.SimplexF(s.IHi));
        } else if (s.FileCount > 0) {
            ++s.FileCount;
        }

        s.SimplexDone = 0;
        if (eng.NF > eng.opt.MaxCalls) {
            DrawSimplexProgress(app, progress);
            if (app.ShowMsg("Maximum number of function calls reached, do you want to continue?",
                            platform::vbYesNo + platform::vbQuestion,
                            "Simplex minimization") == platform::vbYes) {
                eng.NF = 0;
            } else {
                s.SimplexDone = 1;
                s.ShowNow = platform::True;
                Stopping(progress);
            }
        }

        if (s.SimplexDone == 0) {
            const double flo = s.SimplexF(s.ILo);
            s.SimplexRange = std::fabs(s.SimplexF(s.IHi) - flo);
            const double tol = eng.opt.ConvTol;
            bool converged;
            if (tol >= 0) {
                converged = s.SimplexRange < tol;
            } else {
                if (flo == 0) {
                    DrawSimplexProgress(app, progress);
                    app.ShowMsg(ZeroValueMessage(), platform::vbCritical + platform::vbInformation, "Simplex error");
                    ClearPanels(progress);
                    progress.Interruptible(false);   // nothing is left to interrupt
                    return;
                }
                converged = s.SimplexRange / std::fabs(flo) < std::fabs(tol);
            }
            if (converged) VerifySimplexMinimum(app, progress, s.SimplexDone);
        }

        app.ui.DoEvents();

        if (!progress.GoOn(Figures(app))) {
            progress.Interruptible(true);
            progress.Panel(1, "");
            DrawSimplexProgress(app, progress);
            if (app.sw.MLOn == "off" || app.sw.MLOn == "on") {
                switch (AskAfterInterrupt(app, "Simplex interrupt")) {
                case InterruptAnswer::Quit:
                    Stopping(progress);
                    [[fallthrough]];
                case InterruptAnswer::QuitProfile:
                    s.SimplexDone = 1;
                    s.ShowNow = platform::True;
                    break;
                case InterruptAnswer::NextPoint:
                    s.SimplexDone = 1;
                    s.ShowNow = platform::False;
                    break;
                case InterruptAnswer::GoOn:   // in profile mode the point goes on shown
                    s.ShowNow = app.sw.MLOn == "on" ? platform::True : platform::False;
                    break;
                }
            }
        }

        if (s.ShowNow) {
            if (s.TerminalCount > 1 && eng.opt.TerminalFreq != 0)
                ShowSimplexProgress(app, progress, s.SimplexF(s.ILo), s.SimplexF(s.IHi));
            s.ShowNow = platform::False;
        }

        if (s.SimplexDone == 1) {
            for (long i = 1; i <= n; ++i) eng.par.ParValue(eng.free.FreeIndex(i)) = S(i, s.ILo);
            DrawSimplexProgress(app, progress);
            ClearPanels(progress);
            progress.Interruptible(false);   // nothing is left to interrupt
            if (s.Confirmed && app.sw.MLOn != "on" && app.sw.PriorsOn == "on")
                ReviewPriorsAtMinimum(app, progress);
            return;
        }
    }
}

void SimplexArraySizes(App& app, ArraySizes& sizes) {
    EngineState& eng = app.eng;
    const int np = eng.par.NumPars;
    for (platform::Matrix<double>* m : {&eng.InvWork, &eng.HessMat, &eng.AnaHess}) sizes.Set(*m, 1, 1);
    sizes.Set(eng.GridNegLnL, 1, 1, 1);
    sizes.Set(eng.CovStore, 1, 1, 1);
    sizes.Set(eng.MarqBeta, 1);
    sizes.Set(eng.AnaGrad, 1);
    sizes.Set(eng.Simplex, np, np + 2);
    RunArraySizes(app, sizes, false);
    sizes.Then([&eng] { ++eng.Generation; });
}

bool SizeSimplexArrays(App& app) {
    ArraySizes sizes;
    SimplexArraySizes(app, sizes);
    if (sizes.Commit()) return true;
    TellNoMemoryForSimplex(app);
    return false;
}

void TellNoMemoryForSimplex(App& app) {
    TellNotEnoughMemory(app, "this Simplex minimization", "Simplex minimization");
}

}  // namespace tivelor
