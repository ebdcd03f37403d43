// The window that lists the single function call's result.
#pragma once

#include "platform/forms.h"

namespace tivelor {

class App;

class frmOneFunction : public platform::Form {
public:
    static constexpr const char* kName = "frmOneFunction";
    explicit frmOneFunction(App& app);
    platform::RichTextBox rtbOneFunction{*this, "rtbOneFunction", 0, 0, 13880, 5000};
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;

private:
    App& app;
};

}  // namespace tivelor
