// A one-parameter profile of -ln density at equally spaced points turned
// into a normalised distribution and its summary statistics.
#pragma once

#include "platform/arrays.h"

namespace tivelor::numerics {

// The profile table's columns, rows 1 to NProfPts. Cum is re-sized here;
// the others are sized by the caller, and rows a step does not write keep
// what they held.
struct ProfileColumns {
    long NProfPts;
    const platform::Vec<double>& ProfX;   // ascending, spaced by Step
    platform::Vec<double>& ProfNegLnL;    // on return: differences from the mode
    platform::Vec<double>& ProfPDF;
    platform::Vec<double>& ProfCum;
    platform::Vec<double>& ProfCIMode;
    platform::Vec<double>& ProfCIMean;
    platform::Vec<double>& ProfNormPDF;
};

// Simpson's rule over pairs of intervals. Mean and SD are written only when
// the area is positive; Diff = EVEstimate - Mean always. ModePt is the point
// of the lowest profile value.
void ProfileDistribution(ProfileColumns t, double EVEstimate, double& Mean, double& Diff, double& SD,
                         long ModePt, double Step);

}  // namespace tivelor::numerics
