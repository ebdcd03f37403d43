// The link between the results and a saved covariance file: the file and
// grid chosen, checked against the parameter values, steps and link codes,
// and the per-species variances and Theta-UA correlations read from it.
#pragma once

#include <string>

#include "platform/arrays.h"

namespace tivelor {

class App;

// Asks for the covariance file (CovFileName, "" on cancel) and, unless
// cancelled, for the grid (1 to 3) into Grid.
void ChooseCovarianceFile(App& app, int& Grid);

// Asks for the file and grid, then reads file #1: sets CovFileOK, and on
// success VarTheta, VarUA and CorThetaUA of every species.
void ReadCovarianceFile(App& app, platform::Vec<double>& P, platform::Vec<double>& StepSize,
                        platform::Vec<std::string>& FuseCode);

}  // namespace tivelor
