// Log-gamma with digamma and trigamma.
#pragma once

#include <cmath>

namespace tivelor::numerics {

// An output argument holding exactly this value on entry is not wanted.
inline constexpr double kNotWanted = 1E-100;

namespace detail {

constexpr double kC[6] = {76.18009173, -86.50532033, 24.01409822,
                          -1.231739516, 0.120858003E-2, -0.536382E-5};
constexpr double kScale = 2.50662827465;
inline const double kPi = 4 * std::atan(1.0);

// Ln Gamma at X (X >= 0) with digamma (level >= 1) and trigamma (level 2).
// The log-gamma value does not depend on the level.
inline void LnGammaCore(double X, int level, double& lg, double& dig, double& trig) {
    const bool reflect = !(X >= 1);
    const double z = reflect ? 2 - X : X;
    const double s = reflect ? -1.0 : 1.0;
    double y = z - 1;
    const double w = y + 5.5;
    const double lw = std::log(w);
    const double tmp = (y + 0.5) * lw - w;
    double dtmp = 0, d2tmp = 0;
    if (level >= 1) dtmp = s * (y + 0.5) / w + s * lw - s;
    if (level >= 2) d2tmp = s * s * (1 / w - (y + 0.5) / (w * w)) + s * s / w;
    double ser = 1, dser = 0, d2ser = 0;
    for (int j = 0; j < 6; ++j) {
        y = y + 1;
        ser = ser + kC[j] / y;
        if (level >= 1) dser = dser - s * kC[j] / (y * y);
        if (level >= 2) d2ser = d2ser + 2 * s * s * kC[j] * y / (y * y * y * y);
    }
    lg = std::log(kScale * ser) + tmp;
    if (level >= 1) dig = dser / ser + dtmp;
    if (level >= 2) trig = (ser * d2ser - dser * dser) / (ser * ser) + d2tmp;
    if (reflect) {
        lg = std::log(kPi * (1 - X) / (std::exp(lg) * std::sin(kPi * (1 - X))));
        if (level >= 1) {
            // The reflected derivatives cancel badly as X nears 1; the
            // recurrence from X + 1 is exact and stable on 0 < X < 1.
            double lg1 = 0, dig1 = 0, trig1 = 0;
            LnGammaCore(X + 1, level, lg1, dig1, trig1);
            dig = dig1 - 1 / X;
            if (level >= 2) trig = trig1 + 1 / (X * X);
        }
    }
}

}  // namespace detail

// Ln Gamma(X) for X > 0.
double LnGammaValue(double X);
inline void LnGamma(double X, double& Result) { Result = LnGammaValue(X); }

// Ln Gamma(X) with digamma and trigamma when wanted (Trig only with Dig).
// Writes nothing for X < 0.
void LnGammaDerivs(double X, double& LnG, double& Dig, double& Trig);

}  // namespace tivelor::numerics
