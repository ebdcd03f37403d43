#include "shell/ShellLink.h"

#include "shell/AlgoEditor.h"
#include "shell/Quit.h"
#include "shell/frmMenu.h"
#include "state/App.h"

namespace tivelor {

namespace {

class ShellLink : public ShellAccess {
public:
    explicit ShellLink(App& a) : app(a) {}

    platform::Form& MainMenu() override { return app.form<frmMenu>(); }
    platform::Form* LoadedMainMenu() override { return app.ui.forms.Find(frmMenu::kName); }
    void EnableTaskButtons(bool enabled) override { app.form<frmMenu>().EnableTaskButtons(enabled); }
    void EnableLoadButtons() override {
        frmMenu& menu = app.form<frmMenu>();
        menu.cmdLoadAlg.Enabled = true;
        menu.cmdInitialize.Enabled = true;
    }
    void FocusLoadAlgorithm() override {
        frmMenu& menu = app.form<frmMenu>();
        menu.cmdLoadAlg.Enabled = true;
        menu.cmdLoadAlg.SetFocus();
    }
    void ShowAlgorithmEditor() override { tivelor::ShowAlgorithmEditor(app); }
    bool Quit(QuitFrom from, const PriorsSaver& savePriors) override {
        return RunQuitSequence(app, from, savePriors);
    }

private:
    App& app;
};

}  // namespace

std::unique_ptr<ShellAccess> MakeShellAccess(App& app) { return std::make_unique<ShellLink>(app); }

}  // namespace tivelor
