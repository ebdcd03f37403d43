// What must hold between any two user actions, whatever the user did.
#pragma once

#include <string>

#include "state/App.h"

namespace monkey {

// A description of the first broken invariant of the application's state;
// "" when none is broken.
std::string BrokenInvariant(const tivelor::App& app);

}  // namespace monkey
