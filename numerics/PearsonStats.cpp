#include "numerics/PearsonStats.h"

#include <cmath>

namespace tivelor::numerics {

RandomizedSummary Summarize(const RandomizedSums& s) {
    RandomizedSummary out;
    if (s.N <= 0) return out;
    const double n = static_cast<double>(s.N);
    const double mean = s.Sum / n;
    out.Mean = mean;
    const double var = s.SumSq / n - mean * mean;
    if (var > 0) out.SD = std::sqrt(var);
    out.Min = s.Min;
    out.Max = s.Max;
    if (s.N == 1) {
        out.P = s.Tally;
        out.SE = 0.0;
    } else {
        const double p = s.Tally / n;
        out.P = p;
        out.SE = std::sqrt(p * (1 - p) / (n - 1));
    }
    return out;
}

}  // namespace tivelor::numerics
