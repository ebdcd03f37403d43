// The task in charge: what runs from a user's start until it ends, waits for
// the editor, a pause or step button, a plot window or a prompt included.
#pragma once

#include <cstdint>
#include <string>

namespace tivelor {

struct TaskState {
    // The outermost running task's name; "" when none runs.
    std::string Running;
    // Guards entered: 0 when no task is in charge.
    int Depth = 0;
    // The task brings the main menu back when it ends.
    bool MenuAtEnd = false;
    // The data and parameter set in memory: advanced by Initialize, an
    // algorithm load and every re-dimension of the parameter arrays. A run
    // compares it after a wait with the value it started with.
    std::uint64_t Generation = 0;

    bool InCharge() const { return Depth > 0; }
};

}  // namespace tivelor
