// Marquardt on the quadrat-count model, from the main menu, against Simplex.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/Objective.h"
#include "model/GridSearch.h"
#include "platform/headless/headless.h"
#include "state/App.h"

TEST(MarquardtOnModel, AnalyticalNumericalAndSimplexAgree) {
    platform::headless::Session s;
    tivelor::App app{s.ui};
    auto& ui = s.backend;
    app.Start(), ui.Click("frmCredits.cmdOK");
    ui.Click("frmMenu.cmdInitialize");
    ui.Type("frmInitialize.txtDataFile", std::string(TIVELOR_SOURCE_DIR) + "/examples/heath15.dat");
    for (auto [box, text] : {std::pair{"cboQuadsinHab", "50"}, {"cboQuadsSampled", "10"}, {"cboNSpecies", "15"}})
        ui.Type(std::string("frmInitialize.") + box, text);
    for (auto box : {"chkLogitThetas", "chkLogNs"}) ui.Set(std::string("frmInitialize.") + box, 1);
    for (int i = 0; i < 2; ++i) ui.AnswerMsgBox("", platform::vbOK);   // the set-up's notes
    ui.Click("frmInitialize.cmdDone");
    ui.AnswerMsgBox("Load algorithm data", platform::vbNo);
    ui.AnswerMsgBox("Default Algorithm Values", platform::vbOK);
    ui.Click("frmMenu.cmdLoadAlg");
    auto& par = app.eng.par;
    app.model.ThetaGridRes = app.model.UAGridRes = 8;
    for (int i = 11; i <= 15; ++i) par.FuseCode(i) = "A", par.FuseCode(i + 15) = "B";   // as advised
    tivelor::SearchInitialValues(app, par.ParValue, par.FuseCode);
    for (int i = 1; i <= par.NumPars; ++i) par.StepSize(i) = 0.1;
    par.ParValue(6) = -18.42;   // held where the likelihood is flat: Theta of species 6 at 0, and
    for (int i : {6, 16, 24, 25, 26}) par.StepSize(i) = 0;
    for (int i : {16, 24, 25, 26}) par.ParValue(i) = std::log(0.01);   // the unsampled of 1, 9, 10, 11-15
    const platform::Vec<double> start = par.ParValue;
    auto objective = [&, x = par.ParValue]() mutable { return x = par.ParValue, tivelor::EvaluateObjective(app, x, 1, false); };
    const double f0 = objective();
    double f[3];
    for (int run = 0; run < 3; ++run) {   // analytical, numerical, Simplex
        par.ParValue = start;
        if (run < 2) {
            ui.AnswerMsgBox("Marquardt minimization", run == 0 ? platform::vbYes : platform::vbNo);
            for (int answer : {platform::vbOK, platform::vbNo}) ui.AnswerMsgBox("Marquardt minimization", answer);
        }
        app.eng.opt.MaxCalls = 100000;
        ui.AnswerMsgBox(run < 2 ? "Marquardt minimum" : "Simplex minimum", platform::vbOK);
        ui.Click(run < 2 ? "frmMenu.cmdMarquardt" : "frmMenu.cmdSimplex");
        EXPECT_EQ(ui.msgBoxes.back().title, run < 2 ? "Marquardt minimum" : "Simplex minimum");
        f[run] = objective();
    }
    EXPECT_LT(f[0], f0 - 1);
    EXPECT_NEAR(f[0], f[1], 1E-4);
    EXPECT_NEAR(f[0], f[2], 1E-3);
}
