#include "numerics/Estimators.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "platform/arrays.h"

namespace tivelor::numerics {

// ------------------------------------------------------------- CountTable

CountTable::CountTable(int nspp, int nquad)
    : nspp_(nspp < 0 ? 0 : nspp), nquad_(nquad < 0 ? 0 : nquad),
      v_(static_cast<std::size_t>(nspp_) * static_cast<std::size_t>(nquad_), 0) {}

long& CountTable::operator()(int i, int j) {
    TIVELOR_CHECK_INDEX(i >= 1 && i <= nspp_ && j >= 1 && j <= nquad_);
    return v_[static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(nquad_) +
              static_cast<std::size_t>(j - 1)];
}

long CountTable::operator()(int i, int j) const {
    TIVELOR_CHECK_INDEX(i >= 1 && i <= nspp_ && j >= 1 && j <= nquad_);
    return v_[static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(nquad_) +
              static_cast<std::size_t>(j - 1)];
}

// ------------------------------------------------------- IncidenceSummary

IncidenceSummary SummarizeIncidence(const CountTable& counts) {
    IncidenceSummary inc;
    inc.S = counts.NSpp();
    inc.m = counts.NQuad();
    const std::size_t words = (static_cast<std::size_t>(inc.m) + 63) / 64;
    inc.Occupied.assign(static_cast<std::size_t>(inc.S), 0);
    inc.OccBits.assign(static_cast<std::size_t>(inc.S), std::vector<std::uint64_t>(words, 0));
    for (int i = 1; i <= inc.S; ++i) {
        const std::size_t k = static_cast<std::size_t>(i - 1);
        long total = 0;
        for (int j = 1; j <= inc.m; ++j) {
            long c = counts(i, j);
            if (c > 0) {
                total += c;
                ++inc.Occupied[k];
                const std::size_t b = static_cast<std::size_t>(j - 1);
                inc.OccBits[k][b / 64] |= std::uint64_t{1} << (b % 64);
            }
        }
        if (inc.Occupied[k] == 1) ++inc.NUniques;
        if (inc.Occupied[k] == 2) ++inc.NDuplicates;
        if (total == 1) ++inc.NSingletons;
        if (total == 2) ++inc.NDoubletons;
    }
    return inc;
}

int IncidenceSummary::JointAbsent(int j, int k) const {
    const auto& a = OccBits[static_cast<std::size_t>(j)];
    const auto& b = OccBits[static_cast<std::size_t>(k)];
    int either = 0;
    for (std::size_t w = 0; w < a.size(); ++w) either += std::popcount(a[w] | b[w]);
    return m - either;
}

// ------------------------------------------------------------ t quantile

double StudentT975(int df) {
    static const double small[] = {0,    12.71, 4.30, 3.18, 2.78, 2.57, 2.45, 2.36, 2.31, 2.26,
                                   2.23, 2.20,  2.18, 2.16, 2.14, 2.13, 2.12, 2.11, 2.10};
    if (df <= 0) return 0;
    if (df <= 18) return small[df];
    if (df <= 20) return 2.09;
    if (df == 21) return 2.08;
    if (df <= 23) return 2.07;
    if (df <= 26) return 2.06;
    if (df <= 29) return 2.05;
    if (df <= 32) return 2.04;
    if (df <= 37) return 2.03;
    if (df <= 44) return 2.02;
    if (df <= 53) return 2.01;
    if (df <= 68) return 2.00;
    if (df <= 95) return 1.99;
    if (df <= 158) return 1.98;
    if (df <= 472) return 1.97;
    return 1.96;
}

// ----------------------------------------------------- variances, bounds

namespace {

// Rounding of a sum that should be exactly 0 leaves at most this much,
// relative to the magnitude of the estimate.
double RoundingFloor(double scale) { return 1E-10 * std::max(1.0, scale * scale); }

bool Finite(const MaybeNumber& x) { return x && std::isfinite(*x); }

}  // namespace

MaybeNumber StandardError(const MaybeNumber& variance) {
    if (!Finite(variance)) return std::nullopt;
    if (*variance >= 0) return std::sqrt(*variance);
    return std::nullopt;
}

void LnNormalBounds(RichnessEstimate& r, double S, double t) {
    r.L95.reset();
    r.U95.reset();
    if (!Finite(r.Est) || !Finite(r.Var) || !(t > 0)) return;
    const double E = *r.Est, V = *r.Var;
    if (!(E > S) || V < 0) return;
    const double T = E - S;
    const double inner = std::log(1 + V / (T * T));
    if (!std::isfinite(inner) || inner < 0) return;
    const double C = std::exp(t * std::sqrt(inner));
    if (!std::isfinite(C) || !(C > 0)) return;
    const double lo = S + T / C, hi = S + T * C;
    if (!std::isfinite(lo) || !std::isfinite(hi)) return;
    r.L95 = lo;
    r.U95 = hi;
}

namespace {

// Clears a variance that is negative only by rounding; keeps anything else.
MaybeNumber CleanVariance(double var, double est) {
    if (!std::isfinite(var)) return std::nullopt;
    if (var < 0 && var >= -RoundingFloor(est)) return 0.0;
    return var;
}

}  // namespace

// ------------------------------------------------------------- estimators

RichnessEstimate ChaoTwo(const IncidenceSummary& inc, double t) {
    RichnessEstimate r;
    const double S = inc.S, Q1 = inc.NUniques, Q2 = inc.NDuplicates;
    if (Q2 > 0) {
        const double ratio = Q1 / Q2;
        r.Est = S + Q1 * Q1 / (2 * Q2);
        r.Var = Q2 * (0.25 * std::pow(ratio, 4) + std::pow(ratio, 3) + 0.5 * ratio * ratio);
    } else {
        r.Est = S;
        r.Var = 0.0;
    }
    LnNormalBounds(r, S, t);
    return r;
}

RichnessEstimate FirstOrderJackknife(const IncidenceSummary& inc, double t) {
    RichnessEstimate r;
    if (inc.m < 1) return r;
    const double S = inc.S, Q1 = inc.NUniques, m = inc.m;
    const double a1 = 1 + (m - 1) / m;
    const double est = S + Q1 * (m - 1) / m;
    r.Est = est;
    r.Var = CleanVariance(a1 * a1 * Q1 + (S - Q1) - est, est);
    LnNormalBounds(r, S, t);
    return r;
}

RichnessEstimate SecondOrderJackknife(const IncidenceSummary& inc, double t) {
    RichnessEstimate r;
    if (inc.m < 2) return r;   // needs m(m - 1) > 0
    const double S = inc.S, Q1 = inc.NUniques, Q2 = inc.NDuplicates, m = inc.m;
    const double A = (2 * m - 3) / m, B = (m - 2) * (m - 2) / (m * (m - 1));
    const double a1 = 1 + A, a2 = 1 - B;
    const double est = S + A * Q1 - B * Q2;
    r.Est = est;
    r.Var = CleanVariance(a1 * a1 * Q1 + a2 * a2 * Q2 + (S - Q1 - Q2) - est, est);
    LnNormalBounds(r, S, t);
    return r;
}

RichnessEstimate BootstrapEstimate(const IncidenceSummary& inc, double t) {
    RichnessEstimate r;
    if (inc.m < 1) return r;
    const int S = inc.S, m = inc.m;
    // (z/m)^m for z = 0..m quadrats without the species (or the pair).
    std::vector<double> power(static_cast<std::size_t>(m) + 1);
    for (int z = 0; z <= m; ++z)
        power[static_cast<std::size_t>(z)] = std::pow(static_cast<double>(z) / m, m);
    std::vector<double> qm(static_cast<std::size_t>(S));
    double sum = 0, var = 0;
    for (int k = 0; k < S; ++k) {
        const double q = power[static_cast<std::size_t>(m - inc.Occupied[static_cast<std::size_t>(k)])];
        qm[static_cast<std::size_t>(k)] = q;
        sum += q;
        var += q * (1 - q);
    }
    // Each unordered pair stands for two ordered ones.
    double pairs = 0;
    for (int j = 0; j < S; ++j) {
        const double qj = qm[static_cast<std::size_t>(j)];
        for (int k = j + 1; k < S; ++k)
            pairs += power[static_cast<std::size_t>(inc.JointAbsent(j, k))] -
                     qj * qm[static_cast<std::size_t>(k)];
    }
    var += 2 * pairs;
    const double est = S + sum;
    r.Est = est;
    r.Var = CleanVariance(var, est);
    LnNormalBounds(r, S, t);
    return r;
}

ClassicalEstimates ClassicalRichnessEstimates(const IncidenceSummary& inc) {
    const double t = StudentT975(inc.m - 1);
    return {ChaoTwo(inc, t), FirstOrderJackknife(inc, t), SecondOrderJackknife(inc, t),
            BootstrapEstimate(inc, t)};
}

}  // namespace tivelor::numerics
