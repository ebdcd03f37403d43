// The one-parameter distribution plot window's entry.
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

}  // namespace tivelor
