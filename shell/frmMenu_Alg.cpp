#include "shell/frmMenu.h"

namespace tivelor {

// Placeholders until the engine's handlers are in.
void frmMenu::cmdInitialize_Click() {}
void frmMenu::cmdLoadAlg_Click() {}
void frmMenu::cmdSaveAlg_Click() {}
void frmMenu::cmdOneFunction_Click() {}
bool frmMenu::Save_Alg() { return true; }

}  // namespace tivelor
