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
        std::string answer = app.ui.InputBox(app.msg.MsgText, app.msg.MsgTitle, "", 5000, 2000);
        app.msg.InputText = answer;
        if (answer.empty()) continue;
        double c = platform::Val(answer);
        // The constant and its reciprocal scale every -ln L: both must be normal
        // numbers, and the range the message names is the range taken.
        if (c > 0 && !(c >= kLowestLikelihoodConstant && c <= kHighestLikelihoodConstant)) {
            app.ShowMsg("Cannot accept a constant so large or so small that it or its reciprocal is out of "
                        "range; choose a constant between 1E-307 and 1E+307",
                        platform::vbExclamation, "Enter constant");
            continue;
        }
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
