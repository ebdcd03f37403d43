#include "numerics/GridHessian.h"

#include <cfloat>

namespace tivelor::numerics {

double GridDeviations::SignedSD() const {
    const double m = sum / count;
    const double v = sumSq / count - m * m;
    if (v == 0) return 0;
    return SignedRoot(v);
}

std::optional<double> ExpIfRepresentable(double lnValue) {
    if (!std::isfinite(lnValue)) return std::nullopt;
    if (lnValue > std::log(DBL_MAX) || lnValue < std::log(DBL_MIN)) return std::nullopt;
    const double v = std::exp(lnValue);
    if (!std::isfinite(v) || v < DBL_MIN) return std::nullopt;
    return v;
}

}  // namespace tivelor::numerics
