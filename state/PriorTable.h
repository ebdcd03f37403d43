// Prior distribution of every parameter.
#pragma once

#include <string>
#include <variant>

#include "platform/arrays.h"
#include "platform/runtime.h"

namespace tivelor {

// A Variant of the prior table: a number, or a text ("Unused", or the text
// of a number as read from a priors file).
using PriorVariant = std::variant<double, std::string>;

inline bool IsUnused(const PriorVariant& v) {
    const std::string* s = std::get_if<std::string>(&v);
    return s && *s == "Unused";
}
// Numeric value: the number itself, or the leading number of the text.
inline double PriorNumber(const PriorVariant& v) {
    if (const double* d = std::get_if<double>(&v)) return *d;
    return platform::Val(std::get<std::string>(v));
}

inline constexpr double kPriorUnset = 1E-100;

struct PriorTable {
    // One letter: U uniform-unbounded, T uniform-bounded, N normal,
    // E exponential, G gamma, B beta, S left-side cliff, D right-side cliff,
    // L ln-normal.
    platform::Vec<std::string> PriorType;
    platform::Vec<double> PriorMean, PriorSD;          // 1E-100 = unset
    platform::Vec<PriorVariant> PriorMean2, PriorSD2;  // "Unused" unless T
    platform::Vec<double> PriorTerm;                   // -ln prior density

    // Dimensions every array to 0 To numPars, all uniform-unbounded.
    void Reset(int numPars) {
        PriorType.ReDim(numPars);
        PriorMean.ReDim(numPars);
        PriorSD.ReDim(numPars);
        PriorMean2.ReDim(numPars);
        PriorSD2.ReDim(numPars);
        PriorTerm.ReDim(numPars);
        for (int i = 1; i <= numPars; ++i) {
            PriorType(i) = "U";
            PriorMean(i) = kPriorUnset;
            PriorSD(i) = kPriorUnset;
            PriorMean2(i) = std::string("Unused");
            PriorSD2(i) = std::string("Unused");
        }
    }
};

}  // namespace tivelor
