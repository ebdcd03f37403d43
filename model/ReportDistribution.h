// The distribution statistics of the results report, from the model's
// best-point record (numerics/DistributionStats.h holds the math).
#pragma once

#include "numerics/DistributionStats.h"

namespace tivelor {

class App;

using numerics::ReportLogit;

// Reads the model's best-point record into app.model.Report.Dist.
void CalcDistributionStatistics(App& app);

}  // namespace tivelor
