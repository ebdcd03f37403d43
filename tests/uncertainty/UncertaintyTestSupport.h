// Hand-made model data and covariance files for the uncertainty tests. The
// covariance files keep the fields and line counts of the saved covariance
// results: save note, heading, parameter lines, 15 lines, standard errors,
// probabilities, then correlations (or the optimistic note).
#pragma once

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "state/App.h"
#include "platform/files.h"
#include "platform/headless/headless.h"
#include "windows/TextWindows.h"
#include "windows/frmMain.h"

namespace unctest {

using namespace tivelor;

using platform::headless::Step;

inline std::string Fmt(const char* f, double v) {
    char b[64];
    std::snprintf(b, sizeof b, f, v);
    return b;
}
inline std::string Pad(const std::string& s, std::size_t w) {
    return s.size() >= w ? s.substr(0, w) : std::string(w - s.size(), ' ') + s;
}

struct CovFile {
    char letter = 'n';
    std::vector<double> value, step;   // parameter i at [i - 1]
    std::vector<std::string> code;
    std::map<int, std::array<double, 3>> se;                    // per free parameter
    std::map<std::pair<int, int>, std::array<double, 3>> cor;   // per pair of free parameters
    bool optimistic = false;

    std::vector<int> Free() const {
        std::vector<int> f;
        for (std::size_t i = 0; i < step.size(); ++i)
            if (step[i] != 0) f.push_back(static_cast<int>(i) + 1);
        return f;
    }

    std::string Text() const {
        std::string t;
        auto line = [&t](const std::string& s = "") { t += s + "\r\n"; };
        line("Originally saved with the file name: hand.cov");
        line();
        line(std::string("Parameter values, step sizes, link codes, and definitions for ") +
             (letter == 'n' ? "numerically" : "analytically") + " calculated covariances:");
        line();
        for (std::size_t i = 0; i < value.size(); ++i) {
            char num[16];
            std::snprintf(num, sizeof num, " %03d) ", static_cast<int>(i) + 1);
            line(num + Pad(Fmt("%.7E", value[i]), 14) + Pad(Fmt("%.7E", step[i]), 16) + " " + Pad(code[i], 3) + "  P");
        }
        for (int k = 0; k < 14; ++k) line("(notes, factors and likelihood summary)");
        line("Par#                               Standard errors of the estimates");
        const std::vector<int> f = Free();
        auto three = [](const std::array<double, 3>& v, const char* fmt, std::size_t w1) {
            return Pad(Fmt(fmt, v[0]), w1) + Pad(Fmt(fmt, v[1]), 18) + Pad(Fmt(fmt, v[2]), 18);
        };
        for (int k : f) line(Pad(std::to_string(k), 3) + three(se.count(k) ? se.at(k) : std::array<double, 3>{0.1, 0.1, 0.1}, "%.7E", 35));
        line();
        line("Par#               Probabilities that the estimates do not differ from 0, then 1");
        for (int k : f) line(Pad(std::to_string(k), 3) + "    0.0020  0.0040");
        line();
        if (optimistic) {
            line("Note: The above SE estimates are optimistic (under-estimated) conditional estimates");
            line();
        } else {
            line("Par#,Par#                                   Correlations");
            for (std::size_t a = 0; a < f.size(); ++a)
                for (std::size_t b = a + 1; b < f.size(); ++b) {
                    const auto it = cor.find({f[a], f[b]});
                    line(Pad(std::to_string(f[a]), 3) + Pad(std::to_string(f[b]), 5) +
                         three(it == cor.end() ? std::array<double, 3>{0, 0, 0} : it->second, "%.7f", 30));
                }
            line();
        }
        line("                                            Determinants");
        return t;
    }
};

// Model data by hand: species s has its whole count total[s - 1] in quadrat 1.
struct Unc {
    platform::headless::Session s;
    platform::headless::HeadlessBackend& b = s.backend;
    App app{s.ui};
    ModelState& md = app.model;
    platform::Vec<double> P, Step;
    platform::Vec<std::string> Fuse;

    Unc(int nq, long nh, const std::vector<double>& total, bool logit, bool ln) {
        const int nspp = static_cast<int>(total.size());
        md.NSpp = nspp;
        md.NQuad = nq;
        md.NQuadHab = nh;
        md.LogitThetaLink = logit ? platform::True : 0;
        md.LnUALink = ln ? platform::True : 0;
        md.Count.ReDim(nspp, nq);
        md.CumCount.ReDim(nspp, nq);
        md.QuadProb.ReDim(nq);
        for (int j = 1; j <= nq; ++j) md.QuadProb(j) = 1.0 / static_cast<double>(nh - j + 1);
        for (int i = 1; i <= nspp; ++i) {
            md.Count(i, 1) = static_cast<long>(total[static_cast<std::size_t>(i - 1)]);
            for (int j = 1; j <= nq; ++j) md.CumCount(i, j) = total[static_cast<std::size_t>(i - 1)];
        }
        app.eng.par.NumPars = 2 * nspp;
        P.ReDim(2 * nspp);
        Step.ReDim(2 * nspp);
        Fuse.ReDim(2 * nspp);
        for (int k = 1; k <= 2 * nspp; ++k) Fuse(k) = "~~";
        app.form<frmMain>();
    }

    // The covariance file of the current parameters: every free parameter
    // with standard errors se (all grids), no correlation.
    CovFile Cov(double se = 0.1) const {
        CovFile c;
        for (int k = 1; k <= P.UBound(); ++k) {
            c.value.push_back(P(k));
            c.step.push_back(Step(k));
            c.code.push_back(Fuse(k));
            if (Step(k) != 0) c.se[k] = {se, se, se};
        }
        return c;
    }

    std::string Write(const CovFile& c, const std::string& name = "run.cov") {
        const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "unc";
        std::filesystem::create_directories(dir);
        const std::string path = (dir / name).string();
        platform::WriteWholeFileSafely(path, c.Text());
        return path;
    }

    // Queues the file dialog's answer and the grid.
    void Choose(const std::string& path, const std::string& grid = "1") {
        b.ChooseFile(path);
        b.AnswerInput("Grid providing covariance results", grid);
    }
    void Randomizations(const std::string& n) {
        b.AnswerInput("More randomizations improve the uncertainty statistics", n);
    }
    std::string Summary() { return app.form<frmSummary>().rtbOut.Text(); }
    std::string Panels() { return app.form<frmMain>().stbMain5.Panel(1) + app.form<frmMain>().stbMain5.Panel(2); }
    const platform::headless::MsgBoxRecord& LastMsg() const { return b.msgBoxes.back(); }
    std::vector<int> Stored() const {
        std::vector<int> v;
        for (long i = 1; i <= app.unc.Rand.RandESR.UBound(); ++i) v.push_back(app.unc.Rand.RandESR(i));
        return v;
    }
};

}  // namespace unctest
