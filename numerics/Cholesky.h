// Cholesky factorization of a symmetric matrix, the positive-definiteness
// test it gives, and the inverse with its log-determinant.
#pragma once

#include "platform/arrays.h"

namespace tivelor::numerics {

// Factors the symmetric A(1..n, 1..n) = L L'. A's upper triangle (diagonal
// included) is read; L's elements below the diagonal go into L(j, i), j > i,
// and its diagonal into diag(1..n). L may be A itself: its upper triangle is
// then left as it was. Returns 0 when A is positive definite, else the first
// row whose pivot is not positive or at which a value is not finite.
long CholeskyFactor(const platform::Matrix<double>& A, platform::Matrix<double>& L,
                    platform::Vec<double>& diag, long n);

// The inverse of A from the factor CholeskyFactor left (L below the diagonal,
// diag), written in full into Inv(1..n, 1..n); work is a scratch matrix of
// the same order. Inv may share storage with neither L nor work.
// lnDetInverse receives ln det(A^-1) = -2 * sum ln diag(i).
void CholeskyInverse(const platform::Matrix<double>& L, const platform::Vec<double>& diag, long n,
                     platform::Matrix<double>& Inv, platform::Matrix<double>& work,
                     double& lnDetInverse);

}  // namespace tivelor::numerics
