// Ending the program: confirm, offer to save the algorithm data and the
// priors, close the minimization log, end.
#pragma once

#include <functional>

namespace tivelor {

class App;

enum class QuitFrom { Other, PriorEditor };

// Writes the priors file; false only when the file could not be written
// (the user has been told). A cancelled dialog counts as done.
using PriorsSaver = std::function<bool()>;

// Returns false when the user declines to quit or a save failed; otherwise
// the program ends and the call does not return. The prior editor passes its
// own saver; without one the main menu's Save_Priors writes the priors.
bool RunQuitSequence(App& app, QuitFrom from, const PriorsSaver& savePriors = nullptr);

// True when a prior other than uniform-unbounded is set for a parameter.
bool AnyPriorInForce(const App& app);

}  // namespace tivelor
