#include "engine/Priors.h"

#include <string>

#include "app/App.h"
#include "numerics/PriorTerms.h"
#include "priors/frmReviewPriors.h"

namespace tivelor {

namespace {

// The term of one parameter's prior by its letter; any other letter adds 0.
double Term(const std::string& type, double x, double m, double s, const PriorVariant& m2,
            const PriorVariant& s2) {
    if (type.empty()) return 0;
    switch (type[0]) {
        case 'N': return numerics::NormalPriorTerm(x, m, s);
        case 'E': return numerics::ExponentialPriorTerm(x, m);
        case 'G': return numerics::GammaPriorTerm(x, m, s);
        case 'L': return numerics::LnNormalPriorTerm(x, m, s);
        case 'B': return numerics::BetaPriorTerm(x, m, s);
        case 'S': return numerics::LeftCliffPriorTerm(x, m, s);
        case 'D': return numerics::RightCliffPriorTerm(x, m, s);
        case 'T': return numerics::UniformBoundedPriorTerm(x, m, s, PriorNumber(m2), PriorNumber(s2));
        default: return 0;
    }
}

}  // namespace

void PriorPenalty(App& app, platform::Vec<double>& P) {
    PriorTable& pr = app.priors;
    const int numPars = app.eng.par.NumPars;
    double total = 0;
    for (int i = 1; i <= numPars; ++i) {
        double term = Term(pr.PriorType(i), P(i), pr.PriorMean(i), pr.PriorSD(i), pr.PriorMean2(i),
                           pr.PriorSD2(i));
        pr.PriorTerm(i) = term;
        total += term;
    }
    app.eng.PriorPenaltyTotal = total * app.eng.RecipLnLConst;
}

void ShowPriorReview(App& app) { ReviewPriorLikelihoods(app); }

}  // namespace tivelor
