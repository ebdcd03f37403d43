#include "tests/player/monkey.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "state/App.h"

namespace monkey {

namespace fs = std::filesystem;
using platform::Control;
using platform::ControlKind;
using platform::Form;
using platform::headless::Request;
using platform::headless::ScriptError;
using platform::headless::Step;

namespace {

// Thrown to end a session that has used up its lines inside a run.
struct SessionOver {};

// Thrown to end a session at a fault that is no crash; the session's exit
// status tells its kind.
struct Finding {
    int status;
    std::string what;
};
constexpr int kBrokenInvariant = 4;
constexpr int kRunGoesOn = 5;
// Yields a run may take to end after its stop control was pressed.
constexpr std::uint64_t kStopGrace = 50000;

// SplitMix64: the same choices from the same seed on every build.
class Dice {
public:
    explicit Dice(std::uint64_t seed) : s_(seed) { s_ = Next() ^ 0x2545F4914F6CDD1Dull; }
    std::uint64_t Next() {
        std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
    bool Percent(int p) { return Below(100) < p; }
    template <class T>
    const T& Of(const std::vector<T>& v) { return v[static_cast<std::size_t>(Below(static_cast<int>(v.size())))]; }

private:
    std::uint64_t s_;
};

std::string Q(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\b': out += "\\b"; break;
            default: out += c;
        }
    }
    return out + "\"";
}

bool StartsWith(const std::string& s, const std::string& p) { return s.rfind(p, 0) == 0; }

// The tasks whose reach the monkey counts (--stats), as its scripts note them
// ("# reached covariances", "# waited covariances").
enum Task { kCovariances, kProfile, kPosterior, kPriorProfile, kGoodnessOfFit, kRandomizations, kRanking,
            kAveraging, kTaskCount };
const char* const kTaskNames[kTaskCount] = {"covariances", "profile", "posterior", "prior profile",
                                            "goodness of fit", "uncertainty randomizations", "ranking",
                                            "averaging"};
constexpr unsigned Bit(Task t) { return 1u << t; }
const std::string kGofPrompt = "More randomizations improve the goodness-of-fit (GOF) test";

// A stop control of a long run: Interrupt, Stop, Abort.
bool IsStop(const Control& c) {
    return c.name == "cmdStop" || c.name == "cmdAbort" || StartsWith(c.name, "mnuInterrupt");
}

// Quit and Exit end the session: rarer than the rest.
bool IsQuit(const Control& c) { return c.name == "cmdQuit" || StartsWith(c.name, "mnuExit"); }

const std::vector<std::string> kSmall = {"0", "1", "1", "2", "2", "3", "3", "4", "5", "10", "0.5", "0.1",
                                         "0.01", "0.25", "-1", "-0.5", "1E-06", "20", "100"};
const std::vector<std::string> kLetters = {"a", "abc", "x", "e", "-", ".", " ", "1,5", "1e", "--1",
                                           "NaN", "inf", "1 2", "y", "N"};
const std::vector<std::string> kHuge = {"1E300", "-1E300", "1E+308", "99999999999", "2147483648",
                                        "1E-300", "1E400", "1E-320", "32768", "-32769", "1000000"};

// Data files and the numbers that fit them: species, quadrats sampled, in
// the habitat.
// The algorithm file beside each fits it; heath15's minimum (with both links
// on) is one whose covariances can be inverted; in meadow12's profile file
// every parameter but the first is fixed, so that a profile of it runs with
// no minimizer and offers the main window's Interrupt menu.
struct DataFile {
    const char* path;
    const char* ns;
    const char* nq;
    const char* nh;
    const char* alg;
    const char* fitted;
    const char* profile;
};
const std::vector<DataFile> kData = {
    {"examples/meadow12.dat", "12", "8", "40", "examples/meadow12.alg", nullptr,
     "tests/sessions/profile/meadow_theta1.alg"},
    {"examples/bog10.dat", "10", "6", "30", "examples/bog10.alg", nullptr, nullptr},
    {"examples/heath15.dat", "15", "10", "50", "examples/heath15.alg", "tests/sessions/fitted_heath15.alg", nullptr}};

class Monkey {
public:
    Monkey(Host& host, std::uint64_t seed, int actions, const std::string& logPath)
        : host_(host), s_(host.Session()), dice_(seed), actions_(actions) {
        log_ = std::fopen(logPath.c_str(), "w");
        if (!log_) throw ScriptError("cannot write " + logPath);
        std::fprintf(log_, "# monkey session, seed %llu\n", static_cast<unsigned long long>(seed));
        std::fflush(log_);
        // Files to open: the examples, the test files beside the scripts.
        for (const char* dir : {"examples", "tests/sessions"}) {
            std::error_code ec;
            for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::end(it); it.increment(ec)) {
                if (!it->is_regular_file()) continue;
                std::string ext = it->path().extension().string();
                if (ext == ".tvs" || ext == ".md") continue;
                files_.push_back(it->path().generic_string());
            }
        }
        std::sort(files_.begin(), files_.end());
    }
    ~Monkey() {
        if (log_) std::fclose(log_);
    }

    int Play() {
        auto& b = s_.backend;
        b.source = [this](const Request& r, Step& step) { return Make(r, step); };
        b.OnPoll(97, [this] { Polled(); });
        try {
            try {
                Do("start");
                while (!b.Ended() && lines_ < actions_) {
                    Check(true);
                    stopAt_ = 0;
                    std::string line = ChooseAction(nullptr, false);
                    if (line.empty()) {
                        Note("nothing left to do");
                        break;
                    }
                    Do(line);
                }
            } catch (const SessionOver&) {
                Note("the session used up its lines");
            } catch (const platform::ProgramEnded&) {
            }
            Check();
        } catch (const Finding& f) {
            Note(f.what);
            std::cerr << "monkey: " << f.what << "\n";
            return f.status;
        } catch (const ScriptError& e) {
            Note(std::string("script error: ") + e.what());
            std::cerr << "monkey: script error: " << e.what() << "\n";
            return 3;
        }
        b.source = nullptr;
        b.OnPoll(0, nullptr);
        return 0;
    }

private:
    void Write(const std::string& line) {
        std::fprintf(log_, "%s\n", line.c_str());
        std::fflush(log_);
    }
    void Note(const std::string& text) { Write("# " + text); }

