// The prompt for the likelihood constant, which a prior term and the
// evaluations of estimates need.
#pragma once

namespace tivelor {

class App;

// Asks for the constant c that makes the objective -ln L until a positive
// number is entered whose value and reciprocal are normal numbers;
// RecipLnLConst = 1 / c.
void EnterLikelihoodConstant(App& app);

}  // namespace tivelor
