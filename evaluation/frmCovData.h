// The covariance windows: frmCovData shows the grids' progress and then the
// report; frmCovDisplay is the chooser shown when a calculation ends.
#pragma once

#include "engine/Progress.h"
#include "platform/forms.h"

namespace tivelor {

class App;
class CovGridWatch;

class frmCovData : public platform::Form {
public:
    static constexpr const char* kName = "frmCovData";
    static constexpr const char* kInterruptCaption = "&Interrupt these calculations";
    explicit frmCovData(App& app);

    platform::CommandButton cmdStop{*this, "cmdStop", kInterruptCaption, 0, 0, 14880, 375};
    platform::RichTextBox rtbCovData{*this, "rtbCovData", 0, 360, 14880, 6600};

    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
    void cmdStop_Click();

    // The run this window shows, if any: Interrupt asks it to stop.
    CovGridWatch* watch = nullptr;

private:
    App& app;
};

// The covariance grids as frmCovData shows them: the progress line in the
// main window's status bar and the window's Interrupt button. A press
// before the watch was made is not for its run.
class CovGridWatch final : public InterruptWatch {
public:
    explicit CovGridWatch(App& app) : app(app) {}
    ~CovGridWatch() override;
    CovGridWatch(const CovGridWatch&) = delete;
    CovGridWatch& operator=(const CovGridWatch&) = delete;

    // A grid starts: the window, shown by then, sends its Interrupt here.
    void Begin(bool fresh) override;
    void Interruptible(bool on) override;
    void Panel(int i, const std::string& text) override;

private:
    App& app;
};

class frmCovDisplay : public platform::Form {
public:
    static constexpr const char* kName = "frmCovDisplay";
    explicit frmCovDisplay(App& app);

    platform::Label lblCovDisplay{*this, "lblCovDisplay", "", 120, 120, 3360, 255};
    platform::CommandButton cmdScreen{*this, "cmdScreen", "Display results on &screen", 120, 480, 3360, 495};
    platform::CommandButton cmdFile{*this, "cmdFile", "Save &covariance results as...", 120, 1080, 3360, 495};
    platform::CommandButton cmdFinish{*this, "cmdFinish", "&Finish display", 120, 1680, 3360, 495};
    platform::TextBox txtExplain{*this, "txtExplain", "", 120, 2340, 3360, 3135, true};
    platform::CommonDialog CommonDialog1{*this, "CommonDialog1"};

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void cmdScreen_Click();
    void cmdFile_Click();
    void cmdFinish_Click();

private:
    App& app;
};

// frmCovData, loaded and shown (the first text written to it loads it).
frmCovData& CovDataWindow(App& app);

// Appends text to the covariance window's pane.
void AppendCovData(App& app, const std::string& text);

}  // namespace tivelor
