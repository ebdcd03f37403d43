#include "model/ReportDistribution.h"

#include <cmath>

#include "state/ModelState.h"
#include "state/App.h"

namespace tivelor {

void CalcDistributionStatistics(App& app) {
    const ModelState& md = app.model;
    numerics::SpeciesSpread s;
    const int n = md.NSpp;
    for (int i = 1; i <= n; ++i) {
        const double sq = md.SpTheta(i);
        s.Theta.push_back(sq > 0 ? std::sqrt(sq) : 0.0);
        s.Abund.push_back(static_cast<double>(md.TotAbund(i)));
        s.DetectProb.push_back(md.BestDetectProb(i));
    }
    s.ESR = md.ESR;
    app.model.Report.Dist = numerics::ComputeDistributionStatistics(s);
}

}  // namespace tivelor
