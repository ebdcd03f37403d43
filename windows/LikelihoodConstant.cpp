#include "windows/LikelihoodConstant.h"

#include <string>

#include "engine/Likelihood.h"
#include "engine/Simplex.h"
#include "platform/runtime.h"
#include "state/App.h"
#include "windows/frmMain.h"

namespace tivelor {

void EnterLikelihoodConstant(App& app) {
    frmMain& main = app.form<frmMain>();
    for (;;) {
        main.stbMain5.SetPanel(1, "");
        app.ui.DoEvents();
        app.msg.MsgTitle = "Enter constant";
        app.msg.MsgText = "Enter the constant WHICH WILL MAKE the objective function the -ln[likelihood]" +
                          std::string(platform::vbCrLf);
        std::string answer = app.ui.InputBox(app.msg.MsgText, app.msg.MsgTitle, "");
        app.msg.InputText = answer;
        if (answer.empty()) continue;
        double c = platform::Val(answer);
        if (c > 0) {
            // A new constant changes the objective a kept simplex was built on.
            if (app.eng.RecipLnLConst != 1 / c) InvalidateSimplex(app.eng);
            app.eng.RecipLnLConst = 1 / c;
            return;
        }
        WarnInsufficientDF(app);
    }
}

}  // namespace tivelor
