#include "numerics/RichnessDraws.h"

#include <cmath>

#include "numerics/LnGamma.h"

namespace tivelor::numerics {

namespace {

const double kLnAbsentMin = std::log(kAbsentMin);
const double kLnAbsentMax = std::log(kAbsentMax);
constexpr double kMaxA = 1E+07;   // the beta-binomial routine's cap on its first shape

inline double Lg(double x) {
    double lg = 0, unused = 0;
    detail::LnGammaCore(x, 0, lg, unused, unused);
    return lg;
}

inline double Held(double lnP) {
    if (!(lnP > kLnAbsentMin)) return kLnAbsentMin;   // also a probability of 0
    if (lnP > kLnAbsentMax) return kLnAbsentMax;
    return lnP;
}

inline double Logistic(double x) {
    if (x >= 0) return 1 / (1 + std::exp(-x));
    const double e = std::exp(x);
    return e / (1 + e);
}

// Shapes of the beta-binomial absence probability of one Theta, per quadrat.
// For a count of 0 the probability is
//   Gamma(a + b) Gamma(N + b) / (Gamma(b) Gamma(N + a + b)),
// a = (1 - T) p / T (at most 1E+07), b = (1 - p) a / p, T = Theta^2.
// Below the cap a + b is (1 - T) / T in every quadrat.
struct ThetaShapes {
    bool degenerate = false;   // T of 1 or more: a species present in none but one place
    bool uniformAB = true;     // a + b the same in every quadrat
    double s = 0;              // (1 - T) / T
    double lgS = 0;
    std::vector<double> b, ab, lgB, lgAB;

    void Prepare(const SampleQuadrats& q, double T, bool wantLgB) {
        const int n = q.Count();
        b.resize(static_cast<std::size_t>(n));
        ab.resize(static_cast<std::size_t>(n));
        lgB.resize(static_cast<std::size_t>(n));
        lgAB.resize(static_cast<std::size_t>(n));
        degenerate = !(T < 1);
        uniformAB = true;
        if (degenerate) return;
        s = (1 - T) / T;
        lgS = Lg(s);
        for (int j = 0; j < n; ++j) {
            const double p = q.p[static_cast<std::size_t>(j)];
            double a = (1 - T) * p / T;
            const bool capped = a > kMaxA;
            if (capped) a = kMaxA;
            const std::size_t k = static_cast<std::size_t>(j);
            b[k] = (1 - p) * a / p;
            ab[k] = capped ? a + b[k] : s;
            if (capped) uniformAB = false;
            if (wantLgB) {
                lgB[k] = b[k] > 0 ? Lg(b[k]) : 0;
                lgAB[k] = capped ? Lg(ab[k]) : lgS;
            }
        }
    }

