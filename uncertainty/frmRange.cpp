#include "uncertainty/frmRange.h"

#include <cmath>

#include "app/App.h"
#include "platform/runtime.h"

namespace tivelor {

int ReadRangeBound(const std::string& text) {
    const double v = platform::Val(text);
    if (const std::optional<int> i = platform::CInt(v)) return *i;
    return v < 0 ? -32769 : 32768;
}

frmRange::frmRange(App& a)
    : Form(a.ui, kName, "Choose GOF species range", platform::FormKind::TopLevel, 4095, 2115),
      app(a) {
    for (platform::Control* c : std::initializer_list<platform::Control*>{&lblStart, &cboStart,
                                                                          &lblEnd, &cboEnd})
        c->container = &fraRanges;
    cboStart.OnChange = [this] { cboStart_Change(); };
    cboEnd.OnChange = [this] { cboEnd_Change(); };
    cmdOK.OnClick = [this] { cmdOK_Click(); };
}

void frmRange::Form_Load() {
    for (int i = 1; i <= app.model.NSpp; ++i) {
        cboStart.AddItem(platform::CStr(i));
        cboEnd.AddItem(platform::CStr(i));
    }
    cboStart.Text = "1";
    cboEnd.Text = platform::CStr(app.model.NSpp);
}

void frmRange::cboStart_Change() {
    app.unc.Gof.FirstSpGOF = std::abs(ReadRangeBound(cboStart.Text));
}

void frmRange::cboEnd_Change() { app.unc.Gof.LastSpGOF = std::abs(ReadRangeBound(cboEnd.Text)); }

std::string frmRange::RangeFault(int first, int last) const {
    const int nspp = app.model.NSpp;
    if (last < first) return "Warning: range bounds inverted";
    if (first > nspp || last > nspp)
        return "Warning: A range bound choice is greater than " + platform::CStr(nspp);
    if (first < 1 || last < 1) return "Warning: A range bound choice is less than 1";
    return "";
}

void frmRange::cmdOK_Click() {
    GoodnessOfFitState& g = app.unc.Gof;
    g.FirstSpGOF = ReadRangeBound(cboStart.Text);
    g.LastSpGOF = ReadRangeBound(cboEnd.Text);
    const std::string fault = RangeFault(g.FirstSpGOF, g.LastSpGOF);
    if (!fault.empty()) {
        app.msg.MsgText = "Please redo your choices for range bounds";
        app.msg.MsgTitle = fault;
        app.msg.MsgStyle = platform::vbInformation;
        app.ui.MsgBox(app.msg.MsgText, platform::vbInformation, app.msg.MsgTitle);
        return;
    }
    checked_ = true;
    Unload();
}

// Closed by its frame: the typed bounds stand only when they pass the checks.
void frmRange::Form_Unload(int&) {
    if (checked_) return;
    GoodnessOfFitState& g = app.unc.Gof;
    const int first = ReadRangeBound(cboStart.Text), last = ReadRangeBound(cboEnd.Text);
    if (RangeFault(first, last).empty()) {
        g.FirstSpGOF = first;
        g.LastSpGOF = last;
    } else {
        g.FirstSpGOF = 1;
        g.LastSpGOF = app.model.NSpp;
    }
}

}  // namespace tivelor
