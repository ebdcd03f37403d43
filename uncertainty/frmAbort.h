// Small window that stops a randomization run between randomizations.
#pragma once

#include "platform/forms.h"

namespace tivelor {

class App;

class frmAbort : public platform::Form {
public:
    static constexpr const char* kName = "frmAbort";
    explicit frmAbort(App& app);

    platform::CommandButton cmdAbort{*this, "cmdAbort", "&Abort", 720, 240, 1575, 495};

    void Form_Load() override;   // sends the window behind the others
    void cmdAbort_Click();       // sets AbortFlag and unloads

private:
    App& app;
};

}  // namespace tivelor
