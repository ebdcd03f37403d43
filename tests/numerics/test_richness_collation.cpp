// Collation of randomized richness estimates: statistics, interval ends,
// mode, cell geometry and the choice of table columns.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "numerics/RichnessCollation.h"
#include "platform/random.h"

namespace {

using namespace tivelor::numerics;

RichnessCollation Collate(const std::vector<int>& v, int minStart = 32767, int maxStart = 0) {
    return CollateRichness(v.data(), static_cast<int>(v.size()), minStart, maxStart);
}

std::vector<int> Freqs(const RichnessHistogram& h) { return {h.Freq.begin() + 1, h.Freq.end()}; }

}  // namespace

TEST(RichnessCollation, FiveEstimatesWorked) {
    const RichnessCollation c = Collate({101, 103, 103, 104, 108}, 32767, 10);
    EXPECT_NEAR(*c.Mean, 103.8, 1E-12);
    EXPECT_NEAR(*c.SD, 2.315167, 1E-6);   // Sqr(53899 / 5 - 103.8^2)
    EXPECT_NEAR(*c.SE, 1.035374, 1E-6);
    EXPECT_EQ(c.LowCI, 101);
    EXPECT_EQ(c.UpCI, 108);
    EXPECT_EQ(c.Min, 101);
    EXPECT_EQ(c.Max, 108);
    ASSERT_TRUE(c.Mode);
    EXPECT_EQ(*c.Mode, 103);
    struct Want { int first, last; std::vector<int> freq; double mid1; };
    const Want want[4] = {{100, 108, {0, 1, 0, 2, 1, 0, 0, 0, 1}, 100.5},
                          {100, 108, {1, 2, 1, 0, 1}, 101.0},
                          {95, 110, {0, 4, 1, 0}, 97.5},
                          {90, 110, {0, 5, 0}, 95.0}};
    for (int k = 0; k < 4; ++k) {
        const RichnessHistogram& h = c.Hist[static_cast<std::size_t>(k)];
        EXPECT_EQ(h.FirstBase, want[k].first) << h.Width;
        EXPECT_EQ(h.LastBase, want[k].last) << h.Width;
        EXPECT_EQ(Freqs(h), want[k].freq) << h.Width;
        EXPECT_DOUBLE_EQ(h.Midpoint(1), want[k].mid1) << h.Width;
    }
    EXPECT_DOUBLE_EQ(c.Hist[0].Midpoint(9), 108.5);
    EXPECT_DOUBLE_EQ(c.Hist[3].Midpoint(3), 115.0);
    // 20, 50, 100: cells 80-99, 100-119; 50-99, 100-149; 0-99, 100-199.
    EXPECT_EQ(Freqs(c.Hist[4]), (std::vector<int>{0, 5}));
    EXPECT_EQ(c.Hist[5].FirstBase, 50);
    EXPECT_EQ(Freqs(c.Hist[6]), (std::vector<int>{0, 5}));
    const std::vector<int> cols = TableColumns(c);
    EXPECT_EQ(cols, (std::vector<int>{0, 1, 2, 3}));
    const int listed[9] = {4, 4, 4, 3, 2, 1, 1, 1, 1};
    for (int r = 1; r <= 9; ++r) EXPECT_EQ(ColumnsOnRow(c, cols, r), listed[r - 1]) << r;
}

