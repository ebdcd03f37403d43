// Results of the results report kept after it: the richness estimators, the
// accumulation-curve fits, the distribution statistics, the re-expression
// choices and the follow-up answers, read afterwards by the model's plots
// and the uncertainty statistics.
#pragma once

#include <functional>
#include <string>

#include "numerics/DistributionStats.h"
#include "numerics/Estimators.h"
#include "platform/arrays.h"

namespace tivelor {

// The report prints "Undefined" for a MaybeNumber without a value.
using numerics::MaybeNumber;
using numerics::RichnessEstimate;
using numerics::DistributionStatistics;

// The work behind the report's follow-up questions, supplied by the plots
// and the uncertainty statistics. An empty entry is not available.
struct ReportFollowUpServices {
    std::function<void()> PearsonDeviatesTest;
    std::function<void()> PlotThetaEstimates, PlotLogitThetaEstimates, PlotLnAbundanceEstimates,
        PlotAccumulationCurve, PlotQuadratAbundance, PlotSampledVsEstimated;
    using UncertaintyRoutine = std::function<void(platform::Vec<double>& P,
                                                  platform::Vec<double>& StepSize,
                                                  platform::Vec<std::string>& FuseCode)>;
    UncertaintyRoutine SampleBasedUncertainty, DistributionBasedUncertainty;
};

struct ReportState {
    // Classical estimators and the accumulation-curve fits.
    RichnessEstimate Chao2, Jack1, Jack2, Boot, MM, MLAsym;
    MaybeNumber MMResidVar, MLResidVar;
    int NCurvePts = 0;

    DistributionStatistics Dist;

    // Re-expression choices (Integer Booleans) of frmConvert.
    int ConvThetaToLogit = 0, ConvLogitToTheta = 0, ConvUAToLnUA = 0, ConvLnUAToUA = 0;

    // Follow-up answers.
    int NRandInput = 0, NRand = 0;
    std::string SampleBasedNote, DistBasedNote;

    ReportFollowUpServices Services;
};

}  // namespace tivelor
