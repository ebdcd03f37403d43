// A Simplex run on an example data file through the model itself.
#include "engine/Objective.h"
#include "platform/runtime.h"
#include "simplex_fixture.h"

using namespace tivelor;
using namespace simplex_test;

TEST(SimplexExample, FinalValueEqualsOneEvaluationAtTheResult) {
    Bench b;
    b.s.backend.Click("frmMenu.cmdInitialize");
    b.s.backend.Type("frmInitialize.txtDataFile", std::string(TIVELOR_SOURCE_DIR) + "/examples/bog10.dat");
    b.s.backend.Type("frmInitialize.cboQuadsinHab", "30");
    b.s.backend.Type("frmInitialize.cboQuadsSampled", "6");
    b.s.backend.Type("frmInitialize.cboNSpecies", "10");
    b.s.backend.Set("frmInitialize.chkLogitThetas", 1);
    b.s.backend.Set("frmInitialize.chkLogNs", 1);
    for (int k = 0; k < 3; ++k) b.Ok("");   // re-ordering, fuse and fix advice
    b.s.backend.Click("frmInitialize.cmdDone");
    b.s.backend.AnswerMsgBox("Load algorithm data", platform::vbNo);
    b.Ok("Default Algorithm Values");
    b.s.backend.Click("frmMenu.cmdLoadAlg");
    ParameterSet& par = b.app.eng.par;
    ASSERT_EQ(par.NumPars, 20);
    for (int i = 1; i <= 10; ++i) {   // Logit[Theta] and Ln[UA]; the rarest two fused as advised
        par.ParValue(i) = -1;
        par.ParValue(10 + i) = 1;
        par.StepSize(i) = par.StepSize(10 + i) = 0.5;
    }
    par.FuseCode(9) = par.FuseCode(10) = "A";
    par.FuseCode(19) = par.FuseCode(20) = "B";
    b.app.eng.opt.MaxCalls = 200000;
    Vec<double> start = par.ParValue;
    const double fstart = EvaluateObjective(b.app, start, 1, true);
    b.Ok("Simplex minimum");
    b.s.backend.Click("frmMenu.cmdSimplex");
    EXPECT_EQ(b.app.eng.free.NFree, 18);

    const double fmin = b.app.simplex.SimplexF(b.app.simplex.ILo);
    Vec<double> at = par.ParValue;
    EXPECT_EQ(EvaluateObjective(b.app, at, 1, true), fmin);   // to the last bit
    EXPECT_LT(fmin, fstart - 1);
    EXPECT_NE(b.app.form<frmSimplex>().rtbSimplex.Text().find(
                  "Minimum of " + platform::Format(fmin, "####0.#####") + " found at these 18 "),
              std::string::npos);
}
