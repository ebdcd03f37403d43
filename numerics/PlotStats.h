// Statistics of one plotted series: the correlation of X and Y with the
// standard error of r, the mean and spread of Y, and the mean and spread of
// X weighted by Y (Y read as a frequency of X).
#pragma once

namespace tivelor::numerics {

struct PlotSums {
    double n = 0, SumX = 0, SumX2 = 0, SumY = 0, SumY2 = 0, SumXY = 0, SumX2Y = 0;
    void Add(double x, double y) {
        n += 1;
        SumX += x;
        SumX2 += x * x;
        SumY += y;
        SumY2 += y * y;
        SumXY += x * y;
        SumX2Y += x * x * y;
    }
};

struct PlotStatistics {
    double r = 0;       // correlation; 0 without spread in X or Y
    double s = 0;       // spread of r, Sqr(1 - r^2) / (n - 2)
    double MeanY = 0, SDY = 0;
    double W = 0;       // variance of X weighted by Y; defined when WDefined
    bool WDefined = false;
    double MeanX = 0, SDX = 0;   // set when WDefined and W > 0
};

// r, s and the Y figures need n > 2; the weighted X figures need Sum Y != 0.
PlotStatistics ComputePlotStatistics(const PlotSums& sums);

}  // namespace tivelor::numerics
