// The prompt for the likelihood constant, which a prior term and the
// evaluations of estimates need.
#pragma once

namespace tivelor {

class App;

// The range of constants taken, which the refusal names: a constant and its
// reciprocal are both normal numbers within it.
inline constexpr double kLowestLikelihoodConstant = 1E-307, kHighestLikelihoodConstant = 1E+307;

// Asks for the constant c that makes the objective -ln L until a positive
// number from 1E-307 to 1E+307 is entered; RecipLnLConst = 1 / c.
void EnterLikelihoodConstant(App& app);

}  // namespace tivelor
