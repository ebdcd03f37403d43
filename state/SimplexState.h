// State of the Simplex minimizer kept between runs.
#pragma once

#include <string>
#include <vector>

#include "platform/arrays.h"

namespace tivelor {

struct SimplexState {
    // Vertex values (1 To NFree + 1); the vertices themselves are the columns
    // of EngineState::Simplex, with the centroid in column ICen.
    platform::Vec<double> SimplexF;
    int ILo = 1, IHi = 1, ICen = 0;
    // Reflected (later contraction) point, extension point, and the full
    // parameter vector of each evaluation.
    platform::Vec<double> WorkVertex, ExtVertex, TrialPar;
    int NBetter = 0;
    std::string SimplexAction;   // 22 characters, or ""

    long NIter = 0;
    int NRestarts = 0;
    long TerminalCount = 0, FileCount = 0;
    double SimplexRange = 0;
    int SimplexDone = 0;
    int ShowNow = 0;

    // The free parameters the kept simplex was built over; a run continues
    // it only when they are still the same.
    long BuiltNFree = 0;
    int BuiltNumPars = 0;
    platform::Vec<int> BuiltFreeIndex;

    // True while SimplexMinimize runs; the progress window refuses to close.
    bool Running = false;
    // Set when the axial search confirmed the minimum in the current run.
    bool Confirmed = false;
    // Axial search: monotonic start time, for the time-remaining estimate.
    double AxialStart = 0;
    // Progress display: the state it shows is taken at once, its text is
    // drawn at most every few hundredths of a second and whenever the run
    // stops or asks something (a window cannot be read faster).
    bool ShowPending = false;
    double ShowFBest = 0, ShowFWorst = 0;
    long ShowNIter = 0, ShowNF = 0;
    int ShowNRestarts = 0, ShowNBetter = 0;
    bool ShowMoveLine = false;
    std::string ShowAction;
    platform::Vec<double> ShowBest;
    double LastShownAt = 0;
    bool ShownThisRun = false;
    // Fuse code and name part of each free parameter's line, for the run.
    std::vector<std::string> LineTail;
};

}  // namespace tivelor
