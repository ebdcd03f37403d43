// The species accumulation curve of the model's sample and its two fits, for
// the results report (numerics/Accumulation.h holds the math).
#pragma once

#include "numerics/Accumulation.h"

namespace tivelor {

class App;

// Builds the curve into the model's IncrCurve, AccumCurve and AccumX, and
// the two fits into app.model.Report.
void FitAccumulationCurves(App& app, const numerics::CountTable& counts);

}  // namespace tivelor
