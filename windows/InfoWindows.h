// Read-only information windows: credits (the program's first window),
// defaults and advice. OK closes the window and gives the main window back.
#pragma once

#include "platform/forms.h"

namespace tivelor {

class App;

class InfoWindow : public platform::Form {
public:
    InfoWindow(App& app, std::string name, std::string caption, int clientWidth, int clientHeight);

protected:
    // OK, and the close box alike: enable and focus the main window.
    void ReturnToMain();
    void Form_Unload(int& cancel) override;
    App& app;
};

class frmCredits : public InfoWindow {
public:
    static constexpr const char* kName = "frmCredits";
    explicit frmCredits(App& app);
    platform::TextBox txtCredits{*this, "txtCredits", "", 240, 240, 7092, 4332, true};
    platform::CommandButton cmdOK{*this, "cmdOK", "OK", 3240, 4800, 1095, 375};
    void Form_Load() override;
    void cmdOK_Click();
};

class frmDefaults : public InfoWindow {
public:
    static constexpr const char* kName = "frmDefaults";
    explicit frmDefaults(App& app);
    platform::TextBox txtDefaultNames{*this, "txtDefaultNames", "", 360, 240, 8595, 4575, true};
    platform::CommandButton cmdOK{*this, "cmdOK", "OK", 4020, 5040, 1215, 495};
    void Form_Load() override;
    void cmdOK_Click();
};

class frmWisdom : public InfoWindow {
public:
    static constexpr const char* kName = "frmWisdom";
    explicit frmWisdom(App& app);
    platform::TextBox txtWisdom{*this, "txtWisdom", "", 360, 300, 13635, 4935, true};
    platform::CommandButton cmdOK{*this, "cmdOK", "OK", 5940, 5400, 2415, 615};
    void Form_Load() override;
    void cmdOK_Click();
};

}  // namespace tivelor
