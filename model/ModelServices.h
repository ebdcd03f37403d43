// Internal services of the quadrat-count model, shared by its source files.
#pragma once

#include <cmath>
#include <string>

#include "state/ModelState.h"
#include "numerics/LnGamma.h"
#include "platform/arrays.h"

namespace tivelor {

class App;
class ArraySizes;

// Adds to sizes every per-parameter array of the system but the values and
// steps, at numPars, with the priors reset and the fuse codes "~~"; the
// parameter generation advances at Commit.
void ParameterArraySizes(App& app, ArraySizes& sizes, int numPars);

// Checks, before any species-by-quadrat array is sized, that the data file
// opens and holds names for NSpp species and NQuad quadrat records; shows the
// reader's message and returns false when it does not.
bool CheckDataFileShape(App& app, const std::string& path, int NSpp, int NQuad);

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
