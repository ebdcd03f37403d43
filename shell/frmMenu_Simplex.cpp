#include "shell/frmMenu.h"

namespace tivelor {

void frmMenu::cmdSimplex_Click() {}

}  // namespace tivelor
