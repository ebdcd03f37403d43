// Shared set-up of the engine tests: a started application and a parameter
// set built without a data file.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/frmInitialize.h"
#include "platform/headless/headless.h"
#include "shell/App.h"
#include "shell/frmMenu.h"

namespace enginetest {

struct Started {
    platform::headless::Session s;
    tivelor::App app{s.ui};
    Started() {
        app.Start();
        s.backend.Click("frmCredits.cmdOK");
    }
};

// A parameter set of n parameters named "Parameter i", as a set-up leaves it.
inline void MakeParameterSet(tivelor::App& app, int n) {
    app.eng.par.NumPars = n;
    app.eng.par.ParName.ReDim(n);
    for (int i = 1; i <= n; ++i) app.eng.par.ParName(i) = "Parameter " + std::to_string(i);
    tivelor::SizeParameterArrays(app);
}

// Queued user actions, run when the program waits (a modal dialog).
inline platform::headless::Step ClickStep(const std::string& path) {
    platform::headless::Step s;
    s.kind = platform::headless::Step::Click;
    s.target = path;
    return s;
}
inline platform::headless::Step TypeStep(const std::string& path, const std::string& text) {
    platform::headless::Step s;
    s.kind = platform::headless::Step::Type;
    s.target = path;
    s.text = text;
    return s;
}

inline std::string Temp(const std::string& name) {
    return (std::filesystem::path(::testing::TempDir()) / name).string();
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// A data file of counts[species][quadrat] in the fixed 6-character fields.
inline std::string DataFile(const std::vector<std::vector<int>>& counts) {
    auto field = [](const std::string& v) { return std::string(6 - v.size(), ' ') + v + ","; };
    std::string text = "Quad  ,";
    for (std::size_t i = 1; i <= counts.size(); ++i) text += field("Sp" + std::to_string(i));
    text += "\r\n";
    for (std::size_t j = 0; j < counts[0].size(); ++j) {
        text += field(std::to_string(j + 1));
        for (const auto& sp : counts) text += field(std::to_string(sp[j]));
        text += "\r\n";
    }
    return text;
}

// Three species in six quadrats, already in decreasing order of abundance,
// with nothing to advise: set up without any message.
inline std::string SmallDataFile() {
    return DataFile({{9, 5, 7, 3, 8, 6}, {4, 0, 6, 2, 1, 5}, {0, 3, 1, 0, 2, 1}});
}

}  // namespace enginetest
