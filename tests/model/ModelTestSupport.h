// Helpers of the model tests: data files in the data-file layout and a
// model set up from them on the headless back end.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "model/Model.h"
#include "platform/files.h"
#include "platform/headless/headless.h"
#include "shell/App.h"

namespace tivelor::testing {

// A data file with the given names and count rows, fields of 6 characters
// separated by commas.
inline std::string DataText(const std::vector<std::string>& names,
                            const std::vector<std::vector<std::string>>& rows) {
    auto field = [](std::string s) {
        s.resize(6, ' ');
        return s;
    };
    std::string t = "Quad# ,";
    for (const auto& n : names) t += field(n) + ",";
    t += "\r\n";
    int q = 0;
    for (const auto& r : rows) {
        t += field("Q" + std::to_string(++q)) + ",";
        for (const auto& c : r) {
            std::string f = c;
            if (f.size() < 6) f.insert(0, 6 - f.size(), ' ');
            t += f + ",";
        }
        t += "\r\n";
    }
    return t;
}

inline std::string CountText(const std::vector<std::string>& names,
                             const std::vector<std::vector<long>>& rows) {
    std::vector<std::vector<std::string>> r;
    for (const auto& row : rows) {
        r.emplace_back();
        for (long c : row) r.back().push_back(std::to_string(c));
    }
    return DataText(names, r);
}

inline std::string TempFile(const std::string& name, const std::string& text) {
    const auto dir = std::filesystem::temp_directory_path() / "tivelor_model_tests";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / name).string();
    platform::WriteWholeFileSafely(path, text);
    return path;
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

    void Settings(const std::string& path, int nSpp, int nQuad, long nHab, bool logit,
                  bool ln) {
        InitSettings& st = app.model.Init;
        st.txtDataFile = path;
        st.cboNSpecies = std::to_string(nSpp);
        st.cboQuadsSampled = std::to_string(nQuad);
        st.cboQuadsinHab = std::to_string(nHab);
        st.chkLogitThetas = logit ? 1 : 0;
        st.chkLogNs = ln ? 1 : 0;
    }
    // Set-up; the caller queues answers to the messages it expects.
    bool Setup(const std::string& path, int nSpp, int nQuad, long nHab, bool logit = false,
               bool ln = false) {
        Settings(path, nSpp, nQuad, nHab, logit, ln);
        long nf = 0;
        MODEL(app, F, P, Step, Names, Fuse, NumPars, nf, NObs, Grad, Hess, SampleSize);
        if (app.model.SetupOK) {
            Fuse.ReDim(NumPars);
            for (int k = 1; k <= NumPars; ++k) Fuse(k) = "~~";
        }
        return app.model.SetupOK;
    }
    double Eval(platform::Vec<double>& x, long nf = 2) {
        MODEL(app, F, x, Step, Names, Fuse, NumPars, nf, NObs, Grad, Hess, SampleSize);
        return F;
    }
    double Eval(long nf = 2) { return Eval(P, nf); }
    void Derivs(platform::Vec<double>& x) {
        long nf = -2;
        MODEL(app, F, x, Step, Names, Fuse, NumPars, nf, NObs, Grad, Hess, SampleSize);
    }
};

}  // namespace tivelor::testing
