// The generator behind Rnd: xoshiro256** (period 2^256 - 1), seeded through
// SplitMix64, giving single-precision values in [0, 1). Written out here so
// that one seed gives the same numbers on every build.
#pragma once

#include <cstdint>

namespace platform {

class Rng {
public:
    Rng() { Seed(0.0); }
    explicit Rng(double seed) { Seed(seed); }

    // The same seed (any double; -0 as 0, a non-finite value as 0) gives the
    // same stream.
    void Seed(double seed);

    std::uint64_t Next() {
        const std::uint64_t result = Rotl(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = Rotl(s_[3], 45);
        return result;
    }

    // The top 24 bits: a single-precision value k / 2^24.
    double Rnd() { return static_cast<double>(Next() >> 40) * (1.0 / 16777216.0); }

private:
    static std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t s_[4];
};

}  // namespace platform
