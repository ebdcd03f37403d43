#include "app/App.h"

#include "plots/ModelPlots.h"
#include "shell/InfoWindows.h"
#include "uncertainty/GoodnessOfFit.h"
#include "uncertainty/Randomizations.h"

namespace tivelor {

App::App(platform::Ui& u) : ui(u) {
    model.Report.Services.PearsonDeviatesTest = [this] { PearsonDeviatesTest(*this); };
    model.Report.Services.SampleBasedUncertainty = [this](auto& P, auto& StepSize, auto& FuseCode) {
        SampleBasedUncertainty(*this, P, StepSize, FuseCode);
    };
    model.Report.Services.DistributionBasedUncertainty = [this](auto& P, auto& StepSize, auto& FuseCode) {
        DistributionBasedUncertainty(*this, P, StepSize, FuseCode);
    };
    InstallModelPlots(*this);
}

App::~App() { ui.forms.Clear(); }

double App::ShowMsg() {
    msg.MsgAnswer = ui.MsgBox(msg.MsgText, static_cast<int>(msg.MsgStyle), msg.MsgTitle);
    return msg.MsgAnswer;
}

double App::ShowMsg(const std::string& text, int style, const std::string& title) {
    msg.MsgText = text;
    msg.MsgStyle = style;
    msg.MsgTitle = title;
    return ShowMsg();
}

void App::Start() { form<frmCredits>().Show(); }

}  // namespace tivelor
