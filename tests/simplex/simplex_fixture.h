// A started application with a small parameter set and a test objective in
// place of the model.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/Parameters.h"
#include "engine/Simplex.h"
#include "platform/files.h"
#include "platform/headless/headless.h"
#include "shell/App.h"
#include "shell/frmMain.h"
#include "shell/frmMenu.h"
#include "shell/frmSimplex.h"

namespace simplex_test {

using platform::Vec;
using platform::headless::Session;
using platform::headless::Step;

struct Bench {
    Session s;
    tivelor::App app{s.ui};
    long evals = 0;
    std::vector<std::vector<double>> points;   // every evaluated vector, when recording
    bool record = false;

    Bench() {
        app.Start();
        s.backend.Click("frmCredits.cmdOK");
    }

    void Params(const std::vector<double>& values, const std::vector<double>& steps) {
        auto& par = app.eng.par;
        int n = static_cast<int>(values.size());
        par.NumPars = n;
        par.ParValue.ReDim(n);
        par.StepSize.ReDim(n);
        par.FuseCode.ReDim(n);
        par.ParName.ReDim(n);
        for (int i = 1; i <= n; ++i) {
            par.ParValue(i) = values[i - 1];
            par.StepSize(i) = steps[i - 1];
            par.FuseCode(i) = "~~";
            par.ParName(i) = "Par" + std::to_string(i);
        }
        app.priors.Reset(n);
        app.eng.RecipLnLConst = 0.5;
    }

    void Objective(std::function<double(Vec<double>&)> f) {
        app.eng.TestModel = [this, f](Vec<double>& P, long) {
            ++evals;
            if (record) points.emplace_back(P.begin() + 1, P.end());
            return f(P);
        };
    }

    // Packs the free parameters and sizes the vertex matrix as the main
    // menu does before a new simplex.
    void Pack() {
        tivelor::SetUpFusedParameters(app);
        tivelor::PackAdjustableParameters(app);
        if (app.eng.SimplexValid == 0)
            app.eng.Simplex.ReDim(app.eng.par.NumPars, app.eng.par.NumPars + 2);
    }

    void Minimize() {
        Pack();
        tivelor::SimplexMinimize(app);
    }

    // Enables the main menu's buttons as after Initialize and Load.
    void MenuReady() {
        app.form<tivelor::frmMain>().Initialized = platform::True;
        app.eng.AlgFileName = "test.alg";
        app.form<tivelor::frmMenu>().EnableTaskButtons(true);
    }

    std::string Panel(int i) { return app.form<tivelor::frmMain>().stbMain5.Panel(i); }

    void At(std::uint64_t n, Step::Kind kind, const std::string& target) {
        Step st;
        st.kind = kind;
        st.target = target;
        s.backend.AtDoEvents(n, st);
    }

    int Count(const std::string& title) const {
        int k = 0;
        for (const auto& b : s.backend.msgBoxes) k += b.title == title;
        return k;
    }
};

// Sum of a_i (x_i - c_i)^2 plus f0.
inline std::function<double(Vec<double>&)> Quadratic(std::vector<double> c,
                                                     std::vector<double> a, double f0 = 0) {
    return [c, a, f0](Vec<double>& P) {
        double f = f0;
        for (size_t i = 0; i < c.size(); ++i) {
            double d = P(static_cast<long>(i) + 1) - c[i];
            f += a[i] * d * d;
        }
        return f;
    };
}

inline std::string TempPath(const std::string& name) {
    return (std::filesystem::path(::testing::TempDir()) / name).string();
}

inline std::vector<std::string> Lines(const std::string& path) {
    std::string text;
    platform::ReadWholeFile(path, text);
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t p; (p = text.find("\r\n", start)) != std::string::npos; start = p + 2)
        out.push_back(text.substr(start, p - start));
    if (start < text.size()) out.push_back(text.substr(start));
    return out;
}

}  // namespace simplex_test
