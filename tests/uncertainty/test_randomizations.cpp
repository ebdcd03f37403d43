// Sample-based and distribution-based randomizations on hand-made model data:
// the expected-richness sum against the count-probability routines, the
// draws, the runs with their questions, aborts, rejections and seeds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "UncertaintyTestSupport.h"
#include "model/CountProb.h"
#include "model/SyntheticData.h"
#include "../support/ModelSession.h"
#include "uncertainty/Randomizations.h"
#include "uncertainty/frmAbort.h"

using namespace tivelor;
using unctest::CovFile;
using unctest::Unc;

namespace {

// Four species, both links on, every parameter free.
struct Fit : Unc {
    explicit Fit(bool logit = true, bool ln = true) : Unc(3, 30, {5, 3, 2, 1}, logit, ln) {
        const double v[8] = {-1, 0, -2, 0.5, std::log(2.0), 0, std::log(3.0), std::log(0.5)};
        for (int k = 1; k <= 8; ++k) {
            P(k) = v[k - 1];
            Step(k) = 0.1;
        }
        md.ESR = 12.34;
    }
    // Covariance file, grid 1, the number of randomizations; No to the plots.
    void Script(const CovFile& c, const std::string& n, bool plots = true) {
        Choose(Write(c));
        Randomizations(n);
        if (plots) b.AnswerMsgBox("View plots?", platform::vbNo);
    }
    void Sample() { SampleBasedUncertainty(app, P, Step, Fuse); }
    void Distribution() { DistributionBasedUncertainty(app, P, Step, Fuse); }
    void AfterDoEvents(std::uint64_t n, std::function<void()> f) {
        platform::headless::Step st;
        st.kind = platform::headless::Step::Call;
        st.call = std::move(f);
        b.AtDoEvents(n, st);
    }
    bool PanelShown(const std::string& text) const {
        return std::find_if(b.log.begin(), b.log.end(), [&](const std::string& l) {
                   return l.find(text) != std::string::npos;
               }) != b.log.end();
    }
};

// The expected richness as Part of the model computes it: the count-probability
// routines quadrat by quadrat.
double SlowWeight(App& app, double N, double theta) {
    ModelState& md = app.model;
    const double sr = N > 1 ? (md.ShrinkConst - 1) / (N - 1) : md.ShrinkConst - 1;
    md.ProbCache.Invalidate();
    double prod = 1, none = kNotWanted, d[5];
    for (int j = 1; j <= md.NQuad; ++j) {
        for (double& x : d) x = none;
        double r = 0, p = md.QuadProb(j);
        if (theta * theta > sr && N != 1)
            QuadratProbBetaBinomial(app, r, N, 0, j, p, theta * theta, d[0], d[1], d[2], d[3], d[4]);
        else
            QuadratProbBinomial(app, r, N, 0, j, p, d[0], d[1], d[2], d[3], d[4]);
        prod *= std::min(std::max(r, 1E-08), 0.99999999);
    }
    return 1 / (1 - prod);
}

}  // namespace

TEST(ExpectedRichnessSum, AgreesWithTheCountProbabilityRoutines) {
    std::vector<double> totals;
    for (int s = 0; s < 40; ++s) totals.push_back(s % 7);
    Unc u(50, 1000, totals, true, true);
    platform::Vec<double> th(40), ua(40);
    const double thetas[5] = {0, 0.004, 0.05, 0.3, 0.9};
    const double uas[8] = {0.5, 1, 2.5, 30, 300, 4000, 2E+05, 1E+07};
    double slow = 0;
    for (int s = 1; s <= 40; ++s) {
        th(s) = thetas[s % 5];
        ua(s) = uas[s % 8];
        slow += SlowWeight(u.app, ua(s) + totals[static_cast<std::size_t>(s - 1)], th(s));
    }
    double fast = 0;
    const std::uint64_t before = u.s.ui.DoEventsCount();
    CalcExpectedRichness(u.app, fast, th, ua);
    EXPECT_NEAR(fast / slow, 1, 1E-6) << fast << " " << slow;
    EXPECT_EQ(u.s.ui.DoEventsCount() - before, 40u);   // once per species
    EXPECT_EQ(u.md.ProbCache.CacheNBB, -1.0);
    EXPECT_EQ(u.md.ProbCache.CacheXBin, -1);
    EXPECT_GE(fast, 40.0);
    // The probability of being seen, the same way.
    double p = 0;
    ProbSampled(u.app, p, std::log(0.3 / 0.7), std::log(40.0));
    EXPECT_NEAR(1 / p, SlowWeight(u.app, 41, 0.3), 1E-6);
}

