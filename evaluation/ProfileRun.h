// Pieces shared by the likelihood-profile and posterior runs.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "state/EngineState.h"

namespace tivelor {

class App;
struct EvalState;
struct ProfileSnapshot;

// Puts back the values, steps and fuse codes of the parameter set as they
// were when it was made, or last retaken (once the user's edits are in),
// after `unwound` (the run's own ending, without a word to the user), when
// the scope is left by an exception:
//     PutBackOnUnwind keep(app.eng, [&] { ... });
class PutBackOnUnwind {
public:
    PutBackOnUnwind(EngineState& eng, std::function<void()> unwound);
    ~PutBackOnUnwind();
    PutBackOnUnwind(const PutBackOnUnwind&) = delete;
    PutBackOnUnwind& operator=(const PutBackOnUnwind&) = delete;
    // The parameter set as it is now is the one to put back.
    void Retake();

private:
    EngineState& eng_;
    std::uint64_t generation_;
    const int exceptions_;
    platform::Vec<double> value_, step_;
    platform::Vec<std::string> fuse_;
    std::function<void()> unwound_;
};

// A typed whole number within an Integer; nothing otherwise.
std::optional<int> IntegerAnswer(const std::string& text);

// An evaluation's opening boxes under title: the plots it draws (plot 2 gives
// plot2; plotNote follows the list), then choosing (how its parameter and
// points are chosen), the advice on step sizes and "Do you want to continue?".
// False when the answer is No.
bool IntroduceEvaluation(App& app, const std::string& title, const std::string& plot2,
                         const std::string& plotNote, const std::string& choosing);

// Offers the previous plots of kind ("Do you want to perform <runs> now?");
// true when the answer is No, that is, the previous plots are wanted.
bool PreviousPlotsChosen(App& app, const std::string& title, const std::string& runs, const std::string& kind);

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
