// Evaluation of one parameter estimate by its likelihood profile, and the
// table of the resulting confidence distribution.
#pragma once

#include <string>

namespace tivelor {

class App;
struct EvalState;

// The dialogue, the profile run over the chosen parameter (re-minimizing the
// other free parameters at each point, or evaluating when none is free), the
// distribution plots and the table in frmMaxLike.
void MLParameterEvaluation(App& app);

// The confidence-distribution table of the profile table in fixed columns,
// under the given first line.
std::string ConfidenceTableText(const EvalState& ev, const std::string& heading, double Mean, double Estimate,
                                double Diff, double SD);

// Writes the table into frmMaxLike and shows it.
void ShowMLConfidenceData(App& app, double Mean, double Estimate, double Diff, double SD);

}  // namespace tivelor
