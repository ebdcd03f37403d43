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

// The way on when a task ends: what was asked for meanwhile; for a task from
// another window, what stood beside it, and that window while it is open;
// else the main menu.
int WayOn(App& app, const TaskState& t) {
    int back = t.GiveBackAtEnd;
    if (t.StartedFrom.empty()) return back != 0 ? back : static_cast<int>(MenuBack::MainMenu);
    if (t.MainMenuWasShown && !app.shellAccess->MainMenuShown()) back = static_cast<int>(MenuBack::MainMenu);
    if (t.ApplicationMenuWasEnabled) back = std::max(back, static_cast<int>(MenuBack::ApplicationMenu));
    const platform::Form* from = app.ui.forms.Find(t.StartedFrom);
    if (back == 0 && !(from && from->Visible())) back = static_cast<int>(MenuBack::MainMenu);
    return back;
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
    t.StartedFrom = own ? own->name : std::string();
    app.ui.forms.OpenInputScope();
    const ShellAccess::Menus had = app.shellAccess->HandOver(own == nullptr);
    t.MainMenuWasShown = own && had.MainMenuShown;
    t.ApplicationMenuWasEnabled = own && had.ApplicationMenuEnabled;
    if (own) app.ui.forms.Adopt(*own);
}

TaskGuard::~TaskGuard() {
    if (!inCharge_) return;
    TaskState& t = app_.task;
    --t.Depth;
    if (!outermost_) return;
    t.Depth = 0;
    t.Running.clear();
    app_.ui.forms.CloseInputScope();
    const int back = WayOn(app_, t);
    t.GiveBackAtEnd = 0;
    t.StartedFrom.clear();
    try {
        // After a failure the Application menu comes back at least, from
        // which the main menu can be reached.
        if (std::uncaught_exceptions() > exceptions_) app_.shellAccess->GiveBackApplicationMenu();
        if (back != 0) GiveBack(app_, static_cast<MenuBack>(back));
    } catch (...) {
    }
}

void ReturnToMainMenu(App& app, MenuBack what) {
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
