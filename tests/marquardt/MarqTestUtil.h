// A hand-made parameter set and a test objective in place of the model.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/ModelSession.h"
#include "tests/support/StartedProgram.h"

namespace marqtest {

using platform::Matrix;
using platform::Vec;
using Derivs = std::function<void(const Vec<double>&, Vec<double>&, Matrix<double>&)>;

struct Fixture : ::testing::Test, tivelor::testing::AppSession {
    std::vector<long> calls;           // NF of every MODEL call
    std::vector<Vec<double>> points;   // every point evaluated
    std::function<void()> watcher;     // run at every DoEvents

    Fixture() { LoadMainWindow(); }
    // Parameters packed, work arrays sized as the Marquardt button sizes them.
    void Params(const std::vector<double>& values, const std::vector<double>& steps, const std::string& deriv = "A",
                const std::string& show = "no") {
        tivelor::testing::FillParameters(app, values, steps);
        SizeForMarquardt();
        app.eng.DerivMethod = deriv, app.eng.ShowDerivs = show;
    }
    // The objective f and, for the analytical service, its derivatives by parameter number.
    void Objective(std::function<double(const Vec<double>&)> f, Derivs derivs = {}) {
        app.eng.Objective = [this, f, derivs](Vec<double>& P, long NF) {
            calls.push_back(NF);
            if (NF == -2) return derivs ? derivs(P, app.eng.AnaGrad, app.eng.AnaHess) : void(), 0.0;
            return points.push_back(P), f(P);
        };
    }
    std::string Panel(int n) { return app.form<tivelor::frmMain>().stbMain5.Panel(n); }
    const platform::headless::MsgBoxRecord& LastBox() const { return s.backend.msgBoxes.back(); }
    void Answer(const std::string& title, int answer = platform::vbOK) { s.backend.AnswerMsgBox(title, answer); }
    // Runs f at every DoEvents from now on (f may click buttons).
    void AtEveryDoEvents(std::function<void()> f) { watcher = std::move(f), Schedule(); }
    void Schedule() {
        platform::headless::Step st;
        st.kind = platform::headless::Step::Call;
        st.call = [this] { watcher ? watcher() : void(), Schedule(); };
        s.backend.AtDoEvents(1, st);
    }
};

// A smooth bowl with its minimum at (1, -2, 0.5) and value 3, and its derivatives.
inline double Bowl(const Vec<double>& p) {
    const double x = p(1) - 1, y = p(2) + 2, z = p(3) - 0.5;
    return 3 + x * x + 2 * y * y + 0.5 * z * z + 0.6 * x * y + 0.2 * std::pow(x, 4);
}
inline void BowlDerivs(const Vec<double>& p, Vec<double>& g, Matrix<double>& h) {
    const double x = p(1) - 1, y = p(2) + 2, z = p(3) - 0.5;
    g(1) = 2 * x + 0.6 * y + 0.8 * x * x * x, g(2) = 4 * y + 0.6 * x, g(3) = z;
    h.Fill(0);
    h(1, 1) = 2 + 2.4 * x * x, h(2, 2) = 4, h(3, 3) = 1, h(1, 2) = h(2, 1) = 0.6;
}

}  // namespace marqtest
