// Two-sided probability of a Student's t statistic with 999 degrees of
// freedom, as the covariance report prints it.
#pragma once

namespace tivelor::numerics {

// P(|t| >= T) for T >= 0, from the cumulative probability integrated by
// Simpson's rule over 4000 panels from -20 to T and rounded to four decimals
// before doubling, so the result is a multiple of 0.0002. A result below
// kTProbabilityFloor (T >= 20 included) stands for "<0.0001". T is taken at
// single precision.
double TProbability(double T);

inline constexpr double kTProbabilityFloor = 0.0001;

}  // namespace tivelor::numerics
