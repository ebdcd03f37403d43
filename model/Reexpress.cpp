#include "model/Reexpress.h"

#include <algorithm>
#include <cmath>

#include "engine/Parameters.h"
#include "engine/Simplex.h"
#include "model/ReportDistribution.h"
#include "platform/runtime.h"
#include "state/App.h"

namespace tivelor {

namespace {

std::string SpeciesNumber(int i) { return ColumnLine().Field(platform::Format(i, "##0"), 3).Text(); }

}  // namespace

std::string ThetaParName(int i) {
    return "Theta for species # " + SpeciesNumber(i) + " in the defined habitat";
}
std::string LogitThetaParName(int i) {
    return "Logit[Theta] for species # " + SpeciesNumber(i) + " in the defined habitat";
}
std::string UAParName(int i) {
    return "# of unsampled individuals of species # " + SpeciesNumber(i) + " in the defined habitat";
}
std::string LnUAParName(int i) {
    return "Ln[# of unsampled individuals of species # " + SpeciesNumber(i) +
           " in the defined habitat]";
}

void ConvertParameters(App& app, platform::Vec<double>& P, const platform::Vec<double>& BestPar,
                       platform::Vec<std::string>& ParName) {
    ModelState& md = app.model;
    const ReportState& rep = md.Report;
    const int n = md.NSpp;
    if (P.UBound() < 2L * n || ParName.UBound() < 2L * n) return;
    // Without a best point for every parameter the values in P are the ones converted.
    const platform::Vec<double>& from = BestPar.UBound() >= 2L * n ? BestPar : P;
    if (rep.ConvLogitToTheta || rep.ConvThetaToLogit || rep.ConvLnUAToUA || rep.ConvUAToLnUA)
        InvalidateSimplex(app.eng);
    if (rep.ConvLogitToTheta) {
        for (int i = 1; i <= n; ++i) {
            const double b = from(i);
            P(i) = b > 700 ? 1.0 : std::exp(b) / (std::exp(b) + 1);
            ParName(i) = ThetaParName(i);
        }
        md.LogitThetaLink = platform::False;
    }
    if (rep.ConvThetaToLogit) {
        for (int i = 1; i <= n; ++i) {
            P(i) = ReportLogit(from(i));
            ParName(i) = LogitThetaParName(i);
        }
        md.LogitThetaLink = platform::True;
    }
    if (rep.ConvLnUAToUA) {
        for (int i = 1; i <= n; ++i) {
            P(n + i) = std::exp(std::min(from(n + i), 700.0));
            ParName(n + i) = UAParName(i);
        }
        md.LnUALink = platform::False;
    }
    if (rep.ConvUAToLnUA) {
        for (int i = 1; i <= n; ++i) {
            const double b = from(n + i);
            P(n + i) = b > 0 ? std::log(b) : -4.605;
            ParName(n + i) = LnUAParName(i);
        }
        md.LnUALink = platform::True;
    }
}

}  // namespace tivelor
