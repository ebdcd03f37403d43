// A started program with algorithm data for n parameters, the main menu shown.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "shell/frmAlgo.h"
#include "tests/support/StartedProgram.h"

namespace shelltest {

using platform::QBColor, platform::vbNo, platform::vbOK, platform::vbYes;

struct Editing : tivelor::testing::StartedProgram {
    tivelor::ParameterSet& par = app.eng.par;

    // Values 1, 0, 1.5, -2 (repeated), steps a tenth of their size, unfused.
    explicit Editing(int n = 4) {
        std::vector<double> values, steps;
        for (int i = 0; i < n; ++i) values.push_back(std::vector<double>{1, 0, 1.5, -2}[i % 4]);
        for (double v : values) steps.push_back(std::abs(0.1 * v));
        SetParameters(values, steps);
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

inline std::string Temp(const std::string& name) { return tivelor::testing::TempPath(name); }

}  // namespace shelltest
