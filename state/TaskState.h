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
    // What the task gives back when it ends: 0 nothing, 1 the Application
    // menu, 2 the main menu with it.
    int GiveBackAtEnd = 0;

    bool InCharge() const { return Depth > 0; }
};

}  // namespace tivelor
