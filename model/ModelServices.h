// Internal services of the quadrat-count model, shared by its source files.
#pragma once

#include <cmath>
#include <string>

#include "model/ModelState.h"
#include "platform/arrays.h"

namespace tivelor {

class App;

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

// Reads the data file named by m.DataFile into m (dimensioned by the set-up),
// names the parameters and sets SampleSize. Shows its message and returns
// false on a data error; m is then to be discarded.
bool ReadDataFile(App& app, ModelState& m, platform::Vec<std::string>& ParName,
                  long& SampleSize);
void SortSpeciesByAbundance(App& app, ModelState& m);
void AdviseFuseFix(App& app, ModelState& m);

void CalcAnalyticalDerivatives(App& app, int NumPars, platform::Vec<double>& P,
                               platform::Vec<double>& StepSize,
                               platform::Vec<std::string>& FuseCode,
                               platform::Vec<double>& AnaGrad,
                               platform::Matrix<double>& AnaHess);

// Clamped inputs of one species and the values derived from them.
struct SpeciesInputs {
    double t = 0, u = 0;          // clamped P(i), P(NSpp + i)
    double UA = 0, N = 0, ShrinkRatio = 0, ThetaMin = 0, ThetaSq = 0;
    bool logitMin = false;        // ThetaMin was computed (logit mode)
};

// Clamps species i's two parameters (written back into P) and derives UA, N,
// ShrinkRatio and Theta squared from them.
void ClampSpecies(const ModelState& m, platform::Vec<double>& P, int i, SpeciesInputs& s);

// Whether a species with this Theta squared uses the beta-binomial. A Theta
// at its lower clamp gives Theta squared equal to ShrinkRatio only to a few
// ulps, so the comparison carries a relative tolerance.
inline bool UsesBetaBinomial(double thetaSq, double shrinkRatio) {
    return thetaSq > shrinkRatio * (1 + 1E-12);
}

// Clamp of a count probability before its logarithm is taken.
inline double ClampQuadP(double p) {
    if (p <= 1E-08) p = 1E-08;
    if (p >= 0.99999999) p = 0.99999999;
    return p;
}

}  // namespace tivelor
