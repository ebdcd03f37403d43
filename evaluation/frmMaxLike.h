// The maximum-likelihood statistics window: the confidence-distribution table,
// editable and saved as a .mlc file.
#pragma once

#include "platform/forms.h"

namespace tivelor {

class App;

class frmMaxLike : public platform::Form {
public:
    static constexpr const char* kName = "frmMaxLike";
    explicit frmMaxLike(App& app);

    platform::CommandButton cmdSaveML{*this, "cmdSaveML", "&Save maximum-likelihood data as...", 0, 0, 11000, 375};
    platform::CommonDialog CommonDialog1{*this, "CommonDialog1"};
    platform::RichTextBox rtbMaxLike{*this, "rtbMaxLike", 0, 375, 10880, 6000};

    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
    void cmdSaveML_Click();

private:
    App& app;
};

}  // namespace tivelor
