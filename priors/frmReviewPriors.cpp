#include "priors/frmReviewPriors.h"

#include <cmath>

#include "platform/runtime.h"
#include "app/App.h"
#include "shell/TextWindows.h"

namespace tivelor {

using platform::vbCrLf;

namespace {

// Right-justified in width columns; a wider text is kept whole.
std::string Field(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string Likelihoods(double t) {
    return " has a prior -ln[L] of " + Field(platform::Format(t, "##0.00"), 8) + " and a prior likelihood of " +
           Field(platform::Format(std::exp(-t), "0.000000"), 8);
}

}  // namespace

void ReviewPriorLikelihoods(App& app) {
    std::string& r = app.msg.ReportText;
    r = std::string("Note: Here is a chance to review the likelihood of your current parameter estimates relative to ") +
        "your Bayesian prior distributions." + vbCrLf + vbCrLf +
        "A -ln[likelihood] value of zero applies when your maximum-likelihood estimate for a parameter " +
        "occurs at the most likely value of your chosen prior distribution for that parameter.  If the " +
        "values shown here are quite large (i.e., parameter estimates are much less likely than the most " +
        "likely prior value), then you might wish to reconsider your prior assumptions.  You should also " +
        "check, and be suspicious of, estimates lying against a left or right boundary of a " +
        "steep cliff distribution or the uniform-bounded distribution." + vbCrLf + vbCrLf;
    r += std::string("You should also formally evaluate the overlap of the prior probability distribution ") +
         "of each parameter with the posterior distribution for that parameter, e.g., the (perhaps) " +
         "Gaussian confidence region from a covariance analysis.  This overlap is a measure of the " +
         "probability that the parameter estimate can reasonably be associated with both distributions. " +
         "Depending on sample size, and if the distributions are nearly Gaussian, then you can try a " +
         "t-test or a z-test using the moments of the distributions.  If the distributions do not " +
         "significantly overlap, then you might want to reconsider your prior distribution.  Cumulative " +
         "and attenuated probability plots for prior distributions can be saved in *.pdp files." + vbCrLf + vbCrLf;

    const PriorTable& pr = app.priors;
    double total = 0;
    for (int i = 1; i <= app.eng.par.NumPars; ++i) {
        if (pr.PriorType(i) == "U") continue;
        const double t = app.eng.RecipLnLConst * pr.PriorTerm(i);
        r += "Parameter " + Field(platform::Format(i, "##0"), 3) + " at " +
             Field(platform::Format(app.eng.par.ParValue(i), "0.000E+00"), 10) + Likelihoods(t) + vbCrLf;
        total += t;
    }
    r += vbCrLf;
    r += "           The entire model" + Likelihoods(total) + vbCrLf;

    frmReviewPriors& w = app.form<frmReviewPriors>();
    w.Show();
    w.rtbReviewPriors.Text = r;
}

frmReviewPriors::frmReviewPriors(App& a)
    : Form(a.ui, kName, "Review priors ", platform::FormKind::MdiChild, 12375, 5900), app(a) {
    cmdSaveReview.ToolTipText = "Saves the (possibly edited) output appearing in the textbox below";
    rtbReviewPriors.FontName = "Courier New";
    cmdSaveReview.OnClick = [this] { cmdSaveReview_Click(); };
}

void frmReviewPriors::Form_Load() {
    Width = 12495;
    cmdSaveReview.Width = Width;
    rtbReviewPriors.Width = Width - 120;
    if (Height - cmdSaveReview.Height - 400 > 0) rtbReviewPriors.Height = Height - cmdSaveReview.Height - 400;
}

void frmReviewPriors::Form_Unload(int&) { rtbReviewPriors.Text = ""; }

void frmReviewPriors::cmdSaveReview_Click() {
    TextWindowSave what;
    what.title = "Save review in...";
    app.msg.DlgFilter = std::string("All files (*.*)|*.*|") + "Review priors files (*.rvp)|*.rvp";
    what.filter = app.msg.DlgFilter;
    what.filterIndex = 2;
    what.proposedName = platform::DateTimeFileName(app.ui.Now(), ".rvp");
    SaveTextWindow(app, CommonDialog1, rtbReviewPriors, what);
}

}  // namespace tivelor
