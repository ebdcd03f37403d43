// A fresh application on the headless back end with the model set up from a
// data file: the fixture the tests and the benchmarks share.
#pragma once

#include <filesystem>
#include <string>

#include "engine/Parameters.h"
#include "model/Model.h"
#include "tests/support/SyntheticData.h"
#include "model/frmInitialize.h"
#include "platform/files.h"
#include "platform/headless/headless.h"
#include "app/App.h"
#include "shell/frmMain.h"

namespace tivelor::testing {

// Writes a temporary file and returns its path.
inline std::string WriteData(const std::string& file, const std::string& text) {
    const auto dir = std::filesystem::temp_directory_path() / "tivelor_model_tests";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / file).string();
    platform::WriteWholeFileSafely(path, text);
    return path;
}

struct AppSession {
    platform::headless::Session s;
    App app{s.ui};

    // The main window loaded as after the credits, without clicking through them.
    void LoadMainWindow() { app.form<frmMain>(); }

    // OK to the next n messages, whatever their titles (the set-up's notes).
    void AnswerNotes(int n) {
        for (int k = 0; k < n; ++k) s.backend.AnswerMsgBox("", platform::vbOK);
    }

    // MODEL on the engine's parameter set, as the evaluation sequence calls it.
    double EvaluateModel(platform::Vec<double>& P, long NF) {
        EngineState& e = app.eng;
        double f = 0;
        MODEL(app, f, P, e.par.StepSize, e.par.ParName, e.par.FuseCode, e.par.NumPars, NF, e.NObs,
              e.AnaGrad, e.AnaHess, e.SampleSize);
        return f;
    }

    // The model set up into the engine's parameter set as the initialization
    // dialog leaves it, then the default algorithm. The caller answers the
    // set-up's notes.
    bool SetUpModel(const std::string& path, int nSpp, int nQuad, long nHab, bool logit, bool ln) {
        app.model.Init = {std::to_string(nHab), std::to_string(nQuad), std::to_string(nSpp), logit, ln, path};
        EvaluateModel(app.eng.par.ParValue, 0);
        if (!app.model.SetupOK) return false;
        SizeParameterArrays(app);
        SetDefaultAlgorithm(app);
        return true;
    }

    // The parameters packed and a fresh simplex dimensioned, as the Simplex
    // button leaves them for a new run.
    void SizeForSimplex() {
        EngineState& e = app.eng;
        e.SimplexValid = 0;
        SetUpFusedParameters(app);
        PackAdjustableParameters(app);
        e.Simplex.ReDim(e.par.NumPars, e.par.NumPars + 2);
    }

    // The work arrays of every derivative method, sized as the Marquardt
    // button sizes them, and the parameters packed.
    void SizeForMarquardt() {
        EngineState& e = app.eng;
        const int n = e.par.NumPars;
        for (auto* m : {&e.InvWork, &e.HessMat, &e.AnaHess}) m->ReDim(n, n);
        for (auto* v : {&e.MarqBeta, &e.AnaGrad}) v->ReDim(n);
        e.GridNegLnL.ReDim(n, n, 2);
        SetUpFusedParameters(app);
        PackAdjustableParameters(app);
    }
};

// A model with parameter arrays of its own, called directly.
struct ModelFixture : AppSession {
    double F = 0;
    platform::Vec<double> P, Step, Grad;
    platform::Vec<std::string> Names, Fuse;
    platform::Matrix<double> Hess;
    int NumPars = 0;
    long NObs = 0, SampleSize = 0;

    // Set-up; the caller queues answers to the messages it expects.
    bool Setup(const std::string& path, int nSpp, int nQuad, long nHab, bool logit = false, bool ln = false) {
        app.model.Init = {std::to_string(nHab), std::to_string(nQuad), std::to_string(nSpp), logit, ln, path};
        Call(P, 0);
        Fuse.ReDim(NumPars);
        for (int k = 1; k <= NumPars; ++k) Fuse(k) = "~~";
        return app.model.SetupOK;
    }
    void Call(platform::Vec<double>& x, long nf) {
        MODEL(app, F, x, Step, Names, Fuse, NumPars, nf, NObs, Grad, Hess, SampleSize);
    }
    double Eval(platform::Vec<double>& x, long nf = 2) {
        Call(x, nf);
        return F;
    }
    double Eval(long nf = 2) { return Eval(P, nf); }
    // The synthetic 225-species, 50-quadrat set of 1000 quadrats, with both
    // links, its set-up notes answered.
    bool SetupSynthetic(const std::string& file) {
        AnswerNotes(3);
        return Setup(WriteData(file, SyntheticDataText(1)), 225, 50, 1000, true, true);
    }
};

}  // namespace tivelor::testing
