// The ranking window's table of competing models.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tivelor {

// A difference or weight: a number, or "undefined" while the table is not ranked.
using MaybeValue = std::optional<double>;

struct RankedModel {
    int ModelID = 0;
    double ModelNLnL = 0;
    int ModelK = 0;
    double ModelAICc = 0;
    MaybeValue ModelDAICc, ModelAICWt;
    double ModelQAICc = 0;
    MaybeValue ModelDQAICc, ModelQAICWt;
    std::string ModelAlgFile, ModelCovFile, ModelPriFile, ModelNotes;
    // Folder of the model's algorithm file, where a covariance file named
    // without a folder is looked for.
    std::string AlgFolder;
    // The model's parameters as it was evaluated (element 0 unused; empty for
    // a model that carries none): the value, step size and link code that its
    // covariance file must agree with.
    std::vector<double> ParValue, StepSize;
    std::vector<std::string> FuseCode;
    // How many parameters the model carries (0 when none).
    int NumKept() const {
        const std::size_t n = ParValue.size();
        return n > 1 && StepSize.size() == n && FuseCode.size() == n ? static_cast<int>(n) - 1 : 0;
    }
};

struct ModelTable {
    int NumModels = 0;
    double CHat = 1;
    int AveragingDone = 0;
    double RankF = 0;
    // half[1]: entry order; half[2]: ranked order; element 0 of each unused.
    std::array<std::vector<RankedModel>, 3> half;

    void Reset() {
        NumModels = 0;
        CHat = 1;
        AveragingDone = 0;
        RankF = 0;
        for (auto& h : half) h.assign(1, RankedModel{});
    }
    // Sizes both halves to models 1..n, keeping the rows that remain.
    void Resize(int n) {
        for (auto& h : half) h.resize(static_cast<std::size_t>(n) + 1);
    }
    RankedModel& At(int h, int m) { return half[static_cast<std::size_t>(h)][static_cast<std::size_t>(m)]; }
    bool Quasi() const { return CHat != 1; }
};

// The placeholders that stand for a covariance file that could not be opened.
inline constexpr const char* kNoCovFound = "No covariance file found";
inline constexpr const char* kNoSuchFile = "No such file exists";
inline bool IsCovPlaceholder(const std::string& s) { return s == kNoCovFound || s == kNoSuchFile; }

}  // namespace tivelor
