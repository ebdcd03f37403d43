#include "engine/Priors.h"

#include <cmath>

#include "state/App.h"

namespace tivelor {

namespace {

constexpr double kLow = 1E-06, kHigh = 0.999999, kWeight = 1E20;

double Penalty(double d) { return d * d * kWeight; }

double LeftCliff(double x, double a, double s) {
    if (s == 0) return x < a ? Penalty(x - a) : 0;
    double z = (x - a) / s;
    double phi = NormalCDF(z);
    return phi > 0 ? -std::log(phi) : Penalty(z);
}

double RightCliff(double x, double a, double s) {
    if (s == 0) return x > a ? Penalty(x - a) : 0;
    double z = (x - a) / s;
    double q = 1 - NormalCDF(z);
    return q > 0 ? -std::log(q) : Penalty(z);
}

double Term(const std::string& type, double x, double m, double s, const PriorVariant& m2,
            const PriorVariant& s2) {
    if (type.empty()) return 0;
    switch (type[0]) {
        case 'N': {
            double z = (x - m) / s;
            return z * z * 0.5;
        }
        case 'E':
            return x > 0 ? x / std::fabs(m) : Penalty(x);
        case 'G': {
            if (x < kLow) return Penalty(x - kLow);
            double k = (m / s) * (m / s);
            double theta = std::fabs(s * s / m);
            double mode = (k - 1) * theta;
            return (x / theta + (1 - k) * std::log(x)) - (mode / theta + (1 - k) * std::log(mode));
        }
        case 'L': {
            if (x < kLow) return Penalty(x - kLow);
            double sigma = std::sqrt(std::log(m * m + s * s) - 2 * std::log(m));
            double mu = std::log(m) - sigma * sigma / 2;
            double mode = std::exp(mu - sigma * sigma);
            auto f = [&](double v) {
                double z = (std::log(v) - mu) / sigma;
                return std::log(v) + z * z * 0.5;
            };
            return f(x) - f(mode);
        }
        case 'B': {
            if (x < kLow) return Penalty(x - kLow);
            if (x > kHigh) return Penalty(x - kHigh);
            double common = m - m * m - s * s;
            double alpha = m * common / (s * s);
            double beta = (1 - m) * common / (s * s);
            double mode = (1 - alpha) / (2 - alpha - beta);
            if (mode < kLow) mode = kLow;
            if (mode > kHigh) mode = kHigh;
            auto f = [&](double v) { return (1 - alpha) * std::log(v) + (1 - beta) * std::log(1 - v); };
            return f(x) - f(mode);
        }
        case 'S':
            return LeftCliff(x, m, s);
        case 'D':
            return RightCliff(x, m, s);
        case 'T':
            return LeftCliff(x, m, s) + RightCliff(x, PriorNumber(m2), PriorNumber(s2));
        default:
            return 0;
    }
}

}  // namespace

void NormalCDF(double X, double& Result) {
    static constexpr double c[11] = {0,           -1.26551223, 1.00002368,  0.37409196,
                                     0.09678418,  -0.18628806, 0.27886807,  -1.13520398,
                                     1.48851587,  -0.82215223, 0.17087277};
    double z = std::fabs(X / std::sqrt(2.0));
    double t = 1 / (1 + z / 2);
    Result = 0;
    for (int k = 10; k >= 2; --k) Result = (Result + c[k]) * t;
    double y = t * std::exp(Result + c[1] - z * z);
    Result = X < 0 ? y / 2 : (1 - y) / 2 + 0.5;
}

double NormalCDF(double X) {
    double r;
    NormalCDF(X, r);
    return r;
}

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


}  // namespace tivelor
