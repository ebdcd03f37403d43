// Information criteria, ranking by selection, Akaike weights and model
// averaging of estimates and unconditional standard errors.
#pragma once

#include <array>
#include <optional>
#include <vector>

namespace tivelor::numerics {

// A model's -ln L: its objective value F (-2 ln L, with any prior term)
// divided by the likelihood constant's reciprocal. Nothing when that leaves the
// range of numbers: when it is not finite, or when a non-zero F comes out as 0
// or as a subnormal number.
std::optional<double> ScaledNegLnL(double F, double recipLnLConst);

// 2·nlnl / cHat + 2·K·N / (N − K − 1): AICc with cHat 1, QAICc above it.
// N − K − 1 is an integer difference; nothing when it is 0 or the result is
// not finite.
std::optional<double> SmallSampleCriterion(double nlnl, int K, long N, double cHat = 1);

// Ranks by repeated selection: entry r (1-based) of the result is the
// 1-based index in v of the r-th smallest value; ties keep the lower index.
// Only values with 0 < v < 1E+100 take part; ranks left over are 0.
std::vector<int> RankBySelection(const std::vector<double>& v);

struct AkaikeWeights {
    std::vector<double> delta, weight;   // 0-based, in the order given
    double S = 0;                        // sum of exp(-delta / 2)
};
// Differences from the first (smallest) value and the weights
// exp(-d/2) / S of values already in ranked order.
AkaikeWeights DeltasAndWeights(const std::vector<double>& ranked);

// One model's estimates and standard errors, parameters 1 to n (element 0
// unused); se[g] for grids g = 1..3, 0 where the model has none.
struct ModelEstimates {
    std::vector<double> est;
    std::array<std::vector<double>, 4> se;
};

struct AveragedEstimates {
    std::vector<double> Avg;                  // 1..n
    std::array<std::vector<double>, 4> USE;   // grids 1..3, -1 for a missing grid
};

// Weighted average of each parameter and its unconditional standard error
// Σ w·Sqr(se²·cHat + (est − avg)²) per grid; missing[g] gives -1 throughout.
AveragedEstimates AverageModels(const std::vector<double>& w, const std::vector<ModelEstimates>& models,
                                int n, const std::array<bool, 4>& missing, double cHat);

}  // namespace tivelor::numerics
