// The main menu's single function call.
#pragma once

namespace tivelor {

class App;

// Evaluates once at ParValue (selector 1, prior included when priors are
// on), times it and lists the result in frmOneFunction. The caller has run
// SetUpFusedParameters and PackAdjustableParameters.
void OneFunctionCall(App& app);

}  // namespace tivelor
