// The refusal of a likelihood constant.
#pragma once

namespace tivelor {

class App;

// "Insufficient degrees of freedom" refusal of a constant.
void WarnInsufficientDF(App& app);

}  // namespace tivelor
