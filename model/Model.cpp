#include "model/Model.h"

#include "shell/App.h"

namespace tivelor {

void SetModelTitle(App& app) { app.model.ModelTitle = "Orsadine Estimation Model"; }

}  // namespace tivelor
