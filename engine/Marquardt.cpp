// The Marquardt driver: damped Newton steps from derivatives at the current
// best point, lambda raised on every failed trial and lowered on every
// accepted step, and an axial search before a minimum is reported.
#include "engine/Marquardt.h"

#include <cmath>
#include <string>

#include "engine/HessianLU.h"
#include "engine/Objective.h"
#include "engine/Progress.h"
#include "engine/ProgressText.h"
#include "platform/runtime.h"
#include "state/App.h"
#include "state/Memory.h"

namespace tivelor {

namespace {

constexpr int kMaxTrials = 25;
constexpr int kMaxVerifications = 5;
constexpr double kLambdaStart = 0.001;
constexpr double kLambdaLimit = 1E20;

class MarquardtRun {
public:
    MarquardtRun(App& a, ProgressObserver& p) : app(a), progress(p), e(a.eng), m(a.marq) {}
    void Go();

private:
    enum class Next { Iterate, Done };

    void Panel(int n, const std::string& text) { progress.Panel(n, text); }

    bool SizeArrays();
    double EvaluateTrial() {
        ++e.NF;
        return EvaluateObjective(app, m.MarqPar, e.NF, true);
    }
    // A value that is not a finite number is never an improvement.
    static bool NotWorse(double F, double FBest) { return std::isfinite(F) && F <= FBest; }

    bool PassTop();
    bool Derivatives();
    void KeepDerivatives();
    void FormDampedSystem();
    Next Accept();
    Next VerifyAtConvergence();
    Next VerifyAfterLastTrial();
    Next Restart();
    void Finish();
    void StopAtLimit();
    void Frustration();
    void ZeroValueError();
    void End();

