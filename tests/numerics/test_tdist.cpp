// Two-sided t probabilities with 999 degrees of freedom.
#include <gtest/gtest.h>

#include <limits>

#include "numerics/TDist.h"

namespace {

using tivelor::numerics::TProbability;

TEST(TProbability, WorkedValuesRoundedAsTheReportPrintsThem) {
    // scipy.stats.t.sf(T, 999) * 2 with the cumulative probability rounded to four decimals.
    const double T[] = {0, 0.5, 1, 1.96, 3, 3.5, 3.9}, P[] = {1, 0.6172, 0.3176, 0.0502, 0.0028, 0.0004, 0.0002};
    for (int k = 0; k < 7; ++k) EXPECT_NEAR(TProbability(T[k]), P[k], 1e-12) << T[k];
    // Below 0.0001 ("<0.0001"): from 4 on, at once from 20, and for what is not a number.
    for (double t : {4.0, 7.0, 20.0, 25.0, std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()})
        EXPECT_LT(TProbability(t), tivelor::numerics::kTProbabilityFloor) << t;
}

}  // namespace
