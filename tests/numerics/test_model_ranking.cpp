// Information criteria, ranking, Akaike weights and averaging, against
// values worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "numerics/ModelRanking.h"

namespace tivelor::numerics {
namespace {

TEST(ModelRanking, SmallSampleCriterionAndItsUndefinedCase) {
    // F 100 with constant 1/2 is -ln L 50; K 4, N 50.
    EXPECT_NEAR(*SmallSampleCriterion(50, 4, 50), 108.8888889, 1E-6);
    EXPECT_NEAR(*SmallSampleCriterion(50, 4, 50, 2), 58.8888889, 1E-6);
    EXPECT_FALSE(SmallSampleCriterion(50, 4, 5).has_value());   // N - K - 1 = 0
    EXPECT_NEAR(*SmallSampleCriterion(50, 4, 3), 100 + 2.0 * 4 * 3 / -2, 1E-12);   // negative term as it comes
}

TEST(ModelRanking, ScaledNegLnLStaysInTheRangeOfNumbers) {
    EXPECT_EQ(*ScaledNegLnL(100, 2), 50);
    EXPECT_DOUBLE_EQ(*ScaledNegLnL(-3, 1E-307), -3E+307);
    EXPECT_EQ(*ScaledNegLnL(0, 1E+307), 0);   // a true 0 is no loss
    // The widest constants taken, 1E-307 and 1E+307, on ordinary objectives.
    EXPECT_FALSE(ScaledNegLnL(271.9, 1E-307).has_value());   // infinite
    EXPECT_FALSE(ScaledNegLnL(1E-20, 1E+307).has_value());   // 0
    EXPECT_FALSE(ScaledNegLnL(0.01, 1E+307).has_value());    // subnormal
    EXPECT_TRUE(ScaledNegLnL(271.9, 1E+307).has_value());
    EXPECT_FALSE(ScaledNegLnL(std::nan(""), 1).has_value());
}

TEST(ModelRanking, SelectionDeltasAndWeights) {
    const std::vector<double> aicc = {210.4, 205.1, 207.3};
    const auto order = RankBySelection(aicc);
    EXPECT_EQ(std::vector<int>(order.begin() + 1, order.end()), (std::vector<int>{2, 3, 1}));
    const auto a = DeltasAndWeights({205.1, 207.3, 210.4});
    EXPECT_NEAR(a.delta[1], 2.2, 1E-12);
    EXPECT_NEAR(a.delta[2], 5.3, 1E-12);
    EXPECT_NEAR(a.S, 1.403522, 1E-6);
    EXPECT_NEAR(a.weight[0], 0.712493, 1E-6);
    EXPECT_NEAR(a.weight[1], 0.237168, 1E-6);
    EXPECT_NEAR(a.weight[2], 0.050339, 1E-6);

    // Ties keep the entry order; equal values share the weight.
    const auto tie = RankBySelection({7, 5, 5, 5});
    EXPECT_EQ(std::vector<int>(tie.begin() + 1, tie.end()), (std::vector<int>{2, 3, 4, 1}));
    const auto eq = DeltasAndWeights({5, 5, 5, 5});
    for (double w : eq.weight) EXPECT_DOUBLE_EQ(w, 0.25);

    // Values outside (0, 1E+100) are never taken.
    const auto bad = RankBySelection({-3, 4, NAN, 1E+100});
    EXPECT_EQ(std::vector<int>(bad.begin() + 1, bad.end()), (std::vector<int>{2, 0, 0, 0}));
}

TEST(ModelRanking, AveragingAddsTheSpreadOfTheEstimates) {
    std::vector<ModelEstimates> models(2);
    models[0].est = {0, 10};
    models[1].est = {0, 14};
    for (int g = 1; g <= 3; ++g) {
        models[0].se[static_cast<std::size_t>(g)] = {0, 1};
        models[1].se[static_cast<std::size_t>(g)] = {0, 2};
    }
    const std::vector<double> w = {0.75, 0.25};
    auto r = AverageModels(w, models, 1, {false, false, false, true}, 1);
    EXPECT_DOUBLE_EQ(r.Avg[1], 11);
    EXPECT_NEAR(r.USE[1][1], 1.962048, 1E-6);
    EXPECT_EQ(r.USE[3][1], -1);
    r = AverageModels(w, models, 1, {}, 2);
    EXPECT_NEAR(r.USE[2][1], 2.329815, 1E-6);
    // A parameter without a standard error contributes w·|est − avg|.
    models[1].se[1] = {0, 0};
    r = AverageModels(w, models, 1, {}, 1);
    EXPECT_NEAR(r.USE[1][1], 0.75 * std::sqrt(2.0) + 0.25 * 3, 1E-12);
}

TEST(ModelRanking, AveragingKeepsStandardErrorsWhoseSquaresLeaveTheRange) {
    std::vector<ModelEstimates> models(2);
    for (auto& m : models) {
        m.est = {0, 1};
        for (int g = 1; g <= 3; ++g) m.se[static_cast<std::size_t>(g)] = {0, 1E200};
    }
    auto r = AverageModels({0.5, 0.5}, models, 1, {}, 4);
    EXPECT_DOUBLE_EQ(r.USE[1][1], 2E200);
    // Spreads far apart: (est - avg)² alone would overflow.
    models[0].est[1] = 3E160;
    models[1].est[1] = -3E160;
    for (auto& m : models) m.se[2][1] = 4E160;
    r = AverageModels({0.5, 0.5}, models, 1, {}, 1);
    EXPECT_DOUBLE_EQ(r.Avg[1], 0);
    EXPECT_DOUBLE_EQ(r.USE[2][1], 5E160);
}

}  // namespace
}  // namespace tivelor::numerics
