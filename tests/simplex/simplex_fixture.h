// A started application with a test objective in place of the model.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "engine/Simplex.h"
#include "tests/support/ModelSession.h"
#include "tests/support/StartedProgram.h"
#include "windows/frmMain.h"
#include "shell/frmMenu.h"
#include "windows/frmSimplex.h"

namespace simplex_test {

using namespace tivelor;
using platform::Vec;
using platform::headless::Step;
using Objective = std::function<double(Vec<double>&)>;

struct Bench : tivelor::testing::AppSession {
    long evals = 0;

    Bench() { app.Start(), s.backend.Click("frmCredits.cmdOK"); }
    void Params(const std::vector<double>& values, const std::vector<double>& steps, Objective f) {
        tivelor::testing::FillParameters(app, values, steps, "Par");
        app.priors.Reset(app.eng.par.NumPars);
        app.eng.Objective = [this, f](Vec<double>& P, long) { return ++evals, f(P); };
        SizeForSimplex();
    }
    // The run of the main menu's Simplex button, with its buttons enabled.
    void Minimize() {
        app.form<frmMain>().Initialized = platform::True;
        app.eng.AlgFileName = "test.alg";
        app.form<frmMenu>().EnableTaskButtons(true);
        s.backend.Click("frmMenu.cmdSimplex");
    }
    // A built one-parameter simplex: vertex 1 at a, vertex 2 at a + step.
    void Line(double a, double step, Objective f) {
        Params({a}, {step}, std::move(f));
        SimplexState& st = app.simplex;
        st.SimplexF.ReDim(2);
        for (auto* v : {&st.WorkVertex, &st.ExtVertex, &st.TrialPar}) v->ReDim(1);
        st.ICen = 3;
        app.eng.Simplex.ReDim(1, 3);
        app.eng.Simplex(1, 1) = a;
        InitialSimplex(app);
        app.form<frmSimplex>();
    }
    std::string Panel(int i) { return app.form<frmMain>().stbMain5.Panel(i); }
    void At(std::uint64_t n, Step::Kind kind, const std::string& target, std::function<void()> call = {}) {
        Step st;
        st.kind = kind, st.target = target, st.call = std::move(call);
        s.backend.AtDoEvents(n, st);
    }
    void Ok(const std::string& title) { s.backend.AnswerMsgBox(title, platform::vbOK); }
};

// Sum of a_i (x_i - c_i)^2 plus f0.
inline Objective Quadratic(std::vector<double> c, std::vector<double> a, double f0 = 0) {
    return [c, a, f0](Vec<double>& P) {
        double f = f0;
        for (size_t i = 0; i < c.size(); ++i) f += a[i] * (P(i + 1) - c[i]) * (P(i + 1) - c[i]);
        return f;
    };
}

}  // namespace simplex_test
