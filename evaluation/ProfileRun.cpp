#include "evaluation/ProfileRun.h"

#include <cmath>
#include <exception>
#include <utility>

#include "state/App.h"
#include "state/EvalState.h"
#include "state/MLState.h"
#include "platform/runtime.h"

namespace tivelor {

PutBackOnUnwind::PutBackOnUnwind(EngineState& eng, std::function<void()> unwound)
    : eng_(eng),
      generation_(eng.Generation),
      exceptions_(std::uncaught_exceptions()),
      value_(eng.par.ParValue),
      step_(eng.par.StepSize),
      fuse_(eng.par.FuseCode),
      unwound_(std::move(unwound)) {}

void PutBackOnUnwind::Retake() {
    // Copied first, so that a copy that fails keeps the earlier one.
    platform::Vec<double> value = eng_.par.ParValue, step = eng_.par.StepSize;
    platform::Vec<std::string> fuse = eng_.par.FuseCode;
    value_ = std::move(value);
    step_ = std::move(step);
    fuse_ = std::move(fuse);
    generation_ = eng_.Generation;
}

PutBackOnUnwind::~PutBackOnUnwind() {
    if (std::uncaught_exceptions() <= exceptions_) return;
    try {
        unwound_();
    } catch (...) {
    }
    // Moves only: nothing here can fail.
    if (eng_.Generation != generation_) return;
    eng_.par.ParValue = std::move(value_);
    eng_.par.StepSize = std::move(step_);
    eng_.par.FuseCode = std::move(fuse_);
}

using platform::vbCrLf;

bool IntroduceEvaluation(App& app, const std::string& title, const std::string& plot2,
                         const std::string& plotNote, const std::string& choosing) {
    app.ShowMsg(std::string("This routine will create a series of plots, and if desired, save the x-y data. ") + vbCrLf +
                    vbCrLf + "Choose plot 1 to get a likelihood profile plot. " + vbCrLf +
                    "Choose plot 2 to get " + plot2 + ". " + vbCrLf +
                    "Choose plot 3 to get a mode-centered confidence region plot. " + vbCrLf +
                    "Choose plot 4 to get a mean-centered confidence region plot. " + vbCrLf +
                    "Choose plot 5 to get a left to right ascending cumulative plot. " + vbCrLf +
                    "Choose plot 6 to get a left to right descending cumulative plot. " + vbCrLf +
                    "Choose plot 7 to get a mode-centered Gaussian distribution plot." + plotNote,
                platform::vbInformation, title);
    const std::string question =
        choosing + "We suggest you first build a covariance matrix for parameters with non-zero step sizes " +
        "and thus let the statistical machinery determine approximate values for the step sizes. " +
        "Be warned, however, that this choice will automatically change the values for step sizes " +
        "in your algorithm data file." + vbCrLf + vbCrLf + "Do you want to continue?";
    return app.ShowMsg(question, platform::vbYesNo + platform::vbQuestion, title) != platform::vbNo;
}

bool PreviousPlotsChosen(App& app, const std::string& title, const std::string& runs, const std::string& kind) {
    return app.ShowMsg(std::string("Do you want to perform ") + runs + " now?" + vbCrLf + vbCrLf +
                           "Choosing 'NO' will give you the previous " + kind + " plots",
                       platform::vbYesNo + platform::vbQuestion, title) == platform::vbNo;
}

std::optional<int> IntegerAnswer(const std::string& text) {
    const std::string t = platform::Trim(text);
    if (t.empty() || !platform::IsNumeric(t)) return std::nullopt;
    return platform::CInt(platform::Val(t));
}

void SaveProfileTable(const EvalState& ev, ProfileSnapshot& s) {
    s.valid = true;
    s.NProfPts = ev.NProfPts;
    s.ProfPar = ev.ProfPar;
    s.EVEstimate = ev.EVEstimate;
    s.ProfX = ev.ProfX;
    s.ProfNegLnL = ev.ProfNegLnL;
    s.ProfPDF = ev.ProfPDF;
    s.ProfCum = ev.ProfCum;
    s.ProfCIMode = ev.ProfCIMode;
    s.ProfCIMean = ev.ProfCIMean;
    s.ProfNormPDF = ev.ProfNormPDF;
}

void LoadProfileTable(const ProfileSnapshot& s, EvalState& ev) {
    ev.NProfPts = s.NProfPts;
    ev.ProfPar = s.ProfPar;
    ev.EVEstimate = s.EVEstimate;
    ev.ProfX = s.ProfX;
    ev.ProfNegLnL = s.ProfNegLnL;
    ev.ProfPDF = s.ProfPDF;
    ev.ProfCum = s.ProfCum;
    ev.ProfCIMode = s.ProfCIMode;
    ev.ProfCIMean = s.ProfCIMean;
    ev.ProfNormPDF = s.ProfNormPDF;
}

long PointsKeptAfterQuit(long savedPt) {
    long kept = savedPt - 2;
    if (kept > 0 && kept % 2 == 0) --kept;
    return kept;
}

std::string TooFewPointsText(long keptPoints) {
    return "Too few profile points were calculated before the interrupt to form a distribution" +
           std::string(keptPoints >= 3 ? " around the lowest point found" : "") + "; nothing can be shown.";
}

TimeLeft SplitTimeLeft(double seconds) {
    TimeLeft t;
    t.SecsLeft = static_cast<long>(std::llround(seconds));
    t.MinLeft = platform::Trim(platform::Str(std::floor(static_cast<double>(t.SecsLeft) / 60)));
    t.SecLeft = platform::Trim(platform::Str(static_cast<double>(t.SecsLeft) - platform::Val(t.MinLeft) * 60));
    if (t.SecLeft.size() == 1) t.SecLeft = "0" + t.SecLeft;
    return t;
}

}  // namespace tivelor
