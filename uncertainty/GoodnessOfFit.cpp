#include "uncertainty/RuntimeUniforms.h"
#include "uncertainty/GoodnessOfFit.h"

#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

#include "state/App.h"
#include "state/Memory.h"
#include "engine/Parameters.h"
#include "engine/ProgressText.h"
#include "numerics/PearsonStats.h"
#include "numerics/Variates.h"
#include "platform/runtime.h"
#include "windows/frmMain.h"
#include "uncertainty/frmAbort.h"
#include "uncertainty/frmRange.h"

namespace tivelor {

using platform::vbCrLf;

namespace {

// Abbreviated title of the journal that published the test.
constexpr const char* kJournal = "J. Quant. Ecol.";

std::string Shown(const std::optional<double>& v, const char* pattern) {
    return v ? platform::Format(*v, pattern) : std::string("Undefined");
}

// Per species of the range: what is expected and observed.
struct SpeciesExpectation {
    double E = 0;    // per sampled quadrat
    double EU = 0;   // in the unsampled quadrats
    double U = 0;    // observed (estimated) unsampled individuals
};

}  // namespace

void SimulateQuadratCounts(App& app) {
    const ModelState& md = app.model;
    GoodnessOfFitState& g = app.unc.Gof;
    g.SimCount.ReDim(md.NSpp, md.NQuad);
    if (g.SimUnsampled.UBound() < md.NSpp) g.SimUnsampled.ReDim(md.NSpp);
    std::vector<double> p(static_cast<std::size_t>(md.NQuad));
    for (int j = 1; j <= md.NQuad; ++j) p[static_cast<std::size_t>(j - 1)] = md.QuadProb(j);
    std::vector<std::int64_t> counts(static_cast<std::size_t>(md.NQuad));
    RuntimeUniforms uniforms(app.ui.random);
    for (int s = g.FirstSpGOF; s <= g.LastSpGOF; ++s) {
        const double total = std::nearbyint(static_cast<double>(md.TotAbund(s)));
        g.SimUnsampled(s) = static_cast<long>(numerics::PlaceIndividuals(
            static_cast<std::int64_t>(total), p.data(), md.NQuad, md.SpTheta(s), uniforms,
            counts.data()));
        for (int j = 1; j <= md.NQuad; ++j)
            g.SimCount(s, j) = static_cast<long>(counts[static_cast<std::size_t>(j - 1)]);
    }
}

void PearsonDeviatesTest(App& app) {
    ModelState& md = app.model;
    GoodnessOfFitState& g = app.unc.Gof;
    const int NRand = md.Report.NRand;
    const int NSpp = md.NSpp, NQuad = md.NQuad;
    const double NH = static_cast<double>(md.NQuadHab);

    // The arrays by species and quadrat, before anything is asked or shown.
    std::vector<SpeciesExpectation> ex;
    std::vector<double> Ds;
    std::vector<numerics::RandomizedSums> per;
    ArraySizes sizes;
    sizes.Fit(g.SimCount, NSpp, NQuad);
    sizes.AtLeast(g.SimUnsampled, NSpp);
    sizes.AtLeast(md.ExpCount, NSpp, NQuad);
    bool made = sizes.Made();
    try {
        if (made) {
            ex.resize(static_cast<std::size_t>(NSpp) + 1);
            Ds.assign(static_cast<std::size_t>(NSpp) + 1, 0.0);
            per.resize(static_cast<std::size_t>(NSpp) + 1);
        }
    } catch (const std::bad_alloc&) {
        made = false;
    }
    if (!made || !sizes.Commit())
        return TellNotEnoughMemory(app, "the goodness-of-fit test", "Pearson-deviates goodness-of-fit test");

    // Start: seed, range, abort window.
    app.ui.Randomize(app.ui.Timer());
    g.FirstSpGOF = 1;
    g.LastSpGOF = NSpp;
    if (NRand > 0) app.form<frmRange>().Show(platform::vbModal);
    if (g.FirstSpGOF < 1 || g.LastSpGOF > NSpp || g.LastSpGOF < g.FirstSpGOF) {
        g.FirstSpGOF = 1;   // never a range outside the species
        g.LastSpGOF = NSpp;
    }
    AbortWatch watch(app);
    watch.Begin(true);
    const int first = g.FirstSpGOF, last = g.LastSpGOF;

    // Observed deviates. Without unsampled quadrats the unsampled term is left out.
    const bool unsampledTerm = NH > NQuad;
    double D = 0;
    for (int s = first; s <= last; ++s) {
        SpeciesExpectation& e = ex[static_cast<std::size_t>(s)];
        const double tot = static_cast<double>(md.TotAbund(s));
        e.E = tot / NH;
        e.EU = tot / NH * (NH - NQuad);
        e.U = tot - md.CumCount(s, NQuad);
        double d = 0;
        for (int j = 1; j <= NQuad; ++j) {
            md.ExpCount(s, j) = e.E;
            d += numerics::PearsonTerm(static_cast<double>(md.Count(s, j)), e.E);
        }
        if (unsampledTerm) d += numerics::PearsonTerm(e.U, e.EU);
        Ds[static_cast<std::size_t>(s)] = d;
        D += d;
    }

    // Randomizations.
    platform::StatusBar& bar = app.form<frmMain>().stbMain5;
    numerics::RandomizedSums all;
    const double T1 = app.ui.Timer();
    for (int r = 1; r <= NRand; ++r) {
        bar.SetPanel(1, "Pearson-deviates: doing randomization # " + platform::CStr(r) + " of " +
                            platform::CStr(NRand));
        SimulateQuadratCounts(app);
        app.ui.DoEvents();
        double Dr = 0;
        for (int s = first; s <= last; ++s) {
            const SpeciesExpectation& e = ex[static_cast<std::size_t>(s)];
            double d = 0;
            for (int j = 1; j <= NQuad; ++j)
                d += numerics::PearsonTerm(static_cast<double>(g.SimCount(s, j)), e.E);
            if (unsampledTerm) d += numerics::PearsonTerm(static_cast<double>(g.SimUnsampled(s)), e.EU);
            per[static_cast<std::size_t>(s)].Add(d, Ds[static_cast<std::size_t>(s)]);
            Dr += d;
        }
        app.ui.DoEvents();
        all.Add(Dr, D);
        double elapsed = app.ui.Timer() - T1;
        if (elapsed < 0) elapsed += 86400;   // past midnight
        bar.SetPanel(2, "Estimated time remaining (m:s): " +
                            MinutesSeconds(elapsed / r * (NRand - r)));
        app.ui.DoEvents();
        if (!watch.GoOn({r, 0, Dr})) {
            bar.SetPanel(1, "");
            bar.SetPanel(2, "");
            watch.Close();
            return;
        }
    }
    watch.Close();
    bar.SetPanel(1, "");
    bar.SetPanel(2, "");

    // Report block.
    const numerics::RandomizedSummary sum = numerics::Summarize(all);
    std::string& out = app.msg.ReportText;
    out += "Pearson-deviates statistics for the model (over the chosen species range):";
    out += std::string(vbCrLf) + vbCrLf;
    out += std::string("The following Pearson-deviates test is based on Jarn and Ketterly (") +
           kJournal + " 6:539-545, 1989)" + vbCrLf;
    out += "This goodness-of-fit (GOF) test was applied to the range from species #" +
           platform::CStr(first) + " to species #" + platform::CStr(last) + vbCrLf;
    out += std::string("You can reject this model if the cumulative p[Pearson-deviates] is outside "
                       "your acceptance range (e.g., 0.025 < p < 0.975)") + vbCrLf;
    out += "Randomized Pearson-deviates> n:" + platform::Format(NRand, " ###0") +
           "; Mean: " + Shown(sum.Mean, " ###0.000") + "; SD: " + Shown(sum.SD, " ###0.000") +
           "; Minimum: " + Shown(sum.Min, " ###0.000") + "; Maximum: " + Shown(sum.Max, " ###0.000") +
           vbCrLf;
    out += "Sample sum of Pearson-deviates>" + platform::Format(D, " ###0.000") +
           "; Cumulative p[Pearson-deviates]: " + Shown(sum.P, " #0.000") +
           "; SE cumulative p[Pearson-deviates]: " + Shown(sum.SE, " #0.000") + vbCrLf + vbCrLf;
    out += std::string("A very small value for cumulative p[Pearson-deviates] (i.e., < 0.025) when n "
                       "is large suggests the model under-fits the data (fits too poorly)") + vbCrLf;
    out += std::string("A very large value for cumulative p[Pearson-deviates] (i.e., > 0.975) when n "
                       "is large suggests the model over-fits  the data (fits too well)") + vbCrLf;
    out += vbCrLf;
    if (NRand >= 1) {
        out += std::string("Pearson-deviates statistics for:") + vbCrLf + vbCrLf;
        for (int s = first; s <= last; ++s) {
            const numerics::RandomizedSummary ss = numerics::Summarize(per[static_cast<std::size_t>(s)]);
            out += "Sp# " + platform::Format(s, "00") + RSetPad(md.SpName(s), 7) + " >" +
                   " Obsd: " + RSetPad(platform::Format(Ds[static_cast<std::size_t>(s)], " ###0.00"), 9) +
                   ",    Mean: " + RSetPad(Shown(ss.Mean, " ###0.00"), 9) +
                   ",    SD: " + RSetPad(Shown(ss.SD, " ###0.00"), 9) +
                   ",    Min: " + RSetPad(Shown(ss.Min, " ###0.00"), 9) +
                   ",    Max: " + RSetPad(Shown(ss.Max, " ###0.00"), 9) +
                   ",    p: " + RSetPad(Shown(ss.P, " #0.000"), 7) +
                   ",    SE of p: " + RSetPad(Shown(ss.SE, " #0.000"), 7) + vbCrLf;
        }
        out += vbCrLf;
    }
}

}  // namespace tivelor