    App& app;
    ProgressObserver& progress;
    EngineState& e;
    MarquardtState& m;
    double F = 0, FBest = 0;
    double lambda = kLambdaStart;
    double increment = 0.001;
    int trial = 0;
    int verifications = 0;
    bool quit = false;
};

// The arrays the run itself uses, for NumPars (the decomposition's for at
// least NFree <= NumPars), so that none is made once the run has begun.
void RunArraySizes(EngineState& e, MarquardtState& m, ArraySizes& sizes) {
    const long n = e.par.NumPars;
    for (platform::Vec<double>* v : {&m.MarqPar, &m.TrialPar, &m.GridPar, &m.LUScale, &m.LUColumn})
        sizes.AtLeast(*v, n);
    sizes.AtLeast(m.LUIndex, n);
    sizes.AtLeast(m.LURHS, n, 1);
    sizes.AtLeast(m.Alpha, n, n);
    sizes.AtLeast(m.LUTrans, n, n);
    sizes.Fit(m.PrevGrad, n);
    sizes.Fit(m.PrevHess, n, n);
}

void TellNoMemoryForMarquardt(App& app) {
    TellNotEnoughMemory(app, "this Marquardt minimization", "Marquardt minimization");
}

bool MarquardtRun::SizeArrays() {
    const long n = e.par.NumPars;
    ArraySizes sizes;
    RunArraySizes(e, m, sizes);
    sizes.AtLeast(e.HessMat, n, n);
    sizes.AtLeast(e.MarqBeta, n);
    if (e.DerivMethod == "N") sizes.AtLeast(e.GridNegLnL, n, n, 2);
    if (e.DerivMethod == "A") {
        sizes.AtLeast(e.AnaGrad, n);
        sizes.AtLeast(e.AnaHess, n, n);
    }
    if (sizes.Commit()) return true;
    TellNoMemoryForMarquardt(app);
    return false;
}

// Top of a trial pass: the trial line and the interrupt. False when the run
// is to end at once.
bool MarquardtRun::PassTop() {
    Panel(3, "Working to improve estimates. Objective function for trial # " + platform::CStr(trial) +
                 ", is : " + platform::Format(F, " 0.00000E+00"));
    if (progress.GoOn({m.NIter, e.NF, FBest})) return true;
    progress.Interruptible(true);
    Panel(2, "");
    switch (AskAfterInterrupt(app, "Marquardt interrupt")) {
    case InterruptAnswer::Quit:
        quit = true;
        Panel(1, "Interrupt will occur once this iteration is complete");
        return true;
    case InterruptAnswer::GoOn:
        quit = false;
        return true;
    default:   // the profile is left, or goes on with its next point
        return false;
    }
}

// Derivatives at the current best point. False (the run has ended) when
// analytical derivatives were chosen and the model supplies none; this is
// checked at every computation, so stale derivatives are never reused.
bool MarquardtRun::Derivatives() {
    Panel(3, "Calculating derivatives, one moment please...");
    if (e.DerivMethod == "N") {
        CalcNumericalGradient(app, progress, FBest, increment);
        BuildNumericalHessian(app, FBest, increment);
        return true;
    }
    if (e.AnaGrad.UBound() < e.par.NumPars) e.AnaGrad.ReDim(e.par.NumPars);
    if (e.AnaHess.UBound1() < e.par.NumPars || e.AnaHess.UBound2() < e.par.NumPars)
        e.AnaHess.ReDim(e.par.NumPars, e.par.NumPars);
    GetAnalyticalDerivatives(app);
    if (m.AnaDerivsFound) return true;
    app.ShowMsg("Sorry, analytical derivatives seem not to have been provided",
                platform::vbInformation, "Analytical derivatives missing");
    End();
    return false;
}

// Fresh derivatives: keep alpha for the trials and copies for the display.
void MarquardtRun::KeepDerivatives() {
    const long np = e.par.NumPars;
    const long n = e.free.NFree;
    m.PrevGrad.ReDim(np);
    m.PrevHess.ReDim(np, np);
    for (long a = 1; a <= n; ++a) {
        m.PrevGrad(a) = e.MarqBeta(a);
        for (long b = 1; b <= n; ++b) m.Alpha(a, b) = e.HessMat(a, b);
        for (long b = a; b <= n; ++b) m.PrevHess(a, b) = e.HessMat(a, b);
    }
}

void MarquardtRun::FormDampedSystem() {
    const long n = e.free.NFree;
    for (long i = 1; i <= n; ++i) {
        for (long j = 1; j <= n; ++j) e.HessMat(i, j) = m.Alpha(i, j);
        e.HessMat(i, i) = std::fabs(m.Alpha(i, i)) * (1 + lambda);
        m.LURHS(i, 1) = e.MarqBeta(i);
    }
}

void MarquardtRun::Go() {
    if (!SizeArrays()) return;   // nothing shown or changed
    progress.Begin(false);
    Panel(1, "Initial function call, one moment please...");
    app.ui.DoEvents();

    e.NF = 0;
    m.NIter = 0;
    verifications = 0;
    for (long i = 1; i <= e.par.NumPars; ++i) m.MarqPar(i) = e.par.ParValue(i);
    F = EvaluateTrial();
    FBest = F;

    quit = false;
    progress.Interruptible(true);
    Panel(2, "");
    Panel(1, "");

    trial = 0;
    if (!PassTop()) return End();
    lambda = kLambdaStart;
    if (!Derivatives()) return;

    const long n = e.free.NFree;
    const auto& fi = e.free.FreeIndex;
    for (;;) {
        if (trial == 0) KeepDerivatives();
        if (lambda > kLambdaLimit) return Frustration();
        FormDampedSystem();
        m.LUFailed = 0;
        LUDecompose(app, n);
        if (m.LUFailed == 1) {
            progress.Close();
            return End();
        }
        LUBackSubstitute(app, n, 1, m.LURHS);
        // The fixed entries are taken afresh as well: the model may have
        // clamped them in place at the last trial.
        for (long i = 1; i <= e.par.NumPars; ++i) m.MarqPar(i) = e.par.ParValue(i);
        for (long j = 1; j <= n; ++j) m.MarqPar(fi(j)) = e.free.FreeValue(j) - m.LURHS(j, 1);

        if (trial == kMaxTrials) {
            if (VerifyAfterLastTrial() == Next::Done) return;
            continue;
        }
        ++trial;
        if (!PassTop()) return End();
        F = EvaluateTrial();
        if (NotWorse(F, FBest)) {
            if (Accept() == Next::Done) return;
        } else {
            lambda *= 10;
        }
    }
}

MarquardtRun::Next MarquardtRun::Accept() {
    ++m.NIter;
    trial = 0;
    const long n = e.free.NFree;
    const auto& fi = e.free.FreeIndex;
    for (long k = 1; k <= n; ++k) {
        e.par.ParValue(fi(k)) = m.MarqPar(fi(k));
        e.free.FreeValue(k) = m.MarqPar(fi(k));
    }
    // The iteration's report may pause for the step buttons: a run whose
    // data or parameter set changed meanwhile backs out at once.
    const std::uint64_t generation = e.Generation;
    ShowMarquardtIteration(app, progress, F, FBest);
    app.ui.DoEvents();
    if (e.Generation != generation) return Next::Done;
    if (e.opt.FileFreq > 0) LogMarquardtIteration(app, F, FBest);

    const double tol = e.opt.ConvTol;
    bool converged = false;
    if (tol > 0) {
        converged = std::fabs(FBest - F) < tol;
    } else if (tol < 0) {
        if (FBest == 0) {
            ZeroValueError();
            return Next::Done;
        }
        converged = std::fabs((FBest - F) / FBest) <= std::fabs(tol);
    }
    if (converged) return VerifyAtConvergence();

    if (quit || m.NIter == e.opt.MaxCalls) {
        StopAtLimit();
        return Next::Done;
    }
    FBest = F;
    if (!Derivatives()) return Next::Done;
    lambda *= 0.1;
    return Next::Iterate;
}

MarquardtRun::Next MarquardtRun::VerifyAtConvergence() {
    Panel(1, "Verifying convergence by performing an axial search");
    int rejected = 0;
    MarquardtAxialSearch(app, progress, FBest, rejected);
    ++verifications;
    if (!rejected) {
        Finish();
        return Next::Done;
    }
    if (verifications >= kMaxVerifications) {
        Frustration();
        return Next::Done;
    }
    if (quit) {
        End();
        return Next::Done;
    }
    return Restart();
}

MarquardtRun::Next MarquardtRun::VerifyAfterLastTrial() {
    for (long i = 1; i <= e.par.NumPars; ++i) m.MarqPar(i) = e.par.ParValue(i);
    if (e.opt.ConvTol < 0 && FBest == 0) {
        ZeroValueError();
        return Next::Done;
    }
    Panel(1, "Verifying convergence by performing an axial search");
    int rejected = 0;
    MarquardtAxialSearch(app, progress, FBest, rejected);
    ++verifications;
    if (!rejected || verifications >= kMaxVerifications) {
        Frustration();
        return Next::Done;
    }
    if (quit) {
        progress.Close();
        End();
        return Next::Done;
    }
    return Restart();
}

MarquardtRun::Next MarquardtRun::Restart() {
    Panel(1, "Convergence rejected");
    Panel(3, "Calculating derivatives, one moment please...");
    lambda = kLambdaStart;
    trial = 0;
    const long n = e.free.NFree;
    const auto& fi = e.free.FreeIndex;
    for (long k = 1; k <= n; ++k) {
        e.free.FreeValue(k) = m.MarqPar(fi(k));
        e.par.ParValue(fi(k)) = m.MarqPar(fi(k));
    }
    return Derivatives() ? Next::Iterate : Next::Done;
}

void MarquardtRun::Finish() {
    FBest = EvaluateObjective(app, m.MarqPar, 1, true);
    progress.Reopen();
    progress.Interruptible(false);
    if (app.sw.MLOn != "on") {
        ShowMarquardtMinimum(app, progress, FBest);
        if (e.opt.FileFreq > 0) LogMarquardtMinimum(app, FBest);
    } else {
        StoreProfilePoint(app, FBest);
    }
    End();
}

void MarquardtRun::StopAtLimit() {
    progress.Reopen();   // this end leaves the window open
    Panel(2, "");
    Panel(3, "");
    app.ShowMsg("Maximum number of iterations reached or an interrupt was received", platform::vbInformation,
                "Marquart minimization stopped");
    End();
}

void MarquardtRun::Frustration() {
    Panel(1, "");
    Panel(3, "");
    const std::string text = std::string("Consider that:") + "\r\n" +
                             "      (1) you're already at an acceptable minimum,\r\n"
                             "      (2) at least one parameter is too near a boundary,\r\n"
                             "      (3) at least one parameter is dead wrt the likelihood function,\r\n"
                             "      (4) a penalty function is affecting performance of the derivatives or "
                             "parameter improvements,\r\n"
                             "      (5) there are numerical inaccuracies near the current minimum, or\r\n"
                             "      (6) the model, or its implementation, is flawed";
    app.ShowMsg(text, platform::vbInformation, "Marquardt quits in frustration");
    progress.Close();
    End();
}

// A relative tolerance measured from an objective of exactly 0: told as the
// Simplex tells it; ParValue keeps the best point accepted.
void MarquardtRun::ZeroValueError() {
    app.ShowMsg(ZeroValueMessage(), platform::vbCritical + platform::vbInformation, "Marquardt error");
    End();
}

void MarquardtRun::End() {
    progress.Interruptible(false);   // nothing is left to interrupt
    for (int p = 1; p <= 4; ++p) Panel(p, "");
    app.ui.DoEvents();
}

}  // namespace

void MarquardtMinimize(App& app, ProgressObserver& progress) {
    MarquardtRun run(app, progress);
    run.Go();
}

bool SizeMarquardtArrays(App& app) {
    EngineState& e = app.eng;
    const int n = e.par.NumPars;
    ArraySizes sizes;
    sizes.Set(e.InvWork, n, n);
    sizes.Set(e.HessMat, n, n);
    sizes.Set(e.MarqBeta, n);
    if (e.DerivMethod == "N") sizes.Set(e.GridNegLnL, n, n, 2);
    if (e.DerivMethod == "A") {
        sizes.Set(e.AnaHess, n, n);
        sizes.Set(e.AnaGrad, n);
    }
    RunArraySizes(e, app.marq, sizes);
    sizes.Then([&e] { ++e.Generation; });
    if (sizes.Commit()) return true;
    TellNoMemoryForMarquardt(app);
    return false;
}

}  // namespace tivelor
