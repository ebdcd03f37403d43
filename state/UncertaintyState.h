// Shared values of the goodness-of-fit test and of the uncertainty
// statistics of the richness estimate.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "platform/arrays.h"

namespace tivelor {

struct GoodnessOfFitState {
    int FirstSpGOF = 0, LastSpGOF = 0;   // species range of the test
    platform::Matrix<long> SimCount;     // (0 To NSpp, 0 To NQuad): one simulated data set
    platform::Vec<long> SimUnsampled;    // (0 To NSpp): individuals left unsampled
};

// The saved covariance file the randomizations draw on.
struct CovarianceLink {
    std::string CovFileName;        // "" when the dialog was cancelled
    int CovGrid = 0;                // 1 to 3; 0 before it is asked
    std::string CovMethodLetter;    // "N" numerical, "A" analytical
    int CovFileOK = 0;              // True when the file matched and its links are sound
    platform::Vec<double> VarTheta, VarUA, CorThetaUA;   // (0 To NSpp)
    platform::Vec<double> CovValue, CovStep;             // (0 To 2 NSpp), as read
    platform::Vec<std::string> CovCode;
};

// Randomized richness estimates and what the collation made of them.
struct RandomizedStore {
    platform::Vec<int> RandESR;     // (0 To NRand), used from 1
    int RandESRMin = 0, RandESRMax = 0;
    double ESRDistML = 0;           // distribution-based estimate at the unperturbed moments
    int SloppyCount = 0, SloppyWarned = 0;

    std::optional<double> RandESRMean, RandESRSD;
    int RandESRLowCI = 0, RandESRUpCI = 0;
    // Per cell width 1, 2, 5, 10, 20, 50, 100: cells, frequencies (0 To cells)
    // and the first and last cell bases.
    std::array<int, 7> ESRCells{};
    std::array<platform::Vec<int>, 7> ESRFreq;
    std::array<int, 7> FirstBase{}, LastBase{};
};

struct UncertaintyState {
    GoodnessOfFitState Gof;
    CovarianceLink Cov;
    RandomizedStore Rand;
};

}  // namespace tivelor
