// A Simplex run on an example data file through the model itself.
#include <cmath>

#include "engine/Objective.h"
#include "platform/runtime.h"
#include "simplex_fixture.h"

using namespace tivelor;
using namespace simplex_test;

TEST(SimplexExample, FinalValueEqualsOneEvaluationAtTheResult) {
    Bench b;
    b.s.backend.Click("frmMenu.cmdInitialize");
    b.s.backend.Type("frmInitialize.txtDataFile",
                     std::string(TIVELOR_SOURCE_DIR) + "/examples/bog10.dat");
    b.s.backend.Type("frmInitialize.cboQuadsinHab", "30");
    b.s.backend.Type("frmInitialize.cboQuadsSampled", "6");
    b.s.backend.Type("frmInitialize.cboNSpecies", "10");
    b.s.backend.Set("frmInitialize.chkLogitThetas", 1);
    b.s.backend.Set("frmInitialize.chkLogNs", 1);
    for (int k = 0; k < 3; ++k) b.s.backend.AnswerMsgBox("", platform::vbOK);
    b.s.backend.Click("frmInitialize.cmdDone");
    b.s.backend.AnswerMsgBox("Load algorithm data", platform::vbNo);
    b.s.backend.AnswerMsgBox("Default Algorithm Values", platform::vbOK);
    b.s.backend.Click("frmMenu.cmdLoadAlg");
    ASSERT_EQ(b.app.eng.par.NumPars, 20);

    // Logit[Theta] and Ln[UA] of ten species; the two rarest fused as advised.
    ParameterSet& par = b.app.eng.par;
    for (int i = 1; i <= 10; ++i) {
        par.ParValue(i) = -1;
        par.StepSize(i) = 0.5;
        par.ParValue(10 + i) = 1;
        par.StepSize(10 + i) = 0.5;
    }
    par.FuseCode(9) = par.FuseCode(10) = "A";
    par.FuseCode(19) = par.FuseCode(20) = "B";
    b.app.eng.opt.MaxCalls = 200000;
    Vec<double> start = par.ParValue;
    const double fstart = EvaluateObjective(b.app, start, 1, true);
    b.s.backend.AnswerMsgBox("Simplex minimum", platform::vbOK);
    b.s.backend.Click("frmMenu.cmdSimplex");
    ASSERT_EQ(b.Count("Simplex minimum"), 1);
    EXPECT_EQ(b.app.eng.free.NFree, 18);

    const SimplexState& s = b.app.simplex;
    const double fmin = s.SimplexF(s.ILo);
    Vec<double> at = par.ParValue;
    // The axial probes leave the best vertex exactly where its value was taken.
    const double f1 = EvaluateObjective(b.app, at, 1, true);
    EXPECT_EQ(f1, fmin);
    EXPECT_LT(fmin, fstart - 1);
    // The report states the same value.
    EXPECT_NE(b.app.form<frmSimplex>().rtbSimplex.Text().find(
                  "Minimum of " + platform::Format(fmin, "####0.#####") + " found at these 18 "),
              std::string::npos);
}
