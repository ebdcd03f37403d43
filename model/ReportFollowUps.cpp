#include <cmath>

#include "engine/Parameters.h"
#include "model/Report.h"
#include "platform/runtime.h"
#include "state/App.h"
#include "windows/TextWindows.h"
#include "windows/frmMain.h"

namespace tivelor {

using platform::vbCrLf;

namespace {

void NotAvailable(App& app, const std::string& what) {
    app.ShowMsg(what + " not available in this version of Tivelor yet.", platform::vbInformation, "Not available yet");
}

std::string JoinLines(std::initializer_list<const char*> lines) {
    std::string s;
    for (const char* l : lines) s += std::string(l) + vbCrLf;
    return s;
}

}  // namespace

void FlushReport(App& app) {
    platform::RichTextBox& box = app.form<frmSummary>().rtbOut;
    box.Text = box.Text() + app.msg.ReportText;
    app.msg.ReportText = "";
}

void AskRandomizationCount(App& app, const std::string& text, const std::string& title) {
    ReportState& rep = app.model.Report;
    rep.NRandInput = -1;
    app.msg.MsgText = text;
    app.msg.MsgTitle = title;
    while (rep.NRandInput < 0 || rep.NRandInput > 32000) {
        app.msg.InputText = app.ui.InputBox(app.msg.MsgText, app.msg.MsgTitle, "");
        const std::optional<int> v = platform::CInt(platform::Val(app.msg.InputText));
        rep.NRandInput = v ? *v : -1;
    }
    rep.NRand = static_cast<int>(platform::Int(rep.NRandInput + 1E-06));
}

void RunGoodnessOfFit(App& app) {
    ReportState& rep = app.model.Report;
    AskRandomizationCount(app,
                          "Please enter the number of randomizations for the Pearson-deviates goodness-of-fit "
                          "(GOF) calculation (max=32000):",
                          "More randomizations improve the goodness-of-fit (GOF) test");
    if (rep.Services.PearsonDeviatesTest)
        rep.Services.PearsonDeviatesTest();
    else
        NotAvailable(app, "The Pearson-deviates goodness-of-fit test is");
}

void OfferReportPlots(App& app) {
    ReportState& rep = app.model.Report;
    ReportFollowUpServices& s = rep.Services;
    app.sw.KeepPlotting = platform::True;
    struct Question {
        const char* text;
        std::function<void()>* plot;
    };
    std::vector<Question> questions = {
        {"Do you want to see the distribution plot of Thetas?", &s.PlotThetaEstimates},
        {"Do you want to see the distribution plot of Logit[Thetas]?", &s.PlotLogitThetaEstimates},
        {"Do you want to see the distribution plot of the Ln[species abundances]?",
         &s.PlotLnAbundanceEstimates},
        {"Do you want to see the species accumulation curve?", &s.PlotAccumulationCurve},
        {"Do you want to see sampled species distributions by quadrat?", &s.PlotQuadratAbundance},
    };
    if (app.model.NSpp > 1)
        questions.push_back({"Do you want to see the sampled and estimated species abundance by species?",
                             &s.PlotSampledVsEstimated});
    for (const Question& q : questions) {
        const double answer = app.ShowMsg(q.text, platform::vbYesNoCancel + platform::vbQuestion, "View plots?");
        if (answer == platform::vbCancel) return;
        if (answer != platform::vbYes) continue;
        if (*q.plot)
            (*q.plot)();
        else
            NotAvailable(app, "This plot is");
        if (!app.sw.KeepPlotting) return;
    }
}

bool OfferUncertaintyStatistics(App& app, platform::Vec<double>& P,
                                platform::Vec<double>& StepSize,
                                platform::Vec<std::string>& FuseCode) {
    ReportState& rep = app.model.Report;
    rep.SampleBasedNote = JoinLines({
        "The SAMPLE-BASED UNCERTAINTY option generates randomized estimates of species richness by",
        "re-sampling the distributions of model parameter estimates as governed by their SEs and covariances.",
        "This produces a frequency distribution of species richness estimates with statistics and confidence intervals.",
        "This approach makes no assumptions about the underlying form of the distribution of the Thetas or UAs.",
    });
    rep.DistBasedNote = JoinLines({
        "The DISTRIBUTION-BASED UNCERTAINTY option generates randomized estimates of species richness by integrating",
        "over a bivariate normal probability distribution fit to the observed values of the Logit[Thetas] and Ln[UAs].",
        "The means of these distributions are determined from averaging the estimated values for Theta and the UAs.",
        "The variance of these distributions is determined by adding the variance in the distribution of",
        "Thetas or UAs to the variance due to parameter uncertainty (i.e., their SEs and covariances).",
        "The randomizations are based on repeatedly sampling the error distribution for the means and variances.",
        "This produces a frequency distribution of species richness estimates with statistics and confidence intervals.",
        "This approach accumulates unlikely to have been sampled information at the tails of the imposed distributions.",
    });
    const std::string title = "Uncertainty statistics for species richness";
    const std::string mustSave = std::string(vbCrLf) + vbCrLf +
                                 "(YOU MUST HAVE FIRST SAVED AN ASSOCIATED COVARIANCE ANALYSIS)" +
                                 vbCrLf + vbCrLf;

    // Asks for one kind; Yes notes it in the report and runs it.
    auto offer = [&](const std::string& kind, const std::string& note,
                     const ReportFollowUpServices::UncertaintyRoutine& routine) {
        const double answer = app.ShowMsg("Produce " + kind + " UNCERTAINTY statistics for the "
                                          "estimated value of species richness?" + mustSave + note,
                                          platform::vbYesNoCancel + platform::vbQuestion, title);
        if (answer != platform::vbYes) return answer;
        if (routine) {
            app.msg.ReportText += vbCrLf + note;
            FlushReport(app);
            routine(P, StepSize, FuseCode);
        } else {
            NotAvailable(app, "The " + kind + " UNCERTAINTY statistics are");
        }
        return answer;
    };
    if (offer("SAMPLE-BASED", rep.SampleBasedNote, rep.Services.SampleBasedUncertainty) ==
        platform::vbCancel)
        return true;
    if (app.model.NSpp == 1) return false;
    offer("DISTRIBUTION-BASED", rep.DistBasedNote, rep.Services.DistributionBasedUncertainty);
    return true;
}

void AppendOriginalData(App& app) {
    const double answer = app.ShowMsg(
        "Append original data, in descending order of species abundance, to this summary?",
        platform::vbYesNoCancel + platform::vbQuestion,
        "Save original, but possibly reordered, data");
    if (answer != platform::vbYes) return;
    platform::StatusBar& bar = app.form<frmMain>().stbMain5;
    bar.SetPanel(1, "One moment please...");
    const ModelState& md = app.model;
    std::string& out = app.msg.ReportText;
    out += vbCrLf;
    out += RSetPad("Quad#", 6);
    for (int i = 1; i <= md.NSpp; ++i) {
        // Only a missing name is made up; a name of blanks prints as blanks.
        const std::string& name = md.SpName(i);
        out += "," + RSetPad(name.empty() ? "SPP" + platform::Format(i, "000") : name.substr(0, 6), 6);
    }
    out += vbCrLf;
    for (int j = 1; j <= md.NQuad; ++j) {
        out += RSetPad(platform::Format(j, "#####0"), 6);
        for (int i = 1; i <= md.NSpp; ++i)
            out += "," + RSetPad(platform::Format(static_cast<double>(md.Count(i, j)), "#####0"), 6);
        out += vbCrLf;
    }
    FlushReport(app);
    bar.SetPanel(1, "");
    app.ShowMsg("Summary complete", platform::vbInformation, "Summary");
}

}  // namespace tivelor
