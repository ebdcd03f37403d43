// Prior distributions: beta shape from a mean and an SD, and the points at
// which a prior is profiled.
#pragma once

#include <vector>

namespace tivelor::numerics {

struct BetaShapes {
    double a = 0, b = 0;
};

// Beta shape parameters of the distribution with mean m and SD s (both
// taken by magnitude): with K = m - m^2 - s^2, a = m K / s^2 and
// b = (1 - m) K / s^2. s must not be 0.
BetaShapes BetaShapesFromMoments(double m, double s);

// The number of profile points as used: 0 becomes 101, fewer than 3 become
// 3, and an even count is raised by one, so the count is odd.
int CorrectedProfilePoints(int k);

// The points of a prior profile and their spacing.
struct ProfileGrid {
    std::vector<double> x;   // x[1..K]; x[0] is not used
    double step = 0;         // the spacing between neighbouring points
};

// The domain of a prior profile of K points (K odd, at least 3) for a prior
// of kind letter with first term (mean, sd) and, for a uniform-bounded one,
// the right foot mean2 with its SD sd2.
// N, G, L: mean -/+ 5 SD; G and L start at 1E-6 when that goes below it.
// E: 0 to 10 times the mean. B: 1E-6, then steps of 1/(K - 1), then 0.999999.
// S, D: the foot -/+ 3 SD; with SD 0 from 0 to twice the foot (ascending
// whatever the foot's sign); foot and SD both 0: steps of 0.1 about 0.
// T: from the left foot less 3 SDs to the right foot plus 3 SDs.
ProfileGrid PriorProfileGrid(char kind, double mean, double sd, double mean2, double sd2, int K);

}  // namespace tivelor::numerics
