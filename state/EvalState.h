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

    // Covariance run: the centre and steps copied at its start, the maps
    // between covariance index (1 To NEst) and parameter number, the point
    // being evaluated and the positive-definiteness test's results.
    platform::Vec<double> CovCentre, CovStep, GridPar, CholDiag;
    platform::Vec<int> CovIndex, CovSlot;
    long NEst = 0;
    double FMin = 0;
    int GridNum = 0;
    std::string GridQuit = "false";
    int NotPosDef = 0, NotPosDefPar = 0;
    double Determinant = 0;   // of the inverted Hessian, when representable
    // Per grid (0 To 3): ln of the covariance matrix's determinant and of the
    // product of its variances; NaN while the grid has no inverse. They give
    // the determinants that a double cannot hold.
    platform::Vec<double> CovLnDet, CovLnVarProd;
};

}  // namespace tivelor
