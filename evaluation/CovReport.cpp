// The covariance report: a fixed-column text that is also the covariance
// file's layout, read back at fixed columns.
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>

#include "state/App.h"
#include "engine/Parameters.h"
#include "engine/ProgressText.h"
#include "evaluation/Covariance.h"
#include "evaluation/frmCovData.h"
#include "numerics/GridHessian.h"
#include "numerics/TDist.h"
#include "platform/runtime.h"
#include "windows/frmMain.h"

namespace tivelor {

using platform::vbCrLf;

namespace {

constexpr const char* kSaveHint =
    "To save these results [restore or minimize this form then] choose 'Save covariance results as...'";

// The top button raises the chooser now: it stops no run.
void ShowSaveHint(frmCovData& data) {
    data.cmdStop.Caption = kSaveHint;
    data.cmdStop.StopsRun = false;
}

// Appends text right-justified in w columns (cut to its first w characters).
void Pad(std::string& out, std::string_view text, std::size_t w) {
    if (text.size() >= w) {
        out.append(text.substr(0, w));
    } else {
        out.append(w - text.size(), ' ');
        out.append(text);
    }
}

// Format(x, "#####0.0000000"), quicker.
std::string FormatP2(double x) {
    constexpr const char* kPattern = "#####0.0000000";
    if (!std::isfinite(x) || std::fabs(x) < 1E-7) return platform::Format(x, kPattern);
    char b[64];
    // Ties between two 7-decimal texts are left to Format, which rounds them
    // away from zero.
    auto r8 = std::to_chars(b, b + sizeof b, x, std::chars_format::fixed, 8);
    if (r8.ec != std::errc() || r8.ptr[-1] == '5') return platform::Format(x, kPattern);
    auto r = std::to_chars(b, b + sizeof b, x, std::chars_format::fixed, 7);
    return std::string(b, r.ptr);
}

// A probability cell: "<0.0001", or the number with four decimals; -1 when
// not available.
std::string FormatP3(double p, bool available) {
    if (!available) return platform::Format(-1.0, "#0.0000");
    if (p < numerics::kTProbabilityFloor) return "<0.0001";
    return platform::Format(p, "#0.0000");
}

std::string Blanks(std::string text, std::size_t w) {
    text.resize(w, ' ');
    return text;
}

}  // namespace

void CovarianceReport(App& app) {
    EngineState& eng = app.eng;
    EvalState& ev = app.eval;
    const ParameterSet& par = eng.par;
    const std::string& method = app.sw.CovMethod;
    platform::StatusBar& bar = app.form<frmMain>().stbMain5;
    const int N = par.NumPars;
    const long F = ev.NEst;
    const double r = eng.RecipLnLConst;
    auto yield = [&] { app.ui.DoEvents(); };

    ShowSaveHint(CovDataWindow(app));
    bar.SetPanel(1, "Please be patient while covariance output is collated...");

    app.msg.NumFormat = "0.0000000E+00";
    std::string& out = app.msg.ReportText;
    out.clear();
    // Lines of the covariance and correlation blocks, about 130 characters each.
    out.reserve(static_cast<std::size_t>(2000 + 130 * (N + 2 * F + F * F)));
    if (method == "N" || method == "A") {
        out += std::string("Parameter values, step sizes, link codes, and definitions for ") +
               (method == "N" ? "numerically" : "analytically") + " calculated covariances:" + vbCrLf + vbCrLf;
    }
    for (int i = 1; i <= N; ++i) {
        ColumnLine(out)
            .Field(platform::Format(i, "000) "), 6)
            .Field(FormatE7(ev.CovCentre(i)), 14)
            .Field(FormatE7(ev.CovStep(i)), 16)
            .Field("", 1)
            .Field(platform::Format(std::string_view(par.FuseCode(i)), "  "), 3);
        out += "  " + par.ParName(i) + vbCrLf;
    }
    out += vbCrLf;
    if (method == "N")
        out += "Reliable numerical covariance results should be similar among three grids with quite different grid "
               "factors";
    else if (method == "A")
        out += "Analytical covariance results are redundant for all grids; likelihood function value summary is "
               "meaningless";
    if (method == "N" || method == "A") out += vbCrLf;
    out += vbCrLf;
    out += "Covariance constant: " + platform::CStr(1 / r) + vbCrLf + vbCrLf;
    out += std::string(31, ' ') + "Grid #1" + std::string(11, ' ') + "Grid #2" + std::string(11, ' ') + "Grid #3" +
           vbCrLf + vbCrLf;
    out += "Factors:              1) ";
    for (int g = 1; g <= 3; ++g) {
        if (g > 1) out += "  " + platform::CStr(g) + ") ";
        Pad(out, FormatE7(ev.GridFactor(g)), 13);
    }
    out += std::string(vbCrLf) + vbCrLf + "Likelihood function value summary:" + vbCrLf;

    // Likelihood summary.
    std::string mean[4], sd[4], cv[4];
    for (int g = 1; g <= 3; ++g) {
        if (method == "A") {
            mean[g] = FormatE7(ev.FMin / r);
            sd[g] = FormatE7(-1);
            cv[g] = FormatP2(-1);
            continue;
        }
        // A mean of exactly 0 has no coefficient of variation.
        if (ev.GridLMean(g) == 0) {
            ev.GridLMean(g) = -1.0;
            ev.GridLCV(g) = -1;
        } else {
            ev.GridLCV(g) = std::fabs(ev.GridLSD(g) / ev.GridLMean(g));
        }
        mean[g] = FormatE7(ev.GridLMean(g) / r);
        sd[g] = FormatE7(ev.GridLSD(g) / r);
        cv[g] = std::isfinite(ev.GridLCV(g)) ? FormatP2(ev.GridLCV(g)) : FormatP2(-1);
    }
    auto row = [&](const char* label, const std::string* cells) {
        out += Blanks(label, 20);
        for (int g = 1; g <= 3; ++g) Pad(out, cells[g], 18);
        out += vbCrLf;
    };
    row("   Mean:", mean);
    row("   Std Dev:", sd);
    row("   Coef of Var:", cv);
    out += vbCrLf;

    // Standard errors.
    out += std::string("Par#                               Standard errors of the estimates") + vbCrLf;
    for (long k = 1; k <= F; ++k) {
        ColumnLine line(out);
        line.Field(platform::CStr(ev.CovIndex(k)), 3);
        for (int g = 1; g <= 3; ++g) line.Field(FormatE7(eng.CovStore(0, k, g)), g == 1 ? 35 : 18);
        out += vbCrLf;
        yield();
    }
    out += vbCrLf;

    // Probabilities that the estimates do not differ from 0, then from 1.
    out += std::string("Par#               Probabilities that the estimates do not differ from 0, then 1") + vbCrLf;
    for (long k = 1; k <= F; ++k) {
        ColumnLine line(out);
        line.Field(platform::CStr(ev.CovIndex(k)), 3).Field("", 17);
        const double centre = ev.CovCentre(ev.CovIndex(k));
        for (int g = 1; g <= 3; ++g) {
            const double se = eng.CovStore(0, k, g);
            const bool available = se != -1.0 && se != 0 && std::isfinite(se);
            ev.GridLCV(g) = ev.GridP1(g) = -1;
            double p0 = -1, p1 = -1;
            if (available) {
                ev.GridLCV(g) = p0 = numerics::TProbability(std::fabs(centre / se));
                ev.GridP1(g) = p1 = numerics::TProbability(std::fabs((centre - 1) / se));
            }
            line.Field(FormatP3(p0, available), 10).Field(FormatP3(p1, available), 8);
        }
        out += vbCrLf;
        yield();
    }
    out += vbCrLf;

    if (app.sw.OptimisticSEs) {
        out += std::string("Note: The above SE estimates are optimistic (under-estimated) conditional estimates") +
               vbCrLf + vbCrLf;
    } else {
        out += std::string("Par#,Par#                                   Correlations") + vbCrLf;
        for (long a = 1; a < F; ++a)
            for (long b = a + 1; b <= F; ++b) {
                ColumnLine line(out);
                line.Field(platform::CStr(ev.CovIndex(a)), 3).Field(platform::CStr(ev.CovIndex(b)), 5);
                for (int g = 1; g <= 3; ++g) {
                    const double s = eng.CovStore(0, a, g) * eng.CovStore(0, b, g);
                    const double c = s == 0 ? -1 : eng.CovStore(a, b, g) / s;
                    line.Field(FormatP2(std::isfinite(c) ? c : -1), g == 1 ? 30 : 18);
                }
                out += vbCrLf;
                yield();
            }
        out += vbCrLf;
        out += std::string("Par#,Par#                                   Covariances") + vbCrLf;
        for (long a = 1; a <= F; ++a)
            for (long b = a; b <= F; ++b) {
                ColumnLine line(out);
                line.Field(platform::CStr(ev.CovIndex(a)), 3).Field(platform::CStr(ev.CovIndex(b)), 5);
                for (int g = 1; g <= 3; ++g) line.Field(FormatE7(eng.CovStore(a, b, g)), g == 1 ? 30 : 18);
                out += vbCrLf;
                yield();
            }
        out += vbCrLf;
    }

    // Determinants, from their logarithms where the grid has an inverse.
    const bool logs = ev.CovLnDet.UBound() >= 3;
    out += std::string(44, ' ') + "Determinants" + vbCrLf + "Covariance Matrix:  ";
    for (int g = 1; g <= 3; ++g) {
        std::string cell;
        if (!logs || std::isnan(ev.CovLnDet(g))) {
            cell = FormatE7(eng.CovStore(0, 0, g));
        } else {
            const std::optional<double> v = numerics::ExpIfRepresentable(ev.CovLnDet(g));
            cell = v ? FormatE7(*v) : "Undefined";
        }
        Pad(out, cell, 18);
    }
    out += std::string(vbCrLf) + "Correlation Matrix: ";
    for (int g = 1; g <= 3; ++g) {
        std::string cell;
        if (!logs || std::isnan(ev.CovLnDet(g))) {
            const double prod = eng.CovStore(1, 0, g);
            cell = FormatE7(prod == 0 || prod == -1.0 ? -1.0 : eng.CovStore(0, 0, g) / prod);
        } else {
            const std::optional<double> v =
                numerics::ExpIfRepresentable(ev.CovLnDet(g) - ev.CovLnVarProd(g));
            cell = v ? FormatE7(*v) : "Undefined";
        }
        Pad(out, cell, 18);
    }
    out += vbCrLf;

    // The chooser may have been closed while the report was collated: then
    // nothing is left to show it in.
    if (!app.IsLoaded<frmCovDisplay>()) return;
    frmCovData& data = CovDataWindow(app);
    ShowSaveHint(data);
    data.rtbCovData.Text = out;
    bar.SetPanel(1, "");
    frmCovDisplay& chooser = app.form<frmCovDisplay>();
    chooser.cmdScreen.Enabled = true;
    chooser.Show();
    chooser.SetFocus();
}

}  // namespace tivelor
