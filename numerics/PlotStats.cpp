#include "numerics/PlotStats.h"

#include <cmath>

namespace tivelor::numerics {

PlotStatistics ComputePlotStatistics(const PlotSums& t) {
    PlotStatistics st;
    const double n = t.n;
    if (n > 2) {
        const double sxx = t.SumX2 - t.SumX * t.SumX / n;
        const double syy = t.SumY2 - t.SumY * t.SumY / n;
        const double sxy = t.SumXY - t.SumX * t.SumY / n;
        if (sxx * syy > 0) st.r = sxy / std::sqrt(sxx * syy);
        const double q = 1 - st.r * st.r;
        if (q > 0) st.s = std::sqrt(q) / (n - 2);
        st.MeanY = t.SumY / n;
        const double v = (t.SumY2 / n - st.MeanY * st.MeanY) * n / (n - 1);
        st.SDY = v > 0 ? std::sqrt(v) : 0;
    }
    if (t.SumY != 0) {
        const double m = t.SumXY / t.SumY;
        st.W = t.SumX2Y / t.SumY - m * m;
        st.WDefined = true;
        if (st.W > 0) {
            st.MeanX = m;
            st.SDX = std::sqrt(st.W);
        }
    }
    return st;
}

}  // namespace tivelor::numerics
