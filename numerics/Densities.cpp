#include "numerics/Densities.h"

#include <cmath>

#include "numerics/LnGamma.h"

namespace tivelor::numerics {

double NormalDensity(double x, double mean, double variance) {
    const double d = x - mean;
    return std::exp(-d * d / (2 * variance)) / std::sqrt(8 * std::atan(1.0) * variance);
}

BetaShape BetaFromMoments(double mean, double sd) {
    BetaShape s;
    if (!(sd > 0) || !(mean > 0) || !(mean < 1)) return s;
    // The plot pages' arithmetic, not the priors' (BetaShapesFromMoments), whose last bits
    // differ and whose sign of a can differ where SD² is near Mean·(1 - Mean).
    s.a = mean * mean * (1 - mean) / (sd * sd) - mean;
    s.b = (1 - mean) * s.a / mean;
    if (!(s.a > 0) || !(s.b > 0) || !std::isfinite(s.a) || !std::isfinite(s.b)) return s;
    s.LnNorm = LnGammaValue(s.a + s.b) - LnGammaValue(s.a) - LnGammaValue(s.b);
    s.ok = std::isfinite(s.LnNorm);
    return s;
}

double BetaDensityOf(const BetaShape& s, double x) {
    return std::exp(s.LnNorm + (s.a - 1) * std::log(x) + (s.b - 1) * std::log(1 - x));
}

double BetaDensity(double x, double mean, double sd) {
    const BetaShape s = BetaFromMoments(mean, sd);
    return s.ok ? BetaDensityOf(s, x) : 0;
}

}  // namespace tivelor::numerics