TEST(RichnessCollation, ModeSpreadAndStartValues) {
    // Two values once each: no unique mode.
    EXPECT_FALSE(Collate({100, 102}).Mode);
    // A tie for the top frequency after a lower one.
    EXPECT_FALSE(Collate({5, 6, 6, 7, 7}).Mode);
    EXPECT_EQ(*Collate({5, 5, 6, 7, 7, 7}).Mode, 7);
    // One estimate: no spread; the interval, the minimum and the mode are the
    // estimate, the maximum stays at its start value when that is larger.
    const RichnessCollation one = Collate({37}, 32767, 40);
    EXPECT_DOUBLE_EQ(*one.Mean, 37);
    EXPECT_FALSE(one.SD);
    EXPECT_FALSE(one.SE);
    EXPECT_EQ(one.LowCI, 37);
    EXPECT_EQ(one.UpCI, 37);
    EXPECT_EQ(one.Min, 37);
    EXPECT_EQ(one.Max, 40);
    EXPECT_EQ(*one.Mode, 37);
    // The cells run up to the start maximum.
    EXPECT_EQ(one.Hist[0].LastBase, 40);
    // Equal estimates: SD exactly 0.
    EXPECT_EQ(*Collate({250, 250, 250}).SD, 0.0);
    // Every estimate the same even number: one 1-species cell, two wider ones.
    const RichnessCollation even = Collate({250, 250});
    EXPECT_EQ(even.Hist[0].Cells, 1);
    EXPECT_EQ(Freqs(even.Hist[1]), (std::vector<int>{0, 2}));
    EXPECT_EQ(ColumnsOnRow(even, TableColumns(even), 1), 4);
    // Estimates of 0: no cell base below 0.
    const RichnessCollation zero = Collate({0, 1, 3});
    for (const RichnessHistogram& h : zero.Hist) {
        EXPECT_EQ(h.FirstBase, 0) << h.Width;
        int sum = 0;
        for (int f : Freqs(h)) sum += f;
        EXPECT_EQ(sum, 3) << h.Width;
    }
}

TEST(RichnessCollation, IntervalEndsAreOrderStatistics) {
    EXPECT_EQ(IntervalRank(1), 1);
    EXPECT_EQ(IntervalRank(40), 1);
    EXPECT_EQ(IntervalRank(41), 2);
    EXPECT_EQ(IntervalRank(80), 2);
    EXPECT_EQ(IntervalRank(100), 3);
    EXPECT_EQ(IntervalRank(1000), 25);
    EXPECT_EQ(IntervalRank(32000), 800);
    for (int n : {40, 41, 100, 1001}) {
        std::vector<int> v;
        for (int i = 0; i < n; ++i) v.push_back(500 + (i * 7919) % n);   // a shuffled run with steps of 1
        const RichnessCollation c = Collate(v);
        std::vector<int> s = v;
        std::sort(s.begin(), s.end());
        const int k = IntervalRank(n);
        EXPECT_EQ(c.LowCI, s[static_cast<std::size_t>(k - 1)]) << n;
        EXPECT_EQ(c.UpCI, s[s.size() - static_cast<std::size_t>(k)]) << n;
    }
    // Equal values count one each.
    std::vector<int> ties(41, 300);
    ties[0] = 299;
    EXPECT_EQ(Collate(ties).LowCI, 300);
}

TEST(RichnessCollation, TableColumnsAndTheTooLargeCase) {
    std::vector<int> v;
    for (int x = 100; x <= 298; ++x) v.push_back(x);
    RichnessCollation c = Collate(v);
    EXPECT_EQ(c.Hist[0].Cells, 199);
    EXPECT_EQ(TableColumns(c), (std::vector<int>{0, 1, 2, 3}));
    v.push_back(299);
    c = Collate(v);
    EXPECT_EQ(c.Hist[0].Cells, 201);
    EXPECT_EQ(c.Hist[1].Cells, 102);
    EXPECT_EQ(TableColumns(c), (std::vector<int>{1, 2, 3, 4}));
    // 200 cells of 100 species: that column alone; one more cell: none.
    c = Collate({50, 19900});
    EXPECT_EQ(c.Hist[6].Cells, 200);
    EXPECT_GT(c.Hist[5].Cells, 200);
    EXPECT_EQ(TableColumns(c), (std::vector<int>{6}));
    c = Collate({50, 20000});
    EXPECT_EQ(c.Hist[6].Cells, 201);
    EXPECT_TRUE(TableColumns(c).empty());
    // 20000 to 25000 fits the 100-species cells.
    c = Collate({20000, 25000});
    EXPECT_EQ(TableColumns(c), (std::vector<int>{5, 6}));
}

TEST(RichnessCollation, EveryEstimateFallsInACellOfEveryWidth) {
    platform::Rng rng(3);
    std::vector<int> v;
    for (int i = 0; i < 32000; ++i) v.push_back(static_cast<int>(rng.Rnd() * 25001));
    const RichnessCollation c = Collate(v, 32767, 225);
    for (const RichnessHistogram& h : c.Hist) {
        long sum = 0;
        for (int f : Freqs(h)) sum += f;
        EXPECT_EQ(sum, 32000) << h.Width;
        EXPECT_LE(h.FirstBase, c.Min);
        EXPECT_GE(h.LastBase + h.Width - 1, c.Max);
    }
}
