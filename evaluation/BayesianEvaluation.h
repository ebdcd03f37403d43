// Evaluation of one parameter estimate by its Bayesian posterior: the profile
// of the marginal posterior, integrated over a grid of the other free
// parameters, its table and the bivariate grid file.
#pragma once

#include <string>

#include "platform/arrays.h"

namespace tivelor {

class App;

// The dialogue, the integration run, the plots, the grid file and the table
// in frmBayesian.
void BayesianEvaluation(App& app);

// Writes the posterior table of the profile table into frmBayesian and shows it.
void ShowPosteriorData(App& app, double Mean, double Mode, double ModeDiff, double SD);

// The text of a bivariate grid file: a heading, the column titles and one
// line per node (X outermost).
std::string GridFileText(const platform::Vec<double>& X, const platform::Vec<double>& Y,
                         const platform::Matrix<double>& Density, long NX, long NY, int XPar, int YPar);

// Asks for a file name and writes the grid file. A cancel is silent; a file
// that cannot be written is reported and leaves no partial file.
void SaveGridFile(App& app, const platform::Vec<double>& X, const platform::Vec<double>& Y,
                  const platform::Matrix<double>& Density, long NX, long NY, int XPar, int YPar);

}  // namespace tivelor
