// Fuse groups, the free-parameter vector, defaults and RSetPad.
#include <gtest/gtest.h>

#include "EngineTestUtil.h"
#include "engine/Parameters.h"
#include "platform/headless/headless.h"
#include "shell/App.h"

using namespace tivelor;
using enginetest::MakeParameterSet;

namespace {

struct Bare {
    platform::headless::Session s;
    App app{s.ui};
    ParameterSet& par = app.eng.par;
    explicit Bare(int n) { MakeParameterSet(app, n); }
};

}  // namespace

TEST(FuseGroups, FollowersTakeTheLeadersValueAndAreNotPacked) {
    Bare t(8);
    const double values[] = {0, 1, 2, 3};
    const double steps[] = {0, 0.1, 0.2, 0.3};
    const int members[] = {0, 2, 5, 7};
    for (int k = 1; k <= 3; ++k) {
        t.par.FuseCode(members[k]) = "A";
        t.par.ParValue(members[k]) = values[k];
        t.par.StepSize(members[k]) = steps[k];
    }
    t.par.StepSize(8) = 0.5;
    t.app.eval.EvalValid = 1;
    SetUpFusedParameters(t.app);
    EXPECT_EQ(t.par.ParValue(5), 1);
    EXPECT_EQ(t.par.ParValue(7), 1);
    EXPECT_EQ(t.par.StepSize(5), 0);
    EXPECT_EQ(t.par.StepSize(7), 0);
    EXPECT_EQ(t.par.StepSize(2), 0.1);
    EXPECT_EQ(t.app.eng.fuse.NFuseGroups, 1);
    EXPECT_EQ(t.app.eng.fuse.FuseGroupCount(1), 3);

    PackAdjustableParameters(t.app);
    EXPECT_EQ(t.app.eng.free.NFree, 2);
    EXPECT_EQ(t.app.eng.free.FreeIndex(1), 2);
    EXPECT_EQ(t.app.eng.free.FreeIndex(2), 8);
    EXPECT_EQ(t.app.eng.free.FreeValue(1), 1);
    EXPECT_EQ(t.app.eng.free.FreeStep(2), 0.5);
    EXPECT_EQ(t.app.eval.EvalValid, 0);
}

TEST(FuseGroups, SingleLabelsDissolveAndCaseMatters) {
    Bare t(5);
    for (int i = 1; i <= 5; ++i) {
        t.par.ParValue(i) = i;
        t.par.StepSize(i) = 1;
    }
    t.par.FuseCode(1) = "a";
    t.par.FuseCode(3) = "a";
    t.par.FuseCode(2) = "A";
    t.par.FuseCode(4) = "A";
    t.par.FuseCode(5) = "B";
    SetUpFusedParameters(t.app);
    EXPECT_EQ(t.par.ParValue(3), 1);
    EXPECT_EQ(t.par.ParValue(4), 2);
    EXPECT_EQ(t.par.FuseCode(5), "~~");
    EXPECT_EQ(t.par.StepSize(5), 1);
    EXPECT_EQ(t.app.eng.fuse.NFuseGroups, 3);   // the dissolved label keeps its entry
    PackAdjustableParameters(t.app);
    EXPECT_EQ(t.app.eng.free.NFree, 3);   // 1, 2 and 5
    EXPECT_EQ(t.app.eng.free.FreeIndex(3), 5);
}

TEST(FuseGroups, LeaderWithStepZeroFixesTheGroupAndAllZeroGivesNoFree) {
    Bare t(3);
    t.par.FuseCode(1) = "C";
    t.par.FuseCode(3) = "C";
    t.par.StepSize(3) = 0.4;
    SetUpFusedParameters(t.app);
    PackAdjustableParameters(t.app);
    EXPECT_EQ(t.app.eng.free.NFree, 0);

    Bare none(0);
    SetUpFusedParameters(none.app);
    PackAdjustableParameters(none.app);
    EXPECT_EQ(none.app.eng.free.NFree, 0);
}

TEST(FuseGroups, ApplyOverwritesFollowersFromTheVectorAndHonoursTheProfiledParameter) {
    Bare t(4);
    for (int i = 1; i <= 4; ++i) t.par.FuseCode(i) = "G";
    t.par.StepSize(1) = 1;
    SetUpFusedParameters(t.app);
    platform::Vec<double> X(4);
    X(1) = 9;
    X(2) = 2;
    X(3) = 3;
    X(4) = 4;
    ApplyFusedParameters(t.app, X);
    EXPECT_EQ(X(2), 9);
    EXPECT_EQ(X(4), 9);

    // Profile mode: parameter 3, held at step 0, carries the members above it.
    X(3) = 5;
    t.app.sw.MLOn = "on";
    t.app.eval.ProfPar = 3;
    ApplyFusedParameters(t.app, X);
    EXPECT_EQ(X(2), 9);
    EXPECT_EQ(X(3), 5);
    EXPECT_EQ(X(4), 5);
}

TEST(Defaults, SetDefaultAlgorithmResetsValuesAndOptionsButNotNames) {
    Bare t(3);
    t.par.ParValue(2) = 7;
    t.par.StepSize(2) = 1;
    t.par.FuseCode(2) = "A";
    t.app.eng.opt.ConvTol = -5;
    t.app.eng.opt.LogFileName = "x.tvl";
    t.app.eng.opt.FileFreq = 10;
    ASSERT_TRUE(t.app.ui.files.Open(203, enginetest::Temp("defaults.tvl"), platform::FileMode::Output));
    SetDefaultAlgorithm(t.app);
    EXPECT_EQ(t.par.ParValue(2), 0);
    EXPECT_EQ(t.par.StepSize(2), 0);
    EXPECT_EQ(t.par.FuseCode(2), "~~");
    EXPECT_EQ(t.par.ParName(2), "Parameter 2");
    EXPECT_EQ(t.app.eng.opt.ConvTol, 1E-06);
    EXPECT_EQ(t.app.eng.opt.MaxCalls, 9999);
    EXPECT_EQ(t.app.eng.opt.TerminalFreq, 10);
    EXPECT_EQ(t.app.eng.opt.FileFreq, 0);
    EXPECT_EQ(t.app.eng.opt.LogFileName, "minimize.tvl");
    EXPECT_EQ(t.app.eng.opt.StepReduction, 0.1);
    EXPECT_FALSE(t.app.ui.files.IsOpen(203));
}

TEST(RSetPadField, PadsCutsAndRoundsTheWidth) {
    EXPECT_EQ(RSetPad("abcd", 6), "  abcd");
    EXPECT_EQ(RSetPad("abcdefg", 4), "abcd");
    EXPECT_EQ(RSetPad("abc", 0), "");
    EXPECT_EQ(RSetPad("abc", -3), "");
    EXPECT_EQ(RSetPad("", 3), "   ");
    EXPECT_EQ(RSetPad("x", 2.5), " x");    // 2.5 rounds to 2
    EXPECT_EQ(RSetPad("x", 3.5), "   x");  // 3.5 rounds to 4
    EXPECT_EQ(RSetPad("x", 1E12), "");     // no such field
    EXPECT_EQ(RSetPad(1.5, 5), "  1.5");
    EXPECT_EQ(RSetPad(-2.0, 3), " -2");
    EXPECT_EQ(RSetPad(12, 3), " 12");
}
