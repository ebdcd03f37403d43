// Shared set-up of the engine tests.
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "tests/support/StartedProgram.h"

namespace enginetest {

using platform::headless::Step;

inline Step Act(Step::Kind kind, const std::string& target, const std::string& text = "") {
    Step s;
    std::tie(s.kind, s.target, s.text) = std::tie(kind, target, text);
    return s;
}

inline std::string Temp(const std::string& name) { return tivelor::testing::TempPath(name); }

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline std::string WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// Three species in six quadrats in decreasing order of abundance: no advice.
inline std::string SmallData() {
    return WriteFile(Temp("engine.dat"),
                     "Quad  ,   Sp1,   Sp2,   Sp3,\r\n     1,     9,     4,     0,\r\n     2,     5,     0,     3,\r\n"
                     "     3,     7,     6,     1,\r\n     4,     3,     2,     0,\r\n     5,     8,     1,     2,\r\n"
                     "     6,     6,     5,     1,\r\n");
}

// A parameter set of n parameters named "Parameter i", as a set-up leaves it.
inline void MakeParameterSet(tivelor::App& app, int n) {
    app.eng.par.NumPars = n;
    app.eng.par.ParName.ReDim(n);
    for (int i = 1; i <= n; ++i) app.eng.par.ParName(i) = "Parameter " + std::to_string(i);
    tivelor::SizeParameterArrays(app);
}

struct Started : tivelor::testing::StartedProgram {
    void Fill(const std::string& data, const std::string& hab, const std::string& sampled = "6",
              const std::string& species = "3") {
        s.backend.Type("frmInitialize.txtDataFile", data);
        s.backend.Type("frmInitialize.cboQuadsinHab", hab);
        s.backend.Type("frmInitialize.cboQuadsSampled", sampled);
        s.backend.Type("frmInitialize.cboNSpecies", species);
    }
    void Initialize(const std::string& hab = "10000", int links = 0) {
        s.backend.Click("frmMenu.cmdInitialize");
        Fill(SmallData(), hab);
        s.backend.Set("frmInitialize.chkLogitThetas", links);
        s.backend.Set("frmInitialize.chkLogNs", links);
        s.backend.Click("frmInitialize.cmdDone");
    }
    void LoadDefaults() {
        s.backend.AnswerMsgBox("Load algorithm data", platform::vbNo);
        s.backend.AnswerMsgBox("Default Algorithm Values", platform::vbOK);
        s.backend.Click("frmMenu.cmdLoadAlg");
    }
};

}  // namespace enginetest
