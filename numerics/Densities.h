// Probability densities set beside the species' estimates on the plot pages.
#pragma once

namespace tivelor::numerics {

// Normal density at x; variance must be positive.
double NormalDensity(double x, double mean, double variance);

// Beta shape from a mean and SD by the method of moments, as the model's
// plot pages take it: a = Mean²·(1 - Mean)/SD² - Mean and
// b = (1 - Mean)·a/Mean. ok is false when no beta distribution has them (SD
// not positive, mean outside (0, 1), or a variance of at least
// Mean·(1 - Mean), so that a or b is not positive).
struct BetaShape {
    double a = 0, b = 0;
    double LnNorm = 0;   // Ln Gamma(a + b) - Ln Gamma(a) - Ln Gamma(b)
    bool ok = false;
};
BetaShape BetaFromMoments(double mean, double sd);

// Beta density at x (0 < x < 1) of a valid shape.
double BetaDensityOf(const BetaShape& shape, double x);

// Beta density at x with the given mean and SD; 0 when no beta distribution
// has them.
double BetaDensity(double x, double mean, double sd);

}  // namespace tivelor::numerics
