#include "model/GridSearch.h"

#include <cmath>

#include "engine/Simplex.h"
#include "model/Model.h"
#include "model/frmGuessPars.h"
#include "numerics/CountProb.h"
#include "platform/runtime.h"
#include "state/App.h"
#include "windows/frmMain.h"

namespace tivelor {

using platform::Format;

void OfferInitialValueSearch(App& app, platform::Vec<double>& P, platform::Vec<std::string>& FuseCode) {
    // Only the one-function call's own evaluation offers the search, never a
    // minimization, covariance grid or report that happens to run while the
    // one-function window is open.
    if (!app.eng.OneFunctionEval || !app.model.AskGuessInitial) return;
    app.form<frmGuessPars>().Show(platform::vbModal);
    if (app.model.GuessPars) SearchInitialValues(app, P, FuseCode);
}

void SearchInitialValues(App& app, platform::Vec<double>& P, platform::Vec<std::string>& FuseCode) {
    ModelState& m = app.model;
    platform::StatusBar& bar = app.form<frmMain>().stbMain5;
    const int nspp = m.NSpp, nquad = m.NQuad;
    const int thetaRes = m.ThetaGridRes < 1 ? 1 : m.ThetaGridRes;
    const int uaRes = m.UAGridRes < 1 ? 1 : m.UAGridRes;
    const double perSpecies = static_cast<double>(thetaRes + 1) * (uaRes + 1);
    const double allPoints = perSpecies * nspp;
    const double start = app.ui.Timer();
    double done = 0;
    const double lnLow = std::log(0.01);
    const double thetaStep = 10.0 / thetaRes;
    numerics::CountProbCache cache;
    InvalidateSimplex(app.eng);

    for (int i = 1; i <= nspp; ++i) {
        if (FuseCode(i) != "~~") {
            int j = 1;
            while (j < i && FuseCode(j) != FuseCode(i)) ++j;
            if (j < i) {
                P(i) = P(j);
                P(nspp + i) = P(nspp + j);
                done += perSpecies;
                continue;
            }
        }
        const double total = m.CumCount(i, nquad);
        const double top = (static_cast<double>(m.NQuadHab) - 1) / nquad * total;
        // A species without room for unsampled individuals is searched at
        // the lower end of the axis only.
        const double lnHigh = top > 1E9 ? std::log(1E9) : top > 0.01 ? std::log(top) : lnLow;
        const double uaStep = (lnHigh - lnLow) / uaRes;

        double bestF = 1E100, bestTheta = 0, bestUA = 0;
        for (int a = 0; a <= thetaRes; ++a) {
            const double logit = -5 + a * thetaStep;
            const double theta = std::exp(logit) / (std::exp(logit) + 1);
            const double rho = theta * theta;
            double previous = 1E100;
            for (int b = 0; b <= uaRes; ++b) {
                const double ua = std::exp(lnLow + b * uaStep);
                const double N = ua + total;
                cache.Invalidate();
                double S = 0;
                for (int q = 1; q <= nquad; ++q) {
                    const double nRem = N - m.CumCount(i, q - 1);
                    double prob = 0, p = m.QuadProb(q);
                    double d1 = numerics::kNotWanted, d2 = d1, d3 = d1, d4 = d1, d5 = d1;
                    if (nRem == 1)
                        numerics::QuadratProbBinomial(cache, prob, nRem, m.Count(i, q), q, p, d1, d2,
                                                      d3, d4, d5);
                    else
                        numerics::QuadratProbBetaBinomial(cache, prob, nRem, m.Count(i, q), q, p, rho,
                                                          d1, d2, d3, d4, d5);
                    m.LastQuadP = prob;
                    if (prob <= 1E-8) prob = 1E-8;
                    if (prob >= 0.99999999) prob = 0.99999999;
                    S -= std::log(prob);
                }
                const double F = 2 * S;
                if (F < bestF) {
                    bestF = F;
                    bestTheta = theta;
                    bestUA = ua;
                }

                done += 1;
                const double percent = done / allPoints * 100;
                double elapsed = app.ui.Timer() - start;
                if (elapsed < 0) elapsed += 86400;   // past midnight
                const double R = std::nearbyint(elapsed / percent * (100 - percent));
                const double mins = platform::Int(R / 60);
                std::string secs = platform::CStr(R - 60 * mins);
                if (secs.size() == 1) secs = "0" + secs;
                bar.SetPanel(1, "Searching for initial values; " + Format(percent, " ##0.00") + "% done");
                bar.SetPanel(2, "Estimated time remaining (m:s): " + platform::CStr(mins) + ":" + secs);
                bar.SetPanel(3, "Best initial values for species #" + platform::CStr(i) +
                                    " are: Theta > " + Format(bestTheta, "#0.00000000") +
                                    ", unsampled abundance (UA) > " + Format(bestUA, "########0.##") +
                                    ", minimum -2*Ln[L] > " + Format(bestF, "#######0.0000"));
                app.ui.DoEvents();

                if (previous + 0.1 < F) {
                    done += uaRes - b;
                    break;
                }
                previous = F;
            }
        }
        P(i) = m.LogitThetaLink ? std::log(bestTheta / (1 - bestTheta)) : bestTheta;
        P(nspp + i) = m.LnUALink ? std::log(bestUA) : bestUA;
    }
    bar.SetPanel(1, "");
    bar.SetPanel(2, "");
}

}  // namespace tivelor
