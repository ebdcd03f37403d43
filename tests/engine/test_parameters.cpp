// Fuse groups, the free-parameter vector and RSetPad.
#include <gtest/gtest.h>

#include "EngineTestUtil.h"
#include "engine/Parameters.h"

using namespace tivelor;

namespace {

struct Bare {
    platform::headless::Session s;
    App app{s.ui};
    ParameterSet& par = app.eng.par;
    FreeVector& fr = app.eng.free;
    explicit Bare(int n) { enginetest::MakeParameterSet(app, n); }
    void Set(int i, const char* code, double value, double step) {
        std::tie(par.FuseCode(i), par.ParValue(i), par.StepSize(i)) = std::make_tuple(code, value, step);
    }
};

}  // namespace

TEST(FuseGroups, FollowersTakeTheLeadersValueAndAreNotPacked) {
    Bare t(8);
    t.Set(2, "A", 1, 0.1);
    t.Set(5, "A", 2, 0.2);
    t.Set(7, "A", 3, 0.3);
    t.par.StepSize(8) = 0.5;
    t.app.eval.EvalValid = 1;
    SetUpFusedParameters(t.app.eng);
    EXPECT_EQ(std::make_pair(t.par.ParValue(5), t.par.ParValue(7)), std::make_pair(1.0, 1.0));
    EXPECT_EQ(std::make_pair(t.par.StepSize(5), t.par.StepSize(7)), std::make_pair(0.0, 0.0));
    EXPECT_EQ(std::make_pair(t.par.StepSize(2), t.app.eng.fuse.FuseGroupCount(1)), std::make_pair(0.1, 3));
    PackAdjustableParameters(t.app);
    EXPECT_EQ(std::make_tuple(t.fr.NFree, t.fr.FreeIndex(1), t.fr.FreeIndex(2)), std::make_tuple(2L, 2, 8));
    EXPECT_EQ(std::make_pair(t.fr.FreeValue(1), t.fr.FreeStep(2)), std::make_pair(1.0, 0.5));
    EXPECT_EQ(t.app.eval.EvalValid, 0);
}

TEST(FuseGroups, SingleLabelsDissolveCaseMattersAndAFixedLeaderFixesItsGroup) {
    Bare t(7);
    const char* codes[] = {"", "a", "A", "a", "A", "B", "C", "C"};
    for (int i = 1; i <= 7; ++i) t.Set(i, codes[i], i, i != 6);
    SetUpFusedParameters(t.app.eng);
    EXPECT_EQ(std::make_pair(t.par.ParValue(3), t.par.ParValue(4)), std::make_pair(1.0, 2.0));
    EXPECT_EQ(t.par.FuseCode(5), "~~");
    EXPECT_EQ(t.app.eng.fuse.NFuseGroups, 4);   // the dissolved label keeps its entry
    PackAdjustableParameters(t.app);
    EXPECT_EQ(std::make_pair(t.fr.NFree, t.fr.FreeIndex(3)), std::make_pair(3L, 5));   // C, led by 6, is fixed

    Bare none(0);
    PackAdjustableParameters(none.app);
    EXPECT_EQ(none.fr.NFree, 0);
}

TEST(FuseGroups, ApplyOverwritesFollowersFromTheVectorAndHonoursTheProfiledParameter) {
    Bare t(4);
    for (int i = 1; i <= 4; ++i) t.Set(i, "G", 0, i == 1);
    SetUpFusedParameters(t.app.eng);
    platform::Vec<double> X(4);
    X(2) = X(4) = 2;
    for (double lead : {9.0, 7.0}) {   // nothing of the first call carries over
        X(1) = lead;
        ApplyFusedParameters(t.app, X);
        EXPECT_EQ(std::make_pair(X(2), X(4)), std::make_pair(lead, lead));
    }
    // Profile mode: parameter 3, held at step 0, carries the members above it.
    X(3) = 5;
    t.app.sw.MLOn = "on";
    t.app.eval.ProfPar = 3;
    ApplyFusedParameters(t.app, X);
    EXPECT_EQ(std::make_tuple(X(2), X(3), X(4)), std::make_tuple(7.0, 5.0, 5.0));
}

TEST(RSetPadField, PadsCutsAndRoundsTheWidth) {
    EXPECT_EQ(RSetPad("abcd", 6) + RSetPad("abcdefg", 4), "  abcdabcd");
    EXPECT_EQ(RSetPad("abc", 0) + RSetPad("x", 1E12), "");
    EXPECT_EQ(RSetPad("x", 2.5) + RSetPad("x", 3.5), " x   x");   // halves round to even
    EXPECT_EQ(RSetPad(1.5, 5) + RSetPad(-2.0, 3), "  1.5 -2");
}
