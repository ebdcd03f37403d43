#include "model/frmGuessPars.h"

#include <cmath>

#include "platform/runtime.h"
#include "app/App.h"

namespace tivelor {

int GridResolution(const std::string& text) {
    std::optional<int> v = platform::CInt(std::fabs(platform::Val(text)));
    return v ? *v : -1;
}

frmGuessPars::frmGuessPars(App& a)
    : Form(a.ui, kName, "Guess initial parameter values?", platform::FormKind::TopLevel, 4695, 2400),
      app(a) {
    cboTheta.OnChange = [this] { cboTheta_Change(); };
    cboUA.OnChange = [this] { cboUA_Change(); };
    chkAskAgain.OnClick = [this] { chkAskAgain_Click(); };
    cmdDo.OnClick = [this] { cmdDo_Click(); };
    cmdCancel.OnClick = [this] { cmdCancel_Click(); };
}

void frmGuessPars::Form_Load() {
    app.model.GuessPars = platform::False;
    for (platform::ComboBox* box : {&cboTheta, &cboUA}) {
        for (const char* item : {"5", "10", "20", "50", "100", "200"}) box->AddItem(item);
        box->Text = "10";
    }
    lblTheta.Caption = app.model.LogitThetaLink ? "Logit[Theta]:" : "Theta:";
    lblUAs.Caption = app.model.LnUALink ? "Ln[Unsampled abundance]:" : "Unsampled abundance:";
}

void frmGuessPars::cboTheta_Change() { app.model.ThetaGridRes = GridResolution(cboTheta.Text); }

void frmGuessPars::cboUA_Change() { app.model.UAGridRes = GridResolution(cboUA.Text); }

void frmGuessPars::chkAskAgain_Click() {
    app.model.AskGuessInitial = chkAskAgain.Value == 1 ? platform::False : platform::True;
}

void frmGuessPars::cmdDo_Click() {
    chkAskAgain_Click();
    cboTheta_Change();
    cboUA_Change();
    // A grid needs at least one interval; more than 1000 per axis is refused too.
    for (int res : {app.model.ThetaGridRes, app.model.UAGridRes})
        if (res < 1 || res > 1000) {
            app.ShowMsg("Please choose grid resolutions from 1 to 1000", platform::vbExclamation, "Grid resolution");
            return;
        }
    app.model.GuessPars = platform::True;
    Unload();
}

void frmGuessPars::cmdCancel_Click() {
    chkAskAgain_Click();
    app.model.GuessPars = platform::False;
    Unload();
}

}  // namespace tivelor
