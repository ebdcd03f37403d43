// What must hold between any two user actions, whatever the user did.
#pragma once

#include <string>

#include "state/App.h"

namespace monkey {

// A description of the first broken invariant of the application's state;
// "" when none is broken. `settled`: between two steps, no handler running
// and no box open, where the user must also have a way on (NoWayOn).
std::string BrokenInvariant(const tivelor::App& app, bool settled = false);

// With no task in charge, the user can reach the main menu: it is shown and
// takes input, or the main window's Application > Main menu item can be
// used, or a window other than the main window is shown and takes input
// (every such window leads back when it closes, so a dead end shows at the
// latest when the last of them closes). "" when there is a way; else what
// the dead end is.
std::string NoWayOn(const tivelor::App& app);

}  // namespace monkey
