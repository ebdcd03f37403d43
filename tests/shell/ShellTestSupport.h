// A started program with a small parameter set and algorithm data, ready
// for the main menu's Edit algorithm data.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/headless/headless.h"
#include "platform/runtime.h"
#include "shell/App.h"
#include "shell/frmAlgo.h"
#include "shell/frmMain.h"
#include "shell/frmMenu.h"

namespace shelltest {

using platform::QBColor;

struct Editing {
    platform::headless::Session s;
    tivelor::App app{s.ui};

    explicit Editing(int numPars = 4) {
        app.Start();
        s.backend.Click("frmCredits.cmdOK");
        SetParameters(numPars);
        app.form<tivelor::frmMain>().Initialized = platform::True;
        app.eng.AlgFileName = "test.alg";
        app.form<tivelor::frmMenu>().Unload();
        app.form<tivelor::frmMenu>().Show();
    }

    // Values 1, 0, 1.5, -2, ...; steps 0.1, 0, 0.15, 0.2, ...; unfused.
    void SetParameters(int n) {
        tivelor::ParameterSet& p = app.eng.par;
        p.NumPars = n;
        p.ParValue.ReDim(n);
        p.StepSize.ReDim(n);
        p.FuseCode.ReDim(n);
        p.ParName.ReDim(n);
        const double values[4] = {1, 0, 1.5, -2};
        for (int i = 1; i <= n; ++i) {
            p.ParValue(i) = values[(i - 1) % 4];
            p.StepSize(i) = std::abs(0.1 * p.ParValue(i));
            p.FuseCode(i) = "~~";
            p.ParName(i) = "Parameter " + std::to_string(i);
        }
        app.priors.Reset(n);
    }

    tivelor::frmAlgo& OpenFromMenu() {
        s.backend.Click("frmMenu.cmdEditAlg");
        return app.form<tivelor::frmAlgo>();
    }

    void Finish() {
        s.backend.AnswerMsgBox("Just so you know", platform::vbOK);
        s.backend.Click("frmAlgo.cmdFinish");
    }

    // Double-clicks a cell, types into the cell editor and leaves it.
    void EditCell(int row, int col, const std::string& text) {
        s.backend.ClickCell("frmAlgo.grdVS", row, col, true);
        s.backend.Type("frmAlgo.txtValue", text);
        app.form<tivelor::frmAlgo>().txtValue_LostFocus();
    }

    std::string Cell(int r, int c) { return app.form<tivelor::frmAlgo>().grdVS.TextMatrix(r, c); }
    std::int32_t Fore(int r, int c) { return app.form<tivelor::frmAlgo>().grdVS.CellForeColor(r, c); }
    const std::string& LastMsgTitle() { return s.backend.msgBoxes.back().title; }
};

inline std::string Temp(const std::string& name) {
    return (std::filesystem::path(::testing::TempDir()) / name).string();
}

}  // namespace shelltest