    void Logged(const std::string& line) {
        Write(line);
        ++lines_;
        anchor_ = s_.ui.DoEventsCount();
        budget_ = Budget();
    }

    // A top-level line: logged, then run.
    void Do(const std::string& line) {
        Logged(line);
        if (line == "click frmMenu.cmdUserSummary" || line == "click frmMenu.cmdRank") fresh_ = false;
        before_.clear();
        for (Form* f : Reachable(nullptr)) before_.insert(f->name);
        s_.backend.Run(host_.Parse(line));
    }

    // After every line: the program's state is one it may be in; settled,
    // between two top-level lines, the user also has a way on.
    void Check(bool settled = false) {
        Observe(nullptr);
        std::string broken = host_.BrokenInvariant(settled);
        if (!broken.empty()) throw Finding{kBrokenInvariant, "broken invariant: " + broken};
    }

    // ------------------------------------------------------------ reach

    std::string Panel(const char* form, const char* bar, int i) const {
        const Form* f = s_.ui.forms.Find(form);
        const Control* c = f ? f->FindControl(bar) : nullptr;
        return c && c->kind == ControlKind::StatusBar ? static_cast<const platform::StatusBar*>(c)->Panel(i) : "";
    }

    bool Shown(const char* form) const {
        const Form* f = s_.ui.forms.Find(form);
        return f && !f->IsUnloaded() && f->Visible();
    }

    // The tasks whose work goes on now. r: the box or wait being asked for
    // (the goodness-of-fit count prompt marks the test as reached, and is
    // not counted as a wait inside it).
    unsigned Active(const Request* r, bool waiting = false) const {
        const tivelor::App* app = host_.Program();
        if (!app) return 0;
        const std::string& task = app->task.Running;
        unsigned on = 0;
        if (task == "Covariances") on |= Bit(kCovariances);
        if (task == "Likelihood profile") on |= Bit(kProfile);
        if (task == "Bayesian posterior") on |= Bit(kPosterior);
        if (task == "Prior profile") on |= Bit(kPriorProfile);
        if (task == "Model ranking") on |= Bit(kRanking);
        if (task == "Results summary") {
            const std::string status = Panel("frmMain", "stbMain5", 1);
            const bool prompt = r && r->kind == Request::InputBox && r->title == kGofPrompt;
            if (Shown("frmRange") || StartsWith(status, "Pearson-deviates:") || (prompt && !waiting))
                on |= Bit(kGoodnessOfFit);
            if ((reached_ & Bit(kRandomizations)) && status.find(" uncertainty statistics: ") != std::string::npos)
                on |= Bit(kRandomizations);
        }
        return on;
    }

    void Mark(unsigned& seen, unsigned now, const char* what) {
        for (int t = 0; t < kTaskCount; ++t)
            if ((now & Bit(static_cast<Task>(t))) && !(seen & Bit(static_cast<Task>(t))))
                Note(std::string(what) + " " + kTaskNames[t]);
        seen |= now;
    }

    // Notes the tasks reached, and those that wait for the user (r: the
    // request that waits), each once a session. A task is reached when it
    // takes charge; goodness of fit when its count prompt is asked; the
    // randomizations when one starts; averaging (which asks nothing) when its
    // text is shown.
    void Observe(const Request* r) {
        unsigned now = Active(r);
        const auto& log = s_.backend.log;
        if (logSeen_ > log.size()) logSeen_ = 0;   // the log was cleared
        for (; logSeen_ < log.size(); ++logSeen_)
            if (StartsWith(log[logSeen_], "panel frmMain.stbMain5 1 ") &&
                log[logSeen_].find(" uncertainty statistics: doing randomization #") != std::string::npos)
                now |= Bit(kRandomizations);
        const Form* rank = s_.ui.forms.Find("frmRank");
        const Control* average = rank && !rank->IsUnloaded() ? rank->FindControl("txtAverage") : nullptr;
        if (average && !average->ShownText().empty()) now |= Bit(kAveraging);
        else now &= ~Bit(kAveraging);
        Mark(reached_, now, "reached");
        if (r) Mark(waited_, Active(r, true), "waited");
    }

    std::uint64_t Budget() {
        static const std::vector<std::uint64_t> budgets = {300, 1000, 1000, 3000, 3000, 10000, 40000};
        return dice_.Of(budgets);
    }

    // ------------------------------------------------------------ requests

    bool Make(const Request& r, Step& step) {
        Check();
        Observe(&r);
        stopAt_ = 0;   // the run has ended or asks the user
        if (lines_ >= 2 * actions_ + 50) throw SessionOver{};
        std::string line;
        switch (r.kind) {
            case Request::MsgBox: line = AnswerMsgBox(r); break;
            case Request::InputBox: line = AnswerInput(r); break;
            case Request::FileDialog: line = ChooseFile(r); break;
            case Request::Action:
                line = ChooseAction(r.modal, r.waiting);
                if (line.empty() && r.modal) line = "close " + r.modal->name;
                if (line.empty()) {
                    Note("nothing to do while the program waits");
                    throw SessionOver{};
                }
                break;
        }
        Logged(line);
        step = host_.Parse(line);
        return true;
    }

