#include "numerics/PriorTerms.h"

#include <cmath>

#include "numerics/PriorMath.h"

namespace tivelor::numerics {

namespace {
constexpr double kLow = 1E-06, kHigh = 0.999999, kWeight = 1E20;
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

double OutOfSupportTerm(double d) { return d * d * kWeight; }

double NormalPriorTerm(double x, double m, double s) {
    double z = (x - m) / s;
    return z * z * 0.5;
}

double ExponentialPriorTerm(double x, double m) { return x > 0 ? x / std::fabs(m) : OutOfSupportTerm(x); }

double GammaPriorTerm(double x, double m, double s) {
    if (x < kLow) return OutOfSupportTerm(x - kLow);
    double k = (m / s) * (m / s);
    double theta = std::fabs(s * s / m);
    double mode = (k - 1) * theta;
    return (x / theta + (1 - k) * std::log(x)) - (mode / theta + (1 - k) * std::log(mode));
}

double LnNormalPriorTerm(double x, double m, double s) {
    if (x < kLow) return OutOfSupportTerm(x - kLow);
    double sigma = std::sqrt(std::log(m * m + s * s) - 2 * std::log(m));
    double mu = std::log(m) - sigma * sigma / 2;
    double mode = std::exp(mu - sigma * sigma);
    auto f = [&](double v) {
        double z = (std::log(v) - mu) / sigma;
        return std::log(v) + z * z * 0.5;
    };
    return f(x) - f(mode);
}

double BetaPriorTerm(double x, double m, double s) {
    if (x < kLow) return OutOfSupportTerm(x - kLow);
    if (x > kHigh) return OutOfSupportTerm(x - kHigh);
    const BetaShapes ab = BetaShapesFromMoments(m, s);
    double mode = (1 - ab.a) / (2 - ab.a - ab.b);
    if (mode < kLow) mode = kLow;
    if (mode > kHigh) mode = kHigh;
    auto f = [&](double v) { return (1 - ab.a) * std::log(v) + (1 - ab.b) * std::log(1 - v); };
    return f(x) - f(mode);
}

double LeftCliffPriorTerm(double x, double a, double s) {
    if (s == 0) return x < a ? OutOfSupportTerm(x - a) : 0;
    double z = (x - a) / s;
    double phi = NormalCDF(z);
    return phi > 0 ? -std::log(phi) : OutOfSupportTerm(z);
}

double RightCliffPriorTerm(double x, double a, double s) {
    if (s == 0) return x > a ? OutOfSupportTerm(x - a) : 0;
    double z = (x - a) / s;
    double q = 1 - NormalCDF(z);
    return q > 0 ? -std::log(q) : OutOfSupportTerm(z);
}

double UniformBoundedPriorTerm(double x, double a, double sa, double b, double sb) {
    return LeftCliffPriorTerm(x, a, sa) + RightCliffPriorTerm(x, b, sb);
}

}  // namespace tivelor::numerics
