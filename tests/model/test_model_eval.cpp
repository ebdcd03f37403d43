#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "ModelTestSupport.h"
#include "model/CountProb.h"
#include "model/SyntheticData.h"

namespace tivelor {
namespace {

using testing::CountText;
using testing::ModelFixture;
using testing::TempFile;

double Clamp(double p) { return std::fmin(std::fmax(p, 1E-08), 0.99999999); }

double LnChoose(double n, double x) {
    return std::lgamma(n + 1) - std::lgamma(x + 1) - std::lgamma(n - x + 1);
}

// Probability of x of n individuals in a quadrat with allocation probability p,
// from the product formulas.
double CountP(double n, double x, double p, double rho) {
    if (rho == 0) return std::exp(LnChoose(n, x) + x * std::log(p) + (n - x) * std::log(1 - p));
    const double a = (1 - rho) * p / rho, b = (1 - p) * a / p;
    auto lnB = [](double u, double v) { return std::lgamma(u) + std::lgamma(v) - std::lgamma(u + v); };
    return std::exp(LnChoose(n, x) + lnB(x + a, n - x + b) - lnB(a, b));
}

const std::vector<std::vector<long>> kTiny = {{6, 2}, {0, 3}, {3, 0}};

TEST(ModelEval, MatchesTheProductFormula) {
    ModelFixture f;
    ASSERT_TRUE(f.Setup(TempFile("tiny.dat", CountText({"A", "B"}, kTiny)), 2, 3, 10));
    // Species A binomial (Theta 0), species B beta-binomial (Theta 0.3).
    f.P(1) = 0;
    f.P(2) = 0.3;
    f.P(3) = 4;
    f.P(4) = 2.5;
    const double F = f.Eval(1);
    const double theta[3] = {0, 0, 0.3}, ua[3] = {0, 4, 2.5};
    const double tot[3] = {0, 9, 5};
    double expectF = 0, esr = 0;
    for (int i = 1; i <= 2; ++i) {
        const double n = ua[i] + tot[i], rho = theta[i] * theta[i];
        double placed = 0, miss = 1;
        for (int j = 1; j <= 3; ++j) {
            const double p = 1.0 / (10 - j + 1);
            const double x = static_cast<double>(kTiny[static_cast<std::size_t>(j - 1)][static_cast<std::size_t>(i - 1)]);
            expectF += -2 * std::log(Clamp(CountP(n - placed, x, p, rho)));
            miss *= Clamp(CountP(n, 0, p, rho));
            placed += x;
        }
        EXPECT_NEAR(f.app.model.DetectProb(i), 1 - miss, 1E-9);
        esr += 1 / (1 - miss);
    }
    EXPECT_NEAR(F, expectF, 1E-7);
    EXPECT_NEAR(f.app.model.ESRCurrent, esr, 1E-8);
    EXPECT_NEAR(f.app.model.BestSpF(1) + f.app.model.BestSpF(2), F, 1E-12);
    EXPECT_EQ(f.app.model.TotAbund(1), 13);
    EXPECT_EQ(f.app.model.TotAbund(2), 8);   // Int(7.5 + 0.5)
    EXPECT_EQ(f.app.model.SpTheta(2), 0.3 * 0.3);
}

TEST(ModelEval, ClampsAreWrittenBack) {
    ModelFixture f;
    const auto path = TempFile("clamp.dat", CountText({"A", "B"}, {{60, 2}, {40, 3}}));
    ASSERT_TRUE(f.Setup(path, 2, 2, 10));
    f.P(1) = -0.5;
    f.P(2) = 2;
    f.P(3) = 0;
    f.P(4) = 5E9;
    f.Eval();
    EXPECT_EQ(f.P(1), 0.0);
    EXPECT_EQ(f.P(2), 0.99999999);
    EXPECT_EQ(f.P(3), 0.01);
    EXPECT_EQ(f.P(4), 1E9);

    ModelFixture g;
    ASSERT_TRUE(g.Setup(path, 2, 2, 10, true, true));
    g.P(1) = -18.42;
    g.P(2) = 25;
    g.P(3) = 0;   // UA = 1: N = 101 for species A
    g.P(4) = 30;
    g.Eval();
    EXPECT_NEAR(g.P(1), std::log(1E-3 / (1 - 1E-3)), 1E-9);
    EXPECT_NEAR(g.P(1), -6.907, 1E-3);
    EXPECT_EQ(g.P(2), std::log(0.99999999 / (1 - 0.99999999)));
    EXPECT_EQ(g.P(4), std::log(1E9));
    g.P(3) = -10;
    g.Eval();
    EXPECT_EQ(g.P(3), std::log(0.01));

    // The direct mode's lower bound stays 0 after a logit-mode run.
    ASSERT_TRUE(g.Setup(path, 2, 2, 10, false, false));
    g.P(1) = 0;
    g.P(2) = -1E-9;
    g.P(3) = g.P(4) = 1;
    g.Eval();
    EXPECT_EQ(g.P(1), 0.0);
    EXPECT_EQ(g.P(2), 0.0);
}

TEST(ModelEval, BestPointRecordAndSelectors) {
    ModelFixture f;
    ASSERT_TRUE(f.Setup(TempFile("best.dat", CountText({"A", "B"}, kTiny)), 2, 3, 10));
    f.P(1) = f.P(2) = 0.2;
    f.P(3) = f.P(4) = 3;
    const double good = f.Eval(1);
    platform::Vec<double> worse = f.P;
    worse(3) = 500;
    const double bad = f.Eval(worse, 2);
    ASSERT_GT(bad, good);
    EXPECT_EQ(f.app.model.BestF, good);
    EXPECT_EQ(f.app.model.BestPar(3), 3);
    f.Eval(worse, 1);   // NF = 1 restarts the record whatever F is
    EXPECT_EQ(f.app.model.BestF, bad);
    EXPECT_EQ(f.app.model.BestPar(3), 500);
    EXPECT_NEAR(f.app.model.ThetaSqFloor(1), 0.0001 / (509 - 1) + 1E-06, 1E-15);

    long nf = -3;
    const ModelState before = f.app.model;
    platform::Vec<double> x = worse;
    x(1) = -7;
    f.F = 123;
    MODEL(f.app, f.F, x, f.Step, f.Names, f.Fuse, f.NumPars, nf, f.NObs, f.Grad, f.Hess,
          f.SampleSize);
    EXPECT_EQ(f.F, 123);
    EXPECT_EQ(x(1), -7);
    EXPECT_EQ(f.app.model.BestF, before.BestF);
}

TEST(ModelEval, ThetaAtLowerClampUsesTheBinomial) {
    // Logit[Theta] = -18.42 is raised to the species' lower clamp, where Theta
    // squared equals ShrinkRatio only to a few ulps: F must equal that of
    // Theta = 0 in the direct mode for every UA.
    const auto path = TempFile("clampchoice.dat", CountText({"A", "B"}, {{7, 2}, {0, 1}, {4, 0}}));
    ModelFixture logit, direct;
    ASSERT_TRUE(logit.Setup(path, 2, 3, 30, true, false));
    ASSERT_TRUE(direct.Setup(path, 2, 3, 30, false, false));
    int beta = 0;
    for (int k = 0; k < 300; ++k) {
        const double ua = 0.37 + 0.731 * k;
        logit.P(1) = logit.P(2) = -18.42;
        logit.P(3) = direct.P(3) = ua;
        logit.P(4) = direct.P(4) = ua * 1.3;
        direct.P(1) = direct.P(2) = 0;
        ASSERT_EQ(logit.Eval(), direct.Eval()) << "UA " << ua;
        // Just above the clamp the beta-binomial is used.
        logit.P(1) = -18.42;
        logit.Eval();
        logit.P(1) += 1E-3;
        if (logit.Eval() != direct.F) ++beta;
    }
    EXPECT_EQ(beta, 300);
}

TEST(ModelEval, SameNumbersAsTheCountRoutines) {
    SyntheticSpec spec;
    spec.NSpp = 30;
    spec.NQuad = 12;
    spec.NQuadHab = 40;
    spec.Seed = 7;
    const SyntheticData data = SimulateQuadratData(spec);
    ModelFixture f;
    for (int k = 0; k < 3; ++k) f.s.backend.AnswerMsgBox("", platform::vbOK);
    ASSERT_TRUE(f.Setup(TempFile("synth30.dat", data.Text), 30, 12, 40, true, true));
    for (int i = 1; i <= 30; ++i) {
        f.P(i) = -4 + 0.25 * i;
        f.P(30 + i) = i % 5 == 0 ? 0 : std::log(0.5 + 1.5 * i);   // UA 1 gives R = 1 at the end
    }
    f.Eval(1);
    ModelState& m = f.app.model;
    CountProbCache c;
    const double NW = kNotWanted;
    for (int i = 1; i <= 30; ++i) {
        const double N = m.SpN(i), T = m.ThetaSq(i);
        const double sr = N > 1 ? (m.ShrinkConst - 1) / (N - 1) : m.ShrinkConst - 1;
        const bool bb = T > sr * (1 + 1E-12);
        c.Invalidate();
        double det = 1;
        for (int j = 1; j <= 12; ++j) {
            double r = 0, d1 = NW, d2 = NW, d3 = NW, d4 = NW, d5 = NW, p = m.QuadProb(j);
            if (bb && N != 1)
                QuadratProbBetaBinomial(c, r, N, 0, j, p, T, d1, d2, d3, d4, d5);
            else
                QuadratProbBinomial(c, r, N, 0, j, p, d1, d2, d3, d4, d5);
            det *= Clamp(r);
        }
        ASSERT_EQ(m.DetectProb(i), 1 - det) << i;
        c.Invalidate();
        for (int j = 1; j <= 12; ++j) {
            const double R = N - m.CumCount(i, j - 1);
            double r = 0, d1 = NW, d2 = NW, d3 = NW, d4 = NW, d5 = NW, p = m.QuadProb(j);
            if (bb && R != 1)
                QuadratProbBetaBinomial(c, r, R, m.Count(i, j), j, p, T, d1, d2, d3, d4, d5);
            else
                QuadratProbBinomial(c, r, R, m.Count(i, j), j, p, d1, d2, d3, d4, d5);
            ASSERT_EQ(m.CellNegLnP(i, j), -std::log(Clamp(r))) << i << "," << j;
        }
    }
}

TEST(ModelEval, SpeciesRecomputedAloneGiveTheFullEvaluation) {
    const std::string text = SyntheticDataText(3);
    const auto path = TempFile("synth225.dat", text);
    auto setup = [&](ModelFixture& f) {
        for (int k = 0; k < 3; ++k) f.s.backend.AnswerMsgBox("", platform::vbOK);
        ASSERT_TRUE(f.Setup(path, 225, 50, 1000, true, true));
        for (int i = 1; i <= 225; ++i) {
            f.P(i) = -3 + 0.01 * i;
            f.P(225 + i) = 2 + 0.003 * i;
        }
    };
    ModelFixture inc, full;
    setup(inc);
    setup(full);
    inc.Eval(1);
    for (int step = 0; step < 3; ++step) {
        const int sp = 17 + 60 * step;
        inc.P(sp) += 0.4;
        inc.P(225 + sp) -= 0.2;
        const double F = inc.Eval(2 + step);
        // A fresh model evaluates every species.
        full.app.model.EvalCache.Clear();
        full.P = inc.P;
        ASSERT_EQ(F, full.Eval(step == 0 ? 1 : 2 + step));
        const ModelState &a = inc.app.model, &b = full.app.model;
        EXPECT_EQ(a.ESRCurrent, b.ESRCurrent);
        EXPECT_EQ(a.ThetaVarInf, b.ThetaVarInf);
        EXPECT_EQ(a.BestF, b.BestF);
        EXPECT_EQ(a.ESR, b.ESR);
        EXPECT_EQ(a.LastQuadP, b.LastQuadP);
        for (int i = 1; i <= 225; ++i) {
            ASSERT_EQ(a.DetectProb(i), b.DetectProb(i));
            ASSERT_EQ(a.BestSpF(i), b.BestSpF(i));
            ASSERT_EQ(a.BestDetectProb(i), b.BestDetectProb(i));
        }
        EXPECT_EQ(a.BestPar, b.BestPar);
    }
    // A clamped parameter is written back on a cached evaluation as well.
    inc.P(5) = -40;
    inc.Eval();
    const double clamped = inc.P(5);
    inc.P(5) = -40;
    inc.Eval();
    EXPECT_EQ(inc.P(5), clamped);
    EXPECT_GT(clamped, -40);
}

TEST(ModelEval, ThetaVarianceOfASingleCertainSpecies) {
    ModelFixture f;
    ASSERT_TRUE(f.Setup(TempFile("single.dat", CountText({"A"}, {{900}, {800}, {700}})), 1, 3, 5));
    f.P(1) = 0.2;
    f.P(2) = 0.01;
    f.Eval(1);
    EXPECT_EQ(f.app.model.DetectProb(1), 1.0);
    EXPECT_EQ(f.app.model.ThetaVarInf, 0.0);
    EXPECT_NEAR(f.app.model.ThetaMeanInf, 0.2, 1E-15);
}

// Analytical derivatives against central differences of F, moving every
// member of a fuse group together.
void CheckDerivatives(bool logit, bool ln, bool fused) {
    const std::vector<std::vector<long>> rows = {
        {9, 4, 2, 1, 3}, {5, 0, 3, 2, 0}, {0, 6, 1, 0, 2}, {7, 1, 0, 4, 1}, {3, 2, 2, 0, 1}};
    ModelFixture f;
    ASSERT_TRUE(f.Setup(TempFile("derivs.dat", CountText({"A", "B", "C", "D", "E"}, rows)), 5, 5,
                        25, logit, ln));
    const int NS = 5;
    // Species 5 is binomial; species 4 has a = 1 in its second quadrat.
    const double theta[NS + 1] = {0, 0.35, 0.2, 0.5, 0.2, 0.002};
    const double ua[NS + 1] = {0, 4.3, 7.1, 2.6, 4.3, 5.2};
    for (int i = 1; i <= NS; ++i) {
        f.P(i) = logit ? std::log(theta[i] / (1 - theta[i])) : theta[i];
        f.P(NS + i) = ln ? std::log(ua[i]) : ua[i];
    }
    if (fused) {
        // Theta of 2 and 4; UA of 1 and 4; UA of 3 and 5 with Theta of 3 and 5.
        f.Fuse(2) = f.Fuse(4) = "A";
        f.Fuse(NS + 1) = f.Fuse(NS + 4) = "B";
        f.Fuse(3) = f.Fuse(5) = "C";
        f.Fuse(NS + 3) = f.Fuse(NS + 5) = "D";
        f.P(4) = f.P(2);
        f.P(NS + 4) = f.P(NS + 1);
        f.P(5) = f.P(3);
        f.P(NS + 5) = f.P(NS + 3);
    }
    auto group = [&](int k) {
        std::vector<int> g;
        const int lo = k <= NS ? 1 : NS + 1;
        for (int m = lo; m < lo + NS; ++m)
            if (m == k || (f.Fuse(k) != "~~" && f.Fuse(m) == f.Fuse(k))) g.push_back(m);
        return g;
    };
    auto isLead = [&](int k) { return group(k).front() == k; };
    auto moved = [&](int k, double h) {
        platform::Vec<double> x = f.P;
        for (int m : group(k)) x(m) += h;
        return x;
    };
    const int np = 2 * NS;
    platform::Vec<double> x0 = f.P;
    f.Derivs(x0);
    const platform::Vec<double> grad = f.Grad;
    const platform::Matrix<double> hess = f.Hess;
    auto gradAt = [&](platform::Vec<double> x) {
        f.Derivs(x);
        return f.Grad;
    };
    for (int k = 1; k <= np; ++k) {
        if (!isLead(k)) {
            EXPECT_EQ(grad(k), 0.0) << k;
            EXPECT_EQ(hess(k, k), 0.0) << k;
            continue;
        }
        const double h = 1E-5 * std::fmax(1.0, std::fabs(f.P(k)));
        platform::Vec<double> up = moved(k, h), dn = moved(k, -h);
        const double numGrad = (f.Eval(up) - f.Eval(dn)) / (2 * h);
        EXPECT_NEAR(grad(k), numGrad, 1E-5 * std::fmax(1.0, std::fabs(numGrad)))
            << "gradient " << k;
        const platform::Vec<double> gu = gradAt(moved(k, h)), gd = gradAt(moved(k, -h));
        for (int m = 1; m <= np; ++m) {
            if (!isLead(m)) continue;
            const double num = (gu(m) - gd(m)) / (2 * h);
            EXPECT_NEAR(hess(m, k), num, 2E-5 * std::fmax(1.0, std::fabs(num)))
                << "Hessian " << m << "," << k;
        }
    }
}

TEST(ModelDerivs, DirectLinks) { CheckDerivatives(false, false, false); }
TEST(ModelDerivs, LogitTheta) { CheckDerivatives(true, false, false); }
TEST(ModelDerivs, LnUA) { CheckDerivatives(false, true, false); }
TEST(ModelDerivs, BothLinks) { CheckDerivatives(true, true, false); }
TEST(ModelDerivs, FusedGroupsDirect) { CheckDerivatives(false, false, true); }
TEST(ModelDerivs, FusedGroupsBothLinks) { CheckDerivatives(true, true, true); }
TEST(ModelDerivs, FusedGroupsMixedLinks) { CheckDerivatives(true, false, true); }

}  // namespace
}  // namespace tivelor
