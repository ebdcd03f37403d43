// The frame of the application: an MDI parent with the menu bar and six
// status bars.
#pragma once

#include "engine/Progress.h"
#include "platform/forms.h"

namespace tivelor {

class App;
class MainWindowWatch;

class frmMain : public platform::Form {
public:
    static constexpr const char* kName = "frmMain";
    explicit frmMain(App& app);

    int Initialized = 0;   // set True by the initialization dialog

    platform::Menu mnuApplication{*this, "mnuApplication", "&Application"};
    platform::Menu mnuMenu{*this, "mnuMenu", "Main &menu", &mnuApplication, "Ctrl+M"};
    platform::Menu mnuSep1{*this, "mnuSep1", "-", &mnuApplication};
    platform::Menu mnuExit{*this, "mnuExit", "E&xit", &mnuApplication, "Ctrl+X"};
    platform::Menu mnuBayesianInt{*this, "mnuBayesianInt", "&Interrupt ", nullptr, "", false};
    platform::Menu mnuInterruptBayes{*this, "mnuInterruptBayes", "I&nterrupt calculations",
                                     &mnuBayesianInt, "Ctrl+N"};
    platform::Menu mnuMLInt{*this, "mnuMLInt", "&Interrupt", nullptr, "", false};
    platform::Menu mnuInterruptML{*this, "mnuInterruptML", "&Interrupt calculations", &mnuMLInt,
                                  "Ctrl+I"};
    platform::Menu mnuWindow{*this, "mnuWindow", "&Window"};
    platform::Menu mnuCascade{*this, "mnuCascade", "&Cascade", &mnuWindow, "Ctrl+C"};
    platform::Menu mnuTileHorizontal{*this, "mnuTileHorizontal", "Tile &Horizontal", &mnuWindow,
                                     "Ctrl+H"};
    platform::Menu mnuTileVertical{*this, "mnuTileVertical", "Tile &Vertical", &mnuWindow,
                                   "Ctrl+V"};
    platform::Menu mnuArrangeIcons{*this, "mnuArrangeIcons", "&Arrange Icons", &mnuWindow};
    platform::Menu mnuDefaultNames{*this, "mnuDefaultNames", "&Defaults etc."};
    platform::Menu mnuWisdom{*this, "mnuWisdom", "&Wisdom"};
    platform::Menu mnuAbout{*this, "mnuAbout", "&About"};
    platform::Menu mnuCredits{*this, "mnuCredits", "&Credits", &mnuAbout};

    platform::StatusBar stbMain0{*this, "stbMain0", 2};
    platform::StatusBar stbMain1{*this, "stbMain1", 2};
    platform::StatusBar stbMain2{*this, "stbMain2", 3};
    platform::StatusBar stbMain3{*this, "stbMain3", 6};
    platform::StatusBar stbMain4{*this, "stbMain4", 2};
    platform::StatusBar stbMain5{*this, "stbMain5", 5};

    platform::CommonDialog CommonDialog1{*this, "CommonDialog1"};

    // The last arrangement asked for (0 cascade, 1 tile horizontal,
    // 2 tile vertical, 3 arrange icons); the back end carries it out.
    int lastArrange = -1;
    void Arrange(int how);

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void mnuExit_Click();
    void mnuMenu_Click();
    void mnuCredits_Click();
    void mnuDefaultNames_Click();
    void mnuWisdom_Click();
    void mnuInterruptBayes_Click();
    void mnuInterruptML_Click();

    // The run that the Interrupt menu items stop, if any.
    MainWindowWatch* watch = nullptr;

private:
    App& app;
};

// A long run watched from the main window: the profile of an estimate
// without free parameters, or the posterior integration. Its Interrupt menu
// item asks it to stop; the other one is not for it.
class MainWindowWatch final : public InterruptWatch {
public:
    enum class Item { InterruptML, InterruptBayes };
    MainWindowWatch(App& app, Item item);
    ~MainWindowWatch() override;
    MainWindowWatch(const MainWindowWatch&) = delete;
    MainWindowWatch& operator=(const MainWindowWatch&) = delete;

    void AskToStop(Item from) {
        if (from == item) InterruptWatch::AskToStop();
    }

private:
    App& app;
    const Item item;
};

}  // namespace tivelor
