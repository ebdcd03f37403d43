// Analytical gradient and Hessian of F = -2 ln L (MODEL with NF = -2).
#include <cmath>
#include <string>
#include <vector>

#include "model/ModelServices.h"
#include "numerics/CountProb.h"
#include "state/App.h"

namespace tivelor {

void CalcAnalyticalDerivatives(App& app, int NumPars, platform::Vec<double>& P,
                               platform::Vec<double>& StepSize,
                               platform::Vec<std::string>& FuseCode,
                               platform::Vec<double>& AnaGrad,
                               platform::Matrix<double>& AnaHess) {
    (void)StepSize;   // fixed parameters get their entries like free ones
    ModelState& m = app.model;
    const int NSpp = m.NSpp, NQuad = m.NQuad;
    AnaHess.ReDim(NumPars, NumPars);
    AnaGrad.ReDim(NumPars);
    if (NSpp < 1 || NumPars < 2 * NSpp || P.UBound() < 2L * NSpp) return;
    const auto n = static_cast<std::size_t>(NSpp) + 1;
    auto at = [](int i) { return static_cast<std::size_t>(i); };

    // Clamp pass, as the evaluation does.
    std::vector<SpeciesInputs> in(n);
    for (int i = 1; i <= NSpp; ++i) {
        ClampSpecies(m, P, i, in[at(i)]);
        m.SpUA(i) = in[at(i)].UA;
        m.SpN(i) = in[at(i)].N;
        m.ThetaSq(i) = in[at(i)].ThetaSq;
    }

    // Derivatives of each species' -ln L in Theta and UA.
    std::vector<double> GT(n), HTT(n), GU(n), HUU(n), HTU(n);
    numerics::CountProbCache cache;
    for (int i = 1; i <= NSpp; ++i) {
        const SpeciesInputs& s = in[at(i)];
        m.ShrinkRatio = s.ShrinkRatio;
        if (s.logitMin) m.ThetaMin = s.ThetaMin;
        const double rho = s.ThetaSq;
        const bool bb = UsesBetaBinomial(rho, s.ShrinkRatio);
        double B1 = 0, B2 = 0, B3 = 0, B4 = 0, B5 = 0;
        cache.Invalidate();
        for (int q = 1; q <= NQuad; ++q) {
            const double nn = s.N - m.CumCount(i, q - 1);
            const long x = m.Count(i, q);
            double r = 0, dN = 0, dNN = 0, dR = 0, dRR = 0, dNR = 0;
            if (bb && nn != 1)
                numerics::QuadratProbBetaBinomial(cache, r, nn, x, q, m.QuadProb(q), rho, dN, dNN,
                                                  dR, dRR, dNR);
            else
                numerics::QuadratProbBinomial(cache, r, nn, x, q, m.QuadProb(q), dN, dNN, dR, dRR,
                                              dNR);
            const double p = ClampQuadP(r);
            m.LastQuadP = p;
            B1 += dN / p;
            B2 += dR / p;
            B3 += (p * dNN - dN * dN) / (p * p);
            B4 += (p * dRR - dR * dR) / (p * p);
            B5 += (p * dNR - dN * dR) / (p * p);
        }
        const double theta = std::sqrt(rho);
        GU[at(i)] = -B1;
        HUU[at(i)] = -B3;
        GT[at(i)] = -2 * theta * B2;
        HTT[at(i)] = -(4 * theta * theta * B4 + 2 * B2);
        HTU[at(i)] = -2 * theta * B5;
        app.ui.DoEvents();
    }

    // Link factors.
    std::vector<double> s1(n, 1.0), s2(n, 0.0), u1(n, 1.0), u2(n, 0.0);
    for (int i = 1; i <= NSpp; ++i) {
        if (m.LogitThetaLink) {
            const double e = std::exp(P(i));
            s1[at(i)] = e / ((e + 1) * (e + 1));
            s2[at(i)] = e * (1 - e) / ((e + 1) * (e + 1) * (e + 1));
        }
        if (m.LnUALink) u1[at(i)] = u2[at(i)] = std::exp(P(NSpp + i));
    }

    // Fuse groups: every parameter belongs to the group led by the lowest-
    // numbered parameter of its kind with the same code; an unfused one leads
    // a group of its own.
    auto code = [&](int k) -> const std::string& {
        static const std::string unfused = "~~";
        return k <= FuseCode.UBound() ? FuseCode(k) : unfused;
    };
    std::vector<int> leadT(n), leadU(n);
    for (int i = 1; i <= NSpp; ++i) {
        leadT[at(i)] = i;
        leadU[at(i)] = i;
        if (code(i) != "~~")
            for (int j = 1; j < i; ++j)
                if (code(j) == code(i)) {
                    leadT[at(i)] = j;
                    break;
                }
        if (code(NSpp + i) != "~~")
            for (int j = 1; j < i; ++j)
                if (code(NSpp + j) == code(NSpp + i)) {
                    leadU[at(i)] = j;
                    break;
                }
    }

    std::vector<double> SGT(n), STT(n), SGU(n), SUU(n);
    for (int j = 1; j <= NSpp; ++j) {
        const int lt = leadT[at(j)], lu = leadU[at(j)];
        AnaGrad(lt) += 2 * GT[at(j)] * s1[at(lt)];
        SGT[at(lt)] += GT[at(j)];
        STT[at(lt)] += HTT[at(j)];
        AnaGrad(NSpp + lu) += 2 * GU[at(j)] * u1[at(lu)];
        SGU[at(lu)] += GU[at(j)];
        SUU[at(lu)] += HUU[at(j)];
        // Theta and UA cross term of the two groups that share species j,
        // also when one of them is unfused or they are led by different
        // species: the entries are those of F's own second derivatives.
        AnaHess(lt, NSpp + lu) += 2 * s1[at(lt)] * HTU[at(j)] * u1[at(lu)];
    }
    for (int i = 1; i <= NSpp; ++i) {
        if (leadT[at(i)] == i)
            AnaHess(i, i) = 2 * (s1[at(i)] * s1[at(i)] * STT[at(i)] + s2[at(i)] * SGT[at(i)]);
        if (leadU[at(i)] == i)
            AnaHess(NSpp + i, NSpp + i) =
                2 * (u1[at(i)] * u1[at(i)] * SUU[at(i)] + u2[at(i)] * SGU[at(i)]);
    }
    for (int j = 1; j <= NSpp; ++j) {
        const int lt = leadT[at(j)], lu = leadU[at(j)];
        AnaHess(NSpp + lu, lt) = AnaHess(lt, NSpp + lu);
        app.ui.DoEvents();
    }
}

}  // namespace tivelor
