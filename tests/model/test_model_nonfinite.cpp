// Parameters that are not finite numbers reaching the model.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "ModelTestSupport.h"

namespace tivelor {
namespace {

using testing::CountFile;
using testing::ModelFixture;

// A NaN parameter gives a value that is not finite, and the best-point record
// taken with NF = 1 holds no made-up abundance; an infinity is clamped like
// any other value out of range.
TEST(ModelNonFinite, NaNGivesANonFiniteValueAndInfinitiesAreClamped) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (bool links : {false, true}) {
        SCOPED_TRACE(links);
        ModelFixture f;
        ASSERT_TRUE(f.Setup(CountFile("nonfinite.dat", {"A", "B"}, {{6, 2}, {0, 3}, {3, 0}}), 2, 3, 10, links, links));
        for (int k = 1; k <= 4; ++k) {
            SCOPED_TRACE(k);
            platform::Vec<double> x(4);
            for (int j = 1; j <= 4; ++j) x(j) = links ? (j <= 2 ? -1.0 : 1.0) : (j <= 2 ? 0.2 : 3.0);
            x(k) = nan;
            EXPECT_FALSE(std::isfinite(f.Eval(x, 1)));
            const int species = k <= 2 ? k : k - 2;
            EXPECT_GE(f.app.model.TotAbund(species), 0);
            for (double big : {inf, -inf}) {
                platform::Vec<double> y = x, clamped;
                y(k) = big;
                const double F = f.Eval(y, 1);
                clamped = y;   // the clamps written back
                ASSERT_TRUE(std::isfinite(clamped(k)));
                EXPECT_EQ(F, f.Eval(clamped, 1));
            }
        }
    }
}

}  // namespace
}  // namespace tivelor
