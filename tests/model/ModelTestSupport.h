// Helpers of the model tests: data files in the data-file layout and a
// model set up from them on the headless back end.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/Model.h"
#include "platform/files.h"
#include "platform/headless/headless.h"
#include "app/App.h"

namespace tivelor::testing {

// Writes a temporary file and returns its path.
inline std::string WriteData(const std::string& file, const std::string& text) {
    const auto dir = std::filesystem::temp_directory_path() / "tivelor_model_tests";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / file).string();
    platform::WriteWholeFileSafely(path, text);
    return path;
}

// A data file with the given names and count rows, right-justified in fields
// of 6 characters separated by commas.
inline std::string DataFile(const std::string& file, const std::vector<std::string>& names,
                            const std::vector<std::vector<std::string>>& rows) {
    auto field = [](std::string s, bool right) {
        s.insert(right ? 0 : s.size(), s.size() < 6 ? 6 - s.size() : 0, ' ');
        return s + ",";
    };
    std::string t = "Quad# ,";
    for (const auto& n : names) t += field(n, false);
    for (std::size_t q = 0; q < rows.size(); ++q) {
        t += "\r\n" + field("Q" + std::to_string(q + 1), false);
        for (const auto& c : rows[q]) t += field(c, true);
    }
    return WriteData(file, t + "\r\n");
}

inline std::string CountFile(const std::string& file, const std::vector<std::string>& names,
                             const std::vector<std::vector<long>>& rows) {
    std::vector<std::vector<std::string>> r(rows.size());
    for (std::size_t q = 0; q < rows.size(); ++q)
        for (long c : rows[q]) r[q].push_back(std::to_string(c));
    return DataFile(file, names, r);
}

struct ModelFixture {
    platform::headless::Session s;
    App app{s.ui};
    double F = 0;
    platform::Vec<double> P, Step, Grad;
    platform::Vec<std::string> Names, Fuse;
    platform::Matrix<double> Hess;
    int NumPars = 0;
    long NObs = 0, SampleSize = 0;

    // Set-up; the caller queues answers to the messages it expects.
    bool Setup(const std::string& path, int nSpp, int nQuad, long nHab, bool logit = false, bool ln = false) {
        app.model.Init = {std::to_string(nHab), std::to_string(nQuad), std::to_string(nSpp), logit, ln, path};
        Call(P, 0);
        Fuse.ReDim(NumPars);
        for (int k = 1; k <= NumPars; ++k) Fuse(k) = "~~";
        return app.model.SetupOK;
    }
    void Call(platform::Vec<double>& x, long nf) {
        MODEL(app, F, x, Step, Names, Fuse, NumPars, nf, NObs, Grad, Hess, SampleSize);
    }
    double Eval(platform::Vec<double>& x, long nf = 2) {
        Call(x, nf);
        return F;
    }
    double Eval(long nf = 2) { return Eval(P, nf); }
};

}  // namespace tivelor::testing
