#include "numerics/LU.h"

#include <cmath>
#include <utility>

namespace tivelor::numerics {

namespace {

template <class T>
void EnsureUBound(platform::Vec<T>& v, long ub) {
    if (v.UBound() < ub) v.ReDimPreserve(ub);
}

bool FitsSquare(const platform::Matrix<double>& a, long n) {
    return n <= a.UBound1() && n <= a.UBound2();
}

inline void Step(const LUProgress& progress) {
    if (progress) progress();
}

}  // namespace

LUStatus LUDecompose(platform::Matrix<double>& a, long N, const LUArrays& w, bool stopAtZeroRow,
                     const LUProgress& progress) {
    LUStatus st;
    if (N < 1) return st;
    if (!FitsSquare(a, N)) {
        st.Outcome = LUOutcome::TooLarge;
        return st;
    }
    EnsureUBound(w.Index, N);
    EnsureUBound(w.Scale, N);

    for (long i = 1; i <= N; ++i) {
        Step(progress);
        const double* row = &a(i, 0);
        double big = 0;
        for (long j = 1; j <= N; ++j) {
            double t = std::fabs(row[j]);
            if (t > big) big = t;
        }
        if (big == 0) {
            if (stopAtZeroRow) {
                st.Outcome = LUOutcome::ZeroRow;
                st.ZeroRow = i;
                return st;
            }
            continue;
        }
        w.Scale(i) = 1 / big;
    }

    // Column j is worked on in a contiguous copy, and the multipliers of
    // the finished columns are kept by rows as well (lt(k, i) = a(i, k) for
    // i > k), so that every update runs along contiguous memory. Each entry
    // still has its products subtracted one by one for k = 1, 2, ... .
    platform::Vec<double>& col = w.Column;
    EnsureUBound(col, N);
    platform::Matrix<double>& lt = w.Trans;
    if (lt.UBound1() < N || lt.UBound2() < N) lt.ReDim(N, N);
    for (long j = 1; j <= N; ++j) {
        Step(progress);
        for (long i = 1; i <= N; ++i) col(i) = a(i, j);
        double* __restrict c = col.data();
        long k = 1;
        // Four finished columns at a time: one pass over c instead of four.
        for (; k + 3 < j; k += 4) {
            const double* __restrict l0 = &lt(k, 0);
            const double* __restrict l1 = &lt(k + 1, 0);
            const double* __restrict l2 = &lt(k + 2, 0);
            const double* __restrict l3 = &lt(k + 3, 0);
            const double c0 = c[k];
            c[k + 1] -= l0[k + 1] * c0;
            const double c1 = c[k + 1];
            c[k + 2] -= l0[k + 2] * c0;
            c[k + 2] -= l1[k + 2] * c1;
            const double c2 = c[k + 2];
            c[k + 3] -= l0[k + 3] * c0;
            c[k + 3] -= l1[k + 3] * c1;
            c[k + 3] -= l2[k + 3] * c2;
            const double c3 = c[k + 3];
            long i = k + 4;
            for (; i + 1 <= N; i += 2) {   // two rows abreast, which compilers vectorize
                double t = c[i], v = c[i + 1];
                t -= l0[i] * c0;
                v -= l0[i + 1] * c0;
                t -= l1[i] * c1;
                v -= l1[i + 1] * c1;
                t -= l2[i] * c2;
                v -= l2[i + 1] * c2;
                t -= l3[i] * c3;
                v -= l3[i + 1] * c3;
                c[i] = t;
                c[i + 1] = v;
            }
            for (; i <= N; ++i) {
                double t = c[i];
                t -= l0[i] * c0;
                t -= l1[i] * c1;
                t -= l2[i] * c2;
                t -= l3[i] * c3;
                c[i] = t;
            }
        }
        for (; k < j; ++k) {
            const double ck = c[k];
            const double* __restrict l = &lt(k, 0);
            for (long i = k + 1; i <= N; ++i) c[i] -= l[i] * ck;
        }
        for (long i = 1; i < j; ++i) a(i, j) = c[i];
        double big = 0;
        long imax = j;
        for (long i = j; i <= N; ++i) {
            a(i, j) = c[i];
            double d = w.Scale(i) * std::fabs(c[i]);
            if (d >= big) {
                big = d;
                imax = i;
            }
        }
        if (imax != j) {
            double* rj = &a(j, 0);
            double* rm = &a(imax, 0);
            for (long k = 1; k <= N; ++k) std::swap(rj[k], rm[k]);
            for (long k = 1; k < j; ++k) std::swap(lt(k, j), lt(k, imax));
            st.Determinant = -st.Determinant;
            w.Scale(imax) = w.Scale(j);
        }
        w.Index(j) = static_cast<int>(imax);
        if (j != N) {
            if (a(j, j) == 0) a(j, j) = kLUTiny;
            const double dum = 1 / a(j, j);
            double* l = &lt(j, 0);
            for (long i = j + 1; i <= N; ++i) {
                a(i, j) *= dum;
                l[i] = a(i, j);
            }
        }
    }
    if (a(N, N) == 0) a(N, N) = kLUTiny;
    return st;
}

void LUBackSubstitute(const platform::Matrix<double>& a, long N, const platform::Vec<int>& index,
                      long Col, platform::Matrix<double>& B, const LUProgress& progress) {
    long first = 0;
    for (long i = 1; i <= N; ++i) {
        Step(progress);
        long p = index(i);
        double s = B(p, Col);
        B(p, Col) = B(i, Col);
        if (first != 0) {
            const double* row = &a(i, 0);
            for (long k = first; k < i; ++k) s -= row[k] * B(k, Col);
        } else if (s != 0) {
            first = i;
        }
        B(i, Col) = s;
    }
    for (long i = N; i >= 1; --i) {
        Step(progress);
        const double* row = &a(i, 0);
        double s = B(i, Col);
        for (long k = i + 1; k <= N; ++k) s -= row[k] * B(k, Col);
        B(i, Col) = s / row[i];
    }
}

LUStatus InvertMatrixLU(platform::Matrix<double>& a, long n, platform::Matrix<double>& inv,
                        const LUArrays& w, bool stopAtZeroRow, const LUProgress& progress) {
    if (inv.UBound1() < n || inv.UBound2() < n) inv.ReDim(n, n);
    for (long i = 1; i <= n; ++i) {
        for (long j = 1; j <= n; ++j) inv(i, j) = 0;
        inv(i, i) = 1;
    }
    LUStatus st = LUDecompose(a, n, w, stopAtZeroRow, progress);
    if (!st.Ok()) return st;
    for (long i = 1; i <= n; ++i) st.Determinant /= a(i, i);
    for (long c = 1; c <= n; ++c) LUBackSubstitute(a, n, w.Index, c, inv, progress);
    for (long i = 1; i <= n; ++i)
        for (long j = 1; j <= n; ++j) a(i, j) = inv(i, j);
    return st;
}

}  // namespace tivelor::numerics
