// The collation of randomized richness estimates: statistics, the text block
// appended to the results summary, and the offer of the histogram pages.
#pragma once

#include <string>

#include "numerics/RichnessCollation.h"

namespace tivelor {

class App;

// Collates RandESR(1 To NRand), appends the block to the results summary and
// offers the histogram pages. SampleBased: True (-1) for the sample-based block.
void CollateRandomizedRichness(App& app, int SampleBased);

// The text block of a collation. letter, grid, path: the covariance link;
// mlESR: the maximum-likelihood estimate shown for comparison.
std::string CollationBlock(const numerics::RichnessCollation& c, int n, bool sampleBased,
                           const std::string& letter, int grid, const std::string& path,
                           double mlESR);

}  // namespace tivelor
