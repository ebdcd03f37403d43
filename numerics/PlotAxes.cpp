#include "numerics/PlotAxes.h"

#include <algorithm>
#include <cmath>

namespace tivelor::numerics {

double RoundTo6(double x) { return std::floor(x * 1E6 + 0.5) / 1E6; }

AxisRange DensityPageAxis(const std::vector<double>& values, MeanVariance est, MeanVariance inf) {
    std::vector<double> finite;
    for (double v : values)
        if (std::isfinite(v)) finite.push_back(v);
    const MeanVariance* used[2];
    int nUsed = 0;
    for (const MeanVariance* d : {&est, &inf})
        if (d->variance > 0 && std::isfinite(d->variance) && std::isfinite(d->mean)) used[nUsed++] = d;
    AxisRange r;
    if (nUsed == 0) {
        if (finite.empty()) {
            r.L = -1;
            r.H = 1;
        } else {
            r.L = *std::min_element(finite.begin(), finite.end()) - 1;
            r.H = *std::max_element(finite.begin(), finite.end()) + 1;
        }
        return r;
    }
    double zlo = -2, zhi = 2;
    for (int k = 0; k < nUsed; ++k) {
        const double sd = std::sqrt(used[k]->variance);
        for (double v : finite) {
            const double z = (v - used[k]->mean) / sd;
            zlo = std::min(zlo, z);
            zhi = std::max(zhi, z);
        }
    }
    for (int k = 0; k < nUsed; ++k) {
        const double sd = std::sqrt(used[k]->variance);
        const double low = (std::floor(zlo) - 1) * sd + used[k]->mean;
        const double high = (std::floor(zhi) + 1) * sd + used[k]->mean;
        r.L = k == 0 ? low : std::min(r.L, low);
        r.H = k == 0 ? high : std::max(r.H, high);
    }
    return r;
}

platform::Vec<double> PlaceOnRecords(const std::vector<double>& values, long last,
                                     const std::function<double(long)>& centre, double h) {
    platform::Vec<double> count(last);
    if (last < 0) return count;
    const double c0 = centre(0);
    const double step = last > 0 ? centre(1) - c0 : 2 * h;
    for (double v : values) {
        if (!std::isfinite(v) || !(step > 0)) continue;
        // A first guess, then the cells' own borders decide.
        double guess = std::ceil((v - c0 - h) / step);
        long r = static_cast<long>(std::clamp(guess, 0.0, static_cast<double>(last)));
        while (r > 0 && v <= centre(r - 1) + h) --r;
        while (r < last && v > centre(r) + h) ++r;
        if (v > centre(r) + h || !(v > centre(r) - h)) continue;
        count(r) += 1;
    }
    if (last >= 1) count(1) += count(0);
    return count;
}

int LevellingStep(const platform::Vec<double>& incr, int n) {
    for (int i = 1; i <= n && i <= incr.UBound(); ++i)
        if (incr(i) == 0 && incr(i - 1) > 0) return i;
    return n;
}

}  // namespace tivelor::numerics
