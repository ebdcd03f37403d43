// Collation of randomized richness estimates: statistics, interval ends,
// mode, cell geometry and the choice of table columns.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "numerics/RichnessCollation.h"

namespace {

using namespace tivelor::numerics;

RichnessCollation Collate(const std::vector<int>& v, int maxStart = 0) {
    return CollateRichness(v.data(), static_cast<int>(v.size()), 32767, maxStart);
}

std::vector<int> Freqs(const RichnessHistogram& h) { return {h.Freq.begin() + 1, h.Freq.end()}; }

}  // namespace

TEST(RichnessCollation, FiveEstimatesWorked) {
    const RichnessCollation c = Collate({101, 103, 103, 104, 108}, 10);
    // Mean, CI, extremes and mode are in the collation's golden block.
    EXPECT_NEAR(*c.SD, 2.315167, 1E-6);   // Sqr(53899 / 5 - 103.8^2)
    EXPECT_NEAR(*c.SE, 1.035374, 1E-6);
    // Cell bases (the golden block shows the frequencies).
    const int first[7] = {100, 100, 95, 90, 80, 50, 0}, last[7] = {108, 108, 110, 110, 100, 100, 100};
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(c.Hist[static_cast<std::size_t>(k)].FirstBase, first[k]) << k;
        EXPECT_EQ(c.Hist[static_cast<std::size_t>(k)].LastBase, last[k]) << k;
    }
    EXPECT_EQ(Freqs(c.Hist[6]), (std::vector<int>{0, 5}));
}

TEST(RichnessCollation, ModeSpreadAndStartValues) {
    EXPECT_FALSE(Collate({100, 102}).Mode);
    EXPECT_FALSE(Collate({5, 6, 6, 7, 7}).Mode);   // a tie after a lower one
    EXPECT_EQ(*Collate({5, 5, 6, 7, 7, 7}).Mode, 7);
    // One estimate: no spread; the maximum stays at a larger start value and
    // the cells run up to it.
    const RichnessCollation one = Collate({37}, 40);
    EXPECT_FALSE(one.SD || one.SE);
    EXPECT_EQ(one.LowCI + one.UpCI + one.Min + *one.Mode, 4 * 37);
    EXPECT_EQ(one.Max, 40);
    EXPECT_EQ(one.Hist[0].LastBase, 40);
    // Estimates near 0: no cell base below 0, every estimate in a cell.
    for (const RichnessHistogram& h : Collate({0, 1, 3}).Hist) {
        EXPECT_EQ(h.FirstBase, 0) << h.Width;
        const std::vector<int> f = Freqs(h);
        EXPECT_EQ(std::accumulate(f.begin(), f.end(), 0), 3) << h.Width;
    }
}

TEST(RichnessCollation, IntervalEndsAreOrderStatistics) {
    const int n[7] = {1, 40, 41, 80, 100, 1000, 32000}, k[7] = {1, 1, 2, 2, 3, 25, 800};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(IntervalRank(n[i]), k[i]) << n[i];
    for (int m : {40, 41, 100, 1001}) {
        std::vector<int> v;
        for (int i = 0; i < m; ++i) v.push_back(500 + (i * 7919) % m);   // 500 .. 499 + m, shuffled
        const RichnessCollation c = Collate(v);
        EXPECT_EQ(c.LowCI, 499 + IntervalRank(m)) << m;
        EXPECT_EQ(c.UpCI, 500 + m - IntervalRank(m)) << m;
    }
    std::vector<int> ties(41, 300);   // equal values count one each
    ties[0] = 299;
    EXPECT_EQ(Collate(ties).LowCI, 300);
}

TEST(RichnessCollation, TableColumnsAndTheTooLargeCase) {
    std::vector<int> v;
    for (int x = 100; x <= 298; ++x) v.push_back(x);
    EXPECT_EQ(TableColumns(Collate(v)), (std::vector<int>{0, 1, 2, 3}));   // 199 cells
    v.push_back(299);
    EXPECT_EQ(Collate(v).Hist[1].Cells, 102);
    EXPECT_EQ(TableColumns(Collate(v)), (std::vector<int>{1, 2, 3, 4}));   // 201 cells
    // 200 cells of 100 species: that column alone; one more cell: none.
    EXPECT_EQ(TableColumns(Collate({50, 19900})), (std::vector<int>{6}));
    EXPECT_TRUE(TableColumns(Collate({50, 20000})).empty());
    EXPECT_EQ(TableColumns(Collate({20000, 25000})), (std::vector<int>{5, 6}));
}
