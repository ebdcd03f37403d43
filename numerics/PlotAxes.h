// Axis rules of the plots: the rounding of range texts, the range of a page
// of fitted densities, and the placing of values on a page's records.
#pragma once

#include <functional>
#include <vector>

#include "platform/arrays.h"

namespace tivelor::numerics {

// Rounded to six decimals, halves up: Int(x * 1E6 + 0.5) / 1E6.
double RoundTo6(double x);

// A fitted distribution beside the species' values.
struct MeanVariance {
    double mean = 0, variance = 0;
};

struct AxisRange {
    double L = 0, H = 0;
};

// The range of a page with two fitted distributions: each species' deviation
// from both (in SDs), bounded by -2 and 2, rounded out to whole SDs plus one.
// A distribution without a positive variance takes no part; when neither has
// one the range is the values' own range widened by 1 at each end. Values
// that are not finite are ignored.
AxisRange DensityPageAxis(const std::vector<double>& values, MeanVariance est, MeanVariance inf);

// Counts the values per record 0 .. last: a value belongs to the first record
// r with centre(r) - h < value <= centre(r) + h; a value in no cell (or not
// finite) is not counted. Afterwards record 1 also gets record 0's count.
platform::Vec<double> PlaceOnRecords(const std::vector<double>& values, long last,
                                     const std::function<double(long)>& centre, double h);

// The accumulation curve's levelling step: the first step that adds no
// species after one that did (incr is indexed 0 .. n); n when there is none.
int LevellingStep(const platform::Vec<double>& incr, int n);

}  // namespace tivelor::numerics
