#include <cmath>
#include <limits>

#include "engine/Objective.h"
#include "engine/Simplex.h"
#include "state/App.h"

namespace tivelor {

namespace {

// Fills TrialPar from ParValue and the free coordinates, raises NF and
// evaluates.
template <class Coord>
double EvaluateAt(App& app, Coord coord) {
    EngineState& eng = app.eng;
    SimplexState& s = app.simplex;
    const int numPars = eng.par.NumPars;
    for (int p = 1; p <= numPars; ++p) s.TrialPar(p) = eng.par.ParValue(p);
    for (long j = 1; j <= eng.free.NFree; ++j) s.TrialPar(eng.free.FreeIndex(j)) = coord(j);
    ++eng.NF;
    double f = EvaluateObjective(app, s.TrialPar, eng.NF, true);
    return std::isfinite(f) ? f : std::numeric_limits<double>::infinity();
}

}  // namespace

double EvaluateSimplexVertex(App& app, int v) {
    const platform::Matrix<double>& S = app.eng.Simplex;
    return EvaluateAt(app, [&](long j) { return S(j, v); });
}

double EvaluateSimplexPoint(App& app, const platform::Vec<double>& point) {
    return EvaluateAt(app, [&](long j) { return point(j); });
}

void CopyFirstVertex(EngineState& eng) {
    platform::Matrix<double>& S = eng.Simplex;
    const long n = eng.free.NFree;
    for (long v = 2; v <= n + 1; ++v)
        for (long i = 1; i <= n; ++i) S(i, v) = S(i, 1);
}

void InitialSimplex(App& app) {
    platform::Matrix<double>& S = app.eng.Simplex;
    SimplexState& s = app.simplex;
    const long n = app.eng.free.NFree;
    s.SimplexF(1) = EvaluateSimplexVertex(app, 1);
    CopyFirstVertex(app.eng);
    for (long v = 2; v <= n + 1; ++v) {
        S(v - 1, v) = app.eng.free.FreeStep(v - 1) + S(v - 1, v);
        s.SimplexF(v) = EvaluateSimplexVertex(app, static_cast<int>(v));
    }
    SimplexRankAndCentroid(app.eng, app.simplex);
}

void StoreSimplexVertex(EngineState& eng, SimplexState& s, platform::Vec<double>& Point, double Value) {
    platform::Matrix<double>& S = eng.Simplex;
    for (long i = 1; i <= eng.free.NFree; ++i) S(i, s.IHi) = Point(i);
    s.SimplexF(s.IHi) = Value;
}

void SimplexRankAndCentroid(EngineState& eng, SimplexState& s) {
    platform::Matrix<double>& S = eng.Simplex;
    const long n = eng.free.NFree;
    s.ILo = 1;
    s.IHi = 1;
    for (int v = 2; v <= n + 1; ++v) {
        if (s.SimplexF(v) < s.SimplexF(s.ILo))
            s.ILo = v;
        else if (s.SimplexF(v) > s.SimplexF(s.IHi))
            s.IHi = v;
    }
    for (long i = 1; i <= n; ++i) {
        double c = -S(i, s.IHi);
        for (long v = 1; v <= n + 1; ++v) c += S(i, v);
        S(i, s.ICen) = c / static_cast<double>(n);
    }
}

void SimplexMove(App& app) {
    platform::Matrix<double>& S = app.eng.Simplex;
    SimplexState& s = app.simplex;
    const long n = app.eng.free.NFree;
    const int cen = s.ICen;

    // Reflection of the worst vertex through the centroid.
    for (long i = 1; i <= n; ++i) s.WorkVertex(i) = S(i, cen) + S(i, cen) - S(i, s.IHi);
    const double fr = EvaluateSimplexPoint(app, s.WorkVertex);
    s.NBetter = 0;
    for (long v = 1; v <= n + 1; ++v)
        if (fr < s.SimplexF(v)) ++s.NBetter;

    s.SimplexAction = kActReflection;
    if (s.NBetter == n + 1) {
        for (long i = 1; i <= n; ++i)
            s.ExtVertex(i) = (-1 * S(i, cen)) + (s.WorkVertex(i) + s.WorkVertex(i));
        const double fe = EvaluateSimplexPoint(app, s.ExtVertex);
        if (fe < fr) {
            StoreSimplexVertex(app.eng, app.simplex, s.ExtVertex, fe);
            s.SimplexAction = kActExtension;
        } else {
            StoreSimplexVertex(app.eng, app.simplex, s.WorkVertex, fr);
        }
        return;
    }
    if (s.NBetter >= 2) {
        StoreSimplexVertex(app.eng, app.simplex, s.WorkVertex, fr);
        return;
    }
    if (s.NBetter == 1)
        StoreSimplexVertex(app.eng, app.simplex, s.WorkVertex, fr);
    else
        s.SimplexAction = "";

    // Contraction of the current worst column towards the centroid.
    for (long i = 1; i <= n; ++i) s.WorkVertex(i) = S(i, cen) * 0.5 + S(i, s.IHi) * 0.5;
    const double fc = EvaluateSimplexPoint(app, s.WorkVertex);
    const bool afterReflection = s.SimplexAction == kActReflection;
    if (fc < s.SimplexF(s.IHi)) {
        StoreSimplexVertex(app.eng, app.simplex, s.WorkVertex, fc);
        s.SimplexAction = afterReflection ? kActReflContraction : kActContraction;
        return;
    }

    // Reduction of every vertex halfway towards the best one.
    s.SimplexAction = afterReflection ? kActReflReduction : kActReduction;
    const int lo = s.ILo;
    for (int v = 1; v <= n + 1; ++v) {
        if (v == lo) continue;
        for (long i = 1; i <= n; ++i) S(i, v) = (S(i, v) - S(i, lo)) * 0.5 + S(i, lo);
        s.SimplexF(v) = EvaluateSimplexVertex(app, v);
    }
}

}  // namespace tivelor
