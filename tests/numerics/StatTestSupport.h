// Distribution checks for the random-variate tests: chi-square against
// expected cell counts, with cells pooled until each expects at least 5.
#pragma once

#include <cmath>
#include <utility>
#include <vector>

namespace stattest {

struct ChiSquare {
    double stat = 0;
    int df = 0;
    // Upper 0.1% point of chi-square with df degrees (Wilson-Hilferty).
    double Critical() const {
        const double k = df, z = 3.0902;
        const double c = 1 - 2 / (9 * k) + z * std::sqrt(2 / (9 * k));
        return k * c * c * c;
    }
    bool Passes() const { return df > 0 && stat < Critical(); }
};

// observed[i] against expected[i] (same length, counts).
inline ChiSquare Compare(const std::vector<double>& observed, const std::vector<double>& expected) {
    std::vector<std::pair<double, double>> cells;
    double o = 0, e = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        o += observed[i];
        e += expected[i];
        if (e >= 5) {
            cells.push_back({o, e});
            o = e = 0;
        }
    }
    if (cells.empty()) cells.push_back({o, e});
    else cells.back() = {cells.back().first + o, cells.back().second + e};   // the small rest
    ChiSquare out;
    for (auto [co, ce] : cells) out.stat += (co - ce) * (co - ce) / ce;
    out.df = static_cast<int>(cells.size()) - 1;
    return out;
}

inline double BinomialPmf(int n, double p, int k) {
    return std::exp(std::lgamma(n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0) +
                    k * std::log(p) + (n - k) * std::log1p(-p));
}

inline double BetaBinomialPmf(int n, double a, double b, int k) {
    return std::exp(std::lgamma(n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0) +
                    std::lgamma(k + a) + std::lgamma(n - k + b) - std::lgamma(n + a + b) +
                    std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b));
}

// Beta(a, b) distribution function by Simpson's rule after u = t^a, which
// takes away the singularity at 0 for a < 1.
inline double BetaCdf(double a, double b, double x) {
    if (x <= 0) return 0;
    if (x >= 1) return 1;
    if (x > 0.5 && b < 1) return 1 - BetaCdf(b, a, 1 - x);
    const double lnB = std::lgamma(a) + std::lgamma(b) - std::lgamma(a + b);
    const double top = std::pow(x, a);
    const int n = 4000;
    const double h = top / n;
    auto f = [&](double u) {
        const double t = std::pow(u, 1 / a);
        return t >= 1 ? 0.0 : std::pow(1 - t, b - 1);
    };
    double s = f(0) + f(top);
    for (int i = 1; i < n; ++i) s += f(i * h) * (i % 2 ? 4 : 2);
    return s * h / 3 / a / std::exp(lnB);
}

}  // namespace stattest
