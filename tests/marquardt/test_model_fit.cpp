// Marquardt on the quadrat-count model, from the main menu, against Simplex.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/Objective.h"
#include "model/GridSearch.h"
#include "model/frmInitialize.h"
#include "platform/headless/headless.h"
#include "shell/App.h"
#include "shell/frmMain.h"

namespace {

using tivelor::App;

struct Heath {
    platform::headless::Session s;
    App app{s.ui};
    platform::Vec<double> start;

    Heath() {
        app.Start();
        s.backend.Click("frmCredits.cmdOK");
        s.backend.Click("frmMenu.cmdInitialize");
        auto& dlg = app.form<tivelor::frmInitialize>();
        dlg.txtDataFile.Text = std::string(TIVELOR_SOURCE_DIR) + "/examples/heath15.dat";
        dlg.cboQuadsinHab.Text = "50";
        dlg.cboQuadsSampled.Text = "10";
        dlg.cboNSpecies.Text = "15";
        dlg.chkLogitThetas.Value = 1;
        dlg.chkLogNs.Value = 1;
        AnswerAll(2);
        s.backend.Click("frmInitialize.cmdDone");
        s.backend.AnswerMsgBox("Load algorithm data", platform::vbNo);
        s.backend.AnswerMsgBox("Default Algorithm Values", platform::vbOK);
        s.backend.Click("frmMenu.cmdLoadAlg");
        auto& par = app.eng.par;
        app.model.ThetaGridRes = 8;
        app.model.UAGridRes = 8;
        // The set-up's advice: species 11 to 15 have the same counts.
        for (int i = 11; i <= 15; ++i) {
            par.FuseCode(i) = "A";
            par.FuseCode(i + 15) = "B";
        }
        tivelor::SearchInitialValues(app, par.ParValue, par.FuseCode);
        for (int i = 1; i <= par.NumPars; ++i) par.StepSize(i) = 0.1;
        // Held where the likelihood is flat: Theta of species 6 at 0, and the
        // unsampled individuals of species 1, 9, 10 and 11 to 15 at the
        // model's floor.
        par.ParValue(6) = -18.42;
        for (int i : {6, 16, 24, 25, 26}) par.StepSize(i) = 0;
        for (int i : {16, 24, 25, 26}) par.ParValue(i) = std::log(0.01);
        start = par.ParValue;
    }
    // Answers every message box of the model's set-up notes.
    void AnswerAll(int n) {
        for (int i = 0; i < n; ++i) s.backend.AnswerMsgBox("", platform::vbOK);
    }
    double Objective() {
        platform::Vec<double> x = app.eng.par.ParValue;
        return tivelor::EvaluateObjective(app, x, 1, false);
    }
    double Marquardt(const char* method) {
        app.eng.par.ParValue = start;
        s.backend.AnswerMsgBox("Marquardt minimization", std::string(method) == "A" ? platform::vbYes : platform::vbNo);
        s.backend.AnswerMsgBox("Marquardt minimization", platform::vbOK);
        s.backend.AnswerMsgBox("Marquardt minimization", platform::vbNo);
        s.backend.AnswerMsgBox("Marquardt minimum", platform::vbOK);
        s.backend.Click("frmMenu.cmdMarquardt");
        EXPECT_EQ(s.backend.msgBoxes.back().title, "Marquardt minimum");
        return Objective();
    }
};

TEST(MarquardtOnModel, AnalyticalNumericalAndSimplexAgree) {
    Heath t;
    const double f0 = t.Objective();
    const double fa = t.Marquardt("A");
    const double fn = t.Marquardt("N");
    EXPECT_LT(fa, f0 - 1);
    EXPECT_NEAR(fa, fn, 1E-4);

    t.app.eng.par.ParValue = t.start;
    t.app.eng.opt.MaxCalls = 100000;
    t.s.backend.AnswerMsgBox("Simplex minimum", platform::vbOK);
    t.s.backend.Click("frmMenu.cmdSimplex");
    const double fs = t.Objective();
    EXPECT_NEAR(fa, fs, 1E-3);
}

}  // namespace
