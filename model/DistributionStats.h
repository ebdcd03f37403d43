// How the species' Thetas and abundances are spread: the estimated
// distribution (each sampled species once) and the inferred one (each species
// weighted by the reciprocal of its detection probability), with the
// correlation of Logit[Theta] and Ln[species abundance].
#pragma once

#include <vector>

#include "model/ReportState.h"

namespace tivelor {

class App;

// The logit used for reporting: a Theta of 0 (or below) gives -18.42 and a
// Theta of 1 (or above) 18.42, the logits the model pairs with its clamps.
double ReportLogit(double theta);

// Per species (index 0 .. n-1) values of the best-point record.
struct SpeciesSpread {
    std::vector<double> Theta;        // square root of the squared Theta
    std::vector<double> Abund;        // estimated total abundance
    std::vector<double> DetectProb;   // probability of being counted at all
    double ESR = 0;                   // sum of 1/DetectProb
};

DistributionStatistics ComputeDistributionStatistics(const SpeciesSpread& s);

// Reads the model's best-point record into app.model.Report.Dist.
void CalcDistributionStatistics(App& app);

}  // namespace tivelor
