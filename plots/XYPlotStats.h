// The statistics text of the XY plot window.
#pragma once

#include <optional>
#include <string>

#include "numerics/PlotStats.h"

namespace tivelor {

// r and s of a line pass; empty for two points or fewer.
std::string LineStatisticsText(const numerics::PlotSums& sums);

// The text of a points or drop-lines pass, or nothing when its conditions
// fail. recordMode picks the five-decimal mean of the few-points case.
std::optional<std::string> PointStatisticsText(const numerics::PlotSums& sums, bool scatter,
                                               bool drop, bool recordMode);

}  // namespace tivelor
