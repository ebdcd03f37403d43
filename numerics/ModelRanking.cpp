#include "numerics/ModelRanking.h"

#include <cmath>
#include <cstddef>

namespace tivelor::numerics {

std::optional<double> ScaledNegLnL(double F, double recipLnLConst) {
    const double v = F / recipLnLConst;
    if (!std::isfinite(v) || (F != 0 && !std::isnormal(v))) return std::nullopt;
    return v;
}

std::optional<double> SmallSampleCriterion(double nlnl, int K, long N, double cHat) {
    const long long denom = static_cast<long long>(N) - K - 1;
    if (denom == 0 || cHat == 0) return std::nullopt;
    const double v = 2 * nlnl / cHat + 2.0 * K * static_cast<double>(N) / static_cast<double>(denom);
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

std::vector<int> RankBySelection(const std::vector<double>& v) {
    const std::size_t n = v.size();
    std::vector<int> order(n + 1, 0);
    std::vector<char> taken(n, 0);
    for (std::size_t r = 1; r <= n; ++r) {
        double m = 1E+100;
        for (std::size_t j = 0; j < n; ++j) {
            if (taken[j] || !(v[j] > 0 && v[j] < m)) continue;
            m = v[j];
            order[r] = static_cast<int>(j + 1);
        }
        if (order[r] == 0) break;
        taken[static_cast<std::size_t>(order[r] - 1)] = 1;
    }
    return order;
}

AkaikeWeights DeltasAndWeights(const std::vector<double>& ranked) {
    AkaikeWeights a;
    if (ranked.empty()) return a;
    a.delta.resize(ranked.size());
    a.weight.resize(ranked.size());
    for (std::size_t r = 0; r < ranked.size(); ++r) a.delta[r] = r == 0 ? 0 : ranked[r] - ranked[0];
    for (double d : a.delta) a.S += std::exp(-0.5 * d);
    for (std::size_t r = 0; r < ranked.size(); ++r) a.weight[r] = std::exp(-0.5 * a.delta[r]) / a.S;
    return a;
}

AveragedEstimates AverageModels(const std::vector<double>& w, const std::vector<ModelEstimates>& models,
                                int n, const std::array<bool, 4>& missing, double cHat) {
    const std::size_t np = static_cast<std::size_t>(n) + 1;
    AveragedEstimates out;
    out.Avg.assign(np, 0.0);
    for (auto& u : out.USE) u.assign(np, 0.0);
    auto at = [](const std::vector<double>& v, std::size_t p) { return p < v.size() ? v[p] : 0.0; };
    for (std::size_t p = 1; p < np; ++p) {
        double avg = 0;
        for (std::size_t m = 0; m < models.size() && m < w.size(); ++m) avg += w[m] * at(models[m].est, p);
        out.Avg[p] = avg;
        for (int g = 1; g <= 3; ++g) {
            if (missing[static_cast<std::size_t>(g)]) {
                out.USE[static_cast<std::size_t>(g)][p] = -1;
                continue;
            }
            double sum = 0;
            for (std::size_t m = 0; m < models.size() && m < w.size(); ++m) {
                const double se = at(models[m].se[static_cast<std::size_t>(g)], p);
                const double dev = at(models[m].est, p) - avg;
                sum += w[m] * std::hypot(se * std::sqrt(cHat), dev);
            }
            out.USE[static_cast<std::size_t>(g)][p] = sum;
        }
    }
    return out;
}

}  // namespace tivelor::numerics
