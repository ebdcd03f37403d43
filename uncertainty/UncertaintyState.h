// Shared values of the goodness-of-fit test.
#pragma once

#include "platform/arrays.h"

namespace tivelor {

struct GoodnessOfFitState {
    int FirstSpGOF = 0, LastSpGOF = 0;   // species range of the test
    platform::Matrix<long> SimCount;     // (0 To NSpp, 0 To NQuad): one simulated data set
    platform::Vec<long> SimUnsampled;    // (0 To NSpp): individuals left unsampled
};

struct UncertaintyState {
    GoodnessOfFitState Gof;
};

}  // namespace tivelor
