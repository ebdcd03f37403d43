#include "numerics/Accumulation.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace tivelor::numerics {

AccumulationCurve GreedyAccumulation(const CountTable& counts) {
    const int m = counts.NQuad(), S = counts.NSpp();
    const std::size_t n = static_cast<std::size_t>(m) + 1;
    AccumulationCurve c;
    c.Incr.assign(n, 0);
    c.Accum.assign(n, 0);
    c.X.assign(n, 0);
    c.Order.assign(n, 0);
    std::vector<char> taken(n, 0), seen(static_cast<std::size_t>(S) + 1, 0);
    std::vector<int> adds(n, 0);
    for (int step = 1; step <= m; ++step) {
        for (int q = 1; q <= m; ++q) {
            int a = 0;
            if (!taken[static_cast<std::size_t>(q)])
                for (int i = 1; i <= S; ++i)
                    if (!seen[static_cast<std::size_t>(i)] && counts(i, q) > 0) ++a;
            adds[static_cast<std::size_t>(q)] = a;
        }
        int chosen = 0, best = 0;
        for (int q = 1; q <= m; ++q)
            if (!taken[static_cast<std::size_t>(q)] && adds[static_cast<std::size_t>(q)] > best) {
                best = adds[static_cast<std::size_t>(q)];
                chosen = q;
            }
        if (chosen == 0)   // nothing new anywhere: the first untaken quadrat, adding 0
            for (int q = 1; q <= m && chosen == 0; ++q)
                if (!taken[static_cast<std::size_t>(q)]) chosen = q;
        taken[static_cast<std::size_t>(chosen)] = 1;
        c.Order[static_cast<std::size_t>(step)] = chosen;
        c.Incr[static_cast<std::size_t>(step)] = best;
        for (int i = 1; i <= S; ++i)
            if (counts(i, chosen) > 0) seen[static_cast<std::size_t>(i)] = 1;
    }
    for (int i = 1; i <= m; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        c.X[k] = 1.0 / i;
        c.Accum[k] = c.Accum[k - 1] + c.Incr[k];
        if (c.Incr[k] == 0 && c.Incr[k - 1] > 0) c.LevelsAt = i;
    }
    return c;
}

namespace {

struct Regression {
    double n = 0, sx = 0, sx2 = 0, xbar = 0, ybar = 0, Sxx = 0, Syy = 0, Sxy = 0;
};

// Sums and corrected sums of squares and products of points 1..m.
Regression Regress(const std::vector<double>& x, const std::vector<double>& y, int m) {
    Regression r;
    r.n = m;
    double sy = 0;
    for (int i = 1; i <= m; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        r.sx += x[k];
        r.sx2 += x[k] * x[k];
        sy += y[k];
    }
    r.xbar = r.sx / m;
    r.ybar = sy / m;
    for (int i = 1; i <= m; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        const double dx = x[k] - r.xbar, dy = y[k] - r.ybar;
        r.Sxx += dx * dx;
        r.Syy += dy * dy;
        r.Sxy += dx * dy;
    }
    return r;
}

bool AllFinite(std::initializer_list<double> xs) {
    for (double x : xs)
        if (!std::isfinite(x)) return false;
    return true;
}

// A residual sum of squares is never negative; rounding may make it so.
double ResidualVariance(double ss, double scale, int df) {
    if (ss < 0 && ss >= -1E-12 * std::max(1.0, scale)) ss = 0;
    return ss / df;
}

}  // namespace

CurveFit FitMichaelisMenten(const AccumulationCurve& curve, int S) {
    CurveFit f;
    RichnessEstimate& r = f.Est;
    const int m = static_cast<int>(curve.Accum.size()) - 1;
    if (m < 3 || S < 1) return f;
    std::vector<double> y(static_cast<std::size_t>(m) + 1, 0);
    for (int i = 1; i <= m; ++i) {
        const double a = curve.Accum[static_cast<std::size_t>(i)];
        if (!(a > 0)) return f;
        y[static_cast<std::size_t>(i)] = 1 / a;
    }
    const Regression g = Regress(curve.X, y, m);
    if (!(g.Sxx > 0)) return f;
    const double b1 = g.Sxy / g.Sxx;
    const double b0 = g.ybar - b1 * g.xbar;
    const double s2 = ResidualVariance(g.Syy - b1 * g.Sxy, g.Syy, m - 2);
    if (!std::isfinite(s2)) return f;
    f.ResidVar = s2;
    const double V0 = s2 * g.sx2 / (m * g.Sxx);
    // Only a positive intercept below 1/S meets an asymptote above S.
    if (!(b0 > 0 && b0 < 1.0 / S) || !(V0 >= 0)) return f;
    const double mu = 0.5 * std::log(std::pow(b0, 4) / (b0 * b0 + V0));
    const double sigma2 = std::log(1 + V0 / (b0 * b0));
    const double est = std::exp(sigma2 / 2 - mu);
    const double var = std::exp(sigma2 - 2 * mu) * (std::exp(sigma2) - 1);
    if (!AllFinite({mu, sigma2, est, var})) return f;
    r.Est = est;
    r.Var = var;
    LnNormalBounds(r, S, StudentT975(m - 2));
    return f;
}

CurveFit FitAsymptoteML(const AccumulationCurve& curve, int S) {
    CurveFit f;
    RichnessEstimate& r = f.Est;
    const int m = static_cast<int>(curve.Accum.size()) - 1;
    if (m < 3) return f;
    std::vector<double> x(static_cast<std::size_t>(m) + 1, 0);
    for (int i = 1; i <= m; ++i)
        x[static_cast<std::size_t>(i)] = curve.Accum[static_cast<std::size_t>(i)] / i;
    const Regression g = Regress(x, curve.Accum, m);
    const double num = g.xbar * g.Syy - g.ybar * g.Sxy;
    const double den = g.ybar * g.Sxx - g.xbar * g.Sxy;
    // A curve that adds the same number of species at every step leaves no spread in x.
    if (!(std::fabs(den) > 1E-12 * (std::fabs(g.ybar * g.Sxx) + std::fabs(g.xbar * g.Sxy))))
        return f;
    const double B = num / den;
    const double K = g.ybar + B * g.xbar;
    const double s2 =
        ResidualVariance(g.Syy + 2 * B * g.Sxy + B * B * g.Sxx, g.Syy, m - 2);
    if (!AllFinite({B, K, s2}) || K == 0) return f;
    f.ResidVar = s2;
    std::vector<double> z(static_cast<std::size_t>(m) + 1, 0);
    double zsum = 0;
    for (int i = 1; i <= m; ++i) {
        if (i + B == 0) return f;
        z[static_cast<std::size_t>(i)] = K / (i + B);
        zsum += z[static_cast<std::size_t>(i)];
    }
    const double zbar = zsum / m;
    double Szz = 0;
    for (int i = 1; i <= m; ++i) {
        const double d = z[static_cast<std::size_t>(i)] - zbar;
        Szz += d * d;
    }
    const double var = s2 / m + zbar * zbar * s2 / (Szz * (1 + 2 * s2 / (K * K)));
    if (!(Szz > 0) || !AllFinite({zbar, Szz, var})) return f;
    r.Est = K;
    r.Var = var;
    LnNormalBounds(r, S, StudentT975(m - 2));
    return f;
}

}  // namespace tivelor::numerics
