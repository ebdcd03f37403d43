// Sample-based and distribution-based randomizations of the richness
// estimate, with the expected-richness sum and the bivariate integration
// they use.
#pragma once

#include <string>

#include "numerics/RichnessDraws.h"
#include "platform/arrays.h"

namespace tivelor {

class App;
class ProgressObserver;

// A randomized estimate above the limit (or not a number) is not stored:
// unless Abort was pressed, the user is asked whether to stop the run.
// True when the run stops.
bool RejectAndAskStop(App& app, ProgressObserver& progress, int i);

// The sampled quadrats of the model data.
numerics::SampleQuadrats ModelQuadrats(const App& app);

// Expected richness of one set of per-species Thetas (0-1 scale) and UAs
// (natural scale), yielding once per species.
void CalcExpectedRichness(App& app, double& ESR, const platform::Vec<double>& Theta,
                          const platform::Vec<double>& UA);

// Probability that a species with these Logit[Theta] and Ln[abundance] is seen.
void ProbSampled(App& app, double& P, double LogitTheta, double LnN);

// Expected richness of a bivariate normal population of Logit[Theta] and
// Ln[abundance], yielding once per cell; counts and (once per run) warns of
// a grid whose mass misses 1 by more than 0.1 percent.
void IntegrateBivariateRichness(App& app, double& ESR, double MeanT, double SDT, double MeanN,
                                double SDN, double Rho);

void SampleBasedUncertainty(App& app, platform::Vec<double>& P, platform::Vec<double>& StepSize,
                            platform::Vec<std::string>& FuseCode);
void DistributionBasedUncertainty(App& app, platform::Vec<double>& P,
                                  platform::Vec<double>& StepSize,
                                  platform::Vec<std::string>& FuseCode);

// One species' draw of the sample-based randomizations from two independent
// standard normal deviates, z2 first given the species' Theta-UA correlation.
struct SpeciesDraw {
    double theta = 0, ua = 0;
};
SpeciesDraw DrawSpecies(const App& app, int s, const platform::Vec<double>& P,
                        const platform::Vec<double>& StepSize,
                        const platform::Vec<std::string>& FuseCode, double z1, double z2);

}  // namespace tivelor
