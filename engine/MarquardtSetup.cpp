#include "engine/Marquardt.h"

#include <string>

#include "platform/ui.h"
#include "app/App.h"

namespace tivelor {

namespace {

std::string Lines(std::initializer_list<const char*> lines) {
    std::string out;
    bool first = true;
    for (const char* l : lines) {
        if (!first) out += "\r\n";
        out += l;
        first = false;
    }
    return out;
}

}  // namespace

void MarquardtSetup(App& app) {
    const std::string title = "Marquardt minimization";
    EngineState& e = app.eng;
    e.DerivMethod = "";
    const double method = app.ShowMsg(
        Lines({"Note: You must provide derivatives for calculating gradients and building the Hessian matrix.",
               "",
               "Numerical derivatives are provided automatically, whereas you must have provided analytical",
               "derivatives in your model code (i.e., in that section of Sub MODEL() accessed when NF=-2).",
               "",
               "WARNING: Analytical derivatives will fail if Bayesian prior probabilities contribute to the likelihood function.",
               "",
               "DO NOT USE ANALYTICAL DERIVATIVES IN CONJUNCTION WITH BAYESIAN PRIOR DISTRIBUTIONS!",
               "            THE PRIOR DISTRIBUTION FOR ALL PARAMETERS MUST BE UNIFORM-UNBOUNDED!",
               "",
               "Choose 'Yes' if you have provided ANALYTICAL derivatives; else 'No' to calculate NUMERICAL derivatives"}),
        platform::vbYesNoCancel + platform::vbQuestion, title);
    if (method == platform::vbYes) e.DerivMethod = "A";
    else if (method == platform::vbNo) e.DerivMethod = "N";

    if (e.DerivMethod == "N")
        app.ShowMsg("You have chosen NUMERICAL derivatives - it's like choosing Pepsi", platform::vbOKOnly, title);
    if (e.DerivMethod == "A")
        app.ShowMsg("You have chosen ANALYTICAL derivatives - it's like choosing Coke", platform::vbOKOnly, title);
    if (e.DerivMethod.empty()) return;

    const double show = app.ShowMsg(
        Lines({"Do you want to see the partial derivatives of the likelihood function wrt the parameters at each iteration?",
               "",
               "If 'Yes', they will be displayed; then later choose 'Next iteration' to see the derivatives after the next iteration,",
               "           or 'Continue' to skip over the derivatives output.",
               "If 'No', then partial derivatives will not be displayed.",
               "",
               "Note: This is recommended and practical only for models with fewer than about a dozen parameters!",
               "           It is intended for use mainly during model building to verify the analytical derivative formulations."}),
        platform::vbYesNo + platform::vbQuestion, title);
    e.ShowDerivs = show == platform::vbYes ? "yes" : "no";
}

}  // namespace tivelor
