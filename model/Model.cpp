#include "model/Model.h"

#include "state/App.h"

namespace tivelor {

void SetModelTitle(App& app) { app.model.ModelTitle = "Orsadine Estimation Model"; }

}  // namespace tivelor
