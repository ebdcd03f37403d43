#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "ModelTestSupport.h"
#include "tests/support/SyntheticData.h"
#include "numerics/CountProb.h"

namespace tivelor {
namespace {

using numerics::CountProbCache;
using numerics::kNotWanted;
using numerics::QuadratProbBetaBinomial;
using numerics::QuadratProbBinomial;
using testing::CountFile;
using testing::ModelFixture;

double Clamp(double p) { return std::fmin(std::fmax(p, 1E-08), 0.99999999); }

// Probability of x of n individuals in a quadrat with allocation probability p,
// from the product formulas.
double CountP(double n, double x, double p, double rho) {
    const double lnC = std::lgamma(n + 1) - std::lgamma(x + 1) - std::lgamma(n - x + 1);
    if (rho == 0) return std::exp(lnC + x * std::log(p) + (n - x) * std::log(1 - p));
    const double a = (1 - rho) * p / rho, b = (1 - p) * a / p;
    auto lnB = [](double u, double v) { return std::lgamma(u) + std::lgamma(v) - std::lgamma(u + v); };
    return std::exp(lnC + lnB(x + a, n - x + b) - lnB(a, b));
}

const std::vector<std::vector<long>> kTiny = {{6, 2}, {0, 3}, {3, 0}};

TEST(ModelEval, MatchesTheProductFormulaAndKeepsTheBestPoint) {
    ModelFixture f;
    ASSERT_TRUE(f.Setup(CountFile("tiny.dat", {"A", "B"}, kTiny), 2, 3, 10));
    // Species A binomial (Theta 0), species B beta-binomial (Theta 0.3).
    const double theta[3] = {0, 0, 0.3}, ua[3] = {0, 4, 2.5}, tot[3] = {0, 9, 5};
    std::tie(f.P(1), f.P(2), f.P(3), f.P(4)) = std::make_tuple(theta[1], theta[2], ua[1], ua[2]);
    const double F = f.Eval(1);
    double expectF = 0, esr = 0;
    for (int i = 1; i <= 2; ++i) {
        const double n = ua[i] + tot[i], rho = theta[i] * theta[i];
        double placed = 0, miss = 1;
        for (int j = 1; j <= 3; ++j) {
            const double p = 1.0 / (10 - j + 1), x = static_cast<double>(kTiny[j - 1][i - 1]);
            expectF += -2 * std::log(Clamp(CountP(n - placed, x, p, rho)));
            miss *= Clamp(CountP(n, 0, p, rho));
            placed += x;
        }
        EXPECT_NEAR(f.app.model.DetectProb(i), 1 - miss, 1E-9);
        esr += 1 / (1 - miss);
    }
    const ModelState& m = f.app.model;
    EXPECT_NEAR(F, expectF, 1E-7);
    EXPECT_NEAR(m.ESRCurrent, esr, 1E-8);
    EXPECT_NEAR(m.BestSpF(1) + m.BestSpF(2), F, 1E-12);
    EXPECT_EQ(std::make_tuple(m.TotAbund(1), m.TotAbund(2), m.SpTheta(2)), std::make_tuple(13L, 8L, 0.3 * 0.3));

    // NF = 1 restarts the best-point record whatever F is; NF = 2 does not.
    platform::Vec<double> worse = f.P;
    worse(3) = 500;
    ASSERT_GT(f.Eval(worse, 2), F);
    EXPECT_EQ(std::make_pair(m.BestF, m.BestPar(3)), std::make_pair(F, 4.0));
    const double bad = f.Eval(worse, 1);
    EXPECT_EQ(std::make_pair(m.BestF, m.BestPar(3)), std::make_pair(bad, 500.0));
    EXPECT_NEAR(m.ThetaSqFloor(1), 0.0001 / (509 - 1) + 1E-06, 1E-15);
    // Another negative selector changes nothing.
    platform::Vec<double> x = worse;
    x(1) = -7;
    f.F = 123;
    f.Call(x, -3);
    EXPECT_EQ(std::make_tuple(f.F, x(1), m.BestF), std::make_tuple(123.0, -7.0, bad));
}

TEST(ModelEval, ClampsAreWrittenBack) {
    ModelFixture f;
    const auto path = CountFile("clamp.dat", {"A", "B"}, {{60, 2}, {40, 3}});
    ASSERT_TRUE(f.Setup(path, 2, 2, 10));
    std::tie(f.P(1), f.P(2), f.P(3), f.P(4)) = std::make_tuple(-0.5, 2.0, 0.0, 5E9);
    f.Eval();
    EXPECT_EQ(std::make_tuple(f.P(1), f.P(2), f.P(3), f.P(4)), std::make_tuple(0.0, 0.99999999, 0.01, 1E9));

    ASSERT_TRUE(f.Setup(path, 2, 2, 10, true, true));
    std::tie(f.P(1), f.P(2), f.P(3), f.P(4)) = std::make_tuple(-18.42, 25.0, 0.0, 30.0);   // UA 1: N = 101 for A
    f.Eval();
    EXPECT_NEAR(f.P(1), std::log(1E-3 / (1 - 1E-3)), 1E-9);   // about -6.907
    EXPECT_EQ(std::make_pair(f.P(2), f.P(4)), std::make_pair(std::log(0.99999999 / (1 - 0.99999999)), std::log(1E9)));
    f.P(3) = -10;
    f.Eval();
    EXPECT_EQ(f.P(3), std::log(0.01));

    // The direct mode's lower bound stays 0 after a logit-mode run.
    ASSERT_TRUE(f.Setup(path, 2, 2, 10));
    std::tie(f.P(1), f.P(2), f.P(3), f.P(4)) = std::make_tuple(0.0, -1E-9, 1.0, 1.0);
    f.Eval();
    EXPECT_EQ(std::make_pair(f.P(1), f.P(2)), std::make_pair(0.0, 0.0));
}

TEST(ModelEval, ThetaAtLowerClampUsesTheBinomial) {
    // Logit[Theta] = -18.42 is raised to the species' lower clamp, where Theta
    // squared equals ShrinkRatio only to a few ulps: F must equal that of
    // Theta = 0 in the direct mode for every UA; just above it the
    // beta-binomial is used.
    const auto path = CountFile("clampchoice.dat", {"A", "B"}, {{7, 2}, {0, 1}, {4, 0}});
    ModelFixture logit, direct;
    ASSERT_TRUE(logit.Setup(path, 2, 3, 30, true, false));
    ASSERT_TRUE(direct.Setup(path, 2, 3, 30, false, false));
    for (int k = 0; k < 300; ++k) {
        const double ua = 0.37 + 0.731 * k;
        logit.P(1) = logit.P(2) = -18.42;
        logit.P(3) = direct.P(3) = ua;
        logit.P(4) = direct.P(4) = ua * 1.3;
        direct.P(1) = direct.P(2) = 0;
        ASSERT_EQ(logit.Eval(), direct.Eval()) << "UA " << ua;
        logit.P(1) += 1E-3;
        ASSERT_NE(logit.Eval(), direct.F) << "UA " << ua;
    }
}

TEST(ModelEval, SameNumbersAsTheCountRoutines) {
    SyntheticSpec spec;
    std::tie(spec.NSpp, spec.NQuad, spec.NQuadHab, spec.Seed) = std::make_tuple(30, 12, 40L, 7ULL);
    ModelFixture f;
    for (int k = 0; k < 3; ++k) f.s.backend.AnswerMsgBox("", platform::vbOK);
    ASSERT_TRUE(f.Setup(testing::WriteData("synth30.dat", SimulateQuadratData(spec).Text), 30, 12, 40, true, true));
    for (int i = 1; i <= 30; ++i)   // UA 1 gives R = 1 in the last quadrats
        std::tie(f.P(i), f.P(30 + i)) = std::make_pair(-4 + 0.25 * i, i % 5 == 0 ? 0 : std::log(0.5 + 1.5 * i));
    f.Eval(1);
    ModelState& m = f.app.model;
    CountProbCache c;
    const double NW = kNotWanted;
    auto prob = [&](bool bb, double n, long x, int j, double T) {
        double r = 0, d1 = NW, d2 = NW, d3 = NW, d4 = NW, d5 = NW, p = m.QuadProb(j);
        if (bb && n != 1)
            QuadratProbBetaBinomial(c, r, n, x, j, p, T, d1, d2, d3, d4, d5);
        else
            QuadratProbBinomial(c, r, n, x, j, p, d1, d2, d3, d4, d5);
        return Clamp(r);
    };
    for (int i = 1; i <= 30; ++i) {
        const double N = m.SpN(i), T = m.ThetaSq(i);
        const bool bb = T > (N > 1 ? (m.ShrinkConst - 1) / (N - 1) : m.ShrinkConst - 1) * (1 + 1E-12);
        c.Invalidate();
        double det = 1;
        for (int j = 1; j <= 12; ++j) det *= prob(bb, N, 0, j, T);
        ASSERT_EQ(m.DetectProb(i), 1 - det) << i;
        c.Invalidate();
        for (int j = 1; j <= 12; ++j)
            ASSERT_EQ(m.CellNegLnP(i, j), -std::log(prob(bb, N - m.CumCount(i, j - 1), m.Count(i, j), j, T)))
                << i << "," << j;
    }
}

TEST(ModelEval, OneSpeciesRecomputedGivesTheFullEvaluation) {
    const auto path = testing::WriteData("synth225.dat", SyntheticDataText(3));
    ModelFixture inc, full;
    for (ModelFixture* f : {&inc, &full}) {
        for (int k = 0; k < 3; ++k) f->s.backend.AnswerMsgBox("", platform::vbOK);
        ASSERT_TRUE(f->Setup(path, 225, 50, 1000, true, true));
        for (int i = 1; i <= 225; ++i) std::tie(f->P(i), f->P(225 + i)) = std::make_pair(-3 + 0.01 * i, 2 + 0.003 * i);
    }
    inc.Eval(1);
    for (int step = 0; step < 3; ++step) {
        const int sp = 17 + 60 * step;
        inc.P(sp) += 0.4;
        inc.P(225 + sp) -= 0.2;
        const double F = inc.Eval(2 + step);
        full.app.model.EvalCache.Clear();   // a fresh model evaluates every species
        full.P = inc.P;
        ASSERT_EQ(F, full.Eval(step == 0 ? 1 : 2 + step));
        const ModelState &a = inc.app.model, &b = full.app.model;
        EXPECT_EQ(std::make_tuple(a.ESRCurrent, a.ThetaVarInf, a.BestF, a.ESR, a.LastQuadP),
                  std::make_tuple(b.ESRCurrent, b.ThetaVarInf, b.BestF, b.ESR, b.LastQuadP));
        EXPECT_TRUE(a.DetectProb == b.DetectProb && a.BestSpF == b.BestSpF && a.BestDetectProb == b.BestDetectProb &&
                    a.BestPar == b.BestPar);
    }
    // A clamped parameter is written back on a cached evaluation as well.
    for (int k = 0; k < 2; ++k) {
        inc.P(5) = -40;
        inc.Eval();
        const double low = inc.app.model.EvalCache.ThetaMin[5];
        EXPECT_EQ(inc.P(5), std::log(low / (1 - low)));
    }
}

TEST(ModelEval, ThetaVarianceOfASingleCertainSpecies) {
    ModelFixture f;
    ASSERT_TRUE(f.Setup(CountFile("single.dat", {"A"}, {{900}, {800}, {700}}), 1, 3, 5));
    std::tie(f.P(1), f.P(2)) = std::make_pair(0.2, 0.01);
    f.Eval(1);   // S - 1 = 0: the variance is 0
    EXPECT_EQ(std::make_tuple(f.app.model.DetectProb(1), f.app.model.ThetaVarInf), std::make_tuple(1.0, 0.0));
}

// Analytical derivatives against central differences of F, moving every
// member of a fuse group together.
void CheckDerivatives(bool logit, bool ln, bool fused) {
    SCOPED_TRACE(std::to_string(logit) + std::to_string(ln) + std::to_string(fused));
    const int NS = 5, np = 2 * NS;
    ModelFixture f;
    ASSERT_TRUE(f.Setup(CountFile("derivs.dat", {"A", "B", "C", "D", "E"},
                                  {{9, 4, 2, 1, 3}, {5, 0, 3, 2, 0}, {0, 6, 1, 0, 2}, {7, 1, 0, 4, 1}, {3, 2, 2, 0, 1}}),
                        NS, 5, 25, logit, ln));
    // Species 5 is binomial; species 4 has a = 1 in its second quadrat.
    const double theta[NS + 1] = {0, 0.35, 0.2, 0.5, 0.2, 0.002}, ua[NS + 1] = {0, 4.3, 7.1, 2.6, 4.3, 5.2};
    for (int i = 1; i <= NS; ++i) {
        f.P(i) = logit ? std::log(theta[i] / (1 - theta[i])) : theta[i];
        f.P(NS + i) = ln ? std::log(ua[i]) : ua[i];
    }
    // Theta of 2 and 4; UA of 1 and 4; Theta and UA of 3 and 5.
    const int members[4][2] = {{2, 4}, {NS + 1, NS + 4}, {3, 5}, {NS + 3, NS + 5}};
    for (int g = 0; fused && g < 4; ++g) {
        f.Fuse(members[g][0]) = f.Fuse(members[g][1]) = std::string(1, static_cast<char>('A' + g));
        f.P(members[g][1]) = f.P(members[g][0]);
    }
    auto group = [&](int k) {
        std::vector<int> g;
        for (int m = k <= NS ? 1 : NS + 1, end = m + NS; m < end; ++m)
            if (m == k || (f.Fuse(k) != "~~" && f.Fuse(m) == f.Fuse(k))) g.push_back(m);
        return g;
    };
    auto moved = [&](int k, double h) {
        platform::Vec<double> x = f.P;
        for (int m : group(k)) x(m) += h;
        return x;
    };
    auto gradAt = [&](platform::Vec<double> x) {
        f.Call(x, -2);
        return f.Grad;
    };
    const platform::Vec<double> grad = gradAt(f.P);
    const platform::Matrix<double> hess = f.Hess;
    for (int k = 1; k <= np; ++k) {
        if (group(k).front() != k) {   // a follower keeps 0
            EXPECT_EQ(std::make_pair(grad(k), hess(k, k)), std::make_pair(0.0, 0.0)) << k;
            continue;
        }
        const double h = 1E-5 * std::fmax(1.0, std::fabs(f.P(k)));
        platform::Vec<double> up = moved(k, h), dn = moved(k, -h);
        const double numGrad = (f.Eval(up) - f.Eval(dn)) / (2 * h);
        EXPECT_NEAR(grad(k), numGrad, 1E-5 * std::fmax(1.0, std::fabs(numGrad))) << "gradient " << k;
        const platform::Vec<double> gu = gradAt(moved(k, h)), gd = gradAt(moved(k, -h));
        for (int m = 1; m <= np; ++m) {
            if (group(m).front() != m) continue;
            const double num = (gu(m) - gd(m)) / (2 * h);
            EXPECT_NEAR(hess(m, k), num, 2E-5 * std::fmax(1.0, std::fabs(num))) << "Hessian " << m << "," << k;
        }
    }
}

TEST(ModelDerivs, AllLinkCombinationsWithAndWithoutFuseGroups) {
    for (bool fused : {false, true})
        for (bool logit : {false, true})
            for (bool ln : {false, true}) CheckDerivatives(logit, ln, fused);
}

}  // namespace
}  // namespace tivelor

