// Entry points of the quadrat-count model.
#pragma once

namespace tivelor {

class App;

// Sets ModelTitle to the model's title.
void SetModelTitle(App& app);

}  // namespace tivelor
