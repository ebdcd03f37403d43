// Dense linear algebra on matrices used from index 1: Crout LU decomposition
// with implicit row scaling, back-substitution for one right-hand side, and
// the inverse.
#pragma once

#include <functional>

#include "platform/arrays.h"

namespace tivelor::numerics {

// The pivot that replaces an exact zero.
inline constexpr double kLUTiny = 1E-20;

// Called once per row or column of each pass (a caller may yield there).
using LUProgress = std::function<void()>;

// The caller's arrays of a decomposition: the row interchanges and row scales
// it leaves, and two work arrays. They are grown to the order as needed and
// may be kept from call to call.
struct LUArrays {
    platform::Vec<int>& Index;        // row swapped with row j at column j
    platform::Vec<double>& Scale;     // 1 / largest absolute entry of each row
    platform::Vec<double>& Column;    // work column of the elimination
    platform::Matrix<double>& Trans;  // the multipliers, by rows
};

enum class LUOutcome {
    Factored,   // also a singular matrix: its zero pivots are replaced by kLUTiny
    ZeroRow,    // an all-zero row stopped the decomposition; the matrix is untouched
    TooLarge,   // the matrix has fewer than N rows or columns; nothing done
};

struct LUStatus {
    LUOutcome Outcome = LUOutcome::Factored;
    long ZeroRow = 0;        // the all-zero row that stopped it
    double Determinant = 1;  // +1 or -1 by the row interchanges (of the inverse after InvertMatrixLU)
    bool Ok() const { return Outcome == LUOutcome::Factored; }
};

// Factors a(1..N, 1..N) in place: U on and above the diagonal, the multipliers
// of L below it. An all-zero row stops it when stopAtZeroRow is set; otherwise
// the row keeps the scale it had and its zero pivot is replaced.
LUStatus LUDecompose(platform::Matrix<double>& a, long N, const LUArrays& w, bool stopAtZeroRow,
                     const LUProgress& progress = {});

// Solves A x = b for b in column Col of B (rows 1..N), a and index being the
// factors and interchanges LUDecompose left; x replaces b.
void LUBackSubstitute(const platform::Matrix<double>& a, long N, const platform::Vec<int>& index,
                      long Col, platform::Matrix<double>& B, const LUProgress& progress = {});

// Inverts a(1..n, 1..n) in place through the work matrix inv; the status holds
// the determinant of the inverse. After a failed decomposition a holds no
// inverse.
LUStatus InvertMatrixLU(platform::Matrix<double>& a, long n, platform::Matrix<double>& inv,
                        const LUArrays& w, bool stopAtZeroRow, const LUProgress& progress = {});

}  // namespace tivelor::numerics
