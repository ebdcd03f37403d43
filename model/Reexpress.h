// Re-expression of the species' parameters between Theta and Logit[Theta]
// and between UA and Ln[UA], offered at the start of the results report.
#pragma once

#include <string>

#include "platform/arrays.h"

namespace tivelor {

class App;

// Parameter names of species i in each scale.
std::string ThetaParName(int i);
std::string LogitThetaParName(int i);
std::string UAParName(int i);
std::string LnUAParName(int i);

// Rewrites the species' values in P (from BestPar, the model's best point)
// and their names as the four Conv flags of app.model.Report ask, and
// switches the links. A Theta of 0 becomes Logit[Theta] -18.42 and a UA of 0
// Ln[UA] -4.605, the values the model pairs with its clamps.
void ConvertParameters(App& app, platform::Vec<double>& P, const platform::Vec<double>& BestPar,
                       platform::Vec<std::string>& ParName);

}  // namespace tivelor
