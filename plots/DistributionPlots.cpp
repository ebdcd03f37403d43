#include "plots/DistributionPlots.h"

#include "app/App.h"

namespace tivelor {

void ShowDistributionPlots(App& app, platform::Vec<double>&, double&, double&, double&, double&, long&,
                           platform::Vec<double>&, platform::Vec<double>&, platform::Vec<double>&,
                           platform::Vec<double>&, platform::Vec<double>&, platform::Vec<double>&, std::string&,
                           std::string&, std::string&) {
    app.ShowMsg("Distribution plots are not available in this version of Tivelor yet.", 64, "Not available yet");
}

void PlotBivariateDensity(App& app, platform::Vec<double>&, platform::Vec<double>&, platform::Matrix<double>&,
                          double&, int&, int&, long&, long&, double&, double&) {
    app.ShowMsg("The bivariate plot is not available in this version of Tivelor yet.", 64, "Not available yet");
}

}  // namespace tivelor
