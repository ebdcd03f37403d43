#include "shell/frmMenu.h"

namespace tivelor {

void frmMenu::cmdEditAlg_Click() {}
void frmMenu::cmdCovariance_Click() {}
void frmMenu::cmdParEstimate_Click() {}
void frmMenu::cmdBayesian_Click() {}
void frmMenu::cmdRank_Click() {}

}  // namespace tivelor
