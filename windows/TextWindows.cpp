#include "windows/TextWindows.h"

#include "platform/files.h"
#include "platform/runtime.h"
#include "state/App.h"
#include "state/Task.h"

namespace tivelor {

bool ChooseSaveFile(platform::CommonDialog& dialog, const TextWindowSave& what) {
    dialog.CancelError = true;
    dialog.Flags = platform::cdlOFNOverwritePrompt;
    dialog.DialogTitle = what.title;
    dialog.Filter = what.filter;
    dialog.FilterIndex = what.filterIndex;
    dialog.FileName = what.proposedName;
    return dialog.ShowSave();
}

bool WriteFileOrReport(App& app, const std::string& what, const std::string& path, const std::string& text,
                       const std::string& more) {
    std::string why;
    platform::SaveLeft left = platform::SaveLeft::Untouched;
    if (platform::WriteWholeFileSafely(path, text, &why, &left)) return true;
    const char* how = left == platform::SaveLeft::PutBack      ? "It was written in place; the old content was put back"
                      : left == platform::SaveLeft::Incomplete ? "It was written in place and may be incomplete"
                                                               : "Nothing was saved";
    app.ShowMsg("The " + what + " could not be written:\r\n\r\n" + path + "\r\n\r\n" +
                    (why.empty() ? "" : why + ".\r\n\r\n") + how + more + ".",
                platform::vbExclamation, "Save failed");
    return false;
}

bool SaveTextWindow(App& app, platform::CommonDialog& dialog, platform::RichTextBox& box,
                    const TextWindowSave& what) {
    if (!ChooseSaveFile(dialog, what)) return false;
    std::string path = dialog.FileName;
    std::string text = "Originally saved with the file name: " + path + "\r\n\r\n" + box.Text();
    if (!WriteFileOrReport(app, "file", path, text, "; the text is unchanged")) return false;
    box.Text = text;
    return true;
}

void LayoutTextWindow(platform::Form& form, platform::CommandButton* button, int buttonWidthMargin,
                      platform::RichTextBox& box) {
    int width = form.Width - 120;
    int buttonHeight = 0;
    if (button) {
        if (form.Width - buttonWidthMargin > 0) button->Width = form.Width - buttonWidthMargin;
        buttonHeight = button->Height;
    }
    int height = form.Height - buttonHeight - 400;
    if (width > 0) box.Width = width;
    if (height > 0) box.Height = height;
}

// ------------------------------------------------------------- frmSummary

frmSummary::frmSummary(App& a)
    : Form(a.ui, kName, "Species richness results summary", platform::FormKind::MdiChild, 13880,
           9605),
      app(a) {
    cmdSaveSummary.ToolTipText = "Saves the (possibly edited) output appearing in the textbox below";
    cmdSaveSummary.OnClick = [this] { cmdSaveSummary_Click(); };
}

void frmSummary::Form_Load() {
    Move(500, 500, 14000, 10010);
    rtbOut.FontSize = 9;
    rtbOut.RightMargin = 128000;
    Form_Resize();
}

void frmSummary::Form_Resize() { LayoutTextWindow(*this, &cmdSaveSummary, 120, rtbOut); }

void frmSummary::cmdSaveSummary_Click() {
    const std::string& title = app.eng.AlgFileTitle;
    TextWindowSave what;
    what.title = "Save summary in...";
    what.filter = "All Files (*.*)|*.*|Output files (*.tvo)|*.tvo|Named for algorithm file (" +
                  title + ".*)|" + title + ".*|";
    what.filterIndex = 3;
    what.proposedName = " Orsadine_results.tvo";
    SaveTextWindow(app, CommonDialog1, rtbOut, what);
}

void frmSummary::Form_Unload(int&) { ReturnToMainMenu(app); }

// ---------------------------------------------------------------- frmHelp

frmHelp::frmHelp(App& a) : Form(a.ui, kName, "Help", platform::FormKind::TopLevel, 9880, 7095), app(a) {
    rtbHelp.FontName = "MS Sans Serif";
    rtbHelp.FontSize = 8.25;
}

void frmHelp::Form_Load() {
    Move(1000, 1000, 10000, 7500);
    rtbHelp.RightMargin = 28000;
    Form_Resize();
}

void frmHelp::Form_Resize() {
    if (Width - 120 > 0) rtbHelp.Width = Width - 120;
    if (Height - 120 > 0) rtbHelp.Height = Height - 120;
}

void frmHelp::Form_Unload(int&) { rtbHelp.Text = ""; }

}  // namespace tivelor
