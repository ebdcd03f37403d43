// Data and working values of the quadrat-count model.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "model/ReportState.h"
#include "platform/arrays.h"

namespace tivelor {

// Species-by-quadrat array (-NSpp To NSpp, 0 To NQuad). Index -i holds
// species i in the data file's column order, +i the species of rank i.
template <class T>
class SpeciesMatrix {
public:
    SpeciesMatrix() = default;
    void ReDim(long nspp, long nquad) {
        nspp_ = nspp < 0 ? 0 : nspp;
        ncol_ = nquad < 0 ? 0 : nquad + 1;
        v_.assign(static_cast<std::size_t>(2 * nspp_ + 1) * static_cast<std::size_t>(ncol_), T{});
    }
    long UBound1() const { return nspp_; }
    long UBound2() const { return ncol_ - 1; }
    T& operator()(long i, long j) {
        TIVELOR_CHECK_INDEX(i >= -nspp_ && i <= nspp_ && j >= 0 && j < ncol_);
        return v_[static_cast<std::size_t>(i + nspp_) * static_cast<std::size_t>(ncol_) +
                  static_cast<std::size_t>(j)];
    }
    const T& operator()(long i, long j) const {
        TIVELOR_CHECK_INDEX(i >= -nspp_ && i <= nspp_ && j >= 0 && j < ncol_);
        return v_[static_cast<std::size_t>(i + nspp_) * static_cast<std::size_t>(ncol_) +
                  static_cast<std::size_t>(j)];
    }

private:
    long nspp_ = 0, ncol_ = 0;
    std::vector<T> v_;
};

// What the set-up reads from the initialization dialog frmInitialize:
// the texts of its three number boxes, its two check boxes' values (1 checked)
// and the data file's path. The dialog fills it before calling MODEL with NF = 0.
struct InitSettings {
    std::string cboQuadsinHab;     // quadrats in the defined habitat
    std::string cboQuadsSampled;   // quadrats sampled
    std::string cboNSpecies;       // species sampled
    int chkLogitThetas = 0;        // 1: estimate Logit[Theta]
    int chkLogNs = 0;              // 1: estimate Ln[UA]
    std::string txtDataFile;
};

// Per-species results of the last evaluation and the inputs that produced
// them, so that an evaluation recomputes only the species whose input changed.
// Code that changes Count, CumCount or QuadProb after the set-up calls Clear().
struct SpeciesEvalCache {
    std::vector<char> Valid;                  // likelihood terms of species i are current
    std::vector<char> RawValid;               // RawTheta/RawUA hold the last inputs
    std::vector<double> RawTheta, RawUA;      // P(i), P(NSpp + i) as received
    std::vector<double> KeyTheta, KeyUA;      // the same after clamping
    std::vector<double> UA, N, ShrinkRatio, ThetaMin, ThetaSq;
    std::vector<double> SpNegLnL, DetectProb, LastQuadP;
    std::vector<double> QuadProb, Totals;     // the data the terms were computed from
    std::vector<double> LogP, Log1mP;         // Ln of each quadrat's probability and its complement
    std::vector<double> Work;                 // per-quadrat log-gamma terms of one species
    void Clear() { Valid.clear(); RawValid.clear(); }
};

struct ModelState {
    std::string ModelTitle;
    std::string DataFile, DataFileTitle;

    // Set-up input and outcome.
    InitSettings Init;
    bool SetupOK = false;   // whether the last set-up (NF = 0) succeeded

    // Model data.
    int NSpp = 0;
    int NQuad = 0;
    long NQuadHab = 0;
    int LogitThetaLink = 0, LnUALink = 0;   // True = -1
    SpeciesMatrix<long> Count;
    SpeciesMatrix<double> CumCount;
    platform::Vec<double> QuadProb;
    platform::OffsetVec<std::string> SpName;
    platform::Vec<std::string> QuadID;
    double ShrinkConst = 1.0001;

    // Statistics of the counts (sorted species).
    platform::Vec<double> SpMeanCount, SpVarCount, OccupiedFrac;
    int NUniques = 0, NDuplicates = 0, NSingletons = 0, NDoubletons = 0;
    platform::Matrix<int> UniqueCell;        // Boolean (0 To NSpp, 0 To NQuad)
    platform::Matrix<double> JointAbsent;    // (0 To NSpp, 0 To NSpp)
    platform::Matrix<double> ExpCount;       // (0 To NSpp, 0 To NQuad)
    platform::Vec<double> AccumCurve, IncrCurve, AccumX;

    // Work values of the last evaluation.
    platform::Vec<double> SpUA, SpN, ThetaSq, DetectProb;
    platform::Matrix<double> CellNegLnP;     // (0 To NSpp, 0 To NQuad)
    double ShrinkRatio = 0, ThetaMin = 0, LastQuadP = 0;
    double ESRCurrent = 0, ThetaSumInf = 0, ThetaSqSumInf = 0, ThetaMeanInf = 0,
           ThetaVarInf = 0;

    // Best-point record since the last evaluation with NF = 1.
    double BestF = 0;
    platform::Vec<double> BestPar;
    platform::Vec<double> BestSpF, BestDetectProb, SpTheta, BestUA, ThetaSqFloor;
    platform::Vec<long> TotAbund;
    double ESR = 0;

    // Control flags (Integer Booleans).
    int AskGuessInitial = 0, GuessPars = 0, AskConvert = 0;
    int ThetaGridRes = 10, UAGridRes = 10;   // initial-value grid intervals

    // Results of the last results report.
    ReportState Report;

    // Per-species results of the last evaluation.
    SpeciesEvalCache EvalCache;
};

}  // namespace tivelor
