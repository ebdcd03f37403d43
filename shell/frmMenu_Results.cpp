#include "shell/frmMenu.h"

namespace tivelor {

void frmMenu::cmdUserSummary_Click() {}

}  // namespace tivelor
