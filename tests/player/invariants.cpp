#include "tests/player/invariants.h"

#include <initializer_list>
#include <utility>

#include "platform/headless/headless.h"
#include "shell/frmMenu.h"
#include "windows/frmMain.h"

namespace monkey {

namespace {

using tivelor::App;

template <class T>
std::string Sized(const char* name, const platform::Vec<T>& v, long want) {
    if (v.UBound() == want) return "";
    return std::string(name) + " has upper bound " + std::to_string(v.UBound()) + ", not " + std::to_string(want);
}

// The arrays kept one element per parameter from the initialization on.
std::string ParameterArrays(const App& app) {
    const auto& par = app.eng.par;
    const long n = par.NumPars;
    const auto& pr = app.priors;
    const auto& fr = app.eng.free;
    const auto& sx = app.simplex;
    const auto& mq = app.marq;
    for (std::string s :
         {Sized("ParValue", par.ParValue, n), Sized("StepSize", par.StepSize, n), Sized("FuseCode", par.FuseCode, n),
          Sized("ParName", par.ParName, n), Sized("PriorType", pr.PriorType, n), Sized("PriorMean", pr.PriorMean, n),
          Sized("PriorSD", pr.PriorSD, n), Sized("PriorMean2", pr.PriorMean2, n), Sized("PriorSD2", pr.PriorSD2, n),
          Sized("PriorTerm", pr.PriorTerm, n), Sized("FreeValue", fr.FreeValue, n), Sized("FreeStep", fr.FreeStep, n),
          Sized("FreeIndex", fr.FreeIndex, n), Sized("simplex TrialPar", sx.TrialPar, n),
          Sized("WorkVertex", sx.WorkVertex, n), Sized("ExtVertex", sx.ExtVertex, n),
          Sized("SimplexF", sx.SimplexF, n + 1), Sized("MarqPar", mq.MarqPar, n),
          Sized("Marquardt TrialPar", mq.TrialPar, n), Sized("Marquardt GridPar", mq.GridPar, n),
          Sized("BestPar", app.model.BestPar, n)})
        if (!s.empty()) return s + " (NumPars)";
    return "";
}

// A kept profile table: its parameter is one of the set, its columns hold its points.
std::string Table(const char* offer, const tivelor::ProfileSnapshot& s, long numPars) {
    const std::string head = std::string("the offered ") + offer + " ";
    if (s.ProfPar < 1 || s.ProfPar > numPars)
        return head + "is of parameter " + std::to_string(s.ProfPar) + " of " + std::to_string(numPars);
    for (const auto& [name, v] : {std::pair<const char*, const platform::Vec<double>*>{"ProfX", &s.ProfX},
                                  {"ProfNegLnL", &s.ProfNegLnL}, {"ProfPDF", &s.ProfPDF}, {"ProfCum", &s.ProfCum},
                                  {"ProfCIMode", &s.ProfCIMode}, {"ProfCIMean", &s.ProfCIMean},
                                  {"ProfNormPDF", &s.ProfNormPDF}})
        if (v->UBound() < s.NProfPts)
            return head + "keeps " + name + " to " + std::to_string(v->UBound()) + " of " +
                   std::to_string(s.NProfPts) + " points";
    return "";
}

// The previous results offered belong to the parameter set in memory.
std::string Offers(const App& app) {
    const long n = app.eng.par.NumPars;
    if (app.ml.last.valid)
        if (std::string s = Table("likelihood profile", app.ml.last, n); !s.empty()) return s;
    const auto& post = app.bayes.last;
    if (post.valid) {
        if (std::string s = Table("posterior", post.table, n); !s.empty()) return s;
        if (post.FreeIndex1 < 0 || post.FreeIndex1 > n)
            return "the offered posterior's bivariate parameter is " + std::to_string(post.FreeIndex1) + " of " +
                   std::to_string(n);
    }
    const auto& c = app.eng.CovStore;
    if (app.sw.CovDone == "on" && (c.UBound1() != n || c.UBound2() != n || c.UBound3() != 3))
        return "the offered covariances are stored for " + std::to_string(c.UBound1()) + " by " +
               std::to_string(c.UBound2()) + " parameters, not " + std::to_string(n);
    return "";
}

// A task in charge leaves the main menu no input (closed, or left beside the
// window the task started from) and has the Application menu disabled.
std::string HandOver(const App& app) {
    if (!app.task.InCharge()) return "";
    const std::string task = "while " + (app.task.Running.empty() ? std::string("a task") : app.task.Running) +
                             " is in charge, ";
    const platform::Form* menu = app.ui.forms.Find(tivelor::frmMenu::kName);
    if (menu && !menu->IsUnloaded() && menu->Visible() && menu->AcceptsInput())
        return task + "the main menu takes input";
    const platform::Form* main = app.ui.forms.Find(tivelor::frmMain::kName);
    if (main && static_cast<const tivelor::frmMain*>(main)->mnuApplication.Enabled)
        return task + "frmMain.mnuApplication is enabled";
    return "";
}

}  // namespace

std::string NoWayOn(const App& app) {
    if (app.task.InCharge()) return "";
    for (const platform::Form* f : app.ui.forms.Loaded()) {
        if (f->IsUnloaded() || !f->Visible()) continue;
        if (f->kind == platform::FormKind::MdiParent) {
            if (f->name == tivelor::frmMain::kName &&
                platform::headless::HeadlessBackend::Usable(static_cast<const tivelor::frmMain*>(f)->mnuMenu))
                return "";
        } else if (f->Enabled && f->AcceptsInput()) {
            return "";
        }
    }
    return "a dead end: no task is in charge, no window but the main window takes input, and "
           "frmMain.mnuMenu cannot be used";
}

std::string BrokenInvariant(const App& app, bool settled) {
    if (std::string s = HandOver(app); !s.empty()) return s;
    if (settled)
        if (std::string s = NoWayOn(app); !s.empty()) return s;
    if (app.eng.par.NumPars < 1) return "";   // no model yet
    if (std::string s = ParameterArrays(app); !s.empty()) return s;
    return Offers(app);
}

}  // namespace monkey