    std::string AnswerMsgBox(const Request& r) {
        std::vector<std::string> buttons;
        for (int answer : platform::MsgBoxAnswers(r.style)) {
            switch (answer) {
                case platform::vbOK: buttons.push_back("ok"); break;
                case platform::vbCancel: buttons.push_back("cancel"); break;
                case platform::vbYes: buttons.push_back("yes"); break;
                case platform::vbNo: buttons.push_back("no"); break;
                default: buttons.push_back(std::to_string(answer));
            }
        }
        // With covariances saved beside the algorithm file, the results
        // summary mostly goes on to the uncertainty statistics.
        if (Exists(CovBeside())) {
            if (r.title == "View plots?" && dice_.Percent(60) &&
                std::find(buttons.begin(), buttons.end(), "cancel") != buttons.end())
                return "answer msgbox " + Q(r.title) + " cancel";
            if (r.title == "Uncertainty statistics for species richness" && dice_.Percent(60))
                return "answer msgbox " + Q(r.title) + " yes";
        }
        const std::string& answer = dice_.Percent(55) ? buttons[0] : dice_.Of(buttons);
        return "answer msgbox " + Q(r.title) + " " + answer;
    }

    std::string Text() {
        int k = dice_.Below(100);
        if (k < 55) return dice_.Of(kSmall);
        if (k < 70) return dice_.Of(kLetters);
        if (k < 80) return "";
        if (k < 92) return dice_.Of(kHuge);
        return std::string(static_cast<std::size_t>(1 + dice_.Below(300)), '9');
    }

    std::string AnswerInput(const Request& r) {
        std::string head = "answer inputbox " + Q(r.title) + " ";
        // A few randomizations, mostly, so that they run and end soon.
        if (r.title == "More randomizations improve the uncertainty statistics" && dice_.Percent(85))
            return head + Q(dice_.Of(std::vector<std::string>{"1", "2", "3", "5", "10"}));
        if (r.title == "Grid providing covariance results" && dice_.Percent(85))   // the first is done first
            return head + Q(dice_.Percent(80) ? "1" : std::to_string(2 + dice_.Below(2)));
        if (dice_.Percent(6)) return head + "cancel";
        // A profile or posterior mostly of the first parameter, at a few points.
        if (StartsWith(r.text, "Choose the parameter number") && dice_.Percent(50)) return head + Q("1");
        if (StartsWith(r.text, "Choose the number of data points") && dice_.Percent(50))
            return head + Q(dice_.Percent(25) ? "11" : "25");
        if (!r.defaultText.empty() && dice_.Percent(30)) return head + Q(r.defaultText);
        return head + Q(Text());
    }

    // The extensions of a dialog's filter, "*.alg" -> ".alg", without "*.*".
    static std::vector<std::string> Extensions(const std::string& filter) {
        std::vector<std::string> parts, out;
        std::stringstream in(filter);
        for (std::string p; std::getline(in, p, '|');) parts.push_back(p);
        for (std::size_t i = 1; i < parts.size(); i += 2) {
            std::stringstream pats(parts[i]);
            for (std::string p; std::getline(pats, p, ';');)
                if (StartsWith(p, "*.") && p != "*.*") out.push_back(p.substr(1));
        }
        return out;
    }

