// Sums of posterior node weights Exp(-(v - ref)) kept in log space, and the
// correlation of two parameters under a density on a rectangular grid.
#pragma once

#include <limits>
#include <optional>

#include "platform/arrays.h"

namespace tivelor::numerics {

// Running log of a sum of weights Exp(x), for any finite x: the sum never
// overflows or underflows. A non-finite x (a node without a value) adds nothing.
class LogWeightSum {
public:
    void Clear() { top_ = kEmpty, scaled_ = 0; }
    void Add(double x);
    bool Empty() const { return scaled_ == 0; }
    // ln of the sum; -inf while empty.
    double Log() const;

private:
    static constexpr double kEmpty = -std::numeric_limits<double>::infinity();
    double top_ = kEmpty;   // the largest x so far
    double scaled_ = 0;     // the sum divided by Exp(top_)
};

// -ln of a sum of node weights, or Empty when no node carried any weight.
double MarginalNegLnL(const LogWeightSum& sum, double Empty);

// Node weights of a grid relative to a reference -ln value that moves down
// to a node lying more than Shift below it, so that no weight overflows;
// the weights already stored are then rescaled to the new reference.
struct WeightReference {
    double ref;              // the -ln value whose weight is 1
    double Shift = 700;
    // The weight of a node with -ln value v. A move of the reference calls
    // rescale(d) first; Rescaled(w, d) is then a stored weight w's new value.
    template <class Rescale>
    double Weight(double v, Rescale&& rescale) {
        if (v < ref - Shift) {
            rescale(v - ref);
            ref = v;
        }
        return WeightAt(v);
    }
    double WeightAt(double v) const;
    // w x Exp(d), without the factor underflowing on its own.
    static double Rescaled(double w, double d);
};

// Correlation of X and Y under the density D(i, j) over the inner nodes
// i = 2..NX-1, j = 2..NY-1; nothing when the sums carry no variance in
// either direction or the total density is 0.
std::optional<double> InnerNodeCorrelation(const platform::Vec<double>& X, const platform::Vec<double>& Y,
                                           const platform::Matrix<double>& D, long NX, long NY);

// Reverses elements 1..n of v in place.
void ReverseRows(platform::Vec<double>& v, long n);
// Reverses the first index (rows 1..n1) or the second (columns 1..n2) of D.
void ReverseFirstIndex(platform::Matrix<double>& D, long n1, long n2);
void ReverseSecondIndex(platform::Matrix<double>& D, long n1, long n2);

}  // namespace tivelor::numerics
