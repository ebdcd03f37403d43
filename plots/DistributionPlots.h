// The entries of the distribution plot window and the bivariate density plot.
#pragma once

#include <string>

#include "platform/arrays.h"

namespace tivelor {

class App;

// Shows the distribution plots of a profile table modally and returns when
// the window closes. Column 2 is named by the three switches.
void ShowDistributionPlots(App& app, platform::Vec<double>& ProfNegLnL, double& Mean, double& Diff,
                           double& EVEstimate, double& SD, long& NProfPts, platform::Vec<double>& ProfPDF,
                           platform::Vec<double>& ProfCIMode, platform::Vec<double>& ProfCIMean,
                           platform::Vec<double>& ProfCum, platform::Vec<double>& ProfNormPDF,
                           platform::Vec<double>& ProfX, std::string& PriorProfileOn, std::string& PosteriorOn,
                           std::string& MLOn);

// Shows the joint density of two parameters on their grid modally and
// returns when the window closes. X and Y are increasing, rows 1 to NX and
// 1 to NY; Density(i, j) is the weight of node (X(i), Y(j)).
void PlotBivariateDensity(App& app, platform::Vec<double>& X, platform::Vec<double>& Y,
                          platform::Matrix<double>& Density, double& PeakDensity, int& XPar, int& YPar, long& NX,
                          long& NY, double& PeakX, double& PeakY);

}  // namespace tivelor
