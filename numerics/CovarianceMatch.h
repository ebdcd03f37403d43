// The check that a saved covariance file belongs to a parameter set: the
// value, the step size and the link code of every parameter must agree. The
// covariance link of the results summary and the ranking window apply it
// alike.
#pragma once

#include <string_view>

namespace tivelor::numerics {

// A number of the file agrees with the parameter set's: when the set's is 0
// the file's must be 0; otherwise Abs((file - set) / set) must not exceed
// 1E-06 (exactly 1E-06 agrees).
bool CovNumberAgrees(double fileNumber, double number);

// One parameter's value, step size and link code from the file against the
// set's: both numbers by CovNumberAgrees, the codes letter for letter.
bool CovParameterAgrees(double fileValue, double fileStep, std::string_view fileCode, double value,
                        double step, std::string_view code);

}  // namespace tivelor::numerics