TEST(SampleDraws, LinksFixedValuesAndCorrelation) {
    Fit r;
    CovarianceLink& c = r.app.unc.Cov;
    c.VarTheta.ReDim(4);
    c.VarUA.ReDim(4);
    c.CorThetaUA.ReDim(4);
    for (int s = 1; s <= 4; ++s) c.VarTheta(s) = c.VarUA(s) = 1;
    // Correlation 1: the UA deviate is the Theta deviate.
    c.CorThetaUA(2) = 1;
    SpeciesDraw d = DrawSpecies(r.app, 2, r.P, r.Step, r.Fuse, 0.7, -1.3);
    EXPECT_NEAR(std::log(d.theta / (1 - d.theta)), 0.7, 1E-12);
    EXPECT_NEAR(std::log(d.ua), 0.7, 1E-12);
    // Correlation 0: independent.
    d = DrawSpecies(r.app, 1, r.P, r.Step, r.Fuse, 0.7, -1.3);
    EXPECT_NEAR(std::log(d.theta / (1 - d.theta)), -1 + 0.7, 1E-12);
    EXPECT_NEAR(std::log(d.ua), std::log(2.0) - 1.3, 1E-12);
    // Fixed (step 0, not fused) keeps the fit; a fused follower is drawn.
    r.Step(1) = r.Step(5) = 0;
    d = DrawSpecies(r.app, 1, r.P, r.Step, r.Fuse, 0.7, -1.3);
    EXPECT_NEAR(d.theta, 1 / (1 + std::exp(1.0)), 1E-12);
    EXPECT_NEAR(d.ua, 2, 1E-12);
    r.Fuse(1) = r.Fuse(5) = "A";
    d = DrawSpecies(r.app, 1, r.P, r.Step, r.Fuse, 0.7, -1.3);
    EXPECT_NEAR(d.ua, 2 * std::exp(-1.3), 1E-12);

    // Without links: the delta method on the logit and log scales.
    Fit n(false, false);
    n.app.unc.Cov = c;
    n.P(1) = 0.5;
    n.app.unc.Cov.VarTheta(1) = 0.0625;   // 0.0625 / (0.25 * 0.25) = 1
    n.P(5) = 4;
    n.app.unc.Cov.VarUA(1) = 16;          // 16 / 16 = 1
    d = DrawSpecies(n.app, 1, n.P, n.Step, n.Fuse, 0.7, -1.3);
    EXPECT_NEAR(std::log(d.theta / (1 - d.theta)), 0.7, 1E-12);
    EXPECT_NEAR(d.ua, 4 * std::exp(-1.3), 1E-12);
    // No logarithm: a free Theta of 0 or 1 and a free UA of 0 keep their fit
    // (Theta held within 1E-08..0.99999999).
    for (double t : {0.0, 1.0}) {
        n.P(1) = t;
        n.P(5) = 0;
        d = DrawSpecies(n.app, 1, n.P, n.Step, n.Fuse, 0.7, -1.3);
        EXPECT_EQ(d.theta, t == 0 ? 1E-08 : 0.99999999);
        EXPECT_EQ(d.ua, 0.0);
    }
}

