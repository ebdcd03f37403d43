// One covariance grid: the objective around the centre, the Hessian by
// central second differences, the positive-definiteness test and the
// inverse stored as covariances, standard errors and determinants.
#include <cmath>
#include <limits>

#include "app/App.h"
#include "engine/Objective.h"
#include "engine/ProgressText.h"
#include "evaluation/Covariance.h"
#include "evaluation/frmCovData.h"
#include "numerics/Cholesky.h"
#include "numerics/GridHessian.h"
#include "platform/runtime.h"
#include "shell/frmMain.h"

namespace tivelor {

namespace {

using platform::vbCrLf;

// Status texts are written at most this often (seconds), and at a grid's
// first and last point.
constexpr double kShowInterval = 0.05;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void NotPositiveDefinite(App& app) {
    const std::string pad(18, ' ');
    AppendCovData(app,
                  std::string("Sorry, this Hessian matrix is not positive-definite; a valid covariance matrix cannot be "
                              "created.") +
                      vbCrLf + vbCrLf +
                      "Possible reasons: (1) you're not at a tight enough global minimum, or you're at a local "
                      "minimum" +
                      vbCrLf + pad +
                      "(2) your model contains statistically dead parameters, i.e., the -ln[L] versus a parameter is "
                      "flat" +
                      vbCrLf + pad +
                      "(3) there is at least one parameter pair that is very highly correlated (e.g., ABS(rho) > "
                      "0.99)" +
                      vbCrLf + pad +
                      "(4) the likelihood profile is dramatically asymmetrical, perhaps due to a penalty function" +
                      vbCrLf +
                      "It might help you to know that the test for positive-definitiveness failed at parameter # " +
                      platform::CStr(app.eval.NotPosDefPar) + vbCrLf + vbCrLf);
}

std::string DeterminantText(double lnValue) {
    const std::optional<double> v = numerics::ExpIfRepresentable(lnValue);
    return v ? FormatE7(*v) : std::string("Undefined");
}

}  // namespace

void CalcGridLikelihoods(App& app, double& Factor, double& Mean, double& SD, int GridNum, int NGrids) {
    EvalState& ev = app.eval;
    EngineState& eng = app.eng;
    platform::StatusBar& bar = app.form<frmMain>().stbMain5;
    const int n = eng.par.NumPars;
    const long NEst = ev.NEst;

    Mean = 0;
    SD = 0;
    const double total = static_cast<double>(NEst) * (NEst + 1);
    const double R = (NGrids - GridNum + 1) * total;
    const double t0 = app.ui.clock.Monotonic();
    double lastShown = -1E300;
    AppendCovData(app, std::string(vbCrLf) + "Now calculating -ln[likelihood] on grid #" + platform::CStr(GridNum) + vbCrLf);

    numerics::GridDeviations stats;
    long m = 0;
    const std::string ofTotal = " of " + platform::Format(total, "###0");
    for (int i = 1; i <= n; ++i) {
        if (ev.CovStep(i) == 0) continue;
        for (int j = i; j <= n; ++j) {
            if (ev.CovStep(j) == 0) continue;
            const int a = ev.CovSlot(i), b = ev.CovSlot(j);
            for (int point = 1; point <= 2; ++point) {
                ++m;
                const bool show =
                    m == 1 || m == static_cast<long>(total) || app.ui.clock.Monotonic() - lastShown >= kShowInterval;
                if (show) bar.SetPanel(1, "Hessian function call " + platform::Format(m, "###0") + ofTotal);
                app.ui.DoEvents();

                ev.GridPar = ev.CovCentre;
                ev.GridPar(i) += ev.CovStep(i) * Factor;
                if (j != i) ev.GridPar(j) += ev.CovStep(j) * Factor;
                double F;
                if (app.sw.OptimisticSEs && a != b)
                    F = ev.FMin;
                else
                    F = EvaluateObjective(app, ev.GridPar, 1, true);

                if (app.sw.InterruptCov) {
                    app.sw.InterruptCov = platform::False;
                    CovDataWindow(app).cmdStop.Enabled = true;
                    if (app.ShowMsg("Interrupt received. Do you want to quit calculating this grid?",
                                    platform::vbYesNo + platform::vbQuestion,
                                    "Covariance calculations") == platform::vbYes) {
                        ev.GridQuit = "true";
                        Mean = -1.0;
                        SD = -1.0;
                        for (int p = 0; p <= eng.CovStore.UBound1(); ++p)
                            for (int q = 0; q <= eng.CovStore.UBound2(); ++q) eng.CovStore(p, q, GridNum) = -1.0;
                        ev.CovLnDet(GridNum) = kNaN;
                        ev.CovLnVarProd(GridNum) = kNaN;
                        return;
                    }
                }
                stats.Add(F - ev.FMin);
                eng.GridNegLnL(a, b, point) = F;
                Factor = -Factor;

                if (show) {
                    const double now = app.ui.clock.Monotonic();
                    const double left = (now - t0) / static_cast<double>(m) * (R - static_cast<double>(m));
                    bar.SetPanel(2, "Estimated time remaining for all three grids (m:s): " + MinutesSeconds(left));
                    lastShown = now;
                }
                app.ui.DoEvents();
            }
        }
    }

    Mean = stats.Mean(ev.FMin);
    SD = stats.SignedSD();
    // A value that is not finite is reported as not available.
    if (!std::isfinite(Mean)) Mean = -1.0;
    if (!std::isfinite(SD)) SD = -1.0;
    const double r = eng.RecipLnLConst;
    AppendCovData(app, "Average: " + FormatE7(Mean / r) + "; Standard deviation: " + FormatE7(SD / r) + vbCrLf +
                           "Now calculating Hessian matrix #" + platform::CStr(GridNum) + vbCrLf);
}

void BuildGridHessian(App& app, double& Factor) {
    EvalState& ev = app.eval;
    EngineState& eng = app.eng;
    const int n = eng.par.NumPars;
    eng.HessMat.ReDim(eng.free.NFree, eng.free.NFree);
    const double F0 = ev.FMin;
    auto g = [&](int c, int p) { return eng.GridNegLnL(c, c, p) - F0; };
    for (int i = 1; i <= n; ++i) {
        if (ev.CovStep(i) == 0) continue;
        for (int j = i; j <= n; ++j) {
            if (ev.CovStep(j) == 0) continue;
            const int a = ev.CovSlot(i), b = ev.CovSlot(j);
            const double gpp = eng.GridNegLnL(a, b, 1) - F0, gmm = eng.GridNegLnL(a, b, 2) - F0;
            if (i == j)
                eng.HessMat(a, a) = numerics::DiagonalSecondDifference(gpp, gmm, ev.CovStep(i) * Factor);
            else if (!app.sw.OptimisticSEs)
                eng.HessMat(a, b) = numerics::CrossSecondDifference(gpp, gmm, g(a, 1), g(a, 2), g(b, 1), g(b, 2),
                                                                    Factor, ev.CovStep(i), ev.CovStep(j));
            eng.HessMat(b, a) = eng.HessMat(a, b);
        }
    }
}

void CholeskyDecompose(App& app) {
    EvalState& ev = app.eval;
    EngineState& eng = app.eng;
    const long n = ev.NEst;
    if (eng.CholFactor.UBound1() < n || eng.CholFactor.UBound2() < n) eng.CholFactor.ReDim(n, n);
    if (ev.CholDiag.UBound() < n) ev.CholDiag.ReDim(n);
    ev.NotPosDef = 0;
    const long row = numerics::CholeskyFactor(eng.HessMat, eng.CholFactor, ev.CholDiag, n);
    if (row != 0) {
        ev.NotPosDef = 1;
        ev.NotPosDefPar = ev.CovIndex(row);
    }
}

void InvertHessian(App& app) {
    EvalState& ev = app.eval;
    EngineState& eng = app.eng;
    const int g = ev.GridNum;
    const long n = ev.NEst;
    for (long i = 0; i <= n; ++i)
        for (long j = 0; j <= n; ++j) eng.CovStore(i, j, g) = -1.0;
    ev.CovLnDet(g) = kNaN;
    ev.CovLnVarProd(g) = kNaN;

    CholeskyDecompose(app);
    if (ev.NotPosDef == 1) return NotPositiveDefinite(app);

    AppendCovData(app, "Now inverting Hessian matrix #" + platform::CStr(g) + vbCrLf);
    if (eng.InvWork.UBound1() < n || eng.InvWork.UBound2() < n) eng.InvWork.ReDim(n, n);
    double lnDetInverse = 0;
    numerics::CholeskyInverse(eng.CholFactor, ev.CholDiag, n, eng.HessMat, eng.InvWork, lnDetInverse);
    ev.Determinant = numerics::ExpIfRepresentable(lnDetInverse).value_or(0);
    const double r = eng.RecipLnLConst;
    for (long i = 1; i <= n; ++i)
        for (long j = 1; j <= n; ++j) {
            eng.HessMat(i, j) *= r;
            // A pivot so small that the inverse overflows: no covariances.
            if (!std::isfinite(eng.HessMat(i, j))) {
                ev.NotPosDef = 1;
                ev.NotPosDefPar = ev.CovIndex(i);
                return NotPositiveDefinite(app);
            }
        }
    // Sums of logarithms: with hundreds of parameters the products overflow.
    const double lnDet = static_cast<double>(n) * std::log(r) + lnDetInverse;
    AppendCovData(app, "Determinant of covariance matrix: " + DeterminantText(lnDet) + vbCrLf + vbCrLf);

    double lnVarProd = 0;
    for (long a = 1; a <= n; ++a) {
        const double v = eng.HessMat(a, a);
        if (v != 0) eng.CovStore(0, a, g) = numerics::SignedRoot(v);
        lnVarProd += std::log(std::fabs(v));
    }
    eng.CovStore(0, 0, g) = numerics::ExpIfRepresentable(lnDet).value_or(-1.0);
    eng.CovStore(1, 0, g) = numerics::ExpIfRepresentable(lnVarProd).value_or(-1.0);
    ev.CovLnDet(g) = lnDet;
    ev.CovLnVarProd(g) = lnVarProd;
    for (long a = 1; a <= n; ++a)
        for (long b = 1; b <= n; ++b) {
            eng.CovStore(a, b, g) = eng.HessMat(a, b);
            eng.CovStore(b, a, g) = eng.HessMat(a, b);
        }
}

}  // namespace tivelor
