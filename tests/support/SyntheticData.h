// Data files simulated from the quadrat-count model, for tests, benchmarks
// and the examples. The same seed gives the same text.
#pragma once

#include <cstdint>
#include <string>

namespace tivelor {

struct SyntheticSpec {
    int NSpp = 225;             // species found in the sample (columns of the file)
    int NQuad = 50;             // quadrats sampled (records)
    long NQuadHab = 1000;       // quadrats in the habitat
    std::uint64_t Seed = 1;
    double MedianAbundance = 300;   // individuals of a species in the habitat: ln-normal
    double SdLnAbundance = 1.2;
    double ThetaMax = 0.5;          // Theta uniform on 0..ThetaMax
};

struct SyntheticData {
    std::string Text;           // the data file
    int TrueRichness = 0;       // species in the habitat, found or not
};

// Species are drawn one after another with an abundance and a Theta; each is
// placed quadrat by quadrat as the model describes (quadrat j receives a
// beta-binomial share, correlation Theta squared, of the individuals still
// unplaced, with mean 1/(NQuadHab - j + 1)). Species found in none of the
// NQuad sampled quadrats are not written; drawing stops at NSpp found.
SyntheticData SimulateQuadratData(const SyntheticSpec& spec);

// The shared test and benchmark set: 225 species in 50 of 1000 quadrats.
std::string SyntheticDataText(std::uint64_t seed = 1);

}  // namespace tivelor
