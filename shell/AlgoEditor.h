// Entry to the algorithm-data editor, and the text checks its fields share.
#pragma once

#include <string_view>

namespace tivelor {

class App;

// Shows frmAlgo (not modal) with the focus on its Finish editing button.
// The opener has set AlgoColOn(1..9) and its return switch; a caller that
// waits for the edits sets FormClosed False first and yields until it is True.
void ShowAlgorithmEditor(App& app);

// Asks for the step-size proportionality constant StepProp until a number
// or Cancel is given; 0 becomes 0.1. False on Cancel, which keeps the old
// constant.
bool AskStepProportion(App& app);

// A fuse code as kept in the parameter set: "~~" (not fused) or one or two
// capital letters. Anything else would be read back from an algorithm file
// as a different group.
bool IsValidFuseCode(std::string_view code);

}  // namespace tivelor