    std::vector<std::string> OwnFiles() const {
        std::vector<std::string> out;
        std::error_code ec;
        for (auto it = fs::directory_iterator(host_.TmpDir(), ec); !ec && it != fs::end(it); it.increment(ec))
            if (it->is_regular_file()) out.push_back("$TMP/" + it->path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

    static bool HasExt(const std::string& path, const std::vector<std::string>& exts) {
        for (const std::string& e : exts)
            if (path.size() >= e.size() && path.compare(path.size() - e.size(), e.size(), e) == 0) return true;
        return false;
    }

    // ------------------------------------------- covariances beside the algorithm file

    // A path as a script line names it: $TMP for the session's folder.
    std::string Scripted(const std::string& path) const {
        const std::string tmp = host_.TmpDir() + "/";
        return StartsWith(path, tmp) ? "$TMP/" + path.substr(tmp.size()) : path;
    }
    bool Exists(const std::string& scripted) const {
        std::error_code ec;
        return StartsWith(scripted, "$TMP/") && fs::exists(host_.TmpDir() + scripted.substr(4), ec);
    }

    // The covariance file named for the algorithm file in memory, beside it
    // (where the ranking window looks for it), when that is in the session's
    // folder; "" otherwise (a save beside an example would change the inputs
    // of later sessions).
    std::string CovBeside() const {
        const tivelor::App* app = host_.Program();
        if (!app) return "";
        std::string alg = Scripted(app->eng.AlgFileName);
        if (!StartsWith(alg, "$TMP/") || alg.find('/', 5) != std::string::npos || alg.size() < 9) return "";
        alg.resize(alg.size() - 4);
        return alg + ".cov";
    }

    std::string ChooseFile(const Request& r) {
        if (dice_.Percent(7)) return "choose file cancel";
        std::vector<std::string> exts = Extensions(r.dialog->Filter);
        std::vector<std::string> own = OwnFiles();
        // Covariances are saved beside the algorithm file, and the results
        // summary's link mostly takes that file.
        const std::string cov = CovBeside();
        if (!cov.empty() && HasExt(cov, exts) && dice_.Percent(93) && (r.save || Exists(cov))) {
            fresh_ = r.save;
            return "choose file " + Q(cov);
        }
        if (r.save) {
            std::string ext = exts.empty() ? ".txt" : dice_.Of(exts);
            if (dice_.Percent(3)) return "choose file " + Q("$TMP/no/such/folder/x" + ext);
            std::vector<std::string> same;
            for (const std::string& f : own)
                if (HasExt(f, {ext})) same.push_back(f);
            if (!same.empty() && dice_.Percent(15)) return "choose file " + Q(dice_.Of(same));
            const std::string path = "$TMP/s" + std::to_string(++saves_) + ext;
            if (ext == ".alg" && InMemory()) ownAlg_[InMemory()] = path;
            return "choose file " + Q(path);
        }
        if (!(r.dialog->Flags & platform::cdlOFNFileMustExist) && dice_.Percent(4))
            return "choose file " + Q("$TMP/missing" + (exts.empty() ? std::string(".txt") : exts[0]));
        // An algorithm file mostly fits the data set in memory.
        const DataFile* data = InMemory();
        if (data && HasExt(data->alg, exts) && dice_.Percent(96)) {
            auto own = ownAlg_.find(data);
            if (own != ownAlg_.end() && Exists(own->second) && dice_.Percent(60)) return "choose file " + Q(own->second);
            if (data->profile && dice_.Percent(30)) {
                if (r.dialog->DialogTitle == "Open algorithm data file" && dice_.Percent(75)) PlanProfile();
                return "choose file " + Q(data->profile);
            }
            if (data->fitted && dice_.Percent(65)) {
                if (r.dialog->DialogTitle == "Open algorithm data file" && dice_.Percent(75)) PlanCovarianceUse();
                return "choose file " + Q(data->fitted);
            }
            return "choose file " + Q(data->alg);
        }
        std::vector<std::string> all = files_;
        all.insert(all.end(), own.begin(), own.end());
        std::vector<std::string> fitting;
        for (const std::string& f : all)
            if (HasExt(f, exts)) fitting.push_back(f);
        const std::vector<std::string>& from = !fitting.empty() && dice_.Percent(85) ? fitting : all;
        if (from.empty()) return "choose file cancel";
        return "choose file " + Q(dice_.Of(from));
    }

    // ------------------------------------------------------------- actions

    std::vector<Form*> Reachable(Form* modal) const {
        if (modal) return {modal};
        const auto& modals = s_.backend.ModalForms();
        if (!modals.empty()) return {modals.back()};
        std::vector<Form*> out;
        for (Form* f : s_.ui.forms.Loaded())
            if (f->Visible() && !f->IsUnloaded()) out.push_back(f);
        return out;
    }

    struct Choice {
        std::string line;
        int weight;
    };

    void Offer(std::vector<Choice>& out, std::string line, int weight) {
        if (weight > 0) out.push_back({std::move(line), weight});
    }

    std::string TextFor(const Control& c) {
        if (c.name.find("File") != std::string::npos && dice_.Percent(70)) {
            std::vector<std::string> all = files_;
            for (const std::string& f : OwnFiles()) all.push_back(f);
            return dice_.Of(all);
        }
        return Text();
    }

    // A window a task that waits or runs should keep the user from: one shown
    // before the line that started it, the main menu, the ranking window.
    bool Foreign(const Form& f) const {
        return f.name == "frmMenu" || f.name == "frmRank" || before_.count(f.name) > 0;
    }

    // A point of the window: now and then at the lower edge of one of its
    // controls, where a splitter lies.
    std::string Point(Form& f) {
        const int width = f.Width, height = f.Height;
        int x = dice_.Below(std::max(1, width)), y = dice_.Below(std::max(1, height));
        const auto& controls = f.Controls();
        if (!controls.empty() && dice_.Percent(50)) {
            const Control& c = *controls[static_cast<std::size_t>(dice_.Below(static_cast<int>(controls.size())))];
            const int top = c.Top, tall = c.Height;
            y = top + tall + dice_.Below(31) - 15;
        }
        return std::to_string(x) + " " + std::to_string(y);
    }

    // A key pressed on a control that takes the focus: Enter, Escape or now
    // and then a typing key.
    void OfferKey(std::vector<Choice>& out, const std::string& p, int key) {
        if (dice_.Percent(20)) key = dice_.Percent(50) ? 'a' + dice_.Below(26) : '0' + dice_.Below(10);
        Offer(out, "key " + p + " " + std::to_string(key), 1);
    }

    void OfferMouse(std::vector<Choice>& out, const std::string& target, Form& f, const Control* c, int weight) {
        const auto& down = c ? c->OnMouseDown : f.OnMouseDown;
        const auto& move = c ? c->OnMouseMove : f.OnMouseMove;
        const auto& up = c ? c->OnMouseUp : f.OnMouseUp;
        if (down) Offer(out, "mouse " + target + " down " + Point(f), weight);
        if (move) Offer(out, "mouse " + target + " move " + Point(f), 2 * weight);
        if (up) Offer(out, "mouse " + target + " up " + Point(f), weight);
    }

    // Toward covariances saved beside an algorithm file of the session's
    // folder, and from there to the results summary's link and the ranking
    // window's averaging.
    int Steer(const std::string& button, int w) const {
        const std::string cov = CovBeside();
        if (button == "frmMenu.cmdSaveAlg" && cov.empty() && data_) return 30;
        if (button == "frmCovDisplay.cmdFile" && !cov.empty()) return 40;
        if (!Exists(cov)) return w;
        if (fresh_) {   // until the summary or the ranking window takes them, the parameters stay
            if (button == "frmMenu.cmdSimplex" || button == "frmMenu.cmdMarquardt" ||
                button == "frmMenu.cmdLoadAlg" || button == "frmMenu.cmdEditAlg" || button == "frmMenu.cmdInitialize")
                return 1;
        }
        if (button == "frmCovDisplay.cmdFinish" || button == "frmConvert.cmdCancel") return 25;
        if (button == "frmMenu.cmdUserSummary" || button == "frmMenu.cmdRank") return 25;
        if (button == "frmRank.cmdAICc" || button == "frmRank.cmdRank" || button == "frmRank.cmdAverage") return 25;
        return w;
    }

    // The choices on one window. While a run goes on or waits for the user,
    // the other windows are tried much more: closed, their tasks started,
    // the main menu brought back.
    void Gather(Form& f, std::vector<Choice>& out, bool wait) {
        const int late = lines_ > actions_ / 2 ? 1 : 0;   // quitting, late in a session
        const bool foreign = wait && Foreign(f);
        const bool mdi = f.kind == platform::FormKind::MdiParent;
        for (Control* cp : f.Controls()) {
            Control& c = *cp;
            if (!platform::headless::HeadlessBackend::Usable(c)) continue;
            const std::string p = c.Path();
            switch (c.kind) {
                case ControlKind::CommandButton: {
                    int w = IsStop(c) ? 2 : IsQuit(c) ? late : c.name == "cmdInitialize" ? 3 : 8;
                    if (!wait) w = Steer(p, w);
                    if (foreign && !IsQuit(c)) w = p == "frmMenu.cmdRank" ? 60 : 20;
                    Offer(out, "click " + p, w);
                    Offer(out, "key " + p + " 13", w / 4);   // Enter on the focused button
                    OfferKey(out, p, 27);
                    break;
                }
                case ControlKind::CheckBox:
                    Offer(out, "click " + p, 3);
                    Offer(out, "set " + p + " " + std::to_string(dice_.Below(2)), 1);
                    OfferKey(out, p, dice_.Percent(50) ? 13 : 27);
                    break;
                case ControlKind::OptionButton:
                    Offer(out, "click " + p, 3);
                    break;
                case ControlKind::ComboBox:
                case ControlKind::ListBox: {
                    auto& l = static_cast<platform::ListControl&>(c);
                    if (l.ListCount() > 0) Offer(out, "set " + p + " " + std::to_string(dice_.Below(l.ListCount())), 3);
                    if (c.kind == ControlKind::ComboBox) Offer(out, "type " + p + " " + Q(TextFor(c)), 3);
                    if (c.OnDblClick) Offer(out, "dblclick " + p, 1);
                    OfferKey(out, p, dice_.Percent(50) ? 13 : 27);
                    break;
                }
                case ControlKind::TextBox: {
                    auto& t = static_cast<platform::TextBox&>(c);
                    if (!t.Locked) Offer(out, "type " + p + " " + Q(TextFor(c)), 4);
                    if (c.OnClick) Offer(out, "click " + p, 3);
                    // Typing key by key, Backspace now and then; Enter, Escape.
                    Offer(out, "keys " + p + " " + Q(dice_.Percent(30) ? std::string("\b") : Text()), 2);
                    OfferKey(out, p, dice_.Percent(70) ? 13 : 27);
                    if (c.OnLostFocus) Offer(out, "leave " + p, 2);
                    break;
                }
                case ControlKind::RichTextBox:
                    if (!static_cast<platform::RichTextBox&>(c).Locked)
                        Offer(out, "type " + p + " " + Q(Text()), 1);
                    break;
                case ControlKind::FlexGrid: {
                    auto& g = static_cast<platform::FlexGrid&>(c);
                    if (g.Rows > 0 && g.Cols > 0) {
                        std::string rc = " " + std::to_string(dice_.Below(g.Rows)) + " " +
                                         std::to_string(dice_.Below(g.Cols));
                        Offer(out, "clickcell " + p + rc, 3);
                        Offer(out, "dblclickcell " + p + rc, 3);
                        Offer(out, "cell " + p + rc + " " + Q(Text()), 2);
                    }
                    OfferKey(out, p, dice_.Percent(50) ? 13 : 27);
                    break;
                }
                case ControlKind::Menu: {
                    auto& m = static_cast<platform::Menu&>(c);
                    if (m.IsSeparator()) break;
                    // The Application menu and its items.
                    const bool application = f.name == "frmMain" && (m.name == "mnuApplication" ||
                                                                      (m.parent && m.parent->name == "mnuApplication"));
                    if (m.Children().empty()) {
                        int w = IsQuit(c) ? late : mdi ? 1 : 3;
                        if (wait && application && !IsQuit(c)) w = 20;
                        Offer(out, "menu " + p, w);
                    } else if (c.OnClick || (wait && application)) {
                        Offer(out, "menu " + p, wait && application ? 10 : 1);
                    }
                    break;
                }
                default:
                    if (c.OnClick) Offer(out, "click " + p, 1);
                    if (c.OnDblClick) Offer(out, "dblclick " + p, 1);
            }
            OfferMouse(out, p, f, &c, 1);
        }
        // The window's own area and its close box take the user's input by
        // the platform's rule, as its controls do.
        if (f.AcceptsInput()) {
            OfferMouse(out, f.name, f, nullptr, 2);
            Offer(out, "close " + f.name, mdi ? late : foreign ? 12 : 2);
        }
        if (dice_.Percent(10)) {
            static const std::vector<std::string> sizes = {"1000 800", "200 200", "15000 11000", "6000 4000"};
            Offer(out, "resize " + f.name + " " + dice_.Of(sizes), 1);
        }
    }

    // The next action on the windows a user can reach; "" when there is none.
    std::string ChooseAction(Form* modal, bool wait) {
        std::vector<Form*> forms = Reachable(modal);
        // Planned lines go first when their control can be used; a plan
        // whose next control stays out of reach for a few lines is dropped.
        if (!plan_.empty()) {
            const std::string& line = plan_.front();
            std::string target = line.substr(line.find(' ') + 1);
            target = target.substr(0, target.find(' '));
            std::string form = target.substr(0, target.find('.'));
            bool ok = false;
            for (Form* f : forms)
                if (f->name == form) {
                    Control* c = f->FindControl(target.substr(target.find('.') + 1));
                    ok = c && platform::headless::HeadlessBackend::Usable(*c);
                }
            if (ok) {
                std::string next = line;
                plan_.pop_front();
                patience_ = kPatience;
                return next;
            }
            if (--patience_ <= 0) plan_.clear();
        }
        for (Form* f : forms)
            if (f->name == "frmInitialize" && dice_.Percent(80)) {
                PlanInitialize();
                return ChooseAction(modal, wait);
            }
        std::vector<Choice> choices;
        for (Form* f : forms) Gather(*f, choices, wait);
        int total = 0;
        for (const Choice& c : choices) total += c.weight;
        if (total == 0) return "";
        int k = dice_.Below(total);
        for (const Choice& c : choices) {
            if (k < c.weight) return c.line;
            k -= c.weight;
        }
        return "";
    }

    // The initialize dialog filled in as it should be, a field or two off.
    void PlanInitialize() {
        const DataFile& d = dice_.Of(kData);
        auto field = [&](const std::string& good) { return Q(dice_.Percent(8) ? Text() : good); };
        patience_ = 1;   // a field out of reach ends the plan at once
        plan_ = {"type frmInitialize.txtDataFile " + field(d.path),
                 "type frmInitialize.cboQuadsinHab " + field(d.nh),
                 "type frmInitialize.cboQuadsSampled " + field(d.nq),
                 "type frmInitialize.cboNSpecies " + field(d.ns),
                 "set frmInitialize.chkLogitThetas " + std::string(dice_.Percent(70) ? "1" : "0"),
                 "set frmInitialize.chkLogNs " + std::string(dice_.Percent(70) ? "1" : "0"),
                 "click frmInitialize.cmdDone"};
    }

    // A fitted model's covariances saved beside its algorithm file (saved
    // into the session's folder first), then read back by the results
    // summary's uncertainty statistics or by the ranking window's averaging.
    void PlanCovarianceUse() {
        patience_ = kPatience;
        plan_ = {"click frmMenu.cmdSaveAlg", "click frmMenu.cmdCovariance", "click frmCovDisplay.cmdScreen",
                 "click frmCovDisplay.cmdFile", "click frmCovDisplay.cmdFinish"};
        if (dice_.Percent(60)) {
            plan_.push_back("click frmMenu.cmdUserSummary");
        } else {
            for (const char* l : {"click frmMenu.cmdRank", "click frmRank.cmdAICc", "click frmRank.cmdRank",
                                  "click frmRank.cmdAverage"})
                plan_.push_back(l);
        }
    }

    // A likelihood profile or a posterior of the algorithm file just loaded.
    void PlanProfile() {
        patience_ = kPatience;
        plan_ = {"click frmMenu.cmdParEstimate", dice_.Percent(50) ? "click frmParEvals.cmdML" : "click frmParEvals.cmdBP"};
    }

    // The example data set that the main window names as the one read, or
    // the one it named last (an initialization cancelled clears the name).
    const DataFile* InMemory() {
        const Form* main = s_.ui.forms.Find("frmMain");
        const Control* bar = main ? main->FindControl("stbMain0") : nullptr;
        if (bar && bar->kind == ControlKind::StatusBar) {
            const std::string shown = static_cast<const platform::StatusBar*>(bar)->Panel(1);
            for (const DataFile& d : kData)
                if (shown == d.path) data_ = &d;
        }
        return data_;
    }

    // ---------------------------------------------------------- long runs

    // A usable stop control of the windows a user can reach, as a line; "".
    std::string StopLine() {
        for (Form* f : Reachable(nullptr))
            for (Control* c : f->Controls())
                if (IsStop(*c) && platform::headless::HeadlessBackend::Usable(*c))
                    return (c->kind == ControlKind::Menu ? "menu " : "click ") + c->Path();
        return "";
    }

    // The main window's Interrupt menu item that a profile or a posterior
    // shows while it runs, as a line; "".
    std::string InterruptMenu() {
        for (Form* f : Reachable(nullptr))
            if (f->name == "frmMain")
                for (const char* name : {"mnuInterruptML", "mnuInterruptBayes"})
                    if (Control* c = f->FindControl(name); c && platform::headless::HeadlessBackend::Usable(*c))
                        return "menu frmMain." + std::string(name);
        return "";
    }

    // During a run: past its budget the run is stopped where it can be; now
    // and then the user does something else meanwhile, mostly on the other
    // windows. When the session's lines are used up inside a run, the run is
    // stopped and must end: one that goes on long after its stop control was
    // pressed is a fault.
    void Polled() {
        Check();
        std::uint64_t now = s_.ui.DoEventsCount();
        if (stopAt_ && now - stopAt_ > kStopGrace)
            throw Finding{kRunGoesOn, "a run goes on " + std::to_string(now - stopAt_) +
                                          " yields after its stop control was pressed"};
        std::string line;
        if (lines_ >= 2 * actions_ + 50) {
            if (stopAt_) return;   // waits for the run to end
            line = StopLine();
            if (line.empty()) throw SessionOver{};
            Note("the session used up its lines: the run is stopped");
        } else if (std::string menu = InterruptMenu(); !menu.empty() && dice_.Percent(50)) {
            line = menu;   // shown only during a run: pressed at once, mostly
        } else if (now - anchor_ >= budget_) {
            budget_ += Budget();
            line = StopLine();
        } else if (dice_.Below(30) == 0) {
            std::vector<Choice> choices;
            for (Form* f : Reachable(nullptr)) Gather(*f, choices, true);
            int total = 0;
            for (const Choice& c : choices) total += c.weight;
            for (int k = dice_.Below(total); const Choice& c : choices) {
                if (k < c.weight) {
                    line = c.line;
                    break;
                }
                k -= c.weight;
            }
        }
        if (line.empty()) return;
        Write("at " + std::to_string(now) + " doevents " + line);
        ++lines_;
        const std::string target = line.substr(line.find(' ') + 1);
        if (!stopAt_ && (StartsWith(line, "click ") || StartsWith(line, "menu ")) &&
            IsStop(s_.backend.FindControl(target)))
            stopAt_ = now;
        s_.backend.RunNested(host_.Parse(line));
        Check();
    }

    Host& host_;
    platform::headless::Session& s_;
    Dice dice_;
    int actions_;
    int lines_ = 0;
    int saves_ = 0;
    std::FILE* log_ = nullptr;
    std::vector<std::string> files_;
    std::deque<std::string> plan_;
    static constexpr int kPatience = 6;
    int patience_ = kPatience;   // lines a plan may wait for its next control
    std::uint64_t anchor_ = 0, budget_ = 1000;
    const DataFile* data_ = nullptr;     // the data set last read
    std::set<std::string> before_;       // windows shown when the top-level line began
    std::uint64_t stopAt_ = 0;           // yield at which a stop control was pressed; 0: none pending
    unsigned reached_ = 0, waited_ = 0;  // tasks reached, and waits inside them (Task bits)
    std::size_t logSeen_ = 0;            // the back end's log entries looked at
    bool fresh_ = false;   // covariances saved beside the algorithm file, not yet taken further
    std::map<const DataFile*, std::string> ownAlg_;   // an algorithm file saved for each data set
};

// ------------------------------------------------------------- the driver

struct Options {
    std::uint64_t seed = 1;
    long sessions = -1;   // -1: as many as the time allows
    double seconds = 0;   // 0: no bound
    int actions = 250;
    double hang = 60;
    std::string out = "monkey";
    bool keep = false;   // keeps the scripts of clean sessions too
    bool stats = false;  // prints the share of sessions that reach each task
};

// The actions whose reach --stats counts: the start of a line, at the top
// level or at a yield.
struct Action {
    const char* name;
    const char* starts[2];   // the line starts that take it
};
constexpr Action kActions[] = {{"pressed keys", {"key ", "keys "}},
                               {"clicked frmAlgo.txtAbsRel", {"click frmAlgo.txtAbsRel"}},
                               {"chose frmMain.mnuInterruptML", {"menu frmMain.mnuInterruptML"}},
                               {"chose frmMain.mnuInterruptBayes", {"menu frmMain.mnuInterruptBayes"}}};
constexpr int kActionCount = static_cast<int>(std::size(kActions));

// How many sessions noted each task as reached, and a wait inside it; how
// many took each of the actions counted.
struct Reach {
    long reached[kTaskCount] = {};
    long waited[kTaskCount] = {};
    long took[kActionCount] = {};

    void Count(const std::string& script) {
        std::ifstream in(script);
        bool seen[kActionCount] = {};
        for (std::string l; std::getline(in, l);) {
            for (int t = 0; t < kTaskCount; ++t) {
                if (l == std::string("# reached ") + kTaskNames[t]) ++reached[t];
                if (l == std::string("# waited ") + kTaskNames[t]) ++waited[t];
            }
            if (const auto d = l.find(" doevents "); StartsWith(l, "at ") && d != std::string::npos) l = l.substr(d + 10);
            for (int a = 0; a < kActionCount; ++a)
                for (const char* start : kActions[a].starts)
                    if (start && StartsWith(l, start)) seen[a] = true;
        }
        for (int a = 0; a < kActionCount; ++a) took[a] += seen[a] ? 1 : 0;
    }

    void Print(long sessions) const {
        auto share = [&](long n) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.1f%%", sessions > 0 ? 100.0 * static_cast<double>(n) /
                                                                        static_cast<double>(sessions)
                                                                  : 0.0);
            return std::string(buf);
        };
        for (int t = 0; t < kTaskCount; ++t)
            std::cout << "monkey: " << kTaskNames[t] << ": reached in " << share(reached[t]) << " of sessions ("
                      << reached[t] << "), a wait inside it in " << share(waited[t]) << " (" << waited[t]
                      << ")\n";
        for (int a = 0; a < kActionCount; ++a)
            std::cout << "monkey: " << kActions[a].name << " in " << share(took[a]) << " of sessions (" << took[a]
                      << ")\n";
    }
};