TEST(SampleBasedRun, AllFixedGivesTheFittedEstimateEveryTime) {
    Fit r;
    for (int k = 1; k <= 8; ++k) r.Step(k) = 0;
    r.Script(r.Cov(), "20");
    r.app.form<frmSummary>().rtbOut.Text = "Report\r\n";
    r.Sample();
    platform::Vec<double> th(4), ua(4);
    for (int s = 1; s <= 4; ++s) {
        th(s) = 1 / (1 + std::exp(-r.P(s)));
        ua(s) = std::exp(r.P(4 + s));
    }
    double E = 0;
    CalcExpectedRichness(r.app, E, th, ua);
    const std::vector<int> got = r.Stored();
    ASSERT_EQ(got.size(), 20u);
    for (int v : got) EXPECT_EQ(v, static_cast<int>(std::floor(E + 0.5)));
    EXPECT_NE(r.Summary().find("The SAMPLE-BASED UNCERTAINTY statistics were calculated using numerical "
                               "derivatives from grid # 1 of covariance file:"),
              std::string::npos);
    EXPECT_NE(r.Summary().find("(as above) is:            12.34"), std::string::npos);
    EXPECT_EQ(r.Panel(1), "");
    EXPECT_EQ(r.Panel(2), "");
    EXPECT_FALSE(r.app.IsLoaded<frmAbort>());
    EXPECT_TRUE(r.PanelShown("Sample-based uncertainty statistics: doing randomization #20 of 20"));
    EXPECT_TRUE(r.PanelShown("Sample-based uncertainty statistics: one moment please..."));
}

TEST(SampleBasedRun, SameSeedSameEstimatesWhateverThePolling) {
    auto run = [](double timer, bool busyPolling) {
        Fit r;
        r.s.clock.timer = timer;
        r.Script(r.Cov(0.8), "30");
        if (busyPolling)
            for (std::uint64_t n = 1; n < 150; n += 7) r.AfterDoEvents(n, [] {});
        r.Sample();
        return std::make_pair(r.Stored(), r.Summary());
    };
    const auto a = run(36000, false), b = run(36000, true), c = run(36001, false);
    EXPECT_EQ(a.first, b.first);
    EXPECT_EQ(a.second, b.second);
    EXPECT_NE(a.first, c.first);
    EXPECT_GT(*std::max_element(a.first.begin(), a.first.end()), *std::min_element(a.first.begin(), a.first.end()));
}

TEST(SampleBasedRun, AbortStopsBetweenRandomizationsWithoutCollation) {
    Fit r;
    r.Script(r.Cov(), "10", false);
    // Four species yield once each per randomization, then one after storing:
    // the 12th yield falls inside the third randomization.
    r.AfterDoEvents(12, [&] { r.b.Click("frmAbort.cmdAbort"); });
    r.Sample();
    const std::vector<int> got = r.Stored();
    EXPECT_GT(got[2], 0);
    EXPECT_EQ(got[3], 0);
    EXPECT_EQ(r.Summary(), "");
    EXPECT_EQ(r.Panel(1), "");
    EXPECT_EQ(r.Panel(2), "");
    EXPECT_FALSE(r.app.IsLoaded<frmAbort>());
    EXPECT_EQ(r.app.sw.AbortFlag, platform::True);
}

TEST(SampleBasedRun, NumberOfRandomizations) {
    Fit r;
    r.Choose(r.Write(r.Cov()));
    for (const char* bad : {"32001", "-1", "40000"}) r.Randomizations(bad);
    r.Randomizations("2.5");   // halves to even: 2
    r.b.AnswerMsgBox("View plots?", platform::vbNo);
    r.Sample();
    EXPECT_EQ(r.app.model.Report.NRand, 2);
    EXPECT_EQ(r.Stored().size(), 2u);
    EXPECT_NE(r.Summary().find("mean ESR from 2 randomizations"), std::string::npos);

    Fit z;
    z.Choose(z.Write(z.Cov()));
    z.b.CancelInput("More randomizations improve the uncertainty statistics");
    z.b.AnswerMsgBox("You changed your mind", platform::vbOK);
    z.Sample();
    EXPECT_EQ(z.LastMsg()->text, "Randomizations aborted!");
    EXPECT_EQ(z.LastMsg()->style, 0);
    EXPECT_FALSE(z.app.IsLoaded<frmAbort>());

    // A refused file starts nothing.
    Fit f;
    CovFile c = f.Cov();
    c.value[0] = 5;
    f.Choose(f.Write(c));
    f.b.AnswerMsgBox("Algorithm file and covariance file parameter mismatch", platform::vbOK);
    f.Sample();
    EXPECT_TRUE(f.b.inputPrompts.size() == 1u);   // the grid only
}

