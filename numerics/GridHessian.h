// Arithmetic of a covariance grid: the statistics of the objective over the
// grid's points, central second differences, signed roots and determinants
// kept as logarithms.
#pragma once

#include <cmath>
#include <optional>

namespace tivelor::numerics {

// Deviations d = F - Fmin of a grid's points; the centre counts as one point
// whose deviation is 0.
struct GridDeviations {
    long count = 1;
    double sum = 0, sumSq = 0;
    void Add(double d) {
        ++count;
        sum += d;
        sumSq += d * d;
    }
    // Mean of F over the points.
    double Mean(double Fmin) const { return sum / count + Fmin; }
    // Standard deviation carrying the sign of the computed variance; 0 for a
    // variance of exactly 0.
    double SignedSD() const;
};

// Sgn(v) * Sqr(Abs(v)).
inline double SignedRoot(double v) { return v < 0 ? -std::sqrt(-v) : std::sqrt(v); }

// Diagonal second difference (f(x+h) - 2 f(x) + f(x-h)) / h^2, with gpp and
// gmm already taken relative to f(x).
inline double DiagonalSecondDifference(double gpp, double gmm, double h) { return (gpp + gmm) / (h * h); }

// Mixed second difference from the two points that move both parameters
// (gpp, gmm) and the four single-parameter points (gi1, gi2, gj1, gj2), all
// relative to f(x), with steps factor * stepI and factor * stepJ.
inline double CrossSecondDifference(double gpp, double gmm, double gi1, double gi2, double gj1, double gj2,
                                    double factor, double stepI, double stepJ) {
    return (gpp + gmm - gi1 - gi2 - gj1 - gj2) / (2 * factor * factor * stepI * stepJ);
}

// exp(lnValue) when it is a finite double of normal size; nothing when the
// value would overflow or underflow.
std::optional<double> ExpIfRepresentable(double lnValue);

}  // namespace tivelor::numerics
