// What the Bayesian posterior evaluation keeps from one call to the next,
// including its own record of the last run for the previous-results offer.
#pragma once

#include <string>

#include "state/MLState.h"
#include "numerics/PosteriorSums.h"
#include "platform/arrays.h"

namespace tivelor {

// The last completed run: its table after the distribution was derived, and
// what its results stage needs.
struct PosteriorRecord {
    bool valid = false;
    ProfileSnapshot table;
    long MinPt = 0, NGridPts = 0, NIntegrated = 0;
    int FreeIndex1 = 0;
    double ProfStep = 0;
    double PeakDensity = 0, PeakX = 0, PeakY = 0;
    platform::Matrix<double> BivarDensity;
    platform::Vec<double> BivarX, BivarY;
};

struct BayesState {
    long NGridPts = 0;
    int BivarSizeFailed = 0;
    std::string ParAnswer, PtsAnswer;
    double ProfCentre = 0, ProfStep = 0, SavedProfStep = 0, MinNegLnL = 1E+100;
    long MinPt = 0, MidProfPt = 0, MidGridPt = 0;
    int EditorShown = 0;
    platform::Vec<long> GridPt = platform::Vec<long>(6);   // current point of levels 1..6
    long CallsDone = 0;
    double StartTime = 0;   // monotonic seconds
    long SecsLeft = 0;
    std::string MinLeft, SecLeft;
    double RefNegLnL = 0, NodeNegLnL = 0;
    numerics::LogWeightSum PostSum;
    double PeakDensity = 0, PeakX = 0, PeakY = 0;
    platform::Matrix<double> BivarDensity;
    platform::Vec<double> BivarX, BivarY;
    double PostMean = 0, ModeDiff = 0, PostSD = 0;
    PosteriorRecord last;
};

// The likelihood-profile and posterior offers of their last results are
// withdrawn, with the records they would show.
inline void WithdrawPreviousResults(MLState& ml, BayesState& bayes) {
    ml.last = ProfileSnapshot{};
    bayes.last = PosteriorRecord{};
}

}  // namespace tivelor
