#include "numerics/Variates.h"

#include <algorithm>
#include <cmath>

namespace tivelor::numerics {

namespace {

constexpr double kLn4 = 1.3862944;
constexpr double kOnePlusLn5 = 2.609438;
constexpr double kVCap = 200;
constexpr double kWCap = 1E+100;
constexpr double kRatioFloor = 1E-100;
constexpr double kLow = 1E-8, kHigh = 0.99999999;

// V = beta ln(u1 / (1 - u1)) capped at 200, and W = A e^V capped.
inline void VW(double beta, double u1, double A, double& V, double& W) {
    V = beta * std::log(u1 / (1 - u1));
    if (V > kVCap) V = kVCap;
    W = A * std::exp(V);
    if (W > kWCap) W = kWCap;
}

// Cheng's BB: A the smaller, B the larger shape, both above 1.
void ChengBB(double A, double B, UniformSource& u, double& W) {
    const double alpha = A + B;
    const double beta = std::sqrt((alpha - 2) / (2 * A * B - alpha));
    const double gamma = A + 1 / beta;
    for (;;) {
        const double u1 = u.Rnd(), u2 = u.Rnd();
        if (u1 <= 0 || u1 >= 1 || u2 <= 0 || u2 >= 1) continue;
        double V = 0;
        VW(beta, u1, A, V, W);
        const double z = u1 * u1 * u2;
        const double r = gamma * V - kLn4;
        const double s = A + r - W;
        if (s + kOnePlusLn5 >= 5.0 * z) return;
        const double t = std::log(z);
        if (s > t) return;
        const double ratio = alpha / (B + W);
        if (ratio < kRatioFloor) continue;
        if (r + alpha * std::log(ratio) >= t) return;
    }
}

// Cheng's BC: A the larger, B the smaller shape, B at most 1.
void ChengBC(double A, double B, UniformSource& u, double& W) {
    const double alpha = A + B;
    const double beta = 1 / B;
    const double delta = 1 + A - B;
    const double k1 = delta * (0.0138889 + 0.0416667 * B) / (A * beta - 0.777778);
    const double k2 = 0.25 + (0.5 + 0.25 / delta) * B;
    for (;;) {
        const double u1 = u.Rnd(), u2 = u.Rnd();
        // A uniform of 0 would reach a logarithm of 0.
        if (u1 <= 0 || u1 >= 1 || u2 <= 0 || u2 >= 1) continue;
        double z = 0, V = 0;
        if (u1 < 0.5) {
            const double y = u1 * u2;
            z = u1 * y;
            if (0.25 * u2 + z - y >= k1) continue;
        } else {
            z = u1 * u1 * u2;
            if (z <= 0.25) {
                VW(beta, u1, A, V, W);
                return;
            }
            if (z >= k2) continue;
        }
        VW(beta, u1, A, V, W);
        const double ratio = alpha / (B + W);
        if (ratio < kRatioFloor) continue;
        if (alpha * (std::log(ratio) + V) - kLn4 >= std::log(z)) return;
    }
}

// Stirling's series term of ln x! beyond the leading terms.
inline double StirlingTail(double x) {
    const double x2 = x * x;
    return (13860. - (462. - (132. - (99. - 140. / x2) / x2) / x2) / x2) / x / 166320.;
}

// Inversion for a mean below 30.
double BinomialInversion(std::int32_t n, double pp, double q, UniformSource& u) {
    const double r = pp / q;
    const double g = (static_cast<double>(n) + 1) * r;
    const double f0 = std::pow(q, static_cast<double>(n));
    for (;;) {
        double v = u.Rnd();
        double f = f0;
        std::int32_t x = 0;
        for (;;) {
            if (v < f) return x;
            if (x > 110) break;
            v -= f;
            ++x;
            f *= g / x - r;
        }
    }
}

// BTPE for a mean of 30 or more.
double BinomialBTPE(std::int32_t n, double pp, double q, UniformSource& u) {
    const double dn = n;
    const double ffm = dn * pp + pp;
    const double m = std::floor(ffm);
    const double npq = dn * pp * q;
    const double p1 = std::floor(2.195 * std::sqrt(npq) - 4.6 * q) + 0.5;
    const double xm = m + 0.5;
    const double xl = xm - p1, xr = xm + p1;
    const double c = 0.134 + 20.5 / (15.3 + m);
    double al = (ffm - xl) / (ffm - xl * pp);
    const double xll = al * (1 + 0.5 * al);
    al = (xr - ffm) / (xr * q);
    const double xlr = al * (1 + 0.5 * al);
    const double p2 = p1 * (1 + c + c);
    const double p3 = p2 + c / xll;
    const double p4 = p3 + c / xlr;
    const double r = pp / q, g = (dn + 1) * r;
    for (;;) {
        const double uu = u.Rnd() * p4;
        double v = u.Rnd();
        double x = 0;   // the candidate, a whole number
        if (uu <= p1) return std::floor(xm - p1 * v + uu);   // triangle
        if (uu <= p2) {                                      // parallelogram
            const double xc = xl + (uu - p1) / c;
            v = v * c + 1 - std::fabs(xm - xc) / p1;
            if (v > 1 || v <= 0) continue;
            x = std::floor(xc);
        } else if (uu <= p3) {                               // left tail
            if (v <= 0) continue;
            x = std::floor(xl + std::log(v) / xll);
            if (x < 0) continue;
            v = v * (uu - p2) * xll;
        } else {                                             // right tail
            if (v <= 0) continue;
            x = std::floor(xr - std::log(v) / xlr);
            if (x > dn) continue;
            v = v * (uu - p3) * xlr;
        }
        if (v <= 0) continue;
        const std::int64_t ix = static_cast<std::int64_t>(x), im = static_cast<std::int64_t>(m);
        const double k = std::fabs(x - m);
        if (k <= 20 || k >= npq / 2 - 1) {
            // The ratio f(x) / f(m), stepped from m.
            double f = 1;
            if (im < ix)
                for (std::int64_t i = im + 1; i <= ix; ++i) f *= g / static_cast<double>(i) - r;
            else if (im > ix)
                for (std::int64_t i = ix + 1; i <= im; ++i) f /= g / static_cast<double>(i) - r;
            if (v <= f) return x;
            continue;
        }
        // Squeeze on ln v, then the bound from Stirling's formula.
        const double amaxp = (k / npq) * ((k * (k / 3. + 0.625) + 0.1666666666666) / npq + 0.5);
        const double ynorm = -k * k / (2 * npq);
        const double alv = std::log(v);
        if (alv < ynorm - amaxp) return x;
        if (alv > ynorm + amaxp) continue;
        const double x1 = x + 1, f1 = m + 1, z = dn + 1 - m, w = dn - x + 1;
        const double bound = xm * std::log(f1 / x1) + (dn - m + 0.5) * std::log(z / w) +
                             (x - m) * std::log(w * pp / (x1 * q)) + StirlingTail(f1) +
                             StirlingTail(z) + StirlingTail(x1) + StirlingTail(w);
        if (alv <= bound) return x;
    }
}

}  // namespace

double RandomBeta(double a, double b, UniformSource& u) {
    if (!(a > 0) || !(b > 0)) return -1;
    double result = 0, W = 0;
    if (a <= 1 || b <= 1) {
        const double A = std::max(a, b), B = std::min(a, b);
        ChengBC(A, B, u, W);
        result = A == a ? W / (B + W) : B / (B + W);
    } else {
        const double A = std::min(a, b), B = std::max(a, b);
        ChengBB(A, B, u, W);
        result = A == a ? W / (B + W) : B / (B + W);
    }
    if (result > kHigh) result = kHigh;
    if (!(result >= kLow)) result = kLow;
    return result;
}

double RandomBinomial(std::int32_t n, double p, UniformSource& u) {
    if (!(p >= 0) || p > 1 || n < 0) return 0;
    const double pp = std::min(p, 1 - p);
    const double q = 1 - pp;
    const double x = static_cast<double>(n) * pp < 30 ? BinomialInversion(n, pp, q, u)
                                                      : BinomialBTPE(n, pp, q, u);
    return p > 0.5 ? n - x : x;
}

std::int64_t PlaceIndividuals(std::int64_t total, const double* p, int nquad, double R,
                              UniformSource& u, std::int64_t* counts) {
    constexpr std::int64_t kMaxTrials = 2147483647;
    std::int64_t left = total < 0 ? 0 : total;
    for (int j = 0; j < nquad; ++j) {
        const double pj = p[j];
        const std::int32_t n = static_cast<std::int32_t>(std::min(left, kMaxTrials));
        double count = 0;
        if (left > 1) {
            const double N = static_cast<double>(left);
            const double Vb = N * pj * (1 - pj);
            const double Vbb = ((N - 1) * R + 1) * Vb;
            const double V = (Vbb - Vb) / ((N - 1) * N);
            if (V > 0) {
                const double a = pj * pj * (1 - pj) / V - pj;
                const double b = (1 - pj) * a / pj;
                if (a > 0 && b > 0) {
                    count = RandomBinomial(n, RandomBeta(a, b, u), u);
                } else {
                    // Overdispersion 1: the quadrat takes all or none.
                    count = u.Rnd() < pj ? n : 0;
                }
            } else {
                // No overdispersion (or p of 0 or 1): the binomial itself.
                count = RandomBinomial(n, pj, u);
            }
        } else if (left == 1) {
            count = RandomBinomial(1, pj, u);
        }
        counts[j] = static_cast<std::int64_t>(count);
        left -= counts[j];
    }
    return left;
}

}  // namespace tivelor::numerics
