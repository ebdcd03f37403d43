// The application object: owns every piece of shared state and the forms.
// A test builds a fresh one on a headless Ui.
#pragma once

#include <memory>

#include "platform/ui.h"
#include "state/BayesState.h"
#include "state/EngineState.h"
#include "state/EvalState.h"
#include "state/MLState.h"
#include "state/MarquardtState.h"
#include "state/ModelState.h"
#include "state/PlotRequest.h"
#include "state/PriorTable.h"
#include "state/ShellAccess.h"
#include "state/ShellState.h"
#include "state/SimplexState.h"
#include "state/TaskState.h"
#include "state/UncertaintyState.h"

namespace tivelor {

class App {
public:
    // Defined on top, in app/: gives the engine the model as its objective
    // and wires the report's services and the shell.
    explicit App(platform::Ui& ui);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    platform::Ui& ui;

    EngineState eng;
    SimplexState simplex;
    MarquardtState marq;
    ModelState model;
    PriorTable priors;
    EvalState eval;
    MLState ml;
    BayesState bayes;
    PlotRequest plot;
    Switches sw;
    Messages msg;
    ShellState shell;
    UncertaintyState unc;
    TaskState task;

    // The shell above every subsystem, as they reach it.
    std::unique_ptr<ShellAccess> shellAccess;

    // A reference to a form loads it, as in the window system.
    template <class T>
    T& form() { return ui.forms.Get<T>(*this); }
    template <class T>
    bool IsLoaded() const { return ui.forms.IsLoaded(T::kName); }
    // Unloads the form if it is loaded; true when it is gone.
    template <class T>
    bool UnloadIfLoaded() {
        platform::Form* f = ui.forms.Find(T::kName);
        return !f || f->Unload();
    }

    // Shows a message box from the message-box globals and stores the answer.
    double ShowMsg();
    double ShowMsg(const std::string& text, int style, const std::string& title);

    // The first window of the program.
    void Start();
};

}  // namespace tivelor
