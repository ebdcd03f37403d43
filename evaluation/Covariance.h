// Covariances of the estimates from the Hessian of the objective on three
// grids (or from the model's analytical derivatives), their report and file.
#pragma once

#include <string>

namespace tivelor {

class App;
class ProgressObserver;

// The whole covariance dialogue and calculation behind the main menu's
// covariance button, which has sized the work arrays. Ends by showing
// frmCovDisplay; true only then (a cancel, or nothing to estimate, leaves
// the main menu showing and returns false).
bool CovarianceCalculator(App& app);

// "Calculate optimistic SEs only?": sets OptimisticSEs.
void AskOptimisticSEs(App& app);

// Evaluates the objective at the plus and minus points of every pair of
// estimated parameters around CovCentre (offsets CovStep * Factor) into
// GridNegLnL, with the grid's mean and signed standard deviation. Factor is
// negated after every point. A grid the user quits leaves GridQuit "true".
// progress shows the grid and answers whether to go on.
void CalcGridLikelihoods(App& app, ProgressObserver& progress, double& Factor, double& Mean, double& SD,
                         int GridNum, int NGrids);

// The Hessian of the objective from the grid's values by central second
// differences, into HessMat (1 To NEst).
void BuildGridHessian(App& app, double& Factor);

// Tests HessMat for positive definiteness: NotPosDef 0 or 1 and, on a
// failure, NotPosDefPar, the parameter number of the failing row.
void CholeskyDecompose(App& app);

// Inverts HessMat into the covariance matrix of grid GridNum on the -ln L
// scale and stores covariances, signed standard errors and determinants in
// CovStore; a Hessian that fails the test leaves the grid's store at -1.
void InvertHessian(App& app);

// Builds the covariance report from the stored results into frmCovData.
void CovarianceReport(App& app);

}  // namespace tivelor
