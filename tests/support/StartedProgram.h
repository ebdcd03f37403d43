// A started program on the headless back end (the credits passed, the main
// menu shown) and small helpers the subsystem tests share.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "state/App.h"
#include "engine/Parameters.h"
#include "model/frmInitialize.h"
#include "platform/headless/headless.h"
#include "windows/frmMain.h"
#include "shell/frmMenu.h"

namespace tivelor::testing {

// n parameters with these values and steps, unfused, named prefix + i.
inline void FillParameters(App& app, const std::vector<double>& values, const std::vector<double>& steps,
                           const std::string& prefix = "Parameter ") {
    ParameterSet& par = app.eng.par;
    const int n = par.NumPars = static_cast<int>(values.size());
    for (auto* v : {&par.ParValue, &par.StepSize}) v->ReDim(n);
    for (auto* v : {&par.FuseCode, &par.ParName}) v->ReDim(n);
    for (int i = 1; i <= n; ++i) {
        par.ParValue(i) = values[static_cast<std::size_t>(i - 1)];
        par.StepSize(i) = steps[static_cast<std::size_t>(i - 1)];
        par.FuseCode(i) = "~~";
        par.ParName(i) = prefix + std::to_string(i);
    }
}

struct StartedProgram {
    platform::headless::Session s;
    platform::headless::HeadlessBackend& b = s.backend;
    App app{s.ui};

    StartedProgram() {
        app.Start();
        b.Click("frmCredits.cmdOK");
    }
    // Parameters named "Parameter i" with these values and steps, default
    // algorithm data of "test.alg", uniform priors; the main menu shown again
    // with the buttons of an initialized model.
    void SetParameters(const std::vector<double>& values, const std::vector<double>& steps) {
        app.eng.par.NumPars = static_cast<int>(values.size());
        SizeParameterArrays(app);
        SetDefaultAlgorithm(app);
        FillParameters(app, values, steps);
        app.form<frmMain>().Initialized = platform::True;
        app.eng.AlgFileName = "test.alg";
        app.form<frmMenu>().Unload();
        app.form<frmMenu>().Show();
    }
};

inline std::string TempPath(const std::string& name) {
    return (std::filesystem::path(::testing::TempDir()) / name).string();
}

// The CR LF lines of a text; a last line without its end counts too.
inline std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t at = 0;
    for (std::size_t e; (e = text.find("\r\n", at)) != std::string::npos; at = e + 2) out.push_back(text.substr(at, e - at));
    if (at < text.size()) out.push_back(text.substr(at));
    return out;
}

// The first CR LF line of text that starts with prefix, or "".
inline std::string LineStartingWith(const std::string& text, const std::string& prefix) {
    const std::string t = "\r\n" + text;
    const std::size_t p = t.find("\r\n" + prefix);
    return p == std::string::npos ? "" : t.substr(p + 2, t.find("\r\n", p + 2) - p - 2);
}

}  // namespace tivelor::testing
