#include "numerics/DistributionStats.h"

#include <algorithm>
#include <cmath>

namespace tivelor::numerics {

double ReportLogit(double theta) {
    if (!(theta > 0)) return -18.42;
    if (theta >= 1) return 18.42;
    return std::log(theta / (1 - theta));
}

namespace {

struct MeanVar {
    double mean = 0, var = 0;
};

// Whether the values differ at all; equal values have no variance, whatever
// the rounding of the sums says.
bool AnyDifference(const std::vector<double>& x) {
    for (double v : x)
        if (v != x.front()) return true;
    return false;
}

// Unbiased sample mean and variance; a single value (or rounding below 0)
// gives a variance of 0.
MeanVar Estimated(const std::vector<double>& x) {
    MeanVar r;
    const double n = static_cast<double>(x.size());
    if (n < 1) return r;
    double s = 0, s2 = 0;
    for (double v : x) {
        s += v;
        s2 += v * v;
    }
    r.mean = s / n;
    if (n > 1 && AnyDifference(x)) r.var = (s2 / n - r.mean * r.mean) * n / (n - 1);
    if (!(r.var > 0)) r.var = 0;
    return r;
}

// Mean and variance of the species weighted by 1/D over S = the sum of the weights.
MeanVar Inferred(const std::vector<double>& x, const std::vector<double>& d, double S) {
    MeanVar r;
    double s = 0, s2 = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        s += x[i] / d[i];
        s2 += x[i] * x[i] / d[i];
    }
    r.mean = s / S;
    if (AnyDifference(x) && S > 1) r.var = (s2 / S - r.mean * r.mean) * S / (S - 1);
    if (!(r.var > 0)) r.var = 0;
    return r;
}

}  // namespace

DistributionStatistics ComputeDistributionStatistics(const SpeciesSpread& s) {
    DistributionStatistics d;
    const std::size_t n = s.Theta.size();
    std::vector<double> theta(n), logit(n), abund(n), lnAbund(n);
    for (std::size_t i = 0; i < n; ++i) {
        theta[i] = s.Theta[i];
        logit[i] = ReportLogit(s.Theta[i]);
        abund[i] = s.Abund[i];
        lnAbund[i] = std::log(std::max(s.Abund[i], 0.01));
    }
    const MeanVar t = Estimated(theta), l = Estimated(logit), a = Estimated(abund),
                  la = Estimated(lnAbund);
    d.ThetaMeanEst = t.mean;
    d.ThetaVarEst = t.var;
    d.LogitThetaMeanEst = l.mean;
    d.LogitThetaVarEst = l.var;
    d.AbundMeanEst = a.mean;
    d.AbundVarEst = a.var;
    d.LnAbundMeanEst = la.mean;
    d.LnAbundVarEst = la.var;

    // Without a usable weight for every species the inferred distribution is
    // the estimated one.
    bool weighted = n > 0 && std::isfinite(s.ESR) && s.ESR > 0 && s.DetectProb.size() == n;
    for (std::size_t i = 0; weighted && i < n; ++i)
        if (!(s.DetectProb[i] > 0) || !std::isfinite(1 / s.DetectProb[i])) weighted = false;
    if (weighted) {
        const MeanVar ti = Inferred(theta, s.DetectProb, s.ESR),
                      li = Inferred(logit, s.DetectProb, s.ESR),
                      ai = Inferred(abund, s.DetectProb, s.ESR),
                      lai = Inferred(lnAbund, s.DetectProb, s.ESR);
        d.ThetaMeanInf = ti.mean;
        d.ThetaVarInf = ti.var;
        d.LogitThetaMeanInf = li.mean;
        d.LogitThetaVarInf = li.var;
        d.AbundMeanInf = ai.mean;
        d.AbundVarInf = ai.var;
        d.LnAbundMeanInf = lai.mean;
        d.LnAbundVarInf = lai.var;
    } else {
        d.ThetaMeanInf = t.mean;
        d.ThetaVarInf = t.var;
        d.LogitThetaMeanInf = l.mean;
        d.LogitThetaVarInf = l.var;
        d.AbundMeanInf = a.mean;
        d.AbundVarInf = a.var;
        d.LnAbundMeanInf = la.mean;
        d.LnAbundVarInf = la.var;
    }

    if (n > 1 && d.LogitThetaVarEst > 0 && d.LnAbundVarEst > 0) {
        double c = 0;
        for (std::size_t i = 0; i < n; ++i)
            c += (logit[i] - d.LogitThetaMeanEst) * (lnAbund[i] - d.LnAbundMeanEst);
        c /= static_cast<double>(n - 1);
        const double r = c / std::sqrt(d.LnAbundVarEst * d.LogitThetaVarEst);
        if (std::isfinite(r)) {
            d.CorLogitThetaLnUA = r;
            // The usual standard error of r, Sqr((1 - r^2)/(n - 2)); dividing
            // outside the root would overstate the significance for n > 3.
            if (n > 2 && 1 - r * r >= 0)
                d.CorLogitThetaLnUASE = std::sqrt((1 - r * r) / static_cast<double>(n - 2));
        }
    }
    return d;
}

}  // namespace tivelor::numerics
