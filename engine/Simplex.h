// The Simplex (Nelder-Mead) minimizer over the free parameters: the driver,
// the simplex geometry and moves, the axial verification of a converged
// simplex, and its progress display and minimization-log blocks.
#pragma once

#include <string>

#include "platform/arrays.h"

namespace tivelor {

class App;
struct EngineState;
struct SimplexState;
class ProgressObserver;
class ArraySizes;

// One minimization from the free-parameter vector (SetUpFusedParameters and
// PackAdjustableParameters have run, NFree >= 1). Builds a new simplex when
// SimplexValid is 0 (or the kept one was built over other free parameters),
// otherwise continues the kept one. Ends at a confirmed minimum, at No to the
// call-limit question, at a quitting answer to an interrupt (writing the best
// vertex into ParValue), or at the zero-value error (writing nothing).
// progress shows the run and answers whether to go on.
void SimplexMinimize(App& app, ProgressObserver& progress);

// The work arrays of a new Simplex run: the Marquardt and covariance stores
// shrunk, the simplex and its vertex vectors sized for NumPars. Made into
// sizes; they take effect, with a new generation, at sizes.Commit().
void SimplexArraySizes(App& app, ArraySizes& sizes);
// The same at once; false, with every array as it was and the user told,
// when there is not enough memory for them.
bool SizeSimplexArrays(App& app);
void TellNoMemoryForSimplex(App& app);

// Makes the next Simplex run build a new simplex. Every change that makes the
// kept vertex values stale calls it.
void InvalidateSimplex(EngineState& eng);

// Geometry and moves.
void InitialSimplex(App& app);
void CopyFirstVertex(EngineState& eng);
void StoreSimplexVertex(EngineState& eng, SimplexState& s, platform::Vec<double>& Point, double Value);
void SimplexRankAndCentroid(EngineState& eng, SimplexState& s);
void SimplexMove(App& app);
// Evaluates column v of the simplex, or the first NFree entries of point,
// as a full parameter vector (NF rises by 1). A value that is not finite
// comes back as +infinity, so it never counts as better.
double EvaluateSimplexVertex(App& app, int v);
double EvaluateSimplexPoint(App& app, const platform::Vec<double>& point);

// Convergence verification.
void VerifySimplexMinimum(App& app, ProgressObserver& progress, int& Done);
void SimplexAxialSearch(App& app, ProgressObserver& progress, double FBest, int& FailPar, int& Failed);

// Progress display and log.
void ReportInitialSimplex(App& app, ProgressObserver& progress);
void ShowSimplexProgress(App& app, ProgressObserver& progress, double FBest, double FWorst);
void LogSimplexProgress(App& app, double FBest, double FWorst);
// Draws a progress display still waiting to be drawn.
void DrawSimplexProgress(App& app, ProgressObserver& progress);

// The 22-character names of the accepted moves.
inline constexpr const char* kActReflection = "Reflection            ";
inline constexpr const char* kActExtension = "Extension             ";
inline constexpr const char* kActReflContraction = "Reflection-Contraction";
inline constexpr const char* kActContraction = "Contraction           ";
inline constexpr const char* kActReflReduction = "Reflection-Reduction  ";
inline constexpr const char* kActReduction = "Reduction             ";

}  // namespace tivelor
