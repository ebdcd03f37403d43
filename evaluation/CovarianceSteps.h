// Step sizes of the free parameters from a computed covariance grid, so that
// a profile spans about four standard errors either side.
#pragma once

#include <optional>
#include <string>

namespace tivelor {

class App;

// Asks "Base step sizes on SD's from covariance grid 1, 2, 3, No or Quit?".
// For a grid, every free parameter the covariance run estimated takes its own
// standard error x 24 / (3 x (points - 1)) as its step; one the run did not
// estimate keeps its step, and a grid that was not computed is asked again.
// False on Quit or an empty answer.
bool AskCovarianceGridSteps(App& app, long points, const std::string& title);

// Whether grid g holds standard errors of the free parameters that the
// covariance run estimated (and it estimated at least one of them).
bool CovarianceGridComputed(const App& app, int g);

// The signed standard error of parameter p on grid g through its covariance
// slot; nothing when the run did not estimate p or the grid was not computed.
std::optional<double> CovarianceGridSE(const App& app, int p, int g);

// "Covariance grid g holds no standard errors ..." under the given title.
void ReportGridNotComputed(App& app, int g, const std::string& title);

}  // namespace tivelor
