// The shell's side of ShellAccess: the main menu, the algorithm editor and
// the quit sequence, for the floors below it.
#pragma once

#include <memory>

#include "state/ShellAccess.h"

namespace tivelor {

class App;

std::unique_ptr<ShellAccess> MakeShellAccess(App& app);

}  // namespace tivelor
