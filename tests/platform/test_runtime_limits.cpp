// Format at the ends of the double range.
#include <gtest/gtest.h>

#include <string>

#include "platform/runtime.h"

using platform::Format;

// A percentage that overflows when scaled prints as the infinity it is; one
// that just fits prints all its digits.
TEST(RuntimeLimits, PercentOfHugeValues) {
    EXPECT_EQ(Format(1E307, "0%"), "Infinity");
    EXPECT_EQ(Format(-1E307, "0.00%"), "-Infinity");
    EXPECT_EQ(Format(-1E307, "0%;(0%)"), "Infinity");   // the negative section takes the magnitude
    const std::string fits = Format(1E306, "0%");   // 1E308: 309 digits, those of the double
    EXPECT_EQ(fits.size(), 310u);
    EXPECT_EQ(fits.substr(0, 16) + fits.back(), "1000000000000000%");
    EXPECT_EQ(Format(1.7976931348623157E308, "0.0E+00"), "1.8E+308");
}
