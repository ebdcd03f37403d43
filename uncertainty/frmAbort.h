// Small window that stops a randomization run between randomizations.
#pragma once

#include "engine/Progress.h"
#include "platform/forms.h"

namespace tivelor {

class App;
class AbortWatch;

class frmAbort : public platform::Form {
public:
    static constexpr const char* kName = "frmAbort";
    explicit frmAbort(App& app);

    platform::CommandButton cmdAbort{*this, "cmdAbort", "&Abort", 720, 240, 1575, 495};

    void Form_Load() override;   // sends the window behind the others
    void cmdAbort_Click();       // asks the run to stop and unloads

    // The run this window stops, if any.
    AbortWatch* watch = nullptr;

private:
    App& app;
};

// A randomization run as frmAbort stops it: Begin shows the window, Close
// unloads it; after Abort the run is asked to stop at every answer.
class AbortWatch final : public ProgressObserver {
public:
    explicit AbortWatch(App& app) : app(app) {}
    ~AbortWatch() override;
    AbortWatch(const AbortWatch&) = delete;
    AbortWatch& operator=(const AbortWatch&) = delete;

    bool GoOn(const Iteration& at) override;
    void Begin(bool fresh) override;
    void Close() override;

    void AskToStop() { stopAsked = true; }

private:
    App& app;
    bool stopAsked = false;
};

}  // namespace tivelor
