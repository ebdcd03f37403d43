#include "platform/random.h"

#include <bit>
#include <cmath>

namespace platform {

namespace {

std::uint64_t SplitMix64(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}  // namespace

void Rng::Seed(double seed) {
    if (!std::isfinite(seed) || seed == 0) seed = 0.0;   // also folds -0 into 0
    std::uint64_t x = std::bit_cast<std::uint64_t>(seed);
    for (std::uint64_t& w : s_) w = SplitMix64(x);
    // SplitMix64 is a bijection of its counter, so the four words are never all 0.
}

}  // namespace platform
