#include "numerics/Cholesky.h"

#include <cmath>

namespace tivelor::numerics {

using platform::Matrix;
using platform::Vec;

long CholeskyFactor(const Matrix<double>& A, Matrix<double>& L, Vec<double>& diag, long n) {
    if (&A != &L)
        for (long i = 1; i <= n; ++i)
            for (long j = i; j <= n; ++j) L(i, j) = A(i, j);
    for (long i = 1; i <= n; ++i) {
        const double* Li = &L(i, 0);
        for (long j = i; j <= n; ++j) {
            const double* Lj = &L(j, 0);
            double s = L(i, j);
            for (long k = 1; k < i; ++k) s -= Li[k] * Lj[k];
            if (!std::isfinite(s)) return i;
            if (j == i) {
                if (s <= 0) return i;
                diag(i) = std::sqrt(s);
            } else {
                L(j, i) = s / diag(i);
            }
        }
    }
    return 0;
}

void CholeskyInverse(const Matrix<double>& L, const Vec<double>& diag, long n, Matrix<double>& Inv,
                     Matrix<double>& work, double& lnDetInverse) {
    // work(c, r) = X(r, c) for X = L^-1 (lower triangular), so that both
    // sums below run along rows.
    double lnDet = 0;
    for (long r = 1; r <= n; ++r) {
        lnDet += std::log(diag(r));
        const double* Lr = &L(r, 0);
        for (long c = 1; c < r; ++c) {
            const double* Uc = &work(c, 0);
            double s = 0;
            for (long k = c; k < r; ++k) s += Lr[k] * Uc[k];
            work(c, r) = -s / diag(r);
        }
        work(r, r) = 1 / diag(r);
    }
    lnDetInverse = -2 * lnDet;
    // A^-1 = X' X: element (i, j) is the sum over k >= max(i, j) of X(k, i) X(k, j).
    for (long i = 1; i <= n; ++i) {
        const double* Ui = &work(i, 0);
        for (long j = i; j <= n; ++j) {
            const double* Uj = &work(j, 0);
            double s = 0;
            for (long k = j; k <= n; ++k) s += Ui[k] * Uj[k];
            Inv(i, j) = s;
            Inv(j, i) = s;
        }
    }
}

}  // namespace tivelor::numerics
