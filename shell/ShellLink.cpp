#include "shell/ShellLink.h"

#include "shell/AlgoEditor.h"
#include "shell/Quit.h"
#include "shell/frmMenu.h"
#include "state/App.h"
#include "windows/frmMain.h"

namespace tivelor {

namespace {

class ShellLink : public ShellAccess {
public:
    explicit ShellLink(App& a) : app(a) {}

    platform::Form& MainMenu() override { return app.form<frmMenu>(); }
    platform::Form* LoadedMainMenu() override { return app.ui.forms.Find(frmMenu::kName); }
    Menus HandOver(bool closeMainMenu) override {
        Menus had;
        had.MainMenuShown = MainMenuShown();
        if (platform::Form* menu = LoadedMainMenu(); menu && closeMainMenu) menu->Unload();
        if (auto* main = static_cast<frmMain*>(app.ui.forms.Find(frmMain::kName))) {
            had.ApplicationMenuEnabled = main->mnuApplication.Enabled;
            main->mnuApplication.Enabled = false;
        }
        return had;
    }
    bool MainMenuShown() override {
        platform::Form* menu = LoadedMainMenu();
        return menu && menu->Visible();
    }
    void ShowMainMenu() override {
        frmMenu& menu = app.form<frmMenu>();
        menu.Show();
        menu.ApplyButtonRule();
        app.form<frmMain>().mnuApplication.Enabled = true;
    }
    void GiveBackApplicationMenu() override {
        if (platform::Form* f = app.ui.forms.Find(frmMain::kName))
            static_cast<frmMain*>(f)->mnuApplication.Enabled = true;
    }
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
