#include "numerics/TDist.h"

#include <cmath>

#include "numerics/LnGamma.h"

namespace tivelor::numerics {

namespace {

// (1 + x^2 / 999) ^ -500, the t density with 999 degrees of freedom up to
// its constant.
inline double Kernel(double x) { return std::exp(-500.0 * std::log1p(x * x / 999.0)); }

}  // namespace

double TProbability(double T) {
    const double t = static_cast<float>(T);
    if (!(t < 20)) return 0;   // NaN included
    constexpr int kPanels = 4000;
    const double h = (t + 20) / kPanels;
    double sum = 0;
    double upper = Kernel(t);
    for (int i = 0; i < kPanels; ++i) {
        const double xi = t - i * h;
        const double lower = Kernel(xi - h);
        sum += (lower + 4 * Kernel(xi - h + h / 2) + upper) * h / 6;
        upper = lower;
    }
    const double pi = 4 * std::atan(1.0);
    const double c = std::exp(LnGammaValue(500) - LnGammaValue(499.5) - std::log(std::sqrt(999 * pi)));
    const double C = sum * c;
    // Rounded to four decimals, then doubled.
    const double tail = 10000 - std::floor(C * 10000 + 0.5);
    return tail > 0 ? 2 * tail / 10000 : 0;
}

}  // namespace tivelor::numerics
