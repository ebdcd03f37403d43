#include "numerics/DistributionPlotMath.h"

#include <cfloat>
#include <cmath>

namespace tivelor::numerics {

ValueRange ColumnRange(const std::vector<double>& values) {
    double top = 0, bottom = 0;
    for (double v : values) {
        if (v > top) top = v;
        if (v < bottom) bottom = v;
    }
    if (top - bottom == 0) return {-1, 1};
    return {bottom, top};
}

std::optional<double> PercentDifference(double diff, double mean) {
    if (mean == 0) return std::nullopt;
    const double p = diff * 100 / mean;
    if (!std::isfinite(p)) return std::nullopt;
    return p;
}

int DensityBandColour(double r) {
    // Exp(-s^2 / 2) for s = k / 2, k = 0 .. 6.
    static const double bound[7] = {1.0,           std::exp(-0.125), std::exp(-0.5),  std::exp(-1.125),
                                    std::exp(-2.0), std::exp(-3.125), std::exp(-4.5)};
    for (int k = 6; k >= 0; --k) {
        if (bound[k] > r) {
            const int c = kDensityColour[6 - k];
            return c == 0 ? 15 : c;
        }
    }
    return r == 1 ? kDensityColour[7] : 0;
}

int RoundHalfEven(double x) {
    const double f = std::floor(x);
    const double d = x - f;
    double n = d > 0.5 ? f + 1 : d < 0.5 ? f : (std::fmod(f, 2) == 0 ? f : f + 1);
    return static_cast<int>(n);
}

DensityArea WidenedDensityArea(long nx, long ny) {
    DensityArea a;
    a.Left = RoundHalfEven(720 - (8640 - 720) * 0.5 / static_cast<double>(nx - 1));
    a.Right = RoundHalfEven(8640 + (8640 - a.Left) * 0.5 / static_cast<double>(nx - 1));
    a.Top = RoundHalfEven(480 - (6720 - 480) * 0.5 / static_cast<double>(ny - 1));
    a.Bottom = RoundHalfEven(6720 + (6720 - a.Top) * 0.5 / static_cast<double>(ny - 1));
    a.HalfW = (a.Right - a.Left) * 0.5 / static_cast<double>(nx);
    a.HalfH = RoundHalfEven((a.Bottom - a.Top) * 0.5 / static_cast<double>(ny));
    return a;
}

std::optional<double> DensityCorrelation(const DensityMoments& m, long cols, long rows) {
    if (cols < 2 || rows < 2 || m.S == 0) return std::nullopt;
    // A bound on the rounding of sums of this many terms.
    const double tol = 4.0 * static_cast<double>(m.nodes + 1) * DBL_EPSILON;
    double vx = m.SXX - m.SX * m.SX / m.S;
    double vy = m.SYY - m.SY * m.SY / m.S;
    if (std::fabs(vx) <= tol * std::fabs(m.SXX)) vx = 0;
    if (std::fabs(vy) <= tol * std::fabs(m.SYY)) vy = 0;
    if (!(vx * vy > 0)) return std::nullopt;
    double cxy = m.SXY - m.SX * m.SY / m.S;
    if (std::fabs(cxy) <= tol * std::sqrt(std::fabs(m.SXX) * std::fabs(m.SYY))) cxy = 0;
    const double r = cxy / std::sqrt(vx * vy);
    if (!std::isfinite(r)) return std::nullopt;
    return r == 0 ? 0.0 : r;
}

}  // namespace tivelor::numerics
