// Pieces shared by the likelihood-profile and posterior runs.
#pragma once

#include <optional>
#include <string>

namespace tivelor {

class App;
struct EvalState;
struct ProfileSnapshot;

// The likelihood-profile and posterior offers of their last results are
// withdrawn, with the records they would show.
void WithdrawPreviousResults(App& app);

// A typed whole number within an Integer; nothing otherwise.
std::optional<int> IntegerAnswer(const std::string& text);

// Copies of the profile table, for a run's own record of its last results.
void SaveProfileTable(const EvalState& ev, ProfileSnapshot& s);
void LoadProfileTable(const ProfileSnapshot& s, EvalState& ev);

// The points kept after a quit at point savedPt: those before it less its
// predecessor, and an even count loses its last.
long PointsKeptAfterQuit(long savedPt);

// The message when an interrupted run has too few points around its mode.
std::string TooFewPointsText(long keptPoints);

// Seconds left split as the status bar shows them: whole seconds, minutes,
// and seconds with a leading 0 below 10.
struct TimeLeft {
    long SecsLeft = 0;
    std::string MinLeft, SecLeft;
};
TimeLeft SplitTimeLeft(double seconds);

}  // namespace tivelor
