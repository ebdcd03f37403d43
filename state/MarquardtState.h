// State of the Marquardt minimizer and of the LU linear algebra.
#pragma once

#include "platform/arrays.h"

namespace tivelor {

struct MarquardtState {
    // The driver's parameter vector (by parameter number): the trial point,
    // and at the end the minimum.
    platform::Vec<double> MarqPar;
    // Column 1 carries beta into the back-substitution and delta out of it.
    platform::Matrix<double> LURHS;
    // Alpha as the derivatives left it; every trial damps a fresh copy.
    platform::Matrix<double> Alpha;
    // Beta and the upper triangle of alpha at the previous estimates, by
    // free position, as the iteration display lists them.
    platform::Vec<double> PrevGrad;
    platform::Matrix<double> PrevHess;
    // Iterations (accepted steps) of the current run.
    long NIter = 0;
    // True when the model supplied a non-zero second derivative.
    int AnaDerivsFound = 0;
    // Axial probe vector.
    platform::Vec<double> TrialPar;
    // Trial vector of the numerical derivatives and the value of their last
    // evaluation (the covariance grid works with the same pair).
    platform::Vec<double> GridPar;
    double FMin = 0;

    // LU decomposition of HessMat: row interchanges, implicit row scales,
    // the determinant (of the inverse after InvertMatrixLU), the failure
    // flag, and the order of the matrix that InvertMatrixLU inverts.
    platform::Vec<int> LUIndex;
    platform::Vec<double> LUScale;
    platform::Vec<double> LUColumn;   // work column of the elimination
    platform::Matrix<double> LUTrans; // the multipliers, by rows
    double Determinant = 1;
    int LUFailed = 0;
    long NEst = 0;
};

}  // namespace tivelor