    // Sum over the quadrats of the held log absence probabilities at N.
    double LnAbsentSum(const SampleQuadrats& q, double N) const {
        const int n = q.Count();
        if (degenerate) return n * kLnAbsentMax;
        const double lgNAB = uniformAB ? Lg(N + s) : 0;
        double sum = 0;
        for (int j = 0; j < n; ++j) {
            const std::size_t k = static_cast<std::size_t>(j);
            if (!(b[k] > 0)) {   // the last quadrat of a fully sampled habitat takes them all
                sum += kLnAbsentMin;
                continue;
            }
            const double nab = uniformAB ? lgNAB : Lg(N + ab[k]);
            sum += Held(lgAB[k] - lgB[k] + Lg(N + b[k]) - nab);
        }
        return sum;
    }
};

double LnAbsentBinomial(const SampleQuadrats& q, double N) {
    double sum = 0;
    for (double l : q.ln1mp) sum += Held(N * l);
    return sum;
}

double LastHeld(const SampleQuadrats& q, const ThetaShapes* bb, double N) {
    const std::size_t k = q.p.size() - 1;
    if (!bb) return std::exp(Held(N * q.ln1mp[k]));
    if (bb->degenerate) return kAbsentMax;
    if (!(bb->b[k] > 0)) return kAbsentMin;
    const double nab = Lg(N + bb->ab[k]);
    return std::exp(Held(bb->lgAB[k] - bb->lgB[k] + Lg(N + bb->b[k]) - nab));
}

}  // namespace

void NormalDeviate(UniformSource& u, double& z1, double& z2) {
    double u1 = 0, u2 = 0, s = 0;
    do {
        u1 = 2 * u.Rnd() - 1;
        u2 = 2 * u.Rnd() - 1;
        s = u1 * u1 + u2 * u2;
    } while (!(s > 0 && s < 1));
    const double f = std::sqrt(-2 * std::log(s) / s);
    z1 = f * u1;
    z2 = f * u2;
}

SampleQuadrats MakeSampleQuadrats(const double* p, int n, double shrinkConst) {
    SampleQuadrats q;
    q.ShrinkConst = shrinkConst;
    for (int j = 0; j < n; ++j) {
        double pj = p[j];
        q.p.push_back(pj);
        if (pj == 0) pj = 1E-06;
        if (pj == 1) pj = 0.999999;
        q.ln1mp.push_back(std::log(1 - pj));
    }
    return q;
}

double ShrinkRatioFor(double N, double shrinkConst) {
    return N > 1 ? (shrinkConst - 1) / (N - 1) : shrinkConst - 1;
}

Absence AbsentFromSample(const SampleQuadrats& q, double N, double theta) {
    Absence r;
    r.ShrinkRatio = ShrinkRatioFor(N, q.ShrinkConst);
    const int n = q.Count();
    if (n == 0) return r;
    double lnSum = 0;
    if (!(N < kHugeAbundance)) {
        lnSum = n * kLnAbsentMin;
        r.LastQuadP = kAbsentMin;
    } else {
        const double T = theta * theta;
        if (T > r.ShrinkRatio && N != 1) {
            // One species: b and a + b per quadrat, computed as it goes.
            thread_local ThetaShapes bb;
            bb.Prepare(q, T, true);
            lnSum = bb.LnAbsentSum(q, N);
            r.LastQuadP = LastHeld(q, &bb, N);
        } else {
            lnSum = LnAbsentBinomial(q, N);
            r.LastQuadP = LastHeld(q, nullptr, N);
        }
    }
    r.Prod = std::exp(lnSum);
    r.Seen = -std::expm1(lnSum);
    return r;
}

double ProbSampled(const SampleQuadrats& q, double logitTheta, double lnN) {
    const double e = std::exp(lnN);
    if (!(e < kHugeAbundance)) return 1;
    const double N = std::floor(e) + 1;
    return AbsentFromSample(q, N, Logistic(logitTheta)).Seen;
}

BivariateSums BivariateRow(const SampleQuadrats& q, int nspp, int a, double meanT, double sdT,
                           double meanN, double sdN, double rho) {
    const double h = kBivarH;
    const double pi = 4 * std::atan(1.0);
    const double oneMinusR2 = 1 - rho * rho;
    const double scale = h * h * nspp / (2 * pi * std::sqrt(oneMinusR2));
    const double zx = (a + 0.5) * h;
    const double x = meanT + zx * sdT;
    const double theta = Logistic(x);
    const double T = theta * theta;
    thread_local ThetaShapes bb;
    bb.Prepare(q, T, true);
    BivariateSums r;
    for (int b = kBivarFirst; b <= kBivarLast; ++b) {
        const double zy = (b + 0.5) * h;
        const double y = meanN + zy * sdN;
        const double Q = zx * zx + zy * zy - 2 * rho * zx * zy;
        const double m = std::exp(-Q / (2 * oneMinusR2)) * scale;
        r.Total += m;
        double p = 1;
        const double e = std::exp(y);
        if (e < kHugeAbundance) {
            const double N = std::floor(e) + 1;
            const double sr = ShrinkRatioFor(N, q.ShrinkConst);
            const double lnSum = (T > sr && N != 1) ? bb.LnAbsentSum(q, N) : LnAbsentBinomial(q, N);
            p = -std::expm1(lnSum);
        }
        r.ESR += m / p;
    }
    return r;
}

BivariateSums IntegrateBivariate(const SampleQuadrats& q, int nspp, double meanT, double sdT,
                                 double meanN, double sdN, double rho) {
    BivariateSums total;
    for (int a = kBivarFirst; a <= kBivarLast; ++a) {
        const BivariateSums row = BivariateRow(q, nspp, a, meanT, sdT, meanN, sdN, rho);
        total.ESR += row.ESR;
        total.Total += row.Total;
    }
    return total;
}

double PerturbedMean(double mean, double var, int n, double z) {
    return std::sqrt(var / n) * z + mean;
}

double PerturbedSD(double var, int n, double z) {
    if (!(var > 0)) return 0;
    const double w = var * 0.5 / n;
    const double sigma2 = std::log(w / var + 1);
    const double mu = 0.5 * std::log(var * var / (w + var));
    return std::exp(std::sqrt(sigma2) * z + mu);
}

}  // namespace tivelor::numerics
