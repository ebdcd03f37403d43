// The -ln prior density of each kind of prior at a parameter value, measured
// from the prior's mode, and the normal probability the cliffs use.
#pragma once

namespace tivelor::numerics {

// Standard normal cumulative probability of X (a Chebyshev fit of the
// complementary error function), written into Result.
void NormalCDF(double X, double& Result);
double NormalCDF(double X);

// d^2 x 1E20: the term of a value a distance d outside a prior's support.
double OutOfSupportTerm(double d);

// Normal with mean m and SD s (s not 0).
double NormalPriorTerm(double x, double m, double s);
// Exponential with mean |m|; x <= 0 is outside the support.
double ExponentialPriorTerm(double x, double m);
// Gamma with mean m and SD s (0 < s < m); x < 1E-6 is outside the support.
double GammaPriorTerm(double x, double m, double s);
// Ln-normal with mean m and SD s (both > 0); x < 1E-6 is outside the support.
double LnNormalPriorTerm(double x, double m, double s);
// Beta with mean m and SD s; outside 1E-6 .. 0.999999 is outside the support,
// and the mode is held within those bounds.
double BetaPriorTerm(double x, double m, double s);
// Left-side cliff at foot a with edge SD s (s >= 0): flat to the right of a.
double LeftCliffPriorTerm(double x, double a, double s);
// Right-side cliff at foot a with edge SD s (s >= 0): flat to the left of a.
double RightCliffPriorTerm(double x, double a, double s);
// Uniform-bounded: a left cliff at (a, sa) plus a right cliff at (b, sb).
double UniformBoundedPriorTerm(double x, double a, double sa, double b, double sb);

}  // namespace tivelor::numerics
