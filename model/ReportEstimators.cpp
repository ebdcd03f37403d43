#include "model/ReportEstimators.h"

#include <algorithm>

#include "model/ReportAccumulation.h"
#include "state/ModelState.h"
#include "state/App.h"

namespace tivelor {

CountTable CountTableFromModel(const ModelState& m) {
    // Only what the model's matrix really holds.
    int nspp = static_cast<int>(std::min<long>(m.NSpp, m.Count.UBound1()));
    int nquad = static_cast<int>(std::min<long>(m.NQuad, m.Count.UBound2()));
    CountTable t(nspp, nquad);
    for (int i = 1; i <= t.NSpp(); ++i)
        for (int j = 1; j <= t.NQuad(); ++j) t(i, j) = m.Count(i, j);
    return t;
}

void CalcRichnessEstimators(App& app, const IncidenceSummary& inc, const CountTable& counts) {
    FitAccumulationCurves(app, counts);
    ReportState& rep = app.model.Report;
    const numerics::ClassicalEstimates e = numerics::ClassicalRichnessEstimates(inc);
    rep.Chao2 = e.Chao2;
    rep.Jack1 = e.Jack1;
    rep.Jack2 = e.Jack2;
    rep.Boot = e.Boot;
}

}  // namespace tivelor
