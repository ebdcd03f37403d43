// Ending the program: confirm, offer to save the algorithm data and the
// priors, close the minimization log, end.
#pragma once

#include "state/ShellAccess.h"

namespace tivelor {

class App;

// Returns false when the user declines to quit or a save failed; otherwise
// the program ends and the call does not return. The prior editor passes its
// own saver; without one the main menu's Save_Priors writes the priors.
bool RunQuitSequence(App& app, QuitFrom from, const PriorsSaver& savePriors = nullptr);

}  // namespace tivelor
