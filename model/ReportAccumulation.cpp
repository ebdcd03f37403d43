#include "model/ReportAccumulation.h"

#include "state/ModelState.h"
#include "state/App.h"

namespace tivelor {

void FitAccumulationCurves(App& app, const numerics::CountTable& counts) {
    ModelState& md = app.model;
    ReportState& rep = md.Report;
    const numerics::AccumulationCurve c = numerics::GreedyAccumulation(counts);
    const int m = counts.NQuad();
    for (platform::Vec<double>* v : {&md.IncrCurve, &md.AccumCurve, &md.AccumX})
        if (v->UBound() != m) v->ReDim(m);
    for (int i = 0; i <= m; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        md.IncrCurve(i) = c.Incr[k];
        md.AccumCurve(i) = c.Accum[k];
        md.AccumX(i) = c.X[k];
    }
    if (c.LevelsAt > 0) rep.NCurvePts = c.LevelsAt;
    const numerics::CurveFit mm = numerics::FitMichaelisMenten(c, counts.NSpp());
    rep.MM = mm.Est;
    rep.MMResidVar = mm.ResidVar;
    const numerics::CurveFit ml = numerics::FitAsymptoteML(c, counts.NSpp());
    rep.MLAsym = ml.Est;
    rep.MLResidVar = ml.ResidVar;
}

}  // namespace tivelor
