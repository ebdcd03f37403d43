// Derivatives of the objective for the Marquardt driver, and its axial
// verification of a converged point.
#include <cmath>

#include "engine/Marquardt.h"
#include "engine/Objective.h"
#include "engine/Parameters.h"
#include "engine/Progress.h"
#include "engine/ProgressText.h"
#include "platform/runtime.h"
#include "state/App.h"

namespace tivelor {

namespace {

// Increment of free parameter a: relative to its value, carrying its sign.
double Increment(App& app, long a, double h) {
    const double v = app.eng.free.FreeValue(a);
    return v == 0 ? h : v * h;
}

}  // namespace

void GetAnalyticalDerivatives(App& app) {
    EngineState& e = app.eng;
    MarquardtState& m = app.marq;
    EvaluateObjective(app, e.par.ParValue, -2, false);
    app.ui.DoEvents();

    const long n = e.free.NFree;
    const auto& fi = e.free.FreeIndex;
    m.AnaDerivsFound = platform::False;
    // Arrays the model did not size supply nothing.
    long top = 0;
    for (long a = 1; a <= n; ++a) top = std::max<long>(top, fi(a));
    if (e.AnaHess.UBound1() < top || e.AnaHess.UBound2() < top || e.AnaGrad.UBound() < top) return;
    for (long a = 1; a <= n && !m.AnaDerivsFound; ++a)
        for (long b = a; b <= n; ++b)
            if (e.AnaHess(fi(a), fi(b)) != 0) {
                m.AnaDerivsFound = platform::True;
                break;
            }
    if (!m.AnaDerivsFound) return;
    for (long a = 1; a <= n; ++a) {
        for (long b = 1; b <= n; ++b) e.HessMat(a, b) = e.AnaHess(fi(a), fi(b));
        e.MarqBeta(a) = e.AnaGrad(fi(a));
    }
}

void CalcNumericalGradient(App& app, ProgressObserver& progress, double& F0, double& h) {
    EngineState& e = app.eng;
    MarquardtState& m = app.marq;
    const long n = e.free.NFree;
    const auto& fi = e.free.FreeIndex;
    const long total = (n + 1) * n;
    const bool profile = app.sw.MLOn != "off";
    long count = 0;
    double prev = 0;

    if (m.GridPar.UBound() < e.par.NumPars) m.GridPar.ReDim(e.par.NumPars);
    for (long a = 1; a <= n; ++a) {
        for (long b = a; b <= n; ++b) {
            for (int s = 1; s <= 2; ++s) {
                const double da = Increment(app, a, h);
                const double db = Increment(app, b, h);
                // Every point is built afresh, fixed entries included: the
                // model may have clamped them in place at the last point.
                for (long i = 1; i <= e.par.NumPars; ++i) m.GridPar(i) = e.par.ParValue(i);
                for (long k = 1; k <= n; ++k) m.GridPar(fi(k)) = e.free.FreeValue(k);
                m.GridPar(fi(a)) += da;
                if (b != a) m.GridPar(fi(b)) += db;
                ++e.NF;
                if (!profile) {
                    ++count;
                    progress.Panel(1, "Hessian function call " + platform::Format(static_cast<double>(count), "###0") +
                                      " of " + platform::Format(static_cast<double>(total), "###0"));
                    app.ui.DoEvents();
                }
                m.FMin = EvaluateObjective(app, m.GridPar, e.NF, true);
                if (b == a && s == 2) e.MarqBeta(a) = -((F0 - m.FMin) + prev) / (da + da);
                prev = m.FMin - F0;
                e.GridNegLnL(a, b, s) = m.FMin;
                h = -h;
            }
        }
    }
}

void BuildNumericalHessian(App& app, double& F0, double& h) {
    EngineState& e = app.eng;
    const long n = e.free.NFree;
    auto P = [&](long a, long b) { return e.GridNegLnL(a, b, 1) - F0; };
    auto M = [&](long a, long b) { return e.GridNegLnL(a, b, 2) - F0; };
    for (long a = 1; a <= n; ++a) {
        const double da = Increment(app, a, h);
        for (long b = a; b <= n; ++b) {
            const double db = Increment(app, b, h);
            if (b == a)
                e.HessMat(a, a) = (P(a, a) + M(a, a)) / (da * da);
            else
                e.HessMat(a, b) = (P(a, b) + M(a, b) - P(a, a) - M(a, a) - P(b, b) - M(b, b)) / ((da + da) * db);
            e.HessMat(b, a) = e.HessMat(a, b);
        }
        app.ui.DoEvents();
    }
}

void MarquardtAxialSearch(App& app, ProgressObserver& progress, double& FRef, int& Rejected) {
    EngineState& e = app.eng;
    MarquardtState& m = app.marq;
    const double tol = e.opt.ConvTol;
    const long total = 2 * e.free.NFree;
    progress.Panel(4, "");
    double best = FRef;
    long failing = 0;
    long count = 0;
    Rejected = platform::False;
    if (m.TrialPar.UBound() < e.par.NumPars) m.TrialPar.ReDim(e.par.NumPars);

    for (long i = 1; i <= e.par.NumPars; ++i) {
        if (e.par.StepSize(i) == 0) continue;
        for (int sign : {1, -1}) {
            for (long k = 1; k <= e.par.NumPars; ++k) m.TrialPar(k) = e.par.ParValue(k);
            m.TrialPar(i) = m.MarqPar(i) + sign * e.opt.StepReduction * e.par.StepSize(i);
            const double Ft = EvaluateObjective(app, m.TrialPar, 1, true);
            ++count;
            bool improving = false;
            if (std::isfinite(Ft) && Ft < FRef) {
                if (tol > 0) improving = std::fabs(FRef - Ft) > tol;
                // A zero reference has no relative change: never improving.
                else if (tol < 0 && FRef != 0) improving = std::fabs((FRef - Ft) / FRef) > std::fabs(tol);
            }
            progress.Panel(3, AxialCallText(count, total));
            if (improving) {
                if (Ft < best) {
                    best = Ft;
                    failing = sign * i;
                }
                Rejected = platform::True;
                progress.Panel(4, "Last failure of convergence verification caused by parameter # " +
                                  platform::CStr(std::labs(failing)));
            }
            app.ui.DoEvents();
        }
    }
    progress.Panel(3, "");
    if (Rejected) {
        const long p = std::labs(failing);
        const double sign = failing < 0 ? -1 : 1;
        m.MarqPar(p) += sign * e.opt.StepReduction * e.par.StepSize(p);
        e.par.ParValue(p) = m.MarqPar(p);
        FRef = best;
    }
    ApplyFusedParameters(app, m.MarqPar);
}

}  // namespace tivelor
