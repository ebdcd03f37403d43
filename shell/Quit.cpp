#include "shell/Quit.h"

#include "platform/ui.h"
#include "shell/App.h"
#include "shell/frmMenu.h"

namespace tivelor {

namespace {
constexpr int kMinimizationLog = 203;
}

bool RunQuitSequence(App& app, QuitFrom) {
    if (app.ShowMsg("Do you want to quit Tivelor?", 292, "Exit Tivelor") != platform::vbYes)
        return false;
    if (app.ShowMsg("Save algorithm data?", 36, "What about algorithm data?") == platform::vbYes) {
        if (!app.form<frmMenu>().Save_Alg()) return false;
    }
    app.ui.files.Close(kMinimizationLog);
    app.ui.End();
}

}  // namespace tivelor
