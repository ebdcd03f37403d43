// Classical, non-parametric richness estimators computed from the incidence
// of the species in the sampled quadrats: Chao_2, the first- and second-order
// jackknives and the bootstrap, each with ln-normal 95% bounds.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tivelor::numerics {

// A value that may have no defined value.
using MaybeNumber = std::optional<double>;

// One richness estimator: estimate, variance and ln-normal 95% bounds.
struct RichnessEstimate {
    MaybeNumber Est, Var, L95, U95;
};

// Counts of species 1..NSpp in quadrats 1..NQuad.
class CountTable {
public:
    CountTable() = default;
    CountTable(int nspp, int nquad);

    int NSpp() const { return nspp_; }
    int NQuad() const { return nquad_; }
    long& operator()(int i, int j);
    long operator()(int i, int j) const;

private:
    int nspp_ = 0, nquad_ = 0;
    std::vector<long> v_;
};

// What the estimators need of the incidence of the species.
struct IncidenceSummary {
    int S = 0, m = 0;
    int NUniques = 0, NDuplicates = 0;       // species in exactly one / two quadrats
    int NSingletons = 0, NDoubletons = 0;    // species with a total count of 1 / 2
    std::vector<int> Occupied;               // per species (index 0 .. S-1): quadrats with count > 0
    // Per species, a bit per quadrat: the species occurs there.
    std::vector<std::vector<std::uint64_t>> OccBits;
    // Quadrats in which neither species j nor k occurs (0-based species).
    int JointAbsent(int j, int k) const;
};

IncidenceSummary SummarizeIncidence(const CountTable& counts);

// The 0.975 quantile of Student's t for df degrees of freedom, two decimals;
// 0 for df of 0 or below.
double StudentT975(int df);

// The square root of a variance; a negative or undefined variance has none.
// (The estimators clear a variance that is below 0 only by rounding.)
MaybeNumber StandardError(const MaybeNumber& variance);

// Ln-normal bounds of an estimate E with variance V over S species counted:
// S + (E - S)/C and S + (E - S)*C, C = exp(t*sqrt(ln(1 + V/(E - S)^2))).
// Defined only for E > S, a non-negative V and t > 0.
void LnNormalBounds(RichnessEstimate& r, double S, double t);

// t is the quantile of the bounds.
RichnessEstimate ChaoTwo(const IncidenceSummary& inc, double t);
RichnessEstimate FirstOrderJackknife(const IncidenceSummary& inc, double t);
RichnessEstimate SecondOrderJackknife(const IncidenceSummary& inc, double t);
RichnessEstimate BootstrapEstimate(const IncidenceSummary& inc, double t);

struct ClassicalEstimates {
    RichnessEstimate Chao2, Jack1, Jack2, Boot;
};

// The four estimators, their bounds with t on m - 1 degrees of freedom.
ClassicalEstimates ClassicalRichnessEstimates(const IncidenceSummary& inc);

}  // namespace tivelor::numerics
