#include "numerics/Densities.h"

#include <cmath>

#include "numerics/LnGamma.h"
#include "numerics/PriorMath.h"

namespace tivelor::numerics {

double NormalDensity(double x, double mean, double variance) {
    const double d = x - mean;
    return std::exp(-d * d / (2 * variance)) / std::sqrt(8 * std::atan(1.0) * variance);
}

BetaShape BetaFromMoments(double mean, double sd) {
    BetaShape s;
    if (!(sd > 0) || !(mean > 0) || !(mean < 1)) return s;
    const BetaShapes ab = BetaShapesFromMoments(mean, sd);
    s.a = ab.a;
    s.b = ab.b;
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
