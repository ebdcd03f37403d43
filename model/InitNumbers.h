// The three numbers of the initialization dialog, read and checked by one rule
// for the dialog and the model set-up.
#pragma once

#include <string>

#include "state/ModelState.h"

namespace tivelor {

class App;

struct InitNumbers {
    int NSpp = 0;
    long NQuadHab = 0;
    int NQuad = 0;
};

// Reads the numbers with Val and rounds them (8.4 species is 8). Returns the
// message for the first one the model cannot use, or "" when all are usable:
// at least 1 each, 2 x species parameters within an Integer, quadrats sampled
// within an Integer and no more than the habitat holds.
std::string CheckInitNumbers(const InitSettings& s, InitNumbers& n);

// The same, showing the message ("Invalid input", exclamation) on a refusal.
bool ReadInitNumbers(App& app, const InitSettings& s, InitNumbers& n);

}  // namespace tivelor
