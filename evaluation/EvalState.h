// Profile table, covariance grids and evaluation state.
#pragma once

#include <string>

#include "platform/arrays.h"

namespace tivelor {

struct EvalState {
    // Profile table.
    long NProfPts = 0, ProfPt = 0;
    long SavedProfPt = 0;   // the point at which the user quit a profile
    int ProfPar = 0;
    double EVEstimate = 0;
    platform::Vec<double> ProfX, ProfNegLnL, ProfPDF, ProfCIMode, ProfCIMean, ProfCum,
        ProfNormPDF, PostPar;
    // Per-grid statistics and grid factors (0 To 3).
    platform::Vec<double> GridLSD, GridLMean, GridFactor, GridLCV, GridP1;
    int EvalValid = 0;
    std::string LastEvalType;
};

}  // namespace tivelor
