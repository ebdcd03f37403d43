// The Marquardt (Levenberg-Marquardt) minimizer: set-up questions, driver,
// derivatives, axial verification, and its progress display and log.
#pragma once

namespace tivelor {

class App;
struct EngineState;
class ProgressObserver;

// Asks how derivatives are obtained and whether to list them after every
// iteration. DerivMethod becomes "A", "N", or "" when cancelled (ShowDerivs
// then keeps its value).
void MarquardtSetup(App& app);

// The work arrays of a Marquardt run for the chosen DerivMethod, all made
// before any changes; false, with every array as it was and the user told,
// when there is not enough memory for them.
bool SizeMarquardtArrays(App& app);

// Minimizes the objective over the free parameters from ParValue. The caller
// has run MarquardtSetup (DerivMethod not empty), SetUpFusedParameters and
// PackAdjustableParameters (NFree >= 1). The best point found goes back into
// ParValue and FreeValue. progress shows the run and answers whether to go
// on.
void MarquardtMinimize(App& app, ProgressObserver& progress);

// Derivatives at the current best point (FreeValue, ParValue): beta into
// MarqBeta, alpha into HessMat, by free position.
// Analytical: MODEL's service -2; sets AnaDerivsFound and writes nothing
// when the model gave no non-zero second derivative.
void GetAnalyticalDerivatives(App& app);
// Numerical: evaluates NFree * (NFree + 1) points around the best point
// (increment h * value, or h for a value of 0) into GridNegLnL and forms the
// central-difference gradient. h comes back unchanged.
void CalcNumericalGradient(App& app, ProgressObserver& progress, double& F0, double& h);
// Second differences from the values CalcNumericalGradient stored.
void BuildNumericalHessian(App& app, double& F0, double& h);

// Probes MarqPar one StepReduction * StepSize either way along every free
// axis. Rejected is True (-1) when a probe beats FRef by more than ConvTol;
// the point then moves to the lowest such probe and FRef takes its value.
void MarquardtAxialSearch(App& app, ProgressObserver& progress, double& FRef, int& Rejected);

// Progress window and log (#203) reports.
void ShowMarquardtIteration(App& app, ProgressObserver& progress, double& FNew, double& FLast);
void LogMarquardtIteration(App& app, double& FNew, double& FLast);
void ShowMarquardtMinimum(App& app, ProgressObserver& progress, double& FMinimum);
void LogMarquardtMinimum(App& app, double& FMinimum);

}  // namespace tivelor
