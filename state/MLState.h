// What the maximum-likelihood profile evaluation keeps from one call to the
// next, including its own copy of the last table for the previous-results offer.
#pragma once

#include <string>

#include "platform/arrays.h"

namespace tivelor {

struct ProfileSnapshot {
    bool valid = false;
    long NProfPts = 0;
    int ProfPar = 0;
    double EVEstimate = 0;
    platform::Vec<double> ProfX, ProfNegLnL, ProfPDF, ProfCum, ProfCIMode, ProfCIMean, ProfNormPDF;
};

struct MLState {
    double ProfCentre = 0, ProfStep = 0, SavedProfStep = 0, MidProfPt = 0, MinNegLnL = 1E+100;
    long MinPt = 0;
    double ProfMean = 0, ProfDiff = 0, ProfSD = 0;
    double StartTime = 0;
    long SecsLeft = 0;
    std::string MinLeft, SecLeft, MinMethod;
    int EditorShown = 0;
    ProfileSnapshot last;
};

}  // namespace tivelor
