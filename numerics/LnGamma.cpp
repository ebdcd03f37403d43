#include "numerics/LnGamma.h"

namespace tivelor::numerics {

double LnGammaValue(double X) {
    double lg = 0, unused = 0;
    detail::LnGammaCore(X, 0, lg, unused, unused);
    return lg;
}

}  // namespace tivelor::numerics
