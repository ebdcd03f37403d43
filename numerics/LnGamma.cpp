#include "numerics/LnGamma.h"

namespace tivelor::numerics {

double LnGammaValue(double X) {
    double lg = 0, unused = 0;
    detail::LnGammaCore(X, 0, lg, unused, unused);
    return lg;
}

void LnGammaDerivs(double X, double& LnG, double& Dig, double& Trig) {
    if (X < 0) return;
    const int level = Dig != kNotWanted ? (Trig != kNotWanted ? 2 : 1) : 0;
    double lg = 0, dig = 0, trig = 0;
    detail::LnGammaCore(X, level, lg, dig, trig);
    LnG = lg;
    if (level >= 1) Dig = dig;
    if (level >= 2) Trig = trig;
}

}  // namespace tivelor::numerics
