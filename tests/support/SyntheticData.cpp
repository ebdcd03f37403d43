#include "tests/support/SyntheticData.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace tivelor {

namespace {

class Rng {
public:
    explicit Rng(std::uint64_t seed) : s_(seed) {}
    std::uint64_t Next() {   // splitmix64
        std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    double Uniform() { return (static_cast<double>(Next() >> 11) + 0.5) * 0x1.0p-53; }
    double Normal() {
        const double u1 = Uniform(), u2 = Uniform();
        return std::sqrt(-2 * std::log(u1)) * std::cos(6.283185307179586 * u2);
    }
    double Gamma(double shape) {   // Marsaglia and Tsang
        if (shape < 1) return Gamma(shape + 1) * std::pow(Uniform(), 1 / shape);
        const double d = shape - 1.0 / 3, c = 1 / std::sqrt(9 * d);
        for (;;) {
            double x, v;
            do {
                x = Normal();
                v = 1 + c * x;
            } while (v <= 0);
            v = v * v * v;
            const double u = Uniform();
            if (std::log(u) < 0.5 * x * x + d - d * v + d * std::log(v)) return d * v;
        }
    }
    double Beta(double a, double b) {
        const double x = Gamma(a), y = Gamma(b);
        return x + y > 0 ? x / (x + y) : 0;
    }
    long Binomial(long n, double p) {
        if (n <= 0 || p <= 0) return 0;
        if (p >= 1) return n;
        const double mean = static_cast<double>(n) * p;
        if (mean > 50) {
            const double k = std::round(mean + std::sqrt(mean * (1 - p)) * Normal());
            return static_cast<long>(std::clamp(k, 0.0, static_cast<double>(n)));
        }
        // Inversion from 0.
        double pmf = std::pow(1 - p, static_cast<double>(n)), cdf = pmf;
        const double u = Uniform();
        long k = 0;
        while (u > cdf && k < n) {
            pmf *= static_cast<double>(n - k) / static_cast<double>(k + 1) * p / (1 - p);
            ++k;
            cdf += pmf;
        }
        return k;
    }

private:
    std::uint64_t s_;
};

std::string Field(const std::string& s) {
    std::string f = s.substr(0, 6);
    f.resize(6, ' ');
    return f;
}

std::string RightField(long v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%6ld", v);
    return buf;
}

}  // namespace

SyntheticData SimulateQuadratData(const SyntheticSpec& spec) {
    Rng rng(spec.Seed);
    SyntheticData out;
    std::vector<std::vector<long>> counts;
    const double lnMedian = std::log(spec.MedianAbundance);
    while (static_cast<int>(counts.size()) < spec.NSpp) {
        ++out.TrueRichness;
        const long n = std::max(1L, std::lround(std::exp(lnMedian + spec.SdLnAbundance * rng.Normal())));
        const double theta = spec.ThetaMax * rng.Uniform();
        const double rho = theta * theta;
        std::vector<long> c(static_cast<std::size_t>(spec.NQuad));
        long left = n, total = 0;
        for (int j = 1; j <= spec.NQuad; ++j) {
            const double p = 1.0 / static_cast<double>(spec.NQuadHab - j + 1);
            double q = p;
            if (rho > 1E-12 && p < 1) {
                const double a = (1 - rho) * p / rho, b = (1 - p) * a / p;
                q = rng.Beta(a, b);
            }
            const long k = std::min(rng.Binomial(left, q), 999999L);
            c[static_cast<std::size_t>(j - 1)] = k;
            left -= k;
            total += k;
        }
        if (total > 0) counts.push_back(std::move(c));
    }
    std::string& t = out.Text;
    t = "Quad# ,";
    for (int i = 1; i <= spec.NSpp; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Sp%03d", i);
        t += Field(name) + ",";
    }
    t += "\r\n";
    for (int j = 1; j <= spec.NQuad; ++j) {
        char id[16];
        std::snprintf(id, sizeof id, "Q%d", j);
        t += Field(id) + ",";
        for (int i = 1; i <= spec.NSpp; ++i)
            t += RightField(counts[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)]) + ",";
        t += "\r\n";
    }
    return out;
}

std::string SyntheticDataText(std::uint64_t seed) {
    SyntheticSpec spec;
    spec.Seed = seed;
    return SimulateQuadratData(spec).Text;
}

}  // namespace tivelor
