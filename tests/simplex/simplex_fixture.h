// A started application with a small parameter set and a test objective in
// place of the model.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/Parameters.h"
#include "engine/Simplex.h"
#include "platform/headless/headless.h"
#include "shell/App.h"
#include "shell/frmMain.h"
#include "shell/frmMenu.h"
#include "shell/frmSimplex.h"

namespace simplex_test {

using platform::Vec;
using platform::headless::Step;
using Objective = std::function<double(Vec<double>&)>;

struct Bench {
    platform::headless::Session s;
    tivelor::App app{s.ui};
    long evals = 0;
    std::vector<double> firstCoords;   // coordinate 1 of every evaluation

    Bench() {
        app.Start();
        s.backend.Click("frmCredits.cmdOK");
    }
    void Params(const std::vector<double>& values, const std::vector<double>& steps, Objective f) {
        auto& par = app.eng.par;
        const int n = par.NumPars = static_cast<int>(values.size());
        for (auto* v : {&par.ParValue, &par.StepSize}) v->ReDim(n);
        for (auto* v : {&par.FuseCode, &par.ParName}) v->ReDim(n);
        for (int i = 1; i <= n; ++i) {
            par.ParValue(i) = values[i - 1];
            par.StepSize(i) = steps[i - 1];
            par.FuseCode(i) = "~~";
            par.ParName(i) = "Par" + std::to_string(i);
        }
        app.priors.Reset(n);
        app.eng.RecipLnLConst = 0.5;
        app.eng.TestModel = [this, f](Vec<double>& P, long) {
            ++evals;
            firstCoords.push_back(P(1));
            return f(P);
        };
    }
    // Packs and, for a new simplex, sizes the vertex matrix as the main menu does.
    void Minimize() {
        tivelor::SetUpFusedParameters(app);
        tivelor::PackAdjustableParameters(app);
        if (app.eng.SimplexValid == 0) app.eng.Simplex.ReDim(app.eng.par.NumPars, app.eng.par.NumPars + 2);
        tivelor::SimplexMinimize(app);
    }
    // The main menu's buttons enabled, as after Initialize and Load.
    void MenuReady() {
        app.form<tivelor::frmMain>().Initialized = platform::True;
        app.eng.AlgFileName = "test.alg";
        app.form<tivelor::frmMenu>().EnableTaskButtons(true);
    }
    std::string Panel(int i) { return app.form<tivelor::frmMain>().stbMain5.Panel(i); }
    void At(std::uint64_t n, Step::Kind kind, const std::string& target, std::function<void()> call = {}) {
        Step st;
        st.kind = kind;
        st.target = target;
        st.call = std::move(call);
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
