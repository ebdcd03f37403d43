// Pearson deviates and the statistics of randomized deviate sums against
// the observed sum.
#pragma once

#include <optional>

namespace tivelor::numerics {

// (observed - expected)^2 / expected; 0 when nothing is expected.
inline double PearsonTerm(double observed, double expected) {
    if (expected == 0) return 0;
    const double d = observed - expected;
    return d * d / expected;
}

// Running sums of the randomized deviate sums, with the tally of those at
// least as large as the observed one (within 1E-6).
struct RandomizedSums {
    long N = 0;
    double Sum = 0, SumSq = 0;
    double Min = 1E+100, Max = 0;
    double Tally = 0;

    void Add(double value, double observed) {
        ++N;
        Sum += value;
        SumSq += value * value;
        if (value > Max) Max = value;
        if (value < Min) Min = value;
        if (value > observed - 1E-6) Tally += 1;
    }
};

// An empty value is undefined.
struct RandomizedSummary {
    std::optional<double> Mean, SD, Min, Max, P, SE;
};

// Mean and SD (divisor n) with the extremes when n >= 1; the cumulative p
// and its SE: tally / n and Sqr(p (1 - p) / (n - 1)) when n >= 2, the tally
// itself and 0 when n = 1.
RandomizedSummary Summarize(const RandomizedSums& s);

}  // namespace tivelor::numerics