TEST(SampleBasedRun, RejectedDrawsAndTheChoiceToStop) {
    // One individual that falls in one of a billion quadrats: seen once in a
    // billion, so every draw is above 25000.
    Unc u(1, 1000000000, {1}, false, false);
    u.P(1) = 0.2;
    u.P(2) = 0;
    u.Step(1) = u.Step(2) = 0;
    u.Choose(u.Write(u.Cov()));
    u.Randomizations("5");
    u.b.AnswerMsgBox("Randomization 1 rejected", platform::vbNo);
    u.b.AnswerMsgBox("Randomization 1 rejected", platform::vbYes);
    SampleBasedUncertainty(u.app, u.P, u.Step, u.Fuse);
    EXPECT_EQ(u.b.msgBoxes.size(), 2u);
    EXPECT_EQ(u.LastMsg()->style, 68);
    EXPECT_EQ(u.LastMsg()->text.rfind("The randomized value for species richness exceeded the program limit of "
                                      "25000 species!",
                                      0),
              0u);
    EXPECT_EQ(u.Stored(), std::vector<int>(5, 0));
    EXPECT_EQ(u.Summary(), "");
    EXPECT_FALSE(u.app.IsLoaded<frmAbort>());
    EXPECT_EQ(u.Panel(1) + u.Panel(2), "");

    // One in 25000: an estimate of (nearly) 25000 is kept.
    Unc k(1, 25000, {1}, false, false);
    k.P(1) = 0.2;
    k.Step(1) = k.Step(2) = 0;
    k.Choose(k.Write(k.Cov()));
    k.Randomizations("1");
    k.b.AnswerMsgBox("View plots?", platform::vbNo);
    SampleBasedUncertainty(k.app, k.P, k.Step, k.Fuse);
    EXPECT_EQ(k.Stored(), std::vector<int>{25000});
}

TEST(SampleBasedRun, TimeRemainingAcrossMidnight) {
    Fit r;
    r.s.clock.timer = 86390;
    r.Script(r.Cov(), "3");
    r.AfterDoEvents(1, [&] { r.s.clock.timer = 10; });   // 20 seconds later, past midnight
    r.Sample();
    EXPECT_TRUE(r.PanelShown("Estimated time remaining (m:s): 0:40"));
}

TEST(DistributionBasedRun, WorkedEstimateAndRandomizations) {
    // 50 species, five quadrats of 100, every parameter fixed: the grid is
    // centred on the inferred moments, (-1, 1) and (3, 1), correlation 0.3.
    Unc u(5, 100, std::vector<double>(50, 1), true, true);
    DistributionStatistics& d = u.md.Report.Dist;
    d.LogitThetaMeanInf = -1;
    d.LogitThetaVarInf = 1;
    d.LnAbundMeanInf = 3;
    d.LnAbundVarInf = 1;
    d.CorLogitThetaLnUA = 0.3;
    u.Choose(u.Write(u.Cov()));
    u.Randomizations("4");
    u.b.AnswerMsgBox("View plots?", platform::vbNo);
    DistributionBasedUncertainty(u.app, u.P, u.Step, u.Fuse);
    EXPECT_NEAR(u.app.unc.Rand.ESRDistML, 149.7002, 1E-4);
    EXPECT_NE(u.Summary().find("DISTRIBUTION-BASED estimate of ESR is:       " + unctest::Pad("149.70", 12)),
              std::string::npos);
    EXPECT_NE(u.Summary().find("End of DISTRIBUTION-BASED UNCERTAINTY statistics"), std::string::npos);
    const std::vector<int> got = u.Stored();
    for (int v : got) EXPECT_TRUE(v >= 100 && v <= 250) << v;
    EXPECT_EQ(u.app.unc.Rand.SloppyCount, 0);
    EXPECT_FALSE(u.app.IsLoaded<frmAbort>());
    EXPECT_EQ(u.Panel(1) + u.Panel(2), "");
}

