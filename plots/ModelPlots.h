// The model's plot pages: the spread of the species' Thetas, Logit[Thetas]
// and Ln[abundances] beside their fitted densities, the accumulation curve,
// the counts by quadrat, the sampled and estimated abundances, and the
// histograms of the randomized richness estimates. Each page rebuilds the
// plot request and shows the plot window.
#pragma once

#include <string>
#include <vector>

#include "numerics/PlotAxes.h"
#include "platform/arrays.h"
#include "state/PlotRequest.h"

namespace tivelor {

class App;
struct ModelState;

// Pages built from plain inputs (one value per species, from index 0).
void BuildThetaPage(const std::vector<double>& theta, numerics::MeanVariance est,
                    numerics::MeanVariance inf, PlotRequest& req);
void BuildLogitThetaPage(const std::vector<double>& logitTheta, numerics::MeanVariance est,
                         numerics::MeanVariance inf, PlotRequest& req);
void BuildLnAbundancePage(const std::vector<double>& lnAbund, numerics::MeanVariance est,
                          numerics::MeanVariance inf, PlotRequest& req);
void BuildAccumulationPage(const ModelState& md, PlotRequest& req);
void BuildQuadratPage(const ModelState& md, PlotRequest& req);
void BuildSpeciesPage(const ModelState& md, PlotRequest& req);

// One histogram of the randomized estimates: its cell width in species, the
// number of cells and their frequencies (cells 1 .. Cells).
struct EsrHistogram {
    int CellWidth = 1;
    int Cells = 0;
    platform::Vec<int> Freq;
};
// L and H are the first and the last cell's base.
void BuildHistogramPage(const EsrHistogram& h, int L, int H, PlotRequest& req);
std::string HistogramPageText(int cellWidth);

// The pages as shown from the results report.
void PlotThetaEstimates(App& app);
void PlotLogitThetaEstimates(App& app);
void PlotLnAbundanceEstimates(App& app);
void PlotAccumulationCurve(App& app);
void PlotQuadratAbundance(App& app);
void PlotSampledVsEstimated(App& app);
void PlotESRFrequency(App& app, const EsrHistogram& h, int L, int H);

// A histogram with the bases of its cells, as the collation hands it over.
struct EsrHistogramPage {
    EsrHistogram Hist;
    int L = 0, H = 0;
};
// Asks whether to view the histograms and shows them one width after the
// other while the user keeps plotting.
void OfferESRHistograms(App& app, const std::vector<EsrHistogramPage>& pages);

// Fills the plot entries of the results report's follow-ups.
void InstallModelPlots(App& app);

}  // namespace tivelor
