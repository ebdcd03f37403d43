// The task in charge: what runs from a user's start until it ends, waits for
// the editor, a pause or step button, a plot window or a prompt included.
#pragma once

#include <string>

namespace tivelor {

struct TaskState {
    // The outermost running task's name; "" when none runs.
    std::string Running;
    // Guards entered for the task: 0 when none is in charge.
    int Depth = 0;
    // The handler depth the task started at: a guard entered at that depth
    // is the task's own code; one entered deeper is a user's action during
    // one of its waits.
    int StartedAt = 0;
    // What was asked for while the task ran, by the task or by any window,
    // and is given when it ends: 0 nothing, 1 the Application menu, 2 the
    // main menu with it.
    int GiveBackAtEnd = 0;
    // The window a task was started from, other than the main menu; "" for
    // a task from the main menu.
    std::string StartedFrom;
    // What stood beside that window when the task began, given back at its
    // end.
    bool MainMenuWasShown = false, ApplicationMenuWasEnabled = false;

    bool InCharge() const { return Depth > 0; }
};

}  // namespace tivelor
