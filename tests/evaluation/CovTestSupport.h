// A started program with a hand-made parameter set, a test objective in
// place of the model, and the scripted answers of a covariance run.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "../plots/PlotTestSupport.h"
#include "evaluation/frmCovData.h"
#include "tests/support/StartedProgram.h"

namespace covtest {

using platform::Matrix;
using platform::Vec;
using platform::vbCancel, platform::vbNo, platform::vbOK, platform::vbYes;
using Derivs = std::function<void(const Vec<double>&, Vec<double>&, Matrix<double>&)>;
using Lines = std::vector<std::string>;

struct Answers {
    std::vector<std::string> factors{"1", "0.1", "0.01"};
    bool optimistic = false, analytical = false;
};

struct Cov : ::testing::Test, tivelor::testing::StartedProgram {
    std::vector<long> calls;           // NF of every evaluation
    std::vector<Vec<double>> points;   // every point evaluated with NF 1

    void Params(const std::vector<double>& values, const std::vector<double>& steps) { SetParameters(values, steps); }
    // The objective; derivs fills the analytical Hessian by parameter number.
    void Objective(std::function<double(const Vec<double>&)> f, Derivs derivs = {}) {
        app.eng.Objective = [this, f, derivs](Vec<double>& P, long NF) {
            calls.push_back(NF);
            if (NF == -2) return derivs ? derivs(P, app.eng.AnaGrad, app.eng.AnaHess) : void(), 0.0;
            return points.push_back(P), f(P);
        };
    }
    // The editor passed without changes.
    void Editor() {
        plottest::WhileOpen(b, "frmAlgo", {}, "cmdFinish");
        b.AnswerMsgBox("Just so you know", vbOK);
    }
    // The answers of a run from the method question to the optimistic question.
    void Script(const Answers& r = {}) {
        b.AnswerMsgBox("Covariance calculator", r.analytical ? vbYes : vbNo);
        if (!r.analytical) {
            b.AnswerMsgBox("Covariance calculator", vbOK);
            Editor();
            for (const std::string& f : r.factors) b.AnswerInput("Covariance calculator", f);
            b.AnswerMsgBox("Covariance calculator", vbYes);
        }
        b.AnswerInput("Enter constant", "0.5");
        b.AnswerMsgBox("Calculate optimistic SEs only?", r.optimistic ? vbYes : vbNo);
    }
    // A whole run and its report on screen, as lines.
    Lines RunAndReport(const Answers& r = {}) {
        Script(r);
        b.Click("frmMenu.cmdCovariance");
        EXPECT_EQ(b.PendingSteps(), 0u);
        b.Click("frmCovDisplay.cmdScreen");
        return Split(Text());
    }
    std::string Text() { return app.form<tivelor::frmCovData>().rtbCovData.Text(); }
    bool Shows(const std::string& part) { return Text().find(part) != std::string::npos; }

    static Lines Split(const std::string& text) { return tivelor::testing::SplitLines(text); }
    // Report line n as the saved file numbers it (the report begins at line 3).
    static const std::string& Line(const Lines& report, int n) { return report.at(static_cast<std::size_t>(n - 3)); }
    // Columns first..last (1-based) of a line, blanks trimmed.
    static std::string Cols(const std::string& line, int first, int last) {
        const std::size_t f = static_cast<std::size_t>(first - 1);
        std::string s = line.size() > f ? line.substr(f, static_cast<std::size_t>(last - first + 1)) : "";
        const auto b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
        return b == std::string::npos ? "" : s.substr(b, e - b + 1);
    }
    // The three grid fields of a line (ending at columns 38, 56, 74), width columns each.
    static Lines Grids(const std::string& line, int width = 14) {
        Lines out;
        for (int g = 0; g < 3; ++g) out.push_back(Cols(line, 38 + 18 * g - width + 1, 38 + 18 * g));
        return out;
    }
    static Lines Same(const std::string& v) { return {v, v, v}; }
    static std::string Temp(const std::string& name) { return tivelor::testing::TempPath(name); }
};

// x' A^-1 x for the 2 x 2 matrix A.
inline double QuadraticForm(double a11, double a12, double a22, double x1, double x2) {
    return (a22 * x1 * x1 - 2 * a12 * x1 * x2 + a11 * x2 * x2) / (a11 * a22 - a12 * a12);
}
inline double Correlated(const Vec<double>& p) { return QuadraticForm(1, .5, 1, p(1), p(2)); }

}  // namespace covtest
