// Progress window of the Marquardt minimizer: one text pane for the
// iteration reports, Interrupt, and the two step buttons of the
// derivative pause.
#pragma once

#include "engine/Progress.h"
#include "platform/forms.h"

namespace tivelor {

class App;
class MarquardtWatch;

class frmMarquardt : public platform::Form {
public:
    static constexpr const char* kName = "frmMarquardt";
    explicit frmMarquardt(App& app);

    platform::CommandButton cmdStop{*this, "cmdStop", "&Interrupt", 0, 0, 13880, 375};
    platform::CommandButton cmdIteration{*this, "cmdIteration", "&Next iteration", 11000, 800, 1095, 555};
    platform::CommandButton cmdContinue{*this, "cmdContinue", "&Continue", 11000, 1400, 1095, 555};
    platform::RichTextBox rtbMarquardt{*this, "rtbMarquardt", 0, 360, 13880, 7000};

    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
    void cmdIteration_Click();
    void cmdContinue_Click();
    void cmdStop_Click();

    // Shows or hides the two step buttons, enabling or disabling them.
    void ShowStepButtons(bool show);

    // The window of a running minimization. Closed under the run, it is
    // loaded and shown again, as a child window is when next referred to.
    static frmMarquardt& ForRun(App& app);

    // The run this window shows, if any: Interrupt asks it to stop.
    MarquardtWatch* watch = nullptr;

private:
    App& app;
};

// A Marquardt run as frmMarquardt shows it: the progress line in the main
// window's status bar, the report pane, Interrupt and the step buttons, and
// the review of prior likelihoods at a minimum. A window the user closed
// under the run is shown again when the run next writes into it.
class MarquardtWatch final : public InterruptWatch {
public:
    explicit MarquardtWatch(App& app) : app(app) {}
    ~MarquardtWatch() override;
    MarquardtWatch(const MarquardtWatch&) = delete;
    MarquardtWatch& operator=(const MarquardtWatch&) = delete;

    void Begin(bool fresh) override;
    void Interruptible(bool on) override;
    void Panel(int i, const std::string& text) override;
    void Report(int pane, const std::string& text) override;
    void Reopen() override;
    void Close() override;
    void StepButtons(bool shown) override;
    void AtPriorMinimum() override;

private:
    frmMarquardt& Window();   // loaded and shown
    App& app;
    bool captioned = false;   // the run's caption is on the Interrupt button
};

}  // namespace tivelor
