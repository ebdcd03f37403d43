#include "numerics/ProfileDistribution.h"

#include <cmath>

namespace tivelor::numerics {

namespace {

// Confidence of the region between a centre point and each point, each side
// scaled by its own probability. Skipped when the centre is point 1.
void CentredConfidence(const ProfileColumns& t, long centre, platform::Vec<double>& out) {
    if (centre == 1) return;
    const double C = t.ProfCum(centre);
    for (long k = 1; k <= t.NProfPts; ++k) {
        if (k <= centre && C > 0)
            out(k) = (C - t.ProfCum(k)) / C;
        else if (k > centre && 1 - C > 0)
            out(k) = (t.ProfCum(k) - C) / (1 - C);
    }
}

}  // namespace

void ProfileDistribution(ProfileColumns t, double EVEstimate, double& Mean, double& Diff, double& SD,
                         long ModePt, double Step) {
    const long n = t.NProfPts;
    const double h = 2 * Step / 6;
    for (long k = 1; k <= n; ++k)
        if (k != ModePt) t.ProfNegLnL(k) -= t.ProfNegLnL(ModePt);
    t.ProfNegLnL(ModePt) = 0;
    for (long k = 1; k <= n; ++k) t.ProfPDF(k) = std::exp(-t.ProfNegLnL(k));

    double Area = 0, S1 = 0, S2 = 0;
    for (long k = 1; k <= n - 2; k += 2) {
        const double f0 = t.ProfPDF(k), f1 = t.ProfPDF(k + 1), f2 = t.ProfPDF(k + 2);
        const double x0 = t.ProfX(k), x1 = t.ProfX(k + 1), x2 = t.ProfX(k + 2);
        Area += h * (f0 + 4 * f1 + f2);
        S1 += h * (x0 * f0 + 4 * x1 * f1 + x2 * f2);
        S2 += h * (x0 * x0 * f0 + 4 * x1 * x1 * f1 + x2 * x2 * f2);
    }
    if (Area > 0) {
        Mean = S1 / Area;
        const double var = S2 / Area - Mean * Mean;
        SD = var < 0 ? 0 : std::sqrt(var);
    }

    long MeanPt = 1;
    double best = std::fabs(t.ProfX(1) - Mean);
    const double root2pi = std::sqrt(8 * std::atan(1.0));
    for (long k = 1; k <= n; ++k) {
        const double d = std::fabs(Mean - t.ProfX(k));
        if (k > 1 && d < best) {
            best = d;
            MeanPt = k;
        }
        if (Area > 0) t.ProfPDF(k) /= Area;
        if (SD > 0) {
            const double z = t.ProfX(k) - Mean;
            t.ProfNormPDF(k) = std::exp(-z * z / (2 * SD * SD)) / (root2pi * SD);
        }
    }

    t.ProfCum.ReDim(n);
    auto capped = [](double v) { return v > 1 ? 1.0 : v; };
    if (n >= 1) t.ProfCum(1) = t.ProfPDF(1) * Step;
    for (long k = 1; k <= n - 2; k += 2) {
        t.ProfCum(k + 2) = capped(t.ProfCum(k) + h * (t.ProfPDF(k) + 4 * t.ProfPDF(k + 1) + t.ProfPDF(k + 2)));
        if (k == 1)
            t.ProfCum(2) = capped(t.ProfCum(1) + t.ProfPDF(2) * Step);
        else
            t.ProfCum(k + 1) =
                capped(t.ProfCum(k - 1) + h * (t.ProfPDF(k - 1) + 4 * t.ProfPDF(k) + t.ProfPDF(k + 1)));
    }
    CentredConfidence(t, ModePt, t.ProfCIMode);
    CentredConfidence(t, MeanPt, t.ProfCIMean);
    Diff = EVEstimate - Mean;
}

}  // namespace tivelor::numerics
