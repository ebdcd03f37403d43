#include "numerics/RichnessCollation.h"

#include <algorithm>
#include <cmath>

namespace tivelor::numerics {

namespace {

// Nearest whole number, halves to the even one.
int RoundHalfEven(double x) {
    const double f = std::floor(x);
    const double d = x - f;
    double r = f;
    if (d > 0.5 || (d == 0.5 && std::fmod(f, 2.0) != 0)) r = f + 1;
    return static_cast<int>(r);
}

void Bases(int w, int mn, int mx, int& L, int& H) {
    switch (w) {
    case 1:
        L = RoundHalfEven(mn - 0.5);
        H = RoundHalfEven(mx + 0.5);
        break;
    case 5:
        L = 5 * (RoundHalfEven(mn - 2.5) / 5);
        H = 5 * (RoundHalfEven(mx + 2.5) / 5);
        break;
    default: {
        const int half = w / 2;   // 2 -> 1, 10 -> 5, 20 -> 10, 50 -> 25, 100 -> 50
        L = w * ((mn - half) / w);
        H = w * ((mx + half) / w);
    }
    }
    if (L < 0) L = 0;
}

}  // namespace

int IntervalRank(int n) {
    const int k = static_cast<int>(std::ceil(n * 0.025));
    return k < 1 ? 1 : k;
}

RichnessCollation CollateRichness(const int* est, int n, int minStart, int maxStart) {
    RichnessCollation c;
    c.Min = minStart;
    c.Max = maxStart;
    double sum = 0, sumSq = 0;
    for (int i = 0; i < n; ++i) {
        const double v = est[i];
        sum += v;
        sumSq += v * v;
        if (est[i] < c.Min) c.Min = est[i];
        if (est[i] > c.Max) c.Max = est[i];
    }
    if (n > 0) {
        std::vector<int> work(est, est + n);
        const std::size_t k = static_cast<std::size_t>(IntervalRank(n)) - 1;
        std::nth_element(work.begin(), work.begin() + static_cast<long>(k), work.end());
        c.LowCI = work[k];
        std::nth_element(work.begin(), work.begin() + static_cast<long>(k), work.end(),
                         std::greater<int>());
        c.UpCI = work[k];
    }

    for (std::size_t h = 0; h < kCellWidths.size(); ++h) {
        RichnessHistogram& g = c.Hist[h];
        g.Width = kCellWidths[h];
        Bases(g.Width, c.Min, c.Max, g.FirstBase, g.LastBase);
        g.Cells = (g.LastBase - g.FirstBase) / g.Width + 1;
        if (g.Cells < 1) g.Cells = 1;   // only when no estimate lies above the start minimum
        g.Freq.assign(static_cast<std::size_t>(g.Cells) + 1, 0);
        for (int i = 0; i < n; ++i) {
            const int cell = (est[i] - g.FirstBase) / g.Width + 1;
            if (cell >= 1 && cell <= g.Cells) ++g.Freq[static_cast<std::size_t>(cell)];
        }
    }

    const RichnessHistogram& ones = c.Hist[0];
    if (n > 0) {
        int best = ones.Freq[1], bestCell = 1;
        bool unique = true;
        for (int cell = 2; cell <= ones.Cells; ++cell) {
            const int f = ones.Freq[static_cast<std::size_t>(cell)];
            if (f > best) {
                best = f;
                bestCell = cell;
                unique = true;
            } else if (f == best) {
                unique = false;
            }
        }
        if (unique) c.Mode = ones.FirstBase + bestCell - 1;
        c.Mean = sum / n;
    }
    if (n > 1) {
        const double var = sumSq / n - *c.Mean * *c.Mean;
        c.SD = std::sqrt(var > 0 ? var : 0);
        c.SE = *c.SD / std::sqrt(static_cast<double>(n));
    }
    return c;
}

std::vector<int> TableColumns(const RichnessCollation& c) {
    std::vector<int> cols;
    for (int h = 0; h < static_cast<int>(c.Hist.size()); ++h) {
        if (cols.empty() && c.Hist[static_cast<std::size_t>(h)].Cells > kMaxTableCells) continue;
        cols.push_back(h);
        if (cols.size() == 4) break;
    }
    return cols;
}

int ColumnsOnRow(const RichnessCollation& c, const std::vector<int>& columns, int r) {
    int listed = 1;
    while (listed < static_cast<int>(columns.size()) &&
           c.Hist[static_cast<std::size_t>(columns[static_cast<std::size_t>(listed)])].Cells >= r)
        ++listed;
    return listed;
}

}  // namespace tivelor::numerics
