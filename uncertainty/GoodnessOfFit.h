// The Pearson-deviates goodness-of-fit test of the fitted model.
#pragma once

namespace tivelor {

class App;

// Compares the observed sum of Pearson deviates over the chosen species
// range with NRand sums from data sets simulated from the fitted model, and
// appends the report block to ReportText (nothing when aborted).
void PearsonDeviatesTest(App& app);

// One simulated data set: SimCount and SimUnsampled of the species range.
void SimulateQuadratCounts(App& app);

}  // namespace tivelor
