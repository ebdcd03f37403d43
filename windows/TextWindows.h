// Text result windows: the results summary and the help window, and the save
// sequence that every text result window uses.
#pragma once

#include "platform/forms.h"

namespace tivelor {

class App;

struct TextWindowSave {
    std::string title, filter;
    int filterIndex = 1;
    std::string proposedName;
};

// Shows the save dialog (cancel as an error, overwrite prompt) with the
// title, filter, filter index and proposed name; false when cancelled.
bool ChooseSaveFile(platform::CommonDialog& dialog, const TextWindowSave& what);

// Writes text to the file at path (replacing it safely); when that fails,
// tells the user that the <what> could not be written, why, and that nothing
// was saved, or that a file written in place got its old content back or may
// be incomplete (followed by more). False when it failed.
bool WriteFileOrReport(App& app, const std::string& what, const std::string& path, const std::string& text,
                       const std::string& more = "");

// Asks for a path and saves the box's text behind the note "Originally saved
// with the file name: ". The note goes into the box only when the file was
// written; a failed write is reported and leaves the box as it was. False
// when cancelled or failed.
bool SaveTextWindow(App& app, platform::CommonDialog& dialog, platform::RichTextBox& box,
                    const TextWindowSave& what);

// Lays out a save button across the top and a text box below it.
// buttonWidthMargin: the button is the window's width less this.
void LayoutTextWindow(platform::Form& form, platform::CommandButton* button,
                      int buttonWidthMargin, platform::RichTextBox& box);

class frmSummary : public platform::Form {
public:
    static constexpr const char* kName = "frmSummary";
    explicit frmSummary(App& app);
    platform::CommandButton cmdSaveSummary{*this, "cmdSaveSummary", "Save summary as...", 0, 0, 13880, 375};
    platform::RichTextBox rtbOut{*this, "rtbOut", 0, 360, 13880, 9000};
    platform::CommonDialog CommonDialog1{*this, "CommonDialog1"};
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
    void cmdSaveSummary_Click();

private:
    App& app;
};

class frmHelp : public platform::Form {
public:
    static constexpr const char* kName = "frmHelp";
    explicit frmHelp(App& app);
    platform::RichTextBox rtbHelp{*this, "rtbHelp", 0, 0, 9880, 7000};
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;

private:
    App& app;
};

}  // namespace tivelor
