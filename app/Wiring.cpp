// The application object wired to the subsystems above state/: the model as
// the engine's objective, the report's services, the plots and the shell.
#include "state/App.h"

#include "model/Model.h"
#include "plots/ModelPlots.h"
#include "shell/ShellLink.h"
#include "uncertainty/GoodnessOfFit.h"
#include "uncertainty/Randomizations.h"
#include "windows/InfoWindows.h"
#include "windows/LikelihoodConstant.h"

namespace tivelor {

App::App(platform::Ui& u) : ui(u) {
    shellAccess = MakeShellAccess(*this);
    eng.Objective = [this](platform::Vec<double>& P, long NF) { return ModelObjective(*this, P, NF); };
    eng.AskLikelihoodConstant = [this] { EnterLikelihoodConstant(*this); };
    model.Report.Services.PearsonDeviatesTest = [this] { PearsonDeviatesTest(*this); };
    model.Report.Services.SampleBasedUncertainty = [this](auto& P, auto& StepSize, auto& FuseCode) {
        SampleBasedUncertainty(*this, P, StepSize, FuseCode);
    };
    model.Report.Services.DistributionBasedUncertainty = [this](auto& P, auto& StepSize, auto& FuseCode) {
        DistributionBasedUncertainty(*this, P, StepSize, FuseCode);
    };
    InstallModelPlots(*this);
}

void App::Start() { form<frmCredits>().Show(); }

}  // namespace tivelor
