// Runs whose arrays do not fit in memory: the user is told, nothing starts,
// and the program goes on with the parameter set, the stores and the windows
// as they were.
#include <gtest/gtest.h>

#include <new>
#include <string>

#include "state/Task.h"
#include "tests/support/AddressSpaceLimit.h"
#include "tests/support/StartedProgram.h"

namespace {

using platform::vbNo, platform::vbOK;

// 5000 parameters: each square work array takes 200 MB, more than the limit
// leaves, while the parameter set itself is small.
constexpr int kPars = 5000;
constexpr rlim_t kMargin = 96u << 20;

struct BigParameterSet : tivelor::testing::StartedProgram {
    BigParameterSet() {
        std::vector<double> values(kPars), steps(kPars);
        for (int i = 0; i < kPars; ++i) {
            values[static_cast<std::size_t>(i)] = 1 + i % 7;
            steps[static_cast<std::size_t>(i)] = 0.1;
        }
        SetParameters(values, steps);
        app.eng.par.FuseCode(3) = "A";   // a lone fuse code, which a run's set-up would clear
        // Covariances of an earlier run, still on offer.
        app.sw.CovDone = "on";
        app.eng.CovStore.ReDim(2, 2, 3);
        app.eng.CovStore(1, 1, 1) = 0.25;
    }

    // Clicks a main menu button under the limit; the run is refused with the
    // not-enough-memory message titled `title`, and everything is kept.
    void RefusedForMemory(const std::string& button, const std::string& title) {
        const tivelor::ParameterSet before = app.eng.par;
        const auto generation = app.eng.Generation;
        const std::size_t shown = b.msgBoxes.size();
        b.AnswerMsgBox(title, vbOK);
        b.Click("frmMenu." + button);

        ASSERT_GT(b.msgBoxes.size(), shown);
        EXPECT_EQ(b.msgBoxes.back().title, title);
        EXPECT_NE(b.msgBoxes.back().text.find("There is not enough memory for the arrays of"), std::string::npos)
            << b.msgBoxes.back().text;
        EXPECT_EQ(b.PendingSteps(), 0u);
        const tivelor::ParameterSet& now = app.eng.par;
        EXPECT_TRUE(now.ParValue == before.ParValue && now.StepSize == before.StepSize &&
                    now.FuseCode == before.FuseCode);
        EXPECT_EQ(app.eng.Generation, generation);
        EXPECT_EQ(app.sw.CovDone, "on");
        EXPECT_EQ(app.eng.CovStore.UBound1(), 2);
        EXPECT_EQ(app.eng.CovStore(1, 1, 1), 0.25);
        // No run window, the task ended, the main menu back.
        for (const char* run : {"frmSimplex", "frmMarquardt", "frmCovData", "frmCovDisplay"})
            EXPECT_FALSE(s.ui.forms.IsLoaded(run)) << run;
        EXPECT_FALSE(app.task.InCharge());
        EXPECT_FALSE(app.sw.SimplexBusy);
        EXPECT_FALSE(app.sw.MarquardtBusy);
        EXPECT_TRUE(app.form<tivelor::frmMenu>().Visible());
        EXPECT_TRUE(app.form<tivelor::frmMain>().mnuApplication.Enabled);
    }
};

#ifdef TIVELOR_ADDRESS_SANITIZER
#define SKIP_UNDER_ADDRESS_SANITIZER() GTEST_SKIP() << "the address sanitizer needs more address space than the limit"
#else
#define SKIP_UNDER_ADDRESS_SANITIZER() (void)0
#endif

TEST(NotEnoughMemory, RunsAreRefusedWithEverythingKept) {
    SKIP_UNDER_ADDRESS_SANITIZER();
    {
        BigParameterSet p;
        EXPECT_EQ(testsupport::RunWithAddressSpaceLimit(kMargin, [&] {
                      p.RefusedForMemory("cmdSimplex", "Simplex minimization");
                  }),
                  "")
            << "Simplex";
    }
    {
        BigParameterSet p;
        EXPECT_EQ(testsupport::RunWithAddressSpaceLimit(kMargin, [&] {
                      // Numerical derivatives, no listing.
                      p.b.AnswerMsgBox("Marquardt minimization", vbNo);
                      p.b.AnswerMsgBox("Marquardt minimization", vbOK);
                      p.b.AnswerMsgBox("Marquardt minimization", vbNo);
                      p.RefusedForMemory("cmdMarquardt", "Marquardt minimization");
                  }),
                  "")
            << "Marquardt";
    }
    {
        BigParameterSet p;
        EXPECT_EQ(testsupport::RunWithAddressSpaceLimit(kMargin, [&] {
                      p.b.AnswerMsgBox("Covariance", vbNo);   // not the last results: a new calculation
                      p.RefusedForMemory("cmdCovariance", "Covariance calculator");
                  }),
                  "")
            << "Single model covariances";
    }
}

// The last line: a handler that runs out of memory anyway ends its task with
// a message, and the program takes the next action.
TEST(NotEnoughMemory, AHandlerOutOfMemoryEndsItsTask) {
    tivelor::testing::StartedProgram p;
    p.b.AnswerMsgBox("Not enough memory", vbOK);
    p.s.ui.Dispatch([&] {
        tivelor::TaskGuard task(p.app, "Simplex");
        p.app.form<tivelor::frmMenu>().Unload();
        throw std::bad_alloc();
    });
    ASSERT_FALSE(p.b.msgBoxes.empty());
    EXPECT_EQ(p.b.msgBoxes.back().text, "There is not enough memory to go on: the task was ended.");
    EXPECT_FALSE(p.app.task.InCharge());
    EXPECT_TRUE(p.app.form<tivelor::frmMain>().mnuApplication.Enabled);
    EXPECT_EQ(p.b.PendingSteps(), 0u);
}

}  // namespace
