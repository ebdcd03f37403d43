#include "numerics/PosteriorSums.h"

#include <cmath>
#include <utility>

namespace tivelor::numerics {

void LogWeightSum::Add(double x) {
    if (!std::isfinite(x)) return;
    if (scaled_ == 0) {
        top_ = x;
        scaled_ = 1;
    } else if (x > top_) {
        scaled_ = scaled_ * std::exp(top_ - x) + 1;
        top_ = x;
    } else {
        scaled_ += std::exp(x - top_);
    }
}

double LogWeightSum::Log() const { return scaled_ == 0 ? kEmpty : top_ + std::log(scaled_); }

double MarginalNegLnL(const LogWeightSum& sum, double Empty) {
    const double l = sum.Log();
    return std::isfinite(l) ? -l : Empty;
}

double WeightReference::Rescaled(double w, double d) { return w > 0 ? std::exp(std::log(w) + d) : w; }

double WeightReference::WeightAt(double v) const { return std::exp(-(v - ref)); }

std::optional<double> InnerNodeCorrelation(const platform::Vec<double>& X, const platform::Vec<double>& Y,
                                           const platform::Matrix<double>& D, long NX, long NY) {
    double S = 0, SX = 0, SY = 0, SXX = 0, SYY = 0, SXY = 0;
    for (long i = 2; i <= NX - 1; ++i)
        for (long j = 2; j <= NY - 1; ++j) {
            const double d = D(i, j), x = X(i), y = Y(j);
            S += d;
            SX += d * x;
            SY += d * y;
            SXX += x * x * d;
            SYY += y * y * d;
            SXY += x * y * d;
        }
    if (S == 0) return std::nullopt;
    const double VX = SXX - SX * SX / S, VY = SYY - SY * SY / S;
    if (!(VX * VY > 0)) return std::nullopt;
    return (SXY - SX * SY / S) / std::sqrt(VX * VY);
}

void ReverseRows(platform::Vec<double>& v, long n) {
    for (long i = 1; i <= n / 2; ++i) std::swap(v(i), v(n - i + 1));
}

void ReverseFirstIndex(platform::Matrix<double>& D, long n1, long n2) {
    for (long i = 1; i <= n1 / 2; ++i)
        for (long j = 0; j <= n2; ++j) std::swap(D(i, j), D(n1 - i + 1, j));
}

void ReverseSecondIndex(platform::Matrix<double>& D, long n1, long n2) {
    for (long i = 0; i <= n1; ++i)
        for (long j = 1; j <= n2 / 2; ++j) std::swap(D(i, j), D(i, n2 - j + 1));
}

}  // namespace tivelor::numerics
