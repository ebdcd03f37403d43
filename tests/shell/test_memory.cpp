// Runs whose arrays do not fit in memory: the user is told, nothing starts,
// and the program goes on with the model, the parameter set, the stores and
// the windows as they were.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "engine/Parameters.h"
#include "state/Task.h"
#include "tests/plots/PlotTestSupport.h"
#include "tests/support/AddressSpaceLimit.h"
#include "tests/support/StartedProgram.h"

namespace {

using platform::vbNo, platform::vbOK, platform::vbYes;
using testsupport::RunWithAddressSpaceLimit;

// 2500 species in 4 quadrats: 5000 parameters, so that each square work
// array takes 200 MB, more than the limit leaves, while the model itself
// takes a few MB.
constexpr int kSpecies = 2500, kQuadrats = 4;
constexpr rlim_t kMargin = 96u << 20;

// plain: in decreasing order, none alike and none single, so that a set-up
// shows no box of its own.
std::string DataText(int nSpp = kSpecies, bool plain = false) {
    std::string text = "Quad# ,";
    char field[16];
    for (int i = 1; i <= nSpp; ++i) {
        std::snprintf(field, sizeof field, "S%05d,", i);
        text += field;
    }
    for (int q = 1; q <= kQuadrats; ++q) {
        std::snprintf(field, sizeof field, "\r\nQ%-5d,", q);
        text += field;
        for (int i = 0; i < nSpp; ++i) {
            std::snprintf(field, sizeof field, "%6d,", plain ? (q == 1) * (nSpp + 1 - i) : 1 + (i * 7 + q * 3) % 5);
            text += field;
        }
    }
    return text + "\r\n";
}

struct BigModel : tivelor::testing::StartedProgram {
    BigModel() {
        const std::string path = tivelor::testing::TempPath("memory_big.dat");
        std::ofstream(path, std::ios::binary) << DataText();
        b.AnswerMsgBox("Left-to-right data re-ordering", vbOK);
        b.AnswerMsgBox("You are advised to fuse the following parameter groups BEFORE any grid search...", vbOK);
        b.Click("frmMenu.cmdInitialize");
        b.Type("frmInitialize.txtDataFile", path);
        b.Type("frmInitialize.cboQuadsinHab", "100");
        b.Type("frmInitialize.cboQuadsSampled", std::to_string(kQuadrats));
        b.Type("frmInitialize.cboNSpecies", std::to_string(kSpecies));
        b.Click("frmInitialize.cmdDone");
        // Default algorithm data with every parameter free.
        tivelor::SetDefaultAlgorithm(app);
        for (int i = 1; i <= app.eng.par.NumPars; ++i) app.eng.par.StepSize(i) = 0.1;
        app.eng.par.FuseCode(3) = "A";   // a lone fuse code, which a run's set-up would clear
        app.eng.AlgFileName = "test.alg";
        app.form<tivelor::frmMenu>().Unload();
        app.form<tivelor::frmMenu>().Show();
        // Covariances of an earlier run, still on offer.
        app.sw.CovDone = "on";
        app.eng.CovStore.ReDim(2, 2, 3);
        app.eng.CovStore(1, 1, 1) = 0.25;
    }

    double CountSum() const {
        double sum = 0;
        for (int i = 1; i <= app.model.NSpp; ++i) sum += app.model.CumCount(i, app.model.NQuad);
        return sum;
    }

