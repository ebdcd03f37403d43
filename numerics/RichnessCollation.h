// Statistics of randomized species-richness estimates: mean, spread, an
// approximate 95% interval from the ordered values, minimum, maximum, unique
// mode, and frequency histograms with cells of 1, 2, 5, 10, 20, 50 and 100
// species.
#pragma once

#include <array>
#include <optional>
#include <vector>

namespace tivelor::numerics {

inline constexpr std::array<int, 7> kCellWidths = {1, 2, 5, 10, 20, 50, 100};
// A histogram table starts with the first width of at most this many cells.
inline constexpr int kMaxTableCells = 200;

struct RichnessHistogram {
    int Width = 0;
    int FirstBase = 0;   // smallest value of cell 1
    int LastBase = 0;    // smallest value of the last cell
    int Cells = 0;
    std::vector<int> Freq;   // 0 To Cells; element c counts cell c, 0 unused

    // Midpoint of cell c: FirstBase + (c - 1) Width + Width / 2.
    double Midpoint(int c) const { return FirstBase + (c - 1) * Width + Width / 2.0; }
};

struct RichnessCollation {
    int Min = 0, Max = 0;       // the start values lowered and raised by the estimates
    int LowCI = 0, UpCI = 0;    // the k-th smallest and k-th largest estimate
    std::optional<double> Mean, SD, SE;   // SD with divisor n; SD and SE need n > 1
    std::optional<int> Mode;    // the one value seen more often than any other
    std::array<RichnessHistogram, 7> Hist;
};

// k of the interval ends: the smallest whole number not below n * 0.025, at least 1.
int IntervalRank(int n);

// est holds n estimates (whole numbers 0 to 25000). minStart and maxStart are
// the store's start values; the minimum and maximum only move outwards from them.
RichnessCollation CollateRichness(const int* est, int n, int minStart, int maxStart);

// The histogram table's columns, as indices into Hist: the first width with
// at most 200 cells and up to three after it; empty when every width has more.
std::vector<int> TableColumns(const RichnessCollation& c);
// How many of the columns row r (1-based) lists: up to, not including, the
// first later column with fewer than r cells.
int ColumnsOnRow(const RichnessCollation& c, const std::vector<int>& columns, int r);

}  // namespace tivelor::numerics
