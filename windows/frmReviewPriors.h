// The review of prior likelihoods: how likely the current estimates are
// under each prior, shown after a run with priors on.
#pragma once

#include "platform/forms.h"

namespace tivelor {

class App;

// Builds the review from the terms of the last prior penalty and the
// current values into ReportText, and shows it in frmReviewPriors.
void ReviewPriorLikelihoods(App& app);

class frmReviewPriors : public platform::Form {
public:
    static constexpr const char* kName = "frmReviewPriors";
    explicit frmReviewPriors(App& app);
    platform::CommandButton cmdSaveReview{*this, "cmdSaveReview",
                                          "Save review of prior distribution likelihoods as...", 0, 0,
                                          12375, 375};
    platform::RichTextBox rtbReviewPriors{*this, "rtbReviewPriors", 0, 360, 12255, 5000};
    platform::CommonDialog CommonDialog1{*this, "CommonDialog1"};
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void cmdSaveReview_Click();

private:
    App& app;
};

}  // namespace tivelor
