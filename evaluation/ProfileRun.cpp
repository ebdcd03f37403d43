#include "evaluation/ProfileRun.h"

#include <cmath>

#include "app/App.h"
#include "evaluation/EvalState.h"
#include "evaluation/MLState.h"
#include "platform/runtime.h"
#include "shell/AlgoEditor.h"

namespace tivelor {

void WithdrawPreviousResults(App& app) {
    app.ml.last = ProfileSnapshot{};
    app.bayes.last = PosteriorRecord{};
}

std::optional<int> IntegerAnswer(const std::string& text) {
    const std::string t = platform::Trim(text);
    if (t.empty() || !IsNumeric(t)) return std::nullopt;
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
