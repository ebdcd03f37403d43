// The runtime's conversions and Format. Input: one byte choosing the
// function, eight bytes of a double, then text (Val's text, Format's pattern).
#include <cmath>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "platform/runtime.h"

namespace {

void CheckRounding(double x, bool present, double r, double lo, double hi, const char* name) {
    const bool inRange = std::isfinite(x) && std::nearbyint(x) >= lo && std::nearbyint(x) <= hi;
    if (present != inRange) fuzz::Fail(std::string(name) + " range of " + platform::CStr(x));
    if (present && std::fabs(r - x) > 0.5) fuzz::Fail(std::string(name) + " rounding of " + platform::CStr(x));
}

// Str and CStr keep 15 significant digits; Val reads them back. Above
// 1.79769313486231E+308 the 15 digits round past the largest double.
void CheckNumberText(double x) {
    if (!std::isfinite(x) || std::fabs(x) > 1.79769313486231E+308) return;
    const double back = platform::Val(platform::Str(x));
    if (std::fabs(back - x) > std::fabs(x) * 1E-14) fuzz::Fail("Val(Str(x)) for " + platform::Str(x));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const int op = data[0] % 5;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    double x = 0;
    std::string tail;
    if (size >= 9) {
        std::memcpy(&x, data + 1, sizeof x);
        tail.assign(reinterpret_cast<const char*>(data + 9), size - 9);
    }
    switch (op) {
    case 0: {
        const double v = platform::Val(text);
        if (std::isnan(v)) fuzz::Fail("Val gave NaN");
        break;
    }
    case 1: {
        const auto r = platform::CInt(x);
        CheckRounding(x, r.has_value(), r ? *r : 0, -32768, 32767, "CInt");
        break;
    }
    case 2: {
        const auto r = platform::CLng(x);
        CheckRounding(x, r.has_value(), r ? *r : 0, -2147483648.0, 2147483647.0, "CLng");
        break;
    }
    case 3:
        CheckNumberText(x);
        CheckNumberText(platform::Val(text));
        break;
    case 4:
        if (tail.size() > 64) tail.resize(64);
        (void)platform::Format(x, tail);
        (void)platform::Format(platform::CStr(x), tail);
        break;
    }
    return 0;
}
