// Shared set-up of the Marquardt tests: an application with a hand-made
// parameter set and a test objective in place of the model.
#pragma once

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/Parameters.h"
#include "platform/headless/headless.h"
#include "shell/App.h"
#include "shell/frmMain.h"

namespace marqtest {

using platform::Vec;

struct Fixture : ::testing::Test {
    platform::headless::Session s;
    tivelor::App app{s.ui};

    Fixture() { app.form<tivelor::frmMain>(); }

    // Values and steps of parameters 1..n, packed; work arrays sized as the
    // Marquardt button sizes them.
    void Params(const std::vector<double>& values, const std::vector<double>& steps) {
        auto& e = app.eng;
        const int n = static_cast<int>(values.size());
        e.par.NumPars = n;
        for (auto* v : {&e.par.ParValue, &e.par.StepSize, &e.free.FreeValue, &e.free.FreeStep}) v->ReDim(n);
        for (auto* v : {&e.par.FuseCode, &e.par.ParName}) v->ReDim(n);
        e.free.FreeIndex.ReDim(n);
        for (int i = 1; i <= n; ++i) {
            e.par.ParValue(i) = values[i - 1];
            e.par.StepSize(i) = steps[i - 1];
            e.par.FuseCode(i) = "~~";
            e.par.ParName(i) = "Parameter " + std::to_string(i);
        }
        tivelor::SetUpFusedParameters(app);
        tivelor::PackAdjustableParameters(app);
        e.HessMat.ReDim(n, n);
        e.MarqBeta.ReDim(n);
        e.GridNegLnL.ReDim(n, n, 2);
        e.AnaHess.ReDim(n, n);
        e.AnaGrad.ReDim(n);
    }
    void Method(const std::string& deriv, const std::string& show = "no") {
        app.eng.DerivMethod = deriv;
        app.eng.ShowDerivs = show;
    }

    // The objective f and, for the analytical service, its gradient and
    // Hessian by parameter number.
    void Objective(std::function<double(const Vec<double>&)> f,
                   std::function<void(const Vec<double>&, Vec<double>&, platform::Matrix<double>&)> derivs = {}) {
        app.eng.TestModel = [this, f, derivs](Vec<double>& P, long NF) {
            calls.push_back(NF);
            if (NF == -2) {
                if (derivs) derivs(P, app.eng.AnaGrad, app.eng.AnaHess);
                return 0.0;
            }
            points.push_back(P);
            return f(P);
        };
    }

    std::string Panel(int n) { return app.form<tivelor::frmMain>().stbMain5.Panel(n); }
    const platform::headless::MsgBoxRecord* LastBox() const {
        return s.backend.msgBoxes.empty() ? nullptr : &s.backend.msgBoxes.back();
    }

    // Runs f at every DoEvents from now on (f may click buttons).
    void AtEveryDoEvents(std::function<void()> f) {
        watcher = std::move(f);
        Schedule();
    }
    void Schedule() {
        platform::headless::Step st;
        st.kind = platform::headless::Step::Call;
        st.call = [this] {
            if (watcher) watcher();
            Schedule();
        };
        s.backend.AtDoEvents(1, st);
    }
    std::function<void()> watcher;

    std::vector<long> calls;
    std::vector<Vec<double>> points;
};

// A smooth bowl with its minimum at (1, -2, 0.5) and value 3.
inline double Bowl(const Vec<double>& p) {
    const double x = p(1) - 1, y = p(2) + 2, z = p(3) - 0.5;
    return 3 + x * x + 2 * y * y + 0.5 * z * z + 0.6 * x * y + 0.2 * std::pow(x, 4) + 0.1 * y * y * z * z;
}
inline void BowlDerivs(const Vec<double>& p, Vec<double>& g, platform::Matrix<double>& h) {
    const double x = p(1) - 1, y = p(2) + 2, z = p(3) - 0.5;
    g(1) = 2 * x + 0.6 * y + 0.8 * x * x * x;
    g(2) = 4 * y + 0.6 * x + 0.2 * y * z * z;
    g(3) = z + 0.2 * y * y * z;
    h(1, 1) = 2 + 2.4 * x * x;
    h(2, 2) = 4 + 0.2 * z * z;
    h(3, 3) = 1 + 0.2 * y * y;
    h(1, 2) = h(2, 1) = 0.6;
    h(1, 3) = h(3, 1) = 0;
    h(2, 3) = h(3, 2) = 0.4 * y * z;
}

}  // namespace marqtest
