// The check that a covariance file belongs to a parameter set, which the
// covariance link and the ranking window share.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "numerics/CovarianceMatch.h"

namespace tivelor::numerics {
namespace {

TEST(CovarianceMatch, NumbersAgreeWithinARelativeMillionth) {
    EXPECT_TRUE(CovNumberAgrees(1.000001, 1));    // the eight-digit pattern's own rounding
    EXPECT_TRUE(CovNumberAgrees(0.9999995, 1));
    EXPECT_FALSE(CovNumberAgrees(1.000002, 1));
    EXPECT_FALSE(CovNumberAgrees(-1, 1));
    EXPECT_TRUE(CovNumberAgrees(-2.5000001E-30, -2.5E-30));
    // A set's 0 is matched only by 0.
    EXPECT_TRUE(CovNumberAgrees(0, 0));
    EXPECT_FALSE(CovNumberAgrees(1E-300, 0));
    EXPECT_FALSE(CovNumberAgrees(0, 1E-300));
    // A difference that leaves the range of numbers disagrees.
    EXPECT_FALSE(CovNumberAgrees(-1.7E308, 1.7E308));
    EXPECT_FALSE(CovNumberAgrees(std::numeric_limits<double>::quiet_NaN(), 1));
    EXPECT_FALSE(CovNumberAgrees(1, std::numeric_limits<double>::quiet_NaN()));
}

TEST(CovarianceMatch, ValueStepAndCodeMustAllAgree) {
    EXPECT_TRUE(CovParameterAgrees(-1, 0.1, "~~", -1, 0.1, "~~"));
    EXPECT_TRUE(CovParameterAgrees(10, 0, "AA", 10, 0, "AA"));
    EXPECT_FALSE(CovParameterAgrees(-1.1, 0.1, "~~", -1, 0.1, "~~"));   // value
    EXPECT_FALSE(CovParameterAgrees(-1, 0, "~~", -1, 0.1, "~~"));       // a fixed parameter in the file
    EXPECT_FALSE(CovParameterAgrees(-1, 0.1, "~~", -1, 0, "~~"));       // a free one in the file
    EXPECT_FALSE(CovParameterAgrees(-1, 0.1, "AA", -1, 0.1, "~~"));     // link code
    EXPECT_FALSE(CovParameterAgrees(-1, 0.1, "a", -1, 0.1, "A"));       // letter case counts
}

}  // namespace
}  // namespace tivelor::numerics
