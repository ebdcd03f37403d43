// A started program with n parameters and algorithm data, the main menu
// shown, every prior uniform-unbounded.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/files.h"
#include "priors/PriorsFile.h"
#include "priors/frmSetPriors.h"
#include "tests/support/StartedProgram.h"

namespace priortest {

using platform::QBColor, platform::vbNo, platform::vbOK, platform::vbYes, platform::vbCancel;

struct Program : tivelor::testing::StartedProgram {
    tivelor::PriorTable& pr = app.priors;

    explicit Program(int n = 8) { SetParameters(std::vector<double>(n, 0.0), std::vector<double>(n, 0.0)); }
    // The editor reached from the main menu through "Set or reset".
    tivelor::frmSetPriors& Editor() {
        b.Click("frmMenu.cmdBayesian");
        if (!AnyNonUniform()) b.AnswerMsgBox("Setting Bayesian Priors", vbYes);
        b.Click("frmLoadPriors.cmdSet");
        return app.form<tivelor::frmSetPriors>();
    }
    bool AnyNonUniform() const {
        for (int i = 1; i <= app.eng.par.NumPars; ++i)
            if (app.priors.PriorType(i) != "U") return true;
        return false;
    }
    // Clicks parameter i's row and picks a menu item, answering its boxes.
    // A message box that follows the answers is answered OK.
    void Enter(int i, const std::string& menu, std::initializer_list<const char*> answers,
               const char* thenMsgBox = nullptr) {
        b.ClickCell("frmSetPriors.grdSetPriors", i + 1, 2);
        for (const char* a : answers) {
            if (a) b.AnswerInput("", a);
            else b.CancelInput("");
        }
        if (thenMsgBox) b.AnswerMsgBox(thenMsgBox, vbOK);
        b.Click("frmSetPriors." + menu);
    }
    tivelor::frmSetPriors& editor() { return app.form<tivelor::frmSetPriors>(); }
    std::string Row(int i) {
        std::string out;
        for (int c = 1; c <= 5; ++c) out += (c > 1 ? "|" : "") + editor().grdSetPriors.TextMatrix(i + 1, c);
        return out;
    }
    // Colours of columns 1-5 as palette numbers (-1 for another colour).
    std::string Colours(int i) {
        std::string out;
        for (int c = 1; c <= 5; ++c) {
            std::int32_t colour = editor().grdSetPriors.CellForeColor(i + 1, c);
            int n = -1;
            for (int k = 0; k < 16; ++k)
                if (QBColor(k) == colour) n = k;
            out += (c > 1 ? " " : "") + std::to_string(n);
        }
        return out;
    }
    std::string Entry(int i) {
        return pr.PriorType(i) + " " + platform::CStr(pr.PriorMean(i)) + " " + platform::CStr(pr.PriorSD(i)) + " " +
               tivelor::PriorVariantText(pr.PriorMean2(i)) + " " + tivelor::PriorVariantText(pr.PriorSD2(i));
    }
};

inline std::string Temp(const std::string& name) { return tivelor::testing::TempPath(name); }

inline std::string Read(const std::string& path) {
    std::string text;
    platform::ReadWholeFile(path, text);
    return text;
}

}  // namespace priortest