namespace tivelor {
namespace {

// F on the 225-species benchmark set, recorded from the straightforward
// evaluation, for a vector with every species overdispersed and for one that
// mixes binomial species, beta-binomial ones and remainders of exactly 1.
TEST(ModelEval, FOnTheBenchmarkSetStaysAsRecorded) {
    const auto path = testing::WriteData("bench225.dat", SyntheticDataText(1));
    ModelFixture f;
    for (int k = 0; k < 3; ++k) f.s.backend.AnswerMsgBox("", platform::vbOK);
    ASSERT_TRUE(f.Setup(path, 225, 50, 1000, true, true));
    for (int i = 1; i <= 225; ++i) std::tie(f.P(i), f.P(225 + i)) = std::make_pair(-2.5 + 0.004 * i, 3 + 0.01 * i);
    const double overdispersed = f.Eval(1);
    for (int i = 1; i <= 225; ++i)
        std::tie(f.P(i), f.P(225 + i)) =
            std::make_pair(i % 3 == 0 ? -18.42 : -4 + 0.02 * i, i % 5 == 0 ? 0.0 : std::log(0.3 + 0.7 * i));
    const double mixed = f.Eval(1);
    EXPECT_NEAR(overdispersed, 16129.050813256739, 16129.05 * 1E-10);
    EXPECT_NEAR(mixed, 19454.444604118522, 19454.44 * 1E-10);
}

}  // namespace
}  // namespace tivelor
