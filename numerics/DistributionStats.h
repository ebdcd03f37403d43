// How the species' Thetas and abundances are spread: the estimated
// distribution (each sampled species once) and the inferred one (each species
// weighted by the reciprocal of its detection probability), with the
// correlation of Logit[Theta] and Ln[species abundance].
#pragma once

#include <vector>

#include "numerics/Estimators.h"

namespace tivelor::numerics {

// The logit used for reporting: a Theta of 0 (or below) gives -18.42 and a
// Theta of 1 (or above) 18.42, the logits the model pairs with its clamps.
double ReportLogit(double theta);

// Per species (index 0 .. n-1) values of a fit.
struct SpeciesSpread {
    std::vector<double> Theta;        // square root of the squared Theta
    std::vector<double> Abund;        // estimated total abundance
    std::vector<double> DetectProb;   // probability of being counted at all
    double ESR = 0;                   // sum of 1/DetectProb
};

struct DistributionStatistics {
    double ThetaMeanEst = 0, ThetaVarEst = 0, ThetaMeanInf = 0, ThetaVarInf = 0;
    double LogitThetaMeanEst = 0, LogitThetaVarEst = 0, LogitThetaMeanInf = 0,
           LogitThetaVarInf = 0;
    double AbundMeanEst = 0, AbundVarEst = 0, AbundMeanInf = 0, AbundVarInf = 0;
    double LnAbundMeanEst = 0, LnAbundVarEst = 0, LnAbundMeanInf = 0, LnAbundVarInf = 0;
    MaybeNumber CorLogitThetaLnUA, CorLogitThetaLnUASE;
};

DistributionStatistics ComputeDistributionStatistics(const SpeciesSpread& s);

}  // namespace tivelor::numerics
