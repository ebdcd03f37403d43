#include "state/Task.h"

#include <algorithm>
#include <exception>

#include "state/App.h"

namespace tivelor {

namespace {

void GiveBack(App& app, MenuBack what) {
    if (what == MenuBack::MainMenu) app.shellAccess->ShowMainMenu();
    else app.shellAccess->GiveBackApplicationMenu();
}

}  // namespace

TaskGuard::TaskGuard(App& app, const char* name, platform::Form* own)
    : app_(app), exceptions_(std::uncaught_exceptions()) {
    TaskState& t = app.task;
    const int depth = app.ui.DispatchDepth();
    if (t.InCharge()) {
        if (depth != t.StartedAt) return;   // a user's action during a wait
        inCharge_ = true;
        ++t.Depth;
        return;
    }
    inCharge_ = outermost_ = true;
    t.Depth = 1;
    t.StartedAt = depth;
    t.Running = name;
    t.GiveBackAtEnd = 0;
    app.ui.forms.OpenInputScope();
    const int had = app.shellAccess->HandOver();
    if (own) {
        // The window stays in charge: at most the Application menu comes back.
        app.ui.forms.Adopt(*own);
        t.GiveBackAtEnd = std::min(had, static_cast<int>(MenuBack::ApplicationMenu));
    }
}

TaskGuard::~TaskGuard() {
    if (!inCharge_) return;
    TaskState& t = app_.task;
    --t.Depth;
    if (!outermost_) return;
    t.Depth = 0;
    t.Running.clear();
    app_.ui.forms.CloseInputScope();
    const int back = t.GiveBackAtEnd;
    t.GiveBackAtEnd = 0;
    try {
        // After a failure the Application menu comes back, from which the
        // main menu can be reached.
        if (std::uncaught_exceptions() > exceptions_) app_.shellAccess->GiveBackApplicationMenu();
        else if (back != 0) GiveBack(app_, static_cast<MenuBack>(back));
    } catch (...) {
    }
}

void ReturnToMainMenu(App& app, const platform::Form* from, MenuBack what) {
    if (!app.task.InCharge()) GiveBack(app, what);
    else if (from && app.ui.forms.InScope(*from)) ReturnAtTaskEnd(app, what);
}

void ReturnAtTaskEnd(App& app, MenuBack what) {
    if (!app.task.InCharge()) GiveBack(app, what);
    else app.task.GiveBackAtEnd = std::max(app.task.GiveBackAtEnd, static_cast<int>(what));
}

bool WaitForEditorEdits(App& app) {
    const std::uint64_t generation = app.eng.Generation;
    app.sw.FormClosed = platform::False;
    app.shellAccess->ShowAlgorithmEditor();
    while (!app.sw.FormClosed) app.ui.WaitForUser();
    app.sw.FormClosed = platform::False;
    return app.eng.Generation == generation;
}

void NewParameterGeneration(App& app) { ++app.eng.Generation; }

}  // namespace tivelor
