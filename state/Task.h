// The task in charge and the one way back to the main menu.
//
// A task started by the user (a run from the main menu, an evaluation, a
// ranking computation, ...) takes charge with a TaskGuard: the Application
// menu is disabled, a main menu that started the task closes, and only the
// windows the task loads or shows take the user's input until it ends.
// While a task is in charge, no window brings the main menu back: a request
// for it, from whatever window, is kept for the task's end. When the task
// ends the user always has a way on: what was asked for, else the window the
// task was started from, else the main menu.
#pragma once

namespace platform {
class Form;
}

namespace tivelor {

class App;

// In a handler that starts a task:
//     TaskGuard task(app, "Simplex");
//     if (!task) return;   // another task is in charge
// A handler that the running task calls itself joins it.
class TaskGuard {
public:
    // Takes charge for a task unless one is in charge already. A task from
    // the main menu closes it and gives back what it decides
    // (ReturnToMainMenu), or the main menu. A task from another window names
    // it as `own`: that window keeps taking input, a main menu beside it
    // stays where it is (taking no input), and what stood there comes back
    // at the end; while the window is open it is the way on.
    TaskGuard(App& app, const char* name, platform::Form* own = nullptr);
    ~TaskGuard();
    TaskGuard(const TaskGuard&) = delete;
    TaskGuard& operator=(const TaskGuard&) = delete;

    explicit operator bool() const { return inCharge_; }

private:
    App& app_;
    const int exceptions_;
    bool inCharge_ = false, outermost_ = false;
};

enum class MenuBack { ApplicationMenu = 1, MainMenu = 2 };

// The one way back to the main menu, for windows and tasks alike: shows the
// menu with its buttons as the initialization and the algorithm file allow
// and enables the Application menu (or only enables the Application menu).
// While a task is in charge the request is kept for the task's end,
// whichever window or task makes it.
void ReturnToMainMenu(App& app, MenuBack what = MenuBack::MainMenu);

// Shows the algorithm editor and waits until it closes. False when the data
// or the parameter set in memory changed meanwhile: the caller then backs
// out as its own cancel does, touching no parameter-indexed array.
bool WaitForEditorEdits(App& app);

// A new data or parameter set is in memory (see EngineState::Generation).
void NewParameterGeneration(App& app);

}  // namespace tivelor
