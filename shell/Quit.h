// Ending the program: confirm, offer to save the algorithm data and the
// priors, close the minimization log, end.
#pragma once

namespace tivelor {

class App;

enum class QuitFrom { Other, PriorEditor };

// Returns false when the user declines to quit or a save failed; otherwise
// the program ends and the call does not return.
bool RunQuitSequence(App& app, QuitFrom from);

}  // namespace tivelor
