// The synthetic 225-species, 50-quadrat data set set up for a Marquardt fit
// with analytical derivatives from the grid-search start, with the time spent
// in MODEL counted.
#pragma once

#include <chrono>
#include <cmath>
#include <string>

#include "engine/Marquardt.h"
#include "model/GridSearch.h"
#include "tests/support/SyntheticData.h"
#include "tests/support/ModelSession.h"

namespace benchfit {

using namespace tivelor;
using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

struct Synthetic : testing::AppSession {
    platform::Vec<double> start, startSteps;
    platform::Vec<std::string> startCodes;
    double modelSeconds = 0;
    long modelCalls = 0;
    long iterations = 0, solves = 0;

    Synthetic() {
        LoadMainWindow();
        AnswerNotes(3);
        SetUpModel(testing::WriteData("bench_synthetic_fit.dat", SyntheticDataText(1)), 225, 50, 1000, true, true);
        EngineState& e = app.eng;

        // The set-up's advice: species with the same counts fused, before the
        // grid search; the Theta of a singleton fixed at 0, after it.
        const ModelState& m = app.model;
        const int NSpp = m.NSpp, NQuad = m.NQuad;
        ParameterSet& par = e.par;
        int groups = 0;
        for (int i = 1; i <= NSpp; ++i) {
            if (par.FuseCode(i) != "~~") continue;
            std::string code;
            for (int j = i + 1; j <= NSpp; ++j)
                if (par.FuseCode(j) == "~~" && m.CumCount(j, NQuad) == m.CumCount(i, NQuad) &&
                    m.SpMeanCount(j) == m.SpMeanCount(i) && m.SpVarCount(j) == m.SpVarCount(i)) {
                    if (code.empty()) code = GroupCode(groups++);
                    par.FuseCode(i) = par.FuseCode(j) = code;
                    par.FuseCode(NSpp + i) = par.FuseCode(NSpp + j) = code + "U";
                }
        }
        SearchInitialValues(app, par.ParValue, par.FuseCode);
        for (int i = 1; i <= par.NumPars; ++i) par.StepSize(i) = 0.1;
        for (int i = 1; i <= NSpp; ++i)
            if (m.CumCount(i, NQuad) == 1) {
                par.ParValue(i) = -18.42;
                par.StepSize(i) = 0;
            }
        // An absolute change of 0.001 in -2 ln L: a verification with the
        // default 1E-06 keeps finding probes of 0.01 that gain more than that
        // along the flattest of 318 axes and gives up after five.
        e.opt.ConvTol = 1E-3;
        start = par.ParValue;
        startSteps = par.StepSize;
        startCodes = par.FuseCode;

        e.TestModel = [this](platform::Vec<double>& P, long NF) {
            const auto t0 = Clock::now();
            const double f = EvaluateModel(P, NF);
            modelSeconds += Seconds(t0);
            ++modelCalls;
            return f;
        };
    }

    static std::string GroupCode(int g) {
        return std::string(1, static_cast<char>('A' + g / 26)) + static_cast<char>('A' + g % 26);
    }

    void Reset() {
        app.eng.par.ParValue = start;
        app.eng.par.StepSize = startSteps;
        app.eng.par.FuseCode = startCodes;
        modelSeconds = 0;
        modelCalls = iterations = solves = 0;
    }

    // One run as the Marquardt button makes it, with analytical derivatives.
    // A parameter the decomposition names as dead is fixed, as the user would,
    // and the run is made again. The title of the last message box.
    std::string Run(int& restarts) {
        EngineState& e = app.eng;
        for (restarts = 0;; ++restarts) {
            e.DerivMethod = "A";
            e.ShowDerivs = "no";
            SizeForMarquardt();
            s.backend.AnswerMsgBox("", platform::vbOK);
            MarquardtMinimize(app);
            const std::string title = s.backend.msgBoxes.back().title;
            const std::string dead = "Matrix decompositon failure at parameter #";
            iterations += app.marq.NIter;
            solves += e.NF - 1;   // every counted evaluation after the first is a trial
            if (title.rfind(dead, 0) != 0) return title;
            const int p = std::stoi(title.substr(dead.size()));
            e.par.StepSize(p) = 0;
        }
    }
};

}  // namespace benchfit
