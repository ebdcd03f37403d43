// State shared by the estimation routines: the parameter set, the
// minimization options, fuse groups, the free-parameter vector, the call
// counter, the likelihood constant and the minimizers' work arrays.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/arrays.h"

namespace tivelor {

using platform::Array3;
using platform::Matrix;
using platform::Vec;

struct ParameterSet {
    int NumPars = 0;
    Vec<double> ParValue, StepSize;
    Vec<std::string> FuseCode, ParName;
};

struct MinOptions {
    double ConvTol = 1E-06;
    long MaxCalls = 9999;
    int TerminalFreq = 10;
    int FileFreq = 0;
    std::string LogFileName = "minimize.tvl";
    double StepReduction = 0.1;
};

struct FuseTable {
    int NFuseGroups = 0;
    Vec<std::string> FuseGroupCode;
    Vec<int> FuseGroupCount;
    Vec<double> FuseGroupValue;
    // Work space of ApplyFusedParameters, kept so that an evaluation does
    // not allocate.
    Vec<double> ApplyValue;
    Vec<char> ApplySet;
};

struct FreeVector {
    long NFree = 0;
    Vec<double> FreeValue, FreeStep;
    Vec<int> FreeIndex;
};

struct EngineState {
    ParameterSet par;
    MinOptions opt;
    FuseTable fuse;
    FreeVector free;

    // The data and parameter set in memory: advanced by Initialize, an
    // algorithm load and every re-dimension of the parameter-indexed arrays.
    // A run compares it after a wait with the value it had before.
    std::uint64_t Generation = 0;

    long NF = 0;
    double RecipLnLConst = 0;
    double PriorPenaltyTotal = 0;
    long NObs = 0;
    long SampleSize = 0;

    int SimplexValid = 0;
    std::string DerivMethod;          // "A", "N" or ""
    std::string ShowDerivs = "no";    // "yes" / "no"
    // Set by the Marquardt window's buttons when a paused run may go on.
    int MarqGo = 0;
    int FileReadFailed = 0;
    // True only while OneFunctionCall's own evaluation runs: the one call
    // for which MODEL may offer the initial-value search.
    int OneFunctionEval = 0;
    // Given by the application: the objective, the value at P (the vector
    // after the fuse groups) for selector NF, which is MODEL's (a test gives
    // its own); and the prompt for the likelihood constant that a prior
    // term needs.
    std::function<double(platform::Vec<double>& P, long NF)> Objective;
    std::function<void()> AskLikelihoodConstant;

    std::string AlgFileName, AlgFileTitle;

    // Work arrays sized by the run buttons before a run.
    Matrix<double> InvWork, HessMat, CholFactor, Simplex, AnaHess;
    Array3<double> GridNegLnL, CovStore;
    Vec<double> MarqBeta, AnaGrad;
};

}  // namespace tivelor
