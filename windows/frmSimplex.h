// The Simplex progress window: an Interrupt button across the top, the
// initial-simplex pane above and the progress pane below, with a boundary
// between the panes that the user can drag.
#pragma once

#include "engine/Progress.h"
#include "platform/forms.h"

namespace tivelor {

class App;
class SimplexWatch;

class frmSimplex : public platform::Form {
public:
    static constexpr const char* kName = "frmSimplex";
    explicit frmSimplex(App& app);

    platform::CommandButton cmdStop{*this, "cmdStop", "&Interrupt", 0, 0, 13880, 375};
    platform::RichTextBox rtbSimplexInitial{*this, "rtbSimplexInitial", 0, 360, 13760, 3000};
    platform::RichTextBox rtbSimplex{*this, "rtbSimplex", 0, 3390, 13760, 4000};

    int SplitterGap = 15;
    int SplitterDragging = 0;
    // 0 the default pointer, 7 the north-south sizing pointer.

    void Form_Load() override;
    void Form_Resize() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;
    void Form_MouseDown(int button, int shift, double x, double y);
    void Form_MouseMove(int button, int shift, double x, double y);
    void Form_MouseUp(int button, int shift, double x, double y);
    void rtbSimplex_MouseMove(int button, int shift, double x, double y);
    void rtbSimplexInitial_MouseMove(int button, int shift, double x, double y);
    void cmdStop_Click();

    // Whether (x, y) lies in the strip between the panes that starts a drag.
    bool InSplitterZone(double x, double y) const;

    // The run this window shows, if any: Interrupt asks it to stop.
    SimplexWatch* watch = nullptr;

private:
    void Layout();
    App& app;
};

// A Simplex run as frmSimplex shows it: the progress line in the main
// window's status bar, the initial simplex (pane 0) and the progress (pane 1)
// in the window's panes, its Interrupt button, and the review of prior
// likelihoods at a minimum.
class SimplexWatch final : public InterruptWatch {
public:
    explicit SimplexWatch(App& app) : app(app) {}
    ~SimplexWatch() override;
    SimplexWatch(const SimplexWatch&) = delete;
    SimplexWatch& operator=(const SimplexWatch&) = delete;

    void Begin(bool fresh) override;
    void Interruptible(bool on) override;
    void Panel(int i, const std::string& text) override;
    void Report(int pane, const std::string& text) override;
    void AtPriorMinimum() override;

private:
    frmSimplex* Window();   // when loaded
    App& app;
};

}  // namespace tivelor
