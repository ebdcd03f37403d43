// Rules of the distribution plots and the bivariate density plot: the value
// range of a plotted column, the percent difference, the colour band of a
// density ratio, the density plot's widened area and the correlation of the
// two parameters under a gridded density.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace tivelor::numerics {

// The range of a column: from the smaller of 0 and its least value to the
// larger of 0 and its greatest; -1 to 1 when that range has no width.
struct ValueRange {
    double Bottom = 0, Top = 0;
};
ValueRange ColumnRange(const std::vector<double>& values);

// Diff x 100 / Mean; none when the mean is 0 or the result is not finite.
std::optional<double> PercentDifference(double diff, double mean);

// Palette colours of the density bands, from beyond 3 SEs (index 0) to the
// peak (index 7).
inline constexpr int kDensityColour[8] = {0, 5, 1, 3, 2, 14, 6, 12};

// The palette colour of a node whose density is r times the peak's: the band
// of the first s of 3, 2.5, ..., 0 with Exp(-s^2 / 2) > r; white beyond 3
// SEs; light red for r exactly 1; black when r is above 1 or not a number.
int DensityBandColour(double r);

// Round to the nearest whole number, a half to the even neighbour.
int RoundHalfEven(double x);

// The density plot's area, widened by half a node spacing beyond the axis
// lines at 720 .. 8640 and 480 .. 6720, and the half size of a node's box.
// nx and ny are at least 2.
struct DensityArea {
    int Left = 720, Top = 480, Right = 8640, Bottom = 6720;
    double HalfW = 0;
    int HalfH = 0;
};
DensityArea WidenedDensityArea(long nx, long ny);

// Density-weighted sums over grid nodes.
struct DensityMoments {
    double S = 0, SX = 0, SY = 0, SXX = 0, SYY = 0, SXY = 0;
    std::size_t nodes = 0;
    void Add(double x, double y, double d) {
        S += d;
        SX += d * x;
        SY += d * y;
        SXX += x * x * d;
        SYY += y * y * d;
        SXY += x * y * d;
        ++nodes;
    }
};

// The correlation of X and Y under the density, from the sums over a block
// of cols x rows nodes. None with fewer than 2 columns or rows, a total of 0,
// or no spread in X or Y. A variance or covariance that is 0 up to the
// rounding of the sums counts as 0.
std::optional<double> DensityCorrelation(const DensityMoments& m, long cols, long rows);

}  // namespace tivelor::numerics