std::vector<std::string> Tail(const std::string& path, std::size_t n, bool actionsOnly) {
    std::ifstream in(path);
    std::deque<std::string> lines;
    for (std::string l; std::getline(in, l);) {
        if (actionsOnly && (l.empty() || l[0] == '#')) continue;
        lines.push_back(l);
        if (lines.size() > n) lines.pop_front();
    }
    return {lines.begin(), lines.end()};
}

long CountActions(const std::string& path) {
    std::ifstream in(path);
    long n = 0;
    for (std::string l; std::getline(in, l);)
        if (!l.empty() && l[0] != '#') ++n;
    return n;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// The files the monkey opens, copied into its working folder so that what the
// program writes beside them stays out of the source tree.
void CopyInputs(const fs::path& work) {
    for (const char* dir : {"examples", "tests/sessions"}) {
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::end(it); it.increment(ec)) {
            if (!it->is_regular_file() || it->path().extension() == ".tvs") continue;
            fs::path to = work / it->path();
            fs::create_directories(to.parent_path());
            fs::copy_file(it->path(), to, fs::copy_options::overwrite_existing);
        }
    }
}

// Set by SIGINT or SIGTERM: the session that runs is stopped, and the
// figures so far are printed.
volatile std::sig_atomic_t stopRequested = 0;
extern "C" void RequestStop(int) { stopRequested = 1; }

