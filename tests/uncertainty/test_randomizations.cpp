// Sample-based and distribution-based randomizations on hand-made model data:
// the quick sums against the count-probability routines, the draws, and the
// runs with their questions, aborts, rejections and seeds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "../support/ModelSession.h"
#include "UncertaintyTestSupport.h"
#include "numerics/CountProb.h"
#include "tests/support/SyntheticData.h"
#include "uncertainty/Randomizations.h"
#include "uncertainty/frmAbort.h"

using namespace tivelor;
using unctest::Unc;

namespace {

// Four species, both links on, every parameter free.
struct Fit : Unc {
    explicit Fit(bool logit = true, bool ln = true) : Unc(3, 30, {5, 3, 2, 1}, logit, ln) {
        const double v[8] = {-1, 0, -2, 0.5, std::log(2.0), 0, std::log(3.0), std::log(0.5)};
        for (int k = 1; k <= 8; ++k) P(k) = v[k - 1], Step(k) = 0.1;
        md.ESR = 12.34;
    }
    // The file (grid 1), the number of randomizations, No to the plots.
    void Script(double se, const std::string& n, bool plots = true) {
        Choose(Write(Cov(se)));
        Randomizations(n);
        if (plots) b.AnswerMsgBox("View plots?", platform::vbNo);
    }
    void AfterDoEvents(std::uint64_t n, std::function<void()> f) {
        platform::headless::Step st;
        st.kind = platform::headless::Step::Call;
        st.call = std::move(f);
        b.AtDoEvents(n, st);
    }
    bool Logged(const std::string& text) const {
        return std::any_of(b.log.begin(), b.log.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
    }
};

// A species' weight as the model's routines give it, quadrat by quadrat.
double SlowWeight(App& app, double N, double theta) {
    ModelState& md = app.model;
    const double sr = N > 1 ? (md.ShrinkConst - 1) / (N - 1) : md.ShrinkConst - 1;
    numerics::CountProbCache cache;
    double prod = 1, d[5];
    for (int j = 1; j <= md.NQuad; ++j) {
        std::fill(d, d + 5, numerics::kNotWanted);
        double r = 0, p = md.QuadProb(j);
        if (theta * theta > sr && N != 1)
            numerics::QuadratProbBetaBinomial(cache, r, N, 0, j, p, theta * theta, d[0], d[1], d[2], d[3], d[4]);
        else
            numerics::QuadratProbBinomial(cache, r, N, 0, j, p, d[0], d[1], d[2], d[3], d[4]);
        prod *= std::min(std::max(r, 1E-08), 0.99999999);
    }
    return 1 / (1 - prod);
}

}  // namespace

TEST(QuickSums, AgreeWithTheCountProbabilityRoutines) {
    std::vector<double> totals;
    for (int s = 0; s < 40; ++s) totals.push_back(s % 7);
    Unc u(50, 1000, totals, true, true);
    platform::Vec<double> th(40), ua(40);
    const double thetas[5] = {0, 0.004, 0.05, 0.3, 0.9}, uas[8] = {0.5, 1, 2.5, 30, 300, 4000, 2E+05, 1E+07};
    double slow = 0, fast = 0;
    for (int s = 1; s <= 40; ++s) {
        th(s) = thetas[s % 5], ua(s) = uas[s % 8];
        slow += SlowWeight(u.app, ua(s) + totals[static_cast<std::size_t>(s - 1)], th(s));
    }
    const std::uint64_t before = u.s.ui.DoEventsCount();
    CalcExpectedRichness(u.app, fast, th, ua);
    EXPECT_NEAR(fast / slow, 1, 1E-6);
    EXPECT_EQ(u.s.ui.DoEventsCount() - before, 40u);   // once per species

    // The integration on the synthetic set, cell by cell through the routines.
    tivelor::testing::ModelFixture m;
    m.AnswerNotes(3);
    ASSERT_TRUE(m.Setup(tivelor::testing::WriteData("unc_225.dat", SyntheticDataText(1)), 225, 50, 1000, true, true));
    const double MT = -1.3, ST = 0.9, MN = 4.2, SN = 1.1, R = 0.2, h = 0.2, pi = 4 * std::atan(1.0);
    slow = 0;
    for (int a = -20; a <= 19; ++a)
        for (int b = -20; b <= 19; ++b) {
            const double x = MT + (a + 0.5) * h * ST, y = MN + (b + 0.5) * h * SN;
            const double zx = (x - MT) / ST, zy = (y - MN) / SN;
            const double Q = zx * zx + zy * zy - 2 * R * (x - MT) * (y - MN) / (ST * SN);
            const double f = std::exp(-Q / (2 * (1 - R * R))) / (2 * pi * ST * SN * std::sqrt(1 - R * R));
            slow += f * h * h * ST * SN * 225 * SlowWeight(m.app, std::floor(std::exp(y)) + 1, std::exp(x) / (std::exp(x) + 1));
        }
    IntegrateBivariateRichness(m.app, fast, MT, ST, MN, SN, R);
    EXPECT_NEAR(fast / slow, 1, 1E-6);
}

TEST(SampleDraws, LinksFixedValuesAndCorrelation) {
    Fit r;
    CovarianceLink& c = r.app.unc.Cov;
    for (auto* v : {&c.VarTheta, &c.VarUA, &c.CorThetaUA}) v->ReDim(4);
    for (int s = 1; s <= 4; ++s) c.VarTheta(s) = c.VarUA(s) = 1;
    c.CorThetaUA(2) = 1;   // the UA deviate is the Theta deviate
    SpeciesDraw d = DrawSpecies(r.app, 2, r.P, r.Step, r.Fuse, 0.7, -1.3);
    EXPECT_NEAR(std::log(d.theta / (1 - d.theta)), 0.7, 1E-12);
    EXPECT_NEAR(std::log(d.ua), 0.7, 1E-12);
    r.Step(5) = 0;   // fixed keeps the fit, a fused follower is drawn
    EXPECT_NEAR(DrawSpecies(r.app, 1, r.P, r.Step, r.Fuse, 0.7, -1.3).ua, 2, 1E-12);
    r.Fuse(5) = "A";
    EXPECT_NEAR(DrawSpecies(r.app, 1, r.P, r.Step, r.Fuse, 0.7, -1.3).ua, 2 * std::exp(-1.3), 1E-12);

    // Without links, the delta method: 0.0625 / (0.5 0.5)^2 = 1 and 16 / 4^2 = 1.
    Fit n(false, false);
    n.app.unc.Cov = c;
    n.P(1) = 0.5, n.app.unc.Cov.VarTheta(1) = 0.0625;
    n.P(5) = 4, n.app.unc.Cov.VarUA(1) = 16;
    d = DrawSpecies(n.app, 1, n.P, n.Step, n.Fuse, 0.7, -1.3);
    EXPECT_NEAR(std::log(d.theta / (1 - d.theta)), 0.7, 1E-12);
    EXPECT_NEAR(d.ua, 4 * std::exp(-1.3), 1E-12);
    // No logarithm: a free Theta of 0 or 1 and a free UA of 0 keep their fit.
    for (double t : {0.0, 1.0}) {
        n.P(1) = t, n.P(5) = 0;
        d = DrawSpecies(n.app, 1, n.P, n.Step, n.Fuse, 0.7, -1.3);
        EXPECT_EQ(d.theta, t == 0 ? 1E-08 : 0.99999999);
        EXPECT_EQ(d.ua, 0.0);
    }
}

TEST(SampleBasedRun, AllFixedGivesTheFittedEstimateEveryTime) {
    Fit r;
    for (int k = 1; k <= 8; ++k) r.Step(k) = 0;
    r.Script(0.1, "20");
    SampleBasedUncertainty(r.app, r.P, r.Step, r.Fuse);
    platform::Vec<double> th(4), ua(4);
    for (int s = 1; s <= 4; ++s) th(s) = 1 / (1 + std::exp(-r.P(s))), ua(s) = std::exp(r.P(4 + s));
    double E = 0;
    CalcExpectedRichness(r.app, E, th, ua);
    EXPECT_EQ(r.Stored(), std::vector<int>(20, static_cast<int>(std::floor(E + 0.5))));
    EXPECT_NE(r.Summary().find("(as above) is:            12.34"), std::string::npos);
    EXPECT_TRUE(r.Logged("Sample-based uncertainty statistics: doing randomization #20 of 20"));
}

TEST(SampleBasedRun, SameSeedSameEstimatesWhateverThePolling) {
    auto run = [](double timer, bool busyPolling) {
        Fit r;
        r.s.clock.timer = timer;
        r.Script(0.8, "30");
        for (std::uint64_t n = 1; busyPolling && n < 150; n += 7) r.AfterDoEvents(n, [] {});
        SampleBasedUncertainty(r.app, r.P, r.Step, r.Fuse);
        return std::make_pair(r.Stored(), r.Summary());
    };
    const auto a = run(36000, false), b = run(36000, true), c = run(36001, false);
    EXPECT_EQ(a, b);
    EXPECT_NE(a.first, c.first);
    EXPECT_NE(*std::max_element(a.first.begin(), a.first.end()), *std::min_element(a.first.begin(), a.first.end()));
}

TEST(SampleBasedRun, AbortAndTimeAcrossMidnight) {
    Fit r;
    r.s.clock.timer = 86390;
    r.Script(0.1, "10", false);
    r.AfterDoEvents(1, [&] { r.s.clock.timer = 10; });   // 20 seconds later, past midnight
    // Five yields a randomization: the 12th falls inside the third.
    r.AfterDoEvents(12, [&] { r.b.Click("frmAbort.cmdAbort"); });
    SampleBasedUncertainty(r.app, r.P, r.Step, r.Fuse);
    EXPECT_TRUE(r.Logged("Estimated time remaining (m:s): 3:00"));   // 20 s for 1, 9 to go
    const std::vector<int> got = r.Stored();
    EXPECT_TRUE(got[2] > 0 && got[3] == 0);
    EXPECT_EQ(r.Summary() + r.Panels(), "");   // no collation
    EXPECT_FALSE(r.app.IsLoaded<frmAbort>());
    EXPECT_TRUE(r.Logged("zorder frmAbort 1"));   // opened behind the other windows
}

TEST(SampleBasedRun, NumberOfRandomizationsAndRejectedDraws) {
    Fit r;
    r.Choose(r.Write(r.Cov()));
    for (const char* bad : {"32001", "-1", "40000", "2.5"}) r.Randomizations(bad);   // 2.5: 2
    r.b.AnswerMsgBox("View plots?", platform::vbNo);
    SampleBasedUncertainty(r.app, r.P, r.Step, r.Fuse);
    EXPECT_EQ(r.Stored().size(), 2u);
    Fit z;
    z.Choose(z.Write(z.Cov()));
    z.b.CancelInput("More randomizations improve the uncertainty statistics");
    z.b.AnswerMsgBox("You changed your mind", platform::vbOK);
    SampleBasedUncertainty(z.app, z.P, z.Step, z.Fuse);
    EXPECT_EQ(z.LastMsg().text, "Randomizations aborted!");

    // One individual in one of a billion quadrats: every draw is above 25000.
    Unc u(1, 1000000000, {1}, false, false);
    u.P(1) = 0.2;
    u.Choose(u.Write(u.Cov()));
    u.Randomizations("5");
    u.b.AnswerMsgBox("Randomization 1 rejected", platform::vbNo);
    u.b.AnswerMsgBox("Randomization 1 rejected", platform::vbYes);   // stop
    SampleBasedUncertainty(u.app, u.P, u.Step, u.Fuse);
    EXPECT_EQ(u.LastMsg().style, 68);
    EXPECT_EQ(u.Stored(), std::vector<int>(5, 0));
    EXPECT_EQ(u.Summary() + u.Panels(), "");
    EXPECT_FALSE(u.app.IsLoaded<frmAbort>());
    // One in 25000: kept.
    Unc k(1, 25000, {1}, false, false);
    k.P(1) = 0.2;
    k.Choose(k.Write(k.Cov()));
    k.Randomizations("1");
    k.b.AnswerMsgBox("View plots?", platform::vbNo);
    SampleBasedUncertainty(k.app, k.P, k.Step, k.Fuse);
    EXPECT_EQ(k.Stored(), std::vector<int>{25000});
}

TEST(DistributionBasedRun, WorkedEstimateCorrelationLimitsAndNoLogarithms) {
    // 50 species in five quadrats of 100, every parameter fixed: the grid is
    // centred on the inferred moments (-1, 1) and (3, 1), correlation 0.3.
    Unc u(5, 100, std::vector<double>(50, 1), true, true);
    DistributionStatistics& d = u.md.Report.Dist;
    d.LogitThetaMeanInf = -1, d.LogitThetaVarInf = 1, d.LnAbundMeanInf = 3, d.LnAbundVarInf = 1;
    d.CorLogitThetaLnUA = 0.3;
    u.Choose(u.Write(u.Cov()));
    u.Randomizations("4");
    u.b.AnswerMsgBox("View plots?", platform::vbNo);
    DistributionBasedUncertainty(u.app, u.P, u.Step, u.Fuse);
    EXPECT_NEAR(u.app.unc.Rand.ESRDistML, 149.7002, 1E-4);
    for (int v : u.Stored()) EXPECT_TRUE(v >= 100 && v <= 250) << v;
    EXPECT_EQ(u.Panels(), "");

    // Undefined or above 0.99 in size: stopped before any integration.
    for (MaybeNumber rho : {MaybeNumber{}, MaybeNumber{0.995}, MaybeNumber{-0.9901}}) {
        Fit r;
        r.md.Report.Dist.CorLogitThetaLnUA = rho;
        r.Script(0.1, "3", false);
        r.b.AnswerMsgBox("Can't do reliable randomizations - possibly too few species collected", platform::vbOK);
        const std::uint64_t before = r.s.ui.DoEventsCount();
        DistributionBasedUncertainty(r.app, r.P, r.Step, r.Fuse);
        EXPECT_EQ(r.s.ui.DoEventsCount(), before);
        EXPECT_EQ(r.Panels(), "");
    }
    // -0.99 is used; without links a free Theta of 0 adds no variance.
    Fit r(false, false);
    r.md.Report.Dist = d;
    r.md.Report.Dist.CorLogitThetaLnUA = -0.99;
    for (int s = 1; s <= 4; ++s) r.P(s) = s == 2 ? 0 : 0.3, r.P(4 + s) = 2;
    r.Script(0.1, "2");
    DistributionBasedUncertainty(r.app, r.P, r.Step, r.Fuse);
    EXPECT_TRUE(std::isfinite(r.app.unc.Rand.ESRDistML));
    EXPECT_NE(r.Summary().find("mean ESR from 2 randomizations"), std::string::npos);
}
