// Expected species richness of a set of per-species Thetas and abundances,
// the probability that a species is seen at all, the expected richness of a
// bivariate normal population of Logit[Theta] and Ln[abundance], and the
// normal deviates and perturbed moments that the randomizations draw.
#pragma once

#include <vector>

#include "numerics/Random.h"

namespace tivelor::numerics {

// Two independent standard normal deviates by the polar method.
void NormalDeviate(UniformSource& u, double& z1, double& z2);

// Absence probabilities of one quadrat are held within these bounds.
inline constexpr double kAbsentMin = 1E-08, kAbsentMax = 0.99999999;
// Abundances from here on count as certain to be seen.
inline constexpr double kHugeAbundance = 1E+15;

// The sampled quadrats: p_j = 1 / (NQuadHab - j + 1), j = 1..n at index j - 1.
struct SampleQuadrats {
    std::vector<double> p;
    std::vector<double> ln1mp;   // Ln(1 - p_j), p_j held within 1E-06..0.999999 as the binomial does
    double ShrinkConst = 1.0001;
    int Count() const { return static_cast<int>(p.size()); }
};
SampleQuadrats MakeSampleQuadrats(const double* p, int n, double shrinkConst);

// (ShrinkConst - 1) / (N - 1), or ShrinkConst - 1 when N is at most 1.
double ShrinkRatioFor(double N, double shrinkConst);

// The product over the quadrats of the probability (each held within
// kAbsentMin..kAbsentMax) that a species of N individuals and overdispersion
// Theta^2 is absent from the quadrat: beta-binomial when Theta^2 exceeds the
// shrink ratio and N is not 1, else binomial.
struct Absence {
    double Prod = 1;        // product of the held probabilities
    double Seen = 0;        // 1 - Prod, computed without cancellation
    double LastQuadP = 0;   // the held probability of the last quadrat
    double ShrinkRatio = 0;
};
Absence AbsentFromSample(const SampleQuadrats& q, double N, double theta);

// The species' weight in the expected richness: 1 / (1 - Prod).
inline double SpeciesWeight(const SampleQuadrats& q, double N, double theta) {
    return 1 / AbsentFromSample(q, N, theta).Seen;
}

// Probability of being seen for Logit[Theta] and Ln[abundance]: N is the
// whole part of Exp(lnN) plus 1; an abundance of kHugeAbundance or more (or
// not finite) gives 1.
double ProbSampled(const SampleQuadrats& q, double logitTheta, double lnN);

// The 40 by 40 cells of the bivariate integration cover +-4 standard
// deviations: rows a and columns b run from -20 to 19, each 0.2 SD wide.
inline constexpr int kBivarFirst = -20, kBivarLast = 19;
inline constexpr double kBivarH = 0.2;

struct BivariateSums {
    double ESR = 0;     // sum of the cells' expected species over their probability of being seen
    double Total = 0;   // sum of the cells' expected species
};

// One row a of the grid, its cells b = -20..19 summed in order. The cells'
// expected numbers of species do not depend on the standard deviations, so
// a standard deviation of 0 puts every cell of its axis at the mean.
BivariateSums BivariateRow(const SampleQuadrats& q, int nspp, int a, double meanT, double sdT,
                           double meanN, double sdN, double rho);
// All rows.
BivariateSums IntegrateBivariate(const SampleQuadrats& q, int nspp, double meanT, double sdT,
                                 double meanN, double sdN, double rho);

// Percentage by which the grid's mass misses the species count.
inline double SloppyPercent(double total, int nspp) {
    const double d = (total - nspp) / nspp * 100;
    return d < 0 ? -d : d;
}

// A randomized mean: Sqr(var / n) z + mean.
double PerturbedMean(double mean, double var, int n, double z);
// A randomized standard deviation, log-normal with mean Sqr(var) and
// variance var 0.5 / n; 0 when var is 0 or less.
double PerturbedSD(double var, int n, double z);

}  // namespace tivelor::numerics