    // Clicks a main menu button under the limit; the run is refused with the
    // not-enough-memory message titled `title`, and everything is kept.
    void RefusedForMemory(const std::string& button, const std::string& title) {
        ASSERT_TRUE(app.model.SetupOK);
        ASSERT_EQ(app.eng.par.NumPars, 2 * kSpecies);
        const double counts = CountSum();
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
        EXPECT_TRUE(app.model.SetupOK);
        EXPECT_EQ(app.model.NSpp, kSpecies);
        EXPECT_EQ(CountSum(), counts);
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
        BigModel p;
        EXPECT_EQ(testsupport::RunWithAddressSpaceLimit(kMargin, [&] {
                      p.RefusedForMemory("cmdSimplex", "Simplex minimization");
                  }),
                  "")
            << "Simplex";
    }
    {
        BigModel p;
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
        BigModel p;
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

// Initializes nSpp species in a child under margin: "new" when the new model
// came in whole, "old" when the old one stayed whole after one message, or
// why the child failed; the menu is back either way.
std::string Reinitialize(tivelor::testing::StartedProgram& p, int nSpp, rlim_t margin) {
    const std::string path = tivelor::testing::TempPath("memory_plain.dat"), outcome = path + ".outcome";
    std::ofstream(path, std::ios::binary) << DataText(nSpp, true);
    std::remove(outcome.c_str());
    const tivelor::ParameterSet old = p.app.eng.par;
    const int oldSpp = p.app.model.NSpp;
    const std::string died = RunWithAddressSpaceLimit(margin, [&] {
        const std::size_t shown = p.b.msgBoxes.size();
        p.b.AnswerMsgBox("Initialize", vbNo);
        p.b.Click("frmMenu.cmdInitialize");
        p.b.Type("frmInitialize.txtDataFile", path);
        p.b.Type("frmInitialize.cboQuadsinHab", "100");
        p.b.Type("frmInitialize.cboQuadsSampled", std::to_string(kQuadrats));
        p.b.Type("frmInitialize.cboNSpecies", std::to_string(nSpp));
        p.b.AnswerMsgBox("Initialization input error", vbOK);
        p.b.Click("frmInitialize.cmdDone");
        const tivelor::ParameterSet& par = p.app.eng.par;
        const bool fresh = par.NumPars == 2 * nSpp;
        EXPECT_EQ(p.app.model.NSpp, fresh ? nSpp : oldSpp);
        EXPECT_TRUE(fresh || (par.ParValue == old.ParValue && par.StepSize == old.StepSize &&
                              par.FuseCode == old.FuseCode && par.ParName == old.ParName));
        for (long ub : {par.ParValue.UBound(), par.ParName.UBound(), par.FuseCode.UBound(), p.app.priors.PriorSD2.UBound(),
                        p.app.eng.free.FreeIndex.UBound(), p.app.marq.LURHS.UBound1()})
            EXPECT_EQ(ub, par.NumPars);
        ASSERT_EQ(p.b.msgBoxes.size(), shown + (fresh ? 1 : 2));
        if (!fresh) p.b.Click("frmInitialize.cmdCancel");
        EXPECT_TRUE(p.app.form<tivelor::frmMenu>().Visible() && !p.app.task.InCharge());
        std::ofstream(outcome) << (fresh ? "new" : "old");
    });
    std::string got;
    std::ifstream(outcome) >> got;
    return died.empty() ? got : died;
}

// Margins from none up to the least that lets the set-up through, so that
// memory runs out at every stage of it.
TEST(NotEnoughMemory, InitializationIsAllOrNothing) {
    SKIP_UNDER_ADDRESS_SANITIZER();
    tivelor::testing::StartedProgram p;
    p.SetParameters({1, 2, 3}, {0.1, 0, 0.2});
    p.app.eng.par.FuseCode(3) = "A";
    rlim_t fails = 0, succeeds = 256u << 20;
    ASSERT_EQ(Reinitialize(p, kSpecies, fails), "old");
    ASSERT_EQ(Reinitialize(p, kSpecies, succeeds), "new");
    while (succeeds - fails > (64u << 10)) {
        const rlim_t mid = (fails + succeeds) / 2;
        const std::string got = Reinitialize(p, kSpecies, mid);
        ASSERT_TRUE(got == "new" || got == "old") << got << " at " << mid;
        (got == "new" ? succeeds : fails) = mid;
    }
    for (rlim_t less = 32u << 10; less < (3u << 20); less += 96u << 10) {
        const std::string got = Reinitialize(p, kSpecies, succeeds - less);
        EXPECT_TRUE(got == "new" || got == "old") << got << " at " << succeeds - less;
    }
}

TEST(NotEnoughMemory, InitializationNeedsNoCopyOfTheModel) {
    SKIP_UNDER_ADDRESS_SANITIZER();
    BigModel p;   // some 50 MB of model data
    EXPECT_EQ(Reinitialize(p, 10, 16u << 20), "new");
}

// The objective runs out of memory at its call failAt, before the first
// point or during the run: the values, steps and fuse codes come back as the
// editor left them, and the main menu after one message.
TEST(NotEnoughMemory, AProfileOrPosteriorPutsBackWhatItChanged) {
    SKIP_UNDER_ADDRESS_SANITIZER();
    for (const bool bayes : {false, true})
        for (const long failAt : {1L, 4L}) {
            tivelor::testing::StartedProgram p;
            p.SetParameters({0.3, 1.2}, {0.05, bayes ? 0.05 : 0});   // a posterior integrates parameter 2
            p.app.eng.par.FuseCode(1) = "A";
            std::vector<char> held;
            long calls = 0;
            p.app.eng.Objective = [&](platform::Vec<double>& P, long) {
                if (++calls == failAt) held.assign(std::size_t{1} << 30, 1);
                return 100 + P(1) * P(1) + P(2) * P(2);
            };
            tivelor::ParameterSet before = p.app.eng.par;   // with the user's edit, a lone code cleared
            before.ParValue(2) = 1.1, before.FuseCode(1) = "~~";
            const std::string title = bayes ? "Bayesian parameter estimate evaluation" : "ML parameter estimate evaluation";
            const std::string died = RunWithAddressSpaceLimit(kMargin, [&] {
                p.b.Click("frmMenu.cmdParEstimate");
                p.b.AnswerMsgBox(title, vbOK);
                p.b.AnswerMsgBox(title, vbYes);
                p.b.AnswerInput("Enter constant", "0.5");
                for (const char* answer : {"1", "5"}) p.b.AnswerInput(title, answer);
                if (bayes) p.b.AnswerInput(title, "3");      // grid points
                else p.b.AnswerMsgBox(title, vbNo);          // Marquardt
                plottest::WhileOpen(p.b, "frmAlgo", [&] { p.app.eng.par.ParValue(2) = 1.1; }, "cmdFinish");
                p.b.AnswerMsgBox("Just so you know", vbOK);
                p.b.AnswerMsgBox("Not enough memory", vbOK);
                p.b.Click(bayes ? "frmParEvals.cmdBP" : "frmParEvals.cmdML");
                const tivelor::ParameterSet& now = p.app.eng.par;
                EXPECT_TRUE(now.ParValue == before.ParValue && now.StepSize == before.StepSize &&
                            now.FuseCode == before.FuseCode);
                EXPECT_EQ(p.b.msgBoxes[p.b.msgBoxes.size() - 2].title, "Just so you know");
                EXPECT_EQ(p.b.PendingSteps(), 0u);
                EXPECT_TRUE(p.app.form<tivelor::frmMenu>().Visible() && !p.app.task.InCharge());
            });
            EXPECT_EQ(died, "") << (bayes ? "posterior" : "profile") << " out of memory at call " << failAt;
        }
}

}  // namespace
