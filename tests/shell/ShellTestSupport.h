// A started program with algorithm data for n parameters, the main menu shown.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/Parameters.h"
#include "platform/headless/headless.h"
#include "app/App.h"
#include "shell/frmAlgo.h"
#include "shell/frmMain.h"
#include "shell/frmMenu.h"

namespace shelltest {

using platform::QBColor, platform::vbNo, platform::vbOK, platform::vbYes;

struct Editing {
    platform::headless::Session s;
    platform::headless::HeadlessBackend& b = s.backend;
    tivelor::App app{s.ui};
    tivelor::ParameterSet& par = app.eng.par;

    // Values 1, 0, 1.5, -2 (repeated), steps a tenth of their size, unfused.
    explicit Editing(int n = 4) {
        app.Start();
        b.Click("frmCredits.cmdOK");
        par.NumPars = n;
        par.ParName.ReDim(n);
        tivelor::SetDefaultAlgorithm(app);
        const double values[4] = {1, 0, 1.5, -2};
        for (int i = 1; i <= n; ++i) {
            par.ParValue(i) = values[(i - 1) % 4];
            par.StepSize(i) = std::abs(0.1 * par.ParValue(i));
            par.ParName(i) = "Parameter " + std::to_string(i);
        }
        app.priors.Reset(n);
        app.form<tivelor::frmMain>().Initialized = platform::True;
        app.eng.AlgFileName = "test.alg";
        app.form<tivelor::frmMenu>().Unload();
        app.form<tivelor::frmMenu>().Show();
    }
    tivelor::frmAlgo& Open() {
        b.Click("frmMenu.cmdEditAlg");
        return app.form<tivelor::frmAlgo>();
    }
    void Finish() {
        b.AnswerMsgBox("Just so you know", vbOK);
        b.Click("frmAlgo.cmdFinish");
    }
    // Double-clicks a cell, types into the cell editor and leaves it.
    void EditCell(int row, int col, const std::string& text) {
        b.ClickCell("frmAlgo.grdVS", row, col, true);
        b.Type("frmAlgo.txtValue", text);
        app.form<tivelor::frmAlgo>().txtValue_LostFocus();
    }
    std::string Cell(int r, int c) { return app.form<tivelor::frmAlgo>().grdVS.TextMatrix(r, c); }
    std::int32_t Fore(int r, int c) { return app.form<tivelor::frmAlgo>().grdVS.CellForeColor(r, c); }
};

inline std::string Temp(const std::string& name) {
    return (std::filesystem::path(::testing::TempDir()) / name).string();
}

}  // namespace shelltest
