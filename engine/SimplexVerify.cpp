#include <cmath>

#include "engine/ProgressText.h"
#include "engine/Simplex.h"
#include "platform/runtime.h"
#include "app/App.h"
#include "shell/frmSimplex.h"

namespace tivelor {

using platform::CStr;
using platform::Format;

void SimplexAxialSearch(App& app, double FBest, int& FailPar, int& Failed) {
    EngineState& eng = app.eng;
    SimplexState& s = app.simplex;
    platform::Matrix<double>& S = eng.Simplex;
    const double R = eng.opt.StepReduction;
    const double tol = eng.opt.ConvTol;
    const long n = eng.free.NFree;
    const int lo = s.ILo;

    ProgressPanel(app, 3, "");
    Failed = platform::False;
    // The relative margin is measured on the magnitude of the best value, so
    // that a negative objective is not held to a margin below itself.
    double M = 0;
    if (tol > 0)
        M = tol;
    else if (tol < 0)
        M = -tol * std::fabs(FBest);

    const long m = 2 * n;
    long probes = 0;
    s.AxialStart = app.ui.clock.Monotonic();
    auto probe = [&]() {
        const double ft = EvaluateSimplexVertex(app, lo);
        ++probes;
        if (ft < FBest - M) return false;
        // The count and the time left go where the main window keeps them.
        ProgressPanel(app, 3, AxialCallText(probes, m));
        const double elapsed = app.ui.clock.Monotonic() - s.AxialStart;
        ProgressPanel(app, 2, "Estimated time remaining (m:s): " +
                                 MinutesSeconds(elapsed / static_cast<double>(probes) *
                                                static_cast<double>(m - probes)));
        return true;
    };

    for (long i = 1; i <= n; ++i) {
        // Probes are taken from the kept coordinate, which is put back
        // exactly: the best vertex must still be the point its value is of.
        const double at = S(i, lo);
        const double step = R * eng.free.FreeStep(i);
        S(i, lo) = at + step;
        bool ok = probe();
        if (ok) {
            S(i, lo) = at - step;
            ok = probe();
        }
        if (!ok) {
            for (long r = 1; r <= eng.par.NumPars; ++r) s.WorkVertex(r) = S(r, lo);
            Failed = platform::True;
            FailPar = eng.free.FreeIndex(i);
            break;
        }
        S(i, lo) = at;
    }
    ProgressPanel(app, 2, " ");
}

void VerifySimplexMinimum(App& app, int& Done) {
    EngineState& eng = app.eng;
    SimplexState& s = app.simplex;
    platform::Matrix<double>& S = eng.Simplex;
    const long n = eng.free.NFree;

    ProgressPanel(app, 1, "Verifying convergence by performing an axial search");
    int failPar = 0, failed = 0;
    SimplexAxialSearch(app, s.SimplexF(s.ILo), failPar, failed);
    ProgressPanel(app, 1, "");

    if (failed) {
        ++s.NRestarts;
        if (s.NRestarts > 1) ProgressPanel(app, 4, "Multiple restarts indicate a tuning problem!");
        ProgressPanel(app, 3, "Last failure of convergence verification caused by parameter # " +
                                 CStr(failPar));
        for (long i = 1; i <= n; ++i) S(i, 1) = s.WorkVertex(i);
        s.SimplexF(1) = EvaluateSimplexVertex(app, 1);
        const double R = eng.opt.StepReduction;
        for (long v = 2; v <= n + 1; ++v) {
            S(v - 1, v) = R * eng.free.FreeStep(v - 1) + S(v - 1, v);
            s.SimplexF(v) = EvaluateSimplexVertex(app, static_cast<int>(v));
        }
        SimplexRankAndCentroid(app);
        return;
    }

    if (app.sw.MLOn == "on") {
        DrawSimplexProgress(app);
        StoreProfilePoint(app, s.SimplexF(s.ILo));
        Done = 1;
        s.Confirmed = true;
        return;
    }

    // The minimum report, on screen and in the log; it replaces any progress
    // display not yet drawn.
    s.ShowPending = false;
    app.msg.NumFormat = "0.0000000E+00";
    const std::string minLine = MinimumLine(s.SimplexF(s.ILo), n);
    const std::string countLine = "This result required " + CStr(s.NIter) + " iterations, " +
                                  CStr(eng.NF) + " function calls, and " + CStr(s.NRestarts) +
                                  " restarts";
    std::string text = "\r\n" + minLine + "\r\n\r\n";
    for (long i = 1; i <= n; ++i) text += ScreenParameterLine(app, eng.free.FreeIndex(i), S(i, s.ILo));
    text += "\r\n" + countLine + "\r\n";
    if (frmSimplex* w = SimplexWindow(app)) w->rtbSimplex.Text = text;

    if (eng.opt.FileFreq != 0) {
        LogLine(app, "");
        LogLine(app, "");
        LogLine(app, minLine);
        LogLine(app, "");
        const int lo = s.ILo;
        LogParameterBlock(app, [&](long i) { return S(i, lo); });
        LogLine(app, countLine);
        LogLine(app, "");
    }

    app.ShowMsg("Minimum found using Simplex!", platform::vbCritical + platform::vbInformation, "Simplex minimum");
    eng.InterruptSimplex = platform::False;
    for (int p = 1; p <= 4; ++p) ProgressPanel(app, p, "");
    Done = 1;
    s.Confirmed = true;
}

}  // namespace tivelor
