#include "numerics/PriorMath.h"

#include <cmath>

namespace tivelor::numerics {

BetaShapes BetaShapesFromMoments(double m, double s) {
    m = std::fabs(m);
    s = std::fabs(s);
    const double k = m - m * m - s * s;
    return {m * k / (s * s), (1 - m) * k / (s * s)};
}

int CorrectedProfilePoints(int k) {
    if (k == 0) k = 101;
    if (k < 3) k = 3;
    if (k % 2 == 0) ++k;
    return k;
}

ProfileGrid PriorProfileGrid(char kind, double mean, double sd, double mean2, double sd2, int K) {
    constexpr double kLow = 1E-6, kHigh = 0.999999;
    ProfileGrid g;
    g.x.assign(static_cast<std::size_t>(K) + 1, 0.0);
    const double half = (K - 1) / 2.0;
    const int mid = (K - 1) / 2 + 1;
    double c = mean;
    double h = 10 * sd / (K - 1);
    switch (kind) {
        case 'E':
            c = 0;
            h = 20 * std::fabs(mean) / (K - 1);
            break;
        case 'B':
            c = 0.5;
            h = 1.0 / (K - 1);
            break;
        case 'S':
        case 'D':
            h = sd > 0 ? 3 * sd / half : std::fabs(mean) / half;
            if (h == 0) h = 0.1;
            break;
        case 'T': {
            const double left = mean - 3 * sd, right = mean2 + 3 * sd2;
            c = (left + right) / 2;
            h = std::fabs(right - left) / (K - 1);
            if (h == 0) h = 0.1;
            break;
        }
        default:
            break;
    }
    for (int p = 1; p <= K; ++p) g.x[p] = c + (p - mid) * h;
    g.step = h;

    const double first = g.x[1], last = g.x[K];
    if ((kind == 'G' || kind == 'L') && first < kLow) {
        g.step = h * last / (last - first);
        for (int p = 1; p <= K; ++p) g.x[p] = kLow + (p - 1) * g.step;
    } else if (kind == 'E' && first < 0) {
        g.step = h * last / (last - first);
        for (int p = 1; p <= K; ++p) g.x[p] = (p - 1) * g.step;
    } else if (kind == 'B') {
        g.x[1] = kLow;
        g.x[K] = kHigh;
    }
    return g;
}

}  // namespace tivelor::numerics
