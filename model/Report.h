// The results report's parts: the follow-up questions asked between and
// after its sections, and the text helpers its fixed-column lines use.
#pragma once

#include <string>

#include "state/ReportState.h"
#include "platform/arrays.h"

namespace tivelor {

class App;

// A value formatted with pattern and right-justified in width characters;
// a value without a number (or not finite) prints "Undefined".
std::string ReportField(const MaybeNumber& value, const char* pattern, int width);
// Text padded with blanks on the right to width characters.
std::string PadRight(const std::string& text, std::size_t width);

// AICc = F + 2kn/(n - k - 1); no value when n - k - 1 <= 0.
MaybeNumber AICc(double F, double k, double n);

// Appends ReportText to the summary window's text and empties it.
void FlushReport(App& app);

// Asks (text, title) for a number of randomizations until one from 0 to 32000
// is entered: NRandInput holds it, NRand its whole part.
void AskRandomizationCount(App& app, const std::string& text, const std::string& title);
// Asks the number of goodness-of-fit randomizations and runs the test.
void RunGoodnessOfFit(App& app);
// The plot questions.
void OfferReportPlots(App& app);
// The two uncertainty questions; false when the report ends here.
bool OfferUncertaintyStatistics(App& app, platform::Vec<double>& P,
                                platform::Vec<double>& StepSize,
                                platform::Vec<std::string>& FuseCode);
// The data listing question and the closing message.
void AppendOriginalData(App& app);

}  // namespace tivelor
