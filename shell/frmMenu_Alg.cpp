#include "shell/frmMenu.h"

namespace tivelor {

// Placeholder until the algorithm file writer is in.
bool frmMenu::Save_Alg() { return true; }

}  // namespace tivelor
