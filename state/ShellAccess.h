// The shell on top, as the floors below it reach it: the main menu, the
// algorithm editor and the quit sequence. The application installs the
// shell's own; the tasks hand the menu back through it when they end.
#pragma once

#include <functional>

namespace platform {
class Form;
}

namespace tivelor {

enum class QuitFrom { Other, PriorEditor };

// Writes the priors file; false only when the file could not be written
// (the user has been told). A cancelled dialog counts as done.
using PriorsSaver = std::function<bool()>;

class ShellAccess {
public:
    virtual ~ShellAccess() = default;

    // The main menu window, loaded when it is not. Only ReturnToMainMenu
    // (state/Task.h) shows it.
    virtual platform::Form& MainMenu() = 0;
    // The main menu when it is loaded, else nullptr.
    virtual platform::Form* LoadedMainMenu() = 0;
    // Enables or disables the main menu's twelve task buttons.
    virtual void EnableTaskButtons(bool enabled) = 0;
    // A task takes charge: the Application menu is disabled, and the main
    // menu closes when the task starts from it (`closeMainMenu`). Returns
    // what there was.
    struct Menus {
        bool MainMenuShown = false;
        bool ApplicationMenuEnabled = false;
    };
    virtual Menus HandOver(bool closeMainMenu) = 0;
    // Whether the main menu is shown.
    virtual bool MainMenuShown() = 0;
    // The main menu shown with its buttons as the initialization and the
    // algorithm file allow, and the Application menu enabled.
    virtual void ShowMainMenu() = 0;
    // The Application menu enabled after a task failed, from which the main
    // menu can be reached; loads no window.
    virtual void GiveBackApplicationMenu() = 0;
    // Initialize model and Load algorithm data enabled again (after a
    // failed read of an algorithm file).
    virtual void EnableLoadButtons() = 0;
    // Load algorithm data enabled and given the focus (after the model has
    // been initialized).
    virtual void FocusLoadAlgorithm() = 0;

    // Shows the algorithm editor (not modal) with the focus on its Finish
    // editing button. The opener has set AlgoColOn(1..9) and its return
    // switch; a caller that waits for the edits sets FormClosed False first
    // and yields until it is True.
    virtual void ShowAlgorithmEditor() = 0;

    // Confirms, offers to save the algorithm data and the priors, closes
    // the minimization log and ends the program. Returns false when the user
    // declines or a save failed; otherwise the call does not return. The
    // prior editor passes its own saver; without one the main menu's
    // Save_Priors writes the priors.
    virtual bool Quit(QuitFrom from, const PriorsSaver& savePriors = nullptr) = 0;
};

}  // namespace tivelor
