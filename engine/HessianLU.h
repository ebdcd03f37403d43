// The engine's dense linear algebra on HessMat, with the arrays of
// MarquardtState: the decomposition, back-substitution and inverse of
// numerics/LU.h, yielding once per row and reporting a dead parameter.
#pragma once

#include "platform/arrays.h"

namespace tivelor {

class App;

// Factors HessMat(1..N, 1..N) in place and fills LUIndex, LUScale and
// Determinant (+1 or -1 by the number of row interchanges). A row that is all
// zero is reported by DerivMethod ("N" or "A") and sets LUFailed to 1 with
// HessMat untouched; with any other DerivMethod the row is passed over and
// its zero pivot replaced. Never clears LUFailed.
void LUDecompose(App& app, long N);

// Solves A x = b for b in column Col of B (rows 1..N), A being the matrix
// whose factors LUDecompose left; x replaces b.
void LUBackSubstitute(App& app, long N, int Col, platform::Matrix<double>& B);

// Inverts HessMat(1..NEst, 1..NEst) in place through InvWork and leaves the
// determinant of the inverse in Determinant. On a failed decomposition
// LUFailed is 1 and HessMat holds no inverse.
void InvertMatrixLU(App& app);

}  // namespace tivelor
