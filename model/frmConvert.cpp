#include "model/frmConvert.h"

#include "state/App.h"

namespace tivelor {

frmConvert::frmConvert(App& a)
    : Form(a.ui, kName, "Transform parameters before saving them?", platform::FormKind::TopLevel,
           4695, 3300),
      app(a) {
    chkThetatoLogit.OnClick = [this] { chkThetatoLogit_Click(); };
    chkLogittoTheta.OnClick = [this] { chkLogittoTheta_Click(); };
    chkUAtoLnUA.OnClick = [this] { chkUAtoLnUA_Click(); };
    chkLnUAtoUA.OnClick = [this] { chkLnUAtoUA_Click(); };
    chkAskAgain.OnClick = [this] { chkAskAgain_Click(); };
    cmdDo.OnClick = [this] { cmdDo_Click(); };
    cmdCancel.OnClick = [this] { cmdCancel_Click(); };
}

void frmConvert::Form_Load() {
    // Only the change away from the current scale is offered, ticked.
    const bool logit = app.model.LogitThetaLink != 0, lnUA = app.model.LnUALink != 0;
    chkThetatoLogit.Enabled = !logit;
    chkThetatoLogit.Value = logit ? 0 : 1;
    chkLogittoTheta.Enabled = logit;
    chkLogittoTheta.Value = logit ? 1 : 0;
    chkUAtoLnUA.Enabled = !lnUA;
    chkUAtoLnUA.Value = lnUA ? 0 : 1;
    chkLnUAtoUA.Enabled = lnUA;
    chkLnUAtoUA.Value = lnUA ? 1 : 0;
}

void frmConvert::chkThetatoLogit_Click() {
    if (chkThetatoLogit.Value == 1) chkLogittoTheta.Value = 0;
}
void frmConvert::chkLogittoTheta_Click() {
    if (chkLogittoTheta.Value == 1) chkThetatoLogit.Value = 0;
}
void frmConvert::chkUAtoLnUA_Click() {
    if (chkUAtoLnUA.Value == 1) chkLnUAtoUA.Value = 0;
}
void frmConvert::chkLnUAtoUA_Click() {
    if (chkLnUAtoUA.Value == 1) chkUAtoLnUA.Value = 0;
}

void frmConvert::chkAskAgain_Click() {
    app.model.AskConvert = chkAskAgain.Value == 1 ? platform::False : platform::True;
}

void frmConvert::cmdDo_Click() {
    ReportState& rep = app.model.Report;
    rep.ConvThetaToLogit = chkThetatoLogit.Value == 1 ? platform::True : platform::False;
    rep.ConvLogitToTheta = chkLogittoTheta.Value == 1 ? platform::True : platform::False;
    rep.ConvUAToLnUA = chkUAtoLnUA.Value == 1 ? platform::True : platform::False;
    rep.ConvLnUAToUA = chkLnUAtoUA.Value == 1 ? platform::True : platform::False;
    chkAskAgain_Click();
    answered_ = true;
    Unload();
}

void frmConvert::Skip() {
    ReportState& rep = app.model.Report;
    rep.ConvThetaToLogit = rep.ConvLogitToTheta = rep.ConvUAToLnUA = rep.ConvLnUAToUA =
        platform::False;
    chkAskAgain_Click();
}

void frmConvert::cmdCancel_Click() {
    Skip();
    answered_ = true;
    Unload();
}

// Closed without either button: the same as Skip it.
void frmConvert::Form_Unload(int&) {
    if (!answered_) Skip();
}

}  // namespace tivelor
