// The classical richness estimators of the results report, from the model's
// counts (numerics/Estimators.h holds the math).
#pragma once

#include "state/ReportState.h"
#include "numerics/Estimators.h"

namespace tivelor {

class App;
struct ModelState;

using numerics::BootstrapEstimate;
using numerics::ChaoTwo;
using numerics::CountTable;
using numerics::FirstOrderJackknife;
using numerics::IncidenceSummary;
using numerics::LnNormalBounds;
using numerics::SecondOrderJackknife;
using numerics::StandardError;
using numerics::StudentT975;
using numerics::SummarizeIncidence;

// The sorted species (1..NSpp) of the model's count matrix.
CountTable CountTableFromModel(const ModelState& m);

// Fits the accumulation curves and computes the four estimators from the
// model's counts into app.model.Report.
void CalcRichnessEstimators(App& app, const IncidenceSummary& inc, const CountTable& counts);

}  // namespace tivelor