TEST(DistributionBasedRun, CorrelationLimitsAndValuesWithoutLogarithms) {
    for (MaybeNumber rho : {MaybeNumber{}, MaybeNumber{0.995}, MaybeNumber{-0.9901}}) {
        Fit r;
        r.md.Report.Dist.CorLogitThetaLnUA = rho;
        r.Choose(r.Write(r.Cov()));
        r.Randomizations("3");
        r.b.AnswerMsgBox("Can't do reliable randomizations - possibly too few species collected", platform::vbOK);
        const std::uint64_t before = r.s.ui.DoEventsCount();
        r.Distribution();
        EXPECT_EQ(r.s.ui.DoEventsCount(), before);   // no integration
        EXPECT_EQ(r.Stored(), std::vector<int>(3, 0));
        EXPECT_EQ(r.Panel(1) + r.Panel(2), "");
        EXPECT_FALSE(r.app.IsLoaded<frmAbort>());
    }
    // -0.99 is used. Without links, a free Theta of 0 adds no variance.
    Fit r(false, false);
    DistributionStatistics& d = r.md.Report.Dist;
    d.LogitThetaMeanInf = -1;
    d.LogitThetaVarInf = 0.5;
    d.LnAbundMeanInf = 2;
    d.LnAbundVarInf = 0.5;
    d.CorLogitThetaLnUA = -0.99;
    for (int s = 1; s <= 4; ++s) r.P(s) = s == 2 ? 0 : 0.3;
    for (int s = 5; s <= 8; ++s) r.P(s) = 2;
    r.Script(r.Cov(), "2");
    r.Distribution();
    EXPECT_TRUE(std::isfinite(r.app.unc.Rand.ESRDistML));
    EXPECT_GT(r.app.unc.Rand.ESRDistML, 4);
    EXPECT_NE(r.Summary().find("mean ESR from 2 randomizations"), std::string::npos);
}

TEST(BivariateIntegrationSpeedPath, AgreesWithTheRoutinesOnTheSyntheticSet) {
    tivelor::testing::ModelFixture m;
    m.AnswerNotes(3);
    ASSERT_TRUE(m.Setup(tivelor::testing::WriteData("unc_synthetic_225.dat", SyntheticDataText(1)), 225, 50, 1000, true, true));
    App& app = m.app;
    const double MeanT = -1.3, SDT = 0.9, MeanN = 4.2, SDN = 1.1, Rho = 0.2;
    // The integration as written, through the count-probability routines.
    const double h = 0.2, pi = 4 * std::atan(1.0);
    double slow = 0;
    for (int a = -20; a <= 19; ++a)
        for (int b = -20; b <= 19; ++b) {
            const double x = MeanT + (a + 0.5) * h * SDT, y = MeanN + (b + 0.5) * h * SDN;
            const double zx = (x - MeanT) / SDT, zy = (y - MeanN) / SDN;
            const double Q = zx * zx + zy * zy - 2 * Rho * (x - MeanT) * (y - MeanN) / (SDT * SDN);
            const double f = std::exp(-Q / (2 * (1 - Rho * Rho))) / (2 * pi * SDT * SDN * std::sqrt(1 - Rho * Rho));
            const double mcell = f * h * h * SDT * SDN * 225;
            const double N = std::floor(std::exp(y)) + 1, theta = std::exp(x) / (std::exp(x) + 1);
            slow += mcell * SlowWeight(app, N, theta);
        }
    double fast = 0;
    IntegrateBivariateRichness(app, fast, MeanT, SDT, MeanN, SDN, Rho);
    EXPECT_NEAR(fast / slow, 1, 1E-6) << fast << " " << slow;
    EXPECT_EQ(app.unc.Rand.SloppyCount, 0);
}
