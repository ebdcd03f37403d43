// A started session with a small model, opened in the ranking window with
// an objective the test sets.
#pragma once

#include <functional>
#include <string>

#include "../engine/EngineTestUtil.h"
#include "ranking/frmRank.h"

namespace ranktest {

struct RankFixture : enginetest::Started {
    double F = 100;   // what the next evaluation returns
    RankFixture() {
        Initialize();
        LoadDefaults();
        // Six parameters, four of them estimated; 50 individuals counted.
        app.eng.SampleSize = 50;
        for (int i = 1; i <= 6; ++i) app.eng.par.StepSize(i) = i <= 4 ? 0.1 : 0;
        app.eng.Objective = [this](platform::Vec<double>&, long) { return F; };
        app.eng.AlgFileName = enginetest::Temp("model1.alg");
    }
    // Opens the ranking window, confirming the constant c.
    tivelor::frmRank& Open(const std::string& constant = "0.5") {
        s.backend.AnswerInput("Enter constant", constant);
        s.backend.Click("frmMenu.cmdRank");
        return app.form<tivelor::frmRank>();
    }
    std::string Cell(int r, int c) { return app.form<tivelor::frmRank>().grdRank.TextMatrix(r, c); }
    // Adds the current algorithm data with objective f under the given file name.
    void Add(double f, const std::string& algFile) {
        F = f;
        app.eng.AlgFileName = algFile;
        s.backend.Click("frmRank.cmdAICc");
    }
};

// Covariance file text of n parameters with values, fuse codes and grid SEs
// of the free ones (step 0.1 when a SE row is given).
struct CovParam {
    double value;
    std::string code = "~~";
    bool free = true;
    double se[3] = {0, 0, 0};
};
std::string CovFileText(const std::vector<CovParam>& pars);

}  // namespace ranktest
