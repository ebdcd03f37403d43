#include "shell/frmMenu.h"

namespace tivelor {

void frmMenu::cmdMarquardt_Click() {}

}  // namespace tivelor