std::string Kind(int status, bool hung, const std::string& err) {
    if (hung) return "hang";
    if (err.find("array index out of range") != std::string::npos) return "array-check abort";
    if (err.find("AddressSanitizer") != std::string::npos || err.find("LeakSanitizer") != std::string::npos ||
        err.find("runtime error:") != std::string::npos)
        return "sanitizer report";
    if (WIFSIGNALED(status)) return "crash (signal " + std::to_string(WTERMSIG(status)) + ")";
    if (WIFEXITED(status) && WEXITSTATUS(status) == 3) return "script error";
    if (WIFEXITED(status) && (WEXITSTATUS(status) == kBrokenInvariant || WEXITSTATUS(status) == kRunGoesOn)) {
        // The session's own line: "monkey: broken invariant: ...".
        std::istringstream lines(err);
        for (std::string l; std::getline(lines, l);)
            if (StartsWith(l, "monkey: ") && !StartsWith(l, "monkey: script error")) return l.substr(8);
    }
    return "exit status " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
}

}  // namespace

int PlaySession(Host& host, std::uint64_t seed, int actions, const std::string& logPath) {
    Monkey m(host, seed, actions, logPath);
    return m.Play();
}

int Main(const std::vector<std::string>& args,
         const std::function<int(std::uint64_t seed, int actions, const std::string& log)>& playOne) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        auto value = [&]() -> std::string {
            if (i + 1 >= args.size()) throw std::invalid_argument(args[i] + " needs a value");
            return args[++i];
        };
        if (args[i] == "--seed") o.seed = std::stoull(value());
        else if (args[i] == "--sessions") o.sessions = std::stol(value());
        else if (args[i] == "--seconds") o.seconds = std::stod(value());
        else if (args[i] == "--actions") o.actions = std::stoi(value());
        else if (args[i] == "--hang") o.hang = std::stod(value());
        else if (args[i] == "--out") o.out = value();
        else if (args[i] == "--keep") o.keep = true;
        else if (args[i] == "--stats") o.stats = true;
        else throw std::invalid_argument("unknown option " + args[i]);
    }
    if (o.sessions < 0 && o.seconds <= 0) o.sessions = 1;
    if (!fs::is_directory("examples")) {
        std::cerr << "monkey: run it from the source folder (examples/ is not here)\n";
        return 2;
    }
    const fs::path out = fs::absolute(o.out);
    const fs::path work = out / "work";
    fs::create_directories(work);
    CopyInputs(work);

    using Clock = std::chrono::steady_clock;
    const auto t0 = Clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - t0).count(); };
    long sessions = 0, actions = 0, faults = 0;
    Reach reach;
    std::uint64_t seed = o.seed;
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    for (; o.sessions < 0 || sessions < o.sessions; ++seed) {
        if (stopRequested || (o.seconds > 0 && elapsed() >= o.seconds)) break;
        const std::string log = (out / ("seed-" + std::to_string(seed) + ".tvs")).string();
        const std::string err = (out / ("seed-" + std::to_string(seed) + ".err")).string();
        std::cout.flush();
        std::cerr.flush();
        pid_t pid = fork();
        if (pid < 0) {
            std::perror("monkey: fork");
            return 2;
        }
        if (pid == 0) {
            std::signal(SIGINT, SIG_DFL);
            std::signal(SIGTERM, SIG_DFL);
            int fd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd >= 0) {
                dup2(fd, 2);
                dup2(fd, 1);
                close(fd);
            }
            int rc = 2;
            if (chdir(work.c_str()) == 0) rc = playOne(seed, o.actions, log);
            std::fflush(nullptr);
            std::exit(rc);
        }
        // The watchdog: a session whose log has not grown for o.hang seconds hangs.
        int status = 0;
        bool hung = false;
        auto lastSize = static_cast<std::uintmax_t>(-1);
        auto lastChange = Clock::now();
        for (;;) {
            pid_t r = waitpid(pid, &status, WNOHANG);
            if (r == pid) break;
            if (stopRequested) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                break;
            }
            std::error_code ec;
            std::uintmax_t size = fs::file_size(log, ec);
            if (!ec && size != lastSize) {
                lastSize = size;
                lastChange = Clock::now();
            } else if (std::chrono::duration<double>(Clock::now() - lastChange).count() > o.hang) {
                hung = true;
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (stopRequested && !hung) {   // the session was cut short, not failed
            std::error_code ec;
            fs::remove(log, ec);
            fs::remove(err, ec);
            break;
        }
        ++sessions;
        long n = CountActions(log);
        actions += n;
        if (o.stats) reach.Count(log);
        bool clean = !hung && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (clean) {
            if (o.keep) continue;
            std::error_code ec;
            fs::remove(log, ec);
            fs::remove(err, ec);
            continue;
        }
        ++faults;
        std::string text = Slurp(err);
        std::cout << "monkey: seed " << seed << ": " << Kind(status, hung, text) << " after " << n
                  << " actions; replay from the source folder: tivelor_player " << log << "\n";
        std::cout << "monkey: its last 50 actions:\n";
        for (const std::string& l : Tail(log, 50, true)) std::cout << "  " << l << "\n";
        std::cout << "monkey: what it printed (" << err << "):\n";
        std::istringstream lines(text);
        int shown = 0;
        for (std::string l; std::getline(lines, l) && shown < 25; ++shown) std::cout << "  " << l << "\n";
        std::cout.flush();
    }
    std::cout << "monkey: " << sessions << " sessions (seeds " << o.seed << " to " << seed - 1 << "), " << actions
              << " actions in " << static_cast<long>(elapsed()) << " s, " << faults << " faults\n";
    if (o.stats) reach.Print(sessions);
    return faults == 0 ? 0 : 1;
}

}  // namespace monkey
