// Results of the results report kept after it: the richness estimators, the
// accumulation-curve fits, the distribution statistics, the re-expression
// choices and the follow-up answers, read afterwards by the model's plots
// and the uncertainty statistics.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/arrays.h"

namespace tivelor {

// A value that may have no defined value; the report prints "Undefined".
using MaybeNumber = std::optional<double>;

// One richness estimator: estimate, variance and ln-normal 95% bounds.
struct RichnessEstimate {
    MaybeNumber Est, Var, L95, U95;
};

struct DistributionStatistics {
    double ThetaMeanEst = 0, ThetaVarEst = 0, ThetaMeanInf = 0, ThetaVarInf = 0;
    double LogitThetaMeanEst = 0, LogitThetaVarEst = 0, LogitThetaMeanInf = 0,
           LogitThetaVarInf = 0;
    double AbundMeanEst = 0, AbundVarEst = 0, AbundMeanInf = 0, AbundVarInf = 0;
    double LnAbundMeanEst = 0, LnAbundVarEst = 0, LnAbundMeanInf = 0, LnAbundVarInf = 0;
    MaybeNumber CorLogitThetaLnUA, CorLogitThetaLnUASE;
};

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
