// The likelihood constant and the single function call.
#pragma once

namespace tivelor {

class App;

// Asks for the constant c that makes the objective -ln L until a positive
// number is entered whose value and reciprocal are normal numbers;
// RecipLnLConst = 1 / c.
void EnterLikelihoodConstant(App& app);

// "Insufficient degrees of freedom" refusal of a constant.
void WarnInsufficientDF(App& app);

// Evaluates once at ParValue (selector 1, prior included when priors are
// on), times it and lists the result in frmOneFunction. The caller has run
// SetUpFusedParameters and PackAdjustableParameters.
void OneFunctionCall(App& app);

}  // namespace tivelor
