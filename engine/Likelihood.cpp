#include "engine/Likelihood.h"

#include "state/App.h"

namespace tivelor {

void WarnInsufficientDF(App& app) {
    app.ShowMsg("Cannot accept a negative or zero constant; perhaps the degrees of freedom are zero or fewer",
                platform::vbExclamation, "Insufficient degrees of freedom");
}

}  // namespace tivelor
