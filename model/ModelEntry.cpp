// The model entry: set-up, evaluation of F = -2 ln L, and the dispatch to the
// results report and the analytical derivatives.
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <string>

#include "engine/AlgorithmFile.h"
#include "model/InitNumbers.h"
#include "model/Model.h"
#include "model/ModelServices.h"
#include "numerics/CountProb.h"
#include "platform/runtime.h"
#include "state/App.h"
#include "state/Memory.h"

namespace tivelor {

namespace {

using platform::Vec;

inline bool SameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

inline std::size_t Z(long i) { return static_cast<std::size_t>(i); }

// ------------------------------------------------------------------ set-up

bool SetupError(App& app, const std::string& text) {
    app.ShowMsg(text, platform::vbInformation, "Initialization input error");
    return false;
}

// Bytes of the arrays a set-up sizes by species and quadrats.
double SetupArrayBytes(int nSpp, int nQuad) {
    const double spp = nSpp + 1.0, both = 2.0 * nSpp + 1, cols = nQuad + 1.0;
    return both * cols * (sizeof(long) + sizeof(double)) +
           spp * cols * (sizeof(int) + 2 * sizeof(double)) + spp * spp * sizeof(double);
}

// Whether the arrays of this size can be had; says so when they cannot.
bool SetupFitsMemory(App& app, int nSpp, int nQuad) {
    const double need = SetupArrayBytes(nSpp, nQuad);
    const double have = static_cast<double>(platform::PhysicalMemoryBytes());
    if (have == 0 || need < 0.5 * have) return true;
    return SetupError(app, "The arrays for " + platform::CStr(nSpp) + " species in " +
                               platform::CStr(nQuad) + " quadrats need about " +
                               platform::CStr(std::ceil(need / 1048576)) +
                               " MB, more than this computer can give them (" +
                               platform::CStr(std::floor(have / 1048576)) + " MB of memory)");
}

bool Setup(App& app, Vec<double>& P, Vec<double>& StepSize, Vec<std::string>& ParName,
           int& NumPars, long& SampleSize) {
    ModelState& cur = app.model;
    cur.SetupOK = false;
    InitNumbers n;
    if (!ReadInitNumbers(app, cur.Init, n)) return false;
    const int nSpp = n.NSpp, nQuad = n.NQuad;
    const long nQuadHab = n.NQuadHab;
    if (!CheckDataFileShape(app, cur.Init.txtDataFile, nSpp, nQuad)) return false;
    if (!SetupFitsMemory(app, nSpp, nQuad)) return false;

    // Every array of the new model and of its parameter set is made before
    // anything current changes; the current model is not copied.
    ModelState m;
    m.ModelTitle = cur.ModelTitle;
    m.Init = cur.Init;
    m.GuessPars = cur.GuessPars;
    m.ThetaGridRes = cur.ThetaGridRes;
    m.UAGridRes = cur.UAGridRes;
    m.Report = cur.Report;
    m.NSpp = nSpp;
    m.NQuadHab = nQuadHab;
    m.NQuad = nQuad;
    m.LogitThetaLink = cur.Init.chkLogitThetas == 1 ? platform::True : platform::False;
    m.LnUALink = cur.Init.chkLogNs == 1 ? platform::True : platform::False;
    const int numPars = 2 * nSpp;
    m.ShrinkConst = 1.0001;

    Vec<double> newP(numPars), newStep(numPars);
    Vec<std::string> newNames(numPars);
    m.BestPar.ReDim(numPars);
    m.QuadID.ReDim(nQuad);
    m.QuadProb.ReDim(nQuad);
    m.SpName.ReDim(-nSpp, nSpp);
    m.Count.ReDim(nSpp, nQuad);
    m.CumCount.ReDim(nSpp, nQuad);
    m.UniqueCell.ReDim(nSpp, nQuad);
    m.ExpCount.ReDim(nSpp, nQuad);
    m.AccumCurve.ReDim(nQuad);
    m.IncrCurve.ReDim(nQuad);
    m.AccumX.ReDim(nQuad);
    for (Vec<double>* v : {&m.BestDetectProb, &m.ThetaSq, &m.SpTheta, &m.SpUA, &m.BestUA, &m.SpN,
                           &m.BestSpF, &m.DetectProb, &m.ThetaSqFloor, &m.SpMeanCount, &m.SpVarCount,
                           &m.OccupiedFrac})
        v->ReDim(nSpp);
    m.TotAbund.ReDim(nSpp);
    m.CellNegLnP.ReDim(nSpp, nQuad);
    m.JointAbsent.ReDim(nSpp, nSpp);
    ArraySizes sizes;
    ParameterArraySizes(app, sizes, numPars);
    if (!sizes.Made()) throw std::bad_alloc();

    m.DataFile = "";
    if (!cur.Init.txtDataFile.empty()) m.DataFile = cur.Init.txtDataFile;

    long sampleSize = 0;
    if (!ReadDataFile(app, m, newNames, sampleSize)) return false;
    FileTitleFromPath(m.DataFile, m.DataFileTitle);

    // Nothing below allocates.
    m.SetupOK = true;
    cur = std::move(m);
    P = std::move(newP);
    StepSize = std::move(newStep);
    ParName = std::move(newNames);
    NumPars = numPars;
    SampleSize = sampleSize;
    sizes.Commit();
    return true;
}

// -------------------------------------------------------------- evaluation

// Makes the cache fit the model data; a change of the data clears it.
void PrepareCache(ModelState& m) {
    SpeciesEvalCache& c = m.EvalCache;
    const std::size_t ns = Z(m.NSpp) + 1, nq = Z(m.NQuad) + 1;
    bool same = c.Valid.size() == ns && c.QuadProb.size() == nq && c.Totals.size() == ns;
    if (same) {
        for (int j = 1; j <= m.NQuad && same; ++j)
            same = SameBits(c.QuadProb[Z(j)], m.QuadProb(j));
        for (int i = 1; i <= m.NSpp && same; ++i)
            same = SameBits(c.Totals[Z(i)], m.CumCount(i, m.NQuad));
    }
    if (same) return;
    c.Valid.assign(ns, 0);
    c.RawValid.assign(ns, 0);
    for (std::vector<double>* v : {&c.RawTheta, &c.RawUA, &c.KeyTheta, &c.KeyUA, &c.UA, &c.N,
                                   &c.ShrinkRatio, &c.ThetaMin, &c.ThetaSq, &c.SpNegLnL,
                                   &c.DetectProb, &c.LastQuadP, &c.Totals})
        v->assign(ns, 0.0);
    c.QuadProb.assign(nq, 0.0);
    c.LogP.assign(nq, 0.0);
    c.Log1mP.assign(nq, 0.0);
    c.Work.assign(8 * nq, 0.0);
    for (int i = 1; i <= m.NSpp; ++i) c.Totals[Z(i)] = m.CumCount(i, m.NQuad);
    for (int j = 1; j <= m.NQuad; ++j) {
        double p = m.QuadProb(j);
        c.QuadProb[Z(j)] = p;
        // The binomial routine's replacements of 0 and 1.
        if (p == 0) p = 1E-06;
        if (p == 1) p = 0.999999;
        c.LogP[Z(j)] = std::log(p);
        c.Log1mP[Z(j)] = std::log(1 - p);
    }
}

// Ln Gamma that remembers its last argument, for terms that repeat from one
// quadrat to the next.
class RepeatLnG {
public:
    double operator()(double z) {
        if (!held_ || !SameBits(z, z_)) {
            z_ = z;
            lg_ = numerics::LnG(z);
            held_ = true;
        }
        return lg_;
    }

private:
    bool held_ = false;
    double z_ = 0, lg_ = 0;
};

// Sum over the sampled quadrats of -ln p(count) for species i, with its
// detection probability; fills row i of CellNegLnP. Gives exactly what the
// count-probability routines return, sharing the terms that recur.
double SpeciesNegLnL(ModelState& m, int i, double N, double T, double SR, double& detect,
                     double& lastP) {
    using numerics::LnG;
    SpeciesEvalCache& c = m.EvalCache;
    const int NQuad = m.NQuad;
    const bool bb = UsesBetaBinomial(T, SR);
    const std::size_t nq = Z(NQuad) + 1;
    // Per quadrat: a, b, s and Ln Gamma at s and b; the clamped probability
    // of a count of 0 with the full N.
    double* wa = c.Work.data();
    double* wb = wa + nq;
    double* ws = wb + nq;
    double* wLS = ws + nq;
    double* wLB = wLS + nq;
    double* wP = wLB + nq;
    RepeatLnG lgS, lgRS;
    auto shape = [&](int j) {
        const numerics::BetaShape sh = numerics::BetaBinomialShape(c.QuadProb[Z(j)], T);
        wa[j] = sh.a;
        wb[j] = sh.b;
        ws[j] = sh.s;
        wLS[j] = lgS(sh.s);
        wLB[j] = LnG(sh.b);
    };

    // Zero counts with the full N in every quadrat.
    const bool zeroBB = bb && N != 1;
    const double x0 = 0;
    double prod = 1;
    for (int j = 1; j <= NQuad; ++j) {
        double L;
        if (zeroBB) {
            shape(j);
            L = numerics::BetaBinomialLnP(numerics::LnShortCountTerm(N, 0, wa[j]),
                                          LnG(N - x0 + wb[j]), lgRS(N + ws[j]), wLS[j], wLB[j]);
        } else {
            L = numerics::BinomialLnP(numerics::LnShortCountTerm(N, 0, 0), x0, N, c.LogP[Z(j)],
                                      c.Log1mP[Z(j)]);
        }
        wP[j] = ClampQuadP(std::exp(L));
        prod = prod * wP[j];
    }
    detect = 1 - prod;

    // Observed counts given the individuals not yet placed.
    double sum = 0;
    double lastR = 0, lgR1 = 0, lgXp1 = 0, lgRX1 = 0;   // series terms of long counts
    long lastX = -1;
    double p = 0;
    for (int j = 1; j <= NQuad; ++j) {
        const double R = N - m.CumCount(i, j - 1);
        const long X = m.Count(i, j);
        const double x = static_cast<double>(X);
        if (X == 0 && SameBits(R, N)) {
            // Nothing placed yet: the same call as the zero-count product's.
            p = wP[j];
            const double cell = -std::log(p);
            m.CellNegLnP(i, j) = cell;
            sum += cell;
            continue;
        }
        const bool bbCell = bb && R != 1;
        if (bbCell && !zeroBB) shape(j);
        double term;
        if (X >= 0 && X <= numerics::kShortCountMax) {
            term = numerics::LnShortCountTerm(R, X, bbCell ? wa[j] : 0);
        } else {
            const bool newR = lastX < 0 || !SameBits(R, lastR);
            if (newR) lgR1 = LnG(R + 1);
            if (X != lastX) lgXp1 = LnG(x + 1);
            if (newR || X != lastX) lgRX1 = LnG(R - x + 1);
            lastR = R;
            lastX = X;
            term = bbCell ? numerics::SeriesCountTerm(lgR1, lgXp1, lgRX1, LnG(x + wa[j]), LnG(wa[j]))
                          : numerics::SeriesCountTerm(lgR1, lgXp1, lgRX1);
        }
        double L;
        if (bbCell)
            L = numerics::BetaBinomialLnP(term, LnG(R - x + wb[j]), lgRS(R + ws[j]), wLS[j], wLB[j]);
        else
            L = numerics::BinomialLnP(term, x, R, c.LogP[Z(j)], c.Log1mP[Z(j)]);
        p = ClampQuadP(std::exp(L));
        const double cell = -std::log(p);
        m.CellNegLnP(i, j) = cell;
        sum += cell;
    }
    lastP = p;
    return sum;
}

void Evaluate(App& app, double& F, Vec<double>& P, long NF) {
    ModelState& m = app.model;
    const int NSpp = m.NSpp, NQuad = m.NQuad;
    if (NSpp < 1 || NQuad < 1 || P.UBound() < 2L * NSpp) return;   // not set up
    PrepareCache(m);
    SpeciesEvalCache& c = m.EvalCache;
    if (m.CellNegLnP.UBound1() != NSpp || m.CellNegLnP.UBound2() != NQuad) {
        m.CellNegLnP.ReDim(NSpp, NQuad);
        c.Valid.assign(c.Valid.size(), 0);
    }
    for (Vec<double>* v : {&m.SpUA, &m.SpN, &m.ThetaSq, &m.DetectProb})
        if (v->UBound() != NSpp) v->ReDim(NSpp);

    // Clamping pass. A parameter that is not a number has no likelihood.
    bool notANumber = false;
    for (int i = 1; i <= NSpp; ++i) {
        const std::size_t k = Z(i);
        const double rawT = P(i), rawU = P(NSpp + i);
        if (c.RawValid[k] && SameBits(rawT, c.RawTheta[k]) && SameBits(rawU, c.RawUA[k])) {
            P(i) = c.KeyTheta[k];
            P(NSpp + i) = c.KeyUA[k];
        } else {
            SpeciesInputs s;
            ClampSpecies(m, P, i, s);
            if (!SameBits(s.t, c.KeyTheta[k]) || !SameBits(s.u, c.KeyUA[k])) c.Valid[k] = 0;
            c.RawValid[k] = 1;
            c.RawTheta[k] = rawT;
            c.RawUA[k] = rawU;
            c.KeyTheta[k] = s.t;
            c.KeyUA[k] = s.u;
            c.UA[k] = s.UA;
            c.N[k] = s.N;
            c.ShrinkRatio[k] = s.ShrinkRatio;
            c.ThetaMin[k] = s.ThetaMin;
            c.ThetaSq[k] = s.ThetaSq;
        }
        m.SpUA(i) = c.UA[k];
        m.SpN(i) = c.N[k];
        m.ThetaSq(i) = c.ThetaSq[k];
        if (std::isnan(P(i)) || std::isnan(P(NSpp + i))) notANumber = true;
    }

    // Likelihood pass; only species whose inputs changed are recomputed. The
    // same pass sums F, the richness and the inferred distribution of Theta.
    double sum = 0, esr = 0, tsum = 0, tsqsum = 0;
    for (int i = 1; i <= NSpp; ++i) {
        const std::size_t k = Z(i);
        if (!c.Valid[k]) {
            c.SpNegLnL[k] = SpeciesNegLnL(m, i, c.N[k], c.ThetaSq[k], c.ShrinkRatio[k],
                                          c.DetectProb[k], c.LastQuadP[k]);
            c.Valid[k] = 1;
        }
        const double d = c.DetectProb[k], tsq = m.ThetaSq(i);
        m.DetectProb(i) = d;
        sum += c.SpNegLnL[k];
        esr += 1 / d;
        tsum += std::sqrt(tsq) / d;
        tsqsum += tsq / d;
        app.ui.DoEvents();
    }
    m.ShrinkRatio = c.ShrinkRatio[Z(NSpp)];
    if (m.LogitThetaLink) m.ThetaMin = c.ThetaMin[Z(NSpp)];
    m.LastQuadP = c.LastQuadP[Z(NSpp)];

    m.ESRCurrent = esr;
    m.ThetaSumInf = tsum;
    m.ThetaSqSumInf = tsqsum;
    const double S = esr;
    m.ThetaMeanInf = tsum / S;
    if (S - 1 == 0) {
        m.ThetaVarInf = 0;
    } else {
        m.ThetaVarInf = (tsqsum / S - m.ThetaMeanInf * m.ThetaMeanInf) * S / (S - 1);
        if (m.ThetaVarInf < 0) m.ThetaVarInf = 0;
    }
    app.ui.DoEvents();

    F = notANumber ? std::numeric_limits<double>::quiet_NaN() : 2 * sum;

    // Best point.
    if (F < m.BestF || NF == 1) {
        const int numPars = 2 * NSpp;
        if (m.BestPar.UBound() != numPars) m.BestPar.ReDim(numPars);
        for (Vec<double>* v : {&m.BestSpF, &m.BestDetectProb, &m.SpTheta, &m.BestUA})
            if (v->UBound() != NSpp) v->ReDim(NSpp);
        if (m.TotAbund.UBound() != NSpp) m.TotAbund.ReDim(NSpp);
        m.BestF = F;
        for (int k = 1; k <= numPars; ++k) m.BestPar(k) = P(k);
        m.ThetaSqFloor.ReDim(NSpp);
        for (int i = 1; i <= NSpp; ++i) {
            m.BestSpF(i) = 2 * c.SpNegLnL[Z(i)];
            m.BestDetectProb(i) = m.DetectProb(i);
            m.SpTheta(i) = m.ThetaSq(i);
            m.BestUA(i) = m.SpUA(i);
            m.ThetaSqFloor(i) = (m.SpN(i) > 1 ? 0.0001 / (m.SpN(i) - 1) : 0.0001) + 1E-06;
            m.TotAbund(i) = std::isfinite(m.SpN(i)) ? static_cast<long>(platform::Int(m.SpN(i) + 0.5)) : 0;
        }
        m.ESR = m.ESRCurrent;
    }
}

}  // namespace

void ClampSpecies(const ModelState& m, Vec<double>& P, int i, SpeciesInputs& s) {
    const int NSpp = m.NSpp;
    double u = P(NSpp + i), t = P(i);
    if (m.LnUALink) {
        if (u > std::log(1E9)) u = std::log(1E9);
        if (u < std::log(0.01)) u = std::log(0.01);
        s.UA = std::exp(u);
    } else {
        if (u > 1E9) u = 1E9;
        if (u < 0.01) u = 0.01;
        s.UA = u;
    }
    s.N = s.UA + m.CumCount(i, m.NQuad);
    s.ShrinkRatio = s.N > 1 ? (m.ShrinkConst - 1) / (s.N - 1) : m.ShrinkConst - 1;
    const double top = 0.99999999;
    if (m.LogitThetaLink) {
        s.ThetaMin = std::sqrt(s.ShrinkRatio);
        s.logitMin = true;
        const double lo = std::log(s.ThetaMin / (1 - s.ThetaMin));
        if (t < lo) t = lo;
        const double hi = std::log(top / (1 - top));
        if (t > hi) t = hi;
        const double e = std::exp(t);
        const double th = e / (e + 1);
        s.ThetaSq = th * th;
    } else {
        // Direct mode: Theta is bounded below by 0.
        if (t < 0) t = 0;
        if (t > top) t = top;
        s.ThetaSq = t * t;
    }
    P(i) = t;
    P(NSpp + i) = u;
    s.t = t;
    s.u = u;
}

void MODEL(App& app, double& F, Vec<double>& P, Vec<double>& StepSize,
           Vec<std::string>& ParName, Vec<std::string>& FuseCode, int& NumPars, long& NF,
           long& NObs, Vec<double>& AnaGrad, platform::Matrix<double>& AnaHess,
           long& SampleSize) {
    (void)NObs;
    if (NF == 0) {
        try {
            Setup(app, P, StepSize, ParName, NumPars, SampleSize);
        } catch (const std::bad_alloc&) {
            // The model and the parameter set as they were are kept: Setup
            // replaces them only at its end.
            app.model.SetupOK = false;
            TellNotEnoughMemory(app, "this data set", "Initialization input error");
        }
        return;
    }
    if (NF >= 1) {
        ModelState& m = app.model;
        if (NF == 1 && m.AskGuessInitial && app.sw.OneFunctionOpen)
            OfferInitialValueSearch(app, P, FuseCode);
        Evaluate(app, F, P, NF);
        return;
    }
    if (NF == -1) {
        WriteResultsReport(app, P);
        return;
    }
    if (NF == -2) {
        if (app.model.NSpp < 1) return;
        CalcAnalyticalDerivatives(app, NumPars, P, StepSize, FuseCode, AnaGrad, AnaHess);
    }
}

}  // namespace tivelor
