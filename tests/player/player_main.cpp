// Session player: plays a user's session from a script file on the headless
// back end. See tests/sessions/README.md for the script language.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/headless/headless.h"
#include "state/App.h"
#include "tests/player/invariants.h"
#include "tests/player/monkey.h"

namespace {

using platform::headless::ScriptError;
using platform::headless::Step;

// Splits a line into words; "quoted text" is one word, with \" and \\ inside.
std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        std::string w;
        if (line[i] == '"') {
            ++i;
            while (i < line.size() && line[i] != '"') {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    char n = line[++i];
                    w += n == 'n' ? '\n' : n == 'r' ? '\r' : n == 'b' ? '\b' : n;
                } else {
                    w += line[i];
                }
                ++i;
            }
            ++i;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t') w += line[i++];
        }
        out.push_back(w);
    }
    return out;
}

class Player : public monkey::Host {
public:
    explicit Player(std::string scriptName) : script_(std::move(scriptName)) {
        tmp_ = std::filesystem::temp_directory_path() /
               ("tivelor_session_" + std::to_string(::getpid()));
        std::filesystem::create_directories(tmp_);
    }
    ~Player() override {
        app_.reset();
        std::error_code ec;
        if (!keepTmp_) std::filesystem::remove_all(tmp_, ec);
    }

    int Play(std::istream& in) {
        std::string line;
        int number = 0;
        try {
            while (std::getline(in, line)) {
                ++number;
                if (!line.empty() && line.back() == '\r') line.pop_back();
                auto w = Words(Expand(line));
                if (w.empty() || w[0][0] == '#') continue;
                Step s;
                const bool at = w[0] == "at";
                try {
                    if (at) {
                        Need(w, 4, number);
                        if (w[2] != "doevents") throw ScriptError(Where(number) + "at N doevents ACTION");
                        std::uint64_t n = std::stoull(w[1]);
                        s = Parse(std::vector<std::string>(w.begin() + 3, w.end()), number);
                        s.where = script_ + ":" + std::to_string(number);
                        session_.backend.AtDoEventsCount(n, std::move(s));
                        continue;
                    }
                    s = Parse(w, number);
                } catch (const std::logic_error&) {   // std::stoi on a word that is no number
                    throw ScriptError(Where(number) + "a number is expected in: " + line);
                }
                s.where = script_ + ":" + std::to_string(number);
                session_.backend.Push(std::move(s));
            }
            while (session_.backend.RunNextAction()) {
            }
        } catch (const ScriptError& e) {
            std::cerr << (std::string(e.what()).rfind(script_, 0) == 0 ? "" : Where(number))
                      << e.what() << "\n";
            keepTmp_ = true;
            return 1;
        }
        return 0;
    }

    // monkey::Host
    platform::headless::Session& Session() override { return session_; }
    std::string TmpDir() const override { return tmp_.string(); }
    Step Parse(const std::string& line) override {
        ++monkeyLine_;
        Step s;
        try {
            s = Parse(Words(Expand(line)), monkeyLine_);
        } catch (const std::logic_error&) {
            throw ScriptError(Where(monkeyLine_) + "a number is expected in: " + line);
        }
        s.where = script_ + ":" + std::to_string(monkeyLine_);
        return s;
    }
    std::string BrokenInvariant(bool settled) override {
        return app_ ? monkey::BrokenInvariant(*app_, settled) : "";
    }
    const tivelor::App* Program() const override { return app_.get(); }
    // A monkey session: a failed step keeps the temporary folder.
    int PlayMonkey(std::uint64_t seed, int actions, const std::string& log) {
        int rc = monkey::PlaySession(*this, seed, actions, log);
        if (rc != 0) keepTmp_ = true;
        return rc;
    }

private:
    std::string Where(int number) const { return script_ + ":" + std::to_string(number) + ": "; }

    std::string Expand(const std::string& line) const {
        std::string out = line;
        for (size_t p; (p = out.find("$TMP")) != std::string::npos;) out.replace(p, 4, tmp_.string());
        return out;
    }

    platform::Control& Ctl(const std::string& path) { return session_.backend.FindControl(path); }

    std::string TextOf(const std::vector<std::string>& w, size_t i) {
        platform::Control& c = Ctl(w[i]);
        if (c.kind == platform::ControlKind::StatusBar && i + 1 < w.size() && IsNumber(w[i + 1]))
            return static_cast<platform::StatusBar&>(c).Panel(std::stoi(w[i + 1]));
        return c.ShownText();
    }

    static bool IsNumber(const std::string& s) {
        return !s.empty() && s.find_first_not_of("-0123456789") == std::string::npos;
    }

    static int Answer(const std::string& w, const std::string& where) {
        if (w == "ok") return platform::vbOK;
        if (w == "cancel") return platform::vbCancel;
        if (w == "yes") return platform::vbYes;
        if (w == "no") return platform::vbNo;
        if (IsNumber(w)) return std::stoi(w);
        throw ScriptError(where + "unknown answer " + w);
    }

    Step Call(std::function<void()> f) {
        Step s;
        s.kind = Step::Call;
        s.call = std::move(f);
        return s;
    }

    void Need(const std::vector<std::string>& w, size_t n, int number) {
        if (w.size() < n) throw ScriptError(Where(number) + "too few words for " + w[0]);
    }

    Step Parse(std::vector<std::string> w, int number) {
        const std::string where = Where(number);
        const std::string& cmd = w[0];
        Step s;
        if (cmd == "start") {
            return Call([this] {
                app_ = std::make_unique<tivelor::App>(session_.ui);
                app_->Start();
            });
        }
        if (cmd == "click" || cmd == "menu" || cmd == "dblclick") {
            Need(w, 2, number);
            s.kind = cmd == "dblclick" ? Step::DblClick : Step::Click;
            s.target = w[1];
            return s;
        }
        if (cmd == "type" || cmd == "keys") {
            Need(w, 3, number);
            s.kind = cmd == "type" ? Step::Type : Step::Keys;
            s.target = w[1];
            s.text = w[2];
            return s;
        }
        if (cmd == "set" || cmd == "key") {
            Need(w, 3, number);
            s.kind = cmd == "set" ? Step::Set : Step::Key;
            s.target = w[1];
            s.value = std::stoi(w[2]);
            return s;
        }
        if (cmd == "cell") {
            Need(w, 5, number);
            s.kind = Step::Cell;
            s.target = w[1];
            s.row = std::stoi(w[2]);
            s.col = std::stoi(w[3]);
            s.text = w[4];
            return s;
        }
        if (cmd == "clickcell" || cmd == "dblclickcell") {
            Need(w, 4, number);
            s.kind = cmd == "clickcell" ? Step::GridClick : Step::GridDblClick;
            s.target = w[1];
            s.row = std::stoi(w[2]);
            s.col = std::stoi(w[3]);
            return s;
        }
        if (cmd == "mouse") {
            Need(w, 5, number);
            if (w[2] != "down" && w[2] != "move" && w[2] != "up")
                throw ScriptError(where + "mouse FORM[.CONTROL] down|move|up X Y");
            s.kind = Step::Mouse;
            s.target = w[1];
            s.text = w[2];
            s.value = w[2] == "move" ? 0 : 1;   // the left button, pressed or released
            s.row = std::stoi(w[3]);
            s.col = std::stoi(w[4]);
            return s;
        }
        if (cmd == "leave") {
            Need(w, 2, number);
            s.kind = Step::Leave;
            s.target = w[1];
            return s;
        }
        if (cmd == "close") {
            Need(w, 2, number);
            s.kind = Step::Close;
            s.target = w[1];
            return s;
        }
        if (cmd == "resize") {
            Need(w, 4, number);
            s.kind = Step::Resize;
            s.target = w[1];
            s.row = std::stoi(w[2]);
            s.col = std::stoi(w[3]);
            return s;
        }
        if (cmd == "answer") {
            Need(w, 4, number);
            s.title = w[2];
            if (w[1] == "msgbox") {
                s.kind = Step::AnswerMsgBox;
                s.value = Answer(w[3], where);
            } else if (w[1] == "inputbox") {
                s.kind = Step::AnswerInput;
                if (w[3] == "cancel" && w.size() == 4) s.cancel = true;
                else s.text = w[3];
            } else {
                throw ScriptError(where + "answer msgbox or answer inputbox");
            }
            return s;
        }
        if (cmd == "choose") {
            Need(w, 3, number);
            s.kind = Step::ChooseFile;
            if (w[2] == "cancel" && w.size() == 3) s.cancel = true;
            else s.text = w[2];
            return s;
        }
        if (cmd == "after") {
            Need(w, 4, number);
            if (w[2] != "doevents") throw ScriptError(where + "after N doevents ACTION");
            std::uint64_t n = std::stoull(w[1]);
            Step later = Parse(std::vector<std::string>(w.begin() + 3, w.end()), number);
            later.where = script_ + ":" + std::to_string(number);
            return Call([this, n, later] { session_.backend.AtDoEvents(n, later); });
        }
        if (cmd == "print") {
            Need(w, 2, number);
            return Call([this, w] { std::cout << TextOf(w, 1) << "\n"; });
        }
        if (cmd == "expect") {
            Need(w, 3, number);
            return Call([this, w, where] {
                std::string got = TextOf(w, 1);
                const std::string& want = w.back();
                if (got != want)
                    throw ScriptError(where + w[1] + " shows \"" + got + "\", expected \"" + want + "\"");
            });
        }
        if (cmd == "expect-contains") {
            Need(w, 3, number);
            return Call([this, w, where] {
                std::string got = TextOf(w, 1);
                if (got.find(w.back()) == std::string::npos)
                    throw ScriptError(where + w[1] + " does not contain \"" + w.back() + "\"");
            });
        }
        if (cmd == "expect-enabled") {
            Need(w, 3, number);
            return Call([this, w, where] {
                bool want = w[2] == "yes";
                platform::Control& c = Ctl(w[1]);
                if ((c.Enabled && c.form.AcceptsInput()) != want)
                    throw ScriptError(where + w[1] + (want ? " is disabled" : " is enabled"));
            });
        }
        if (cmd == "expect-loaded") {
            Need(w, 3, number);
            return Call([this, w, where] {
                bool want = w[2] == "yes";
                if (session_.ui.forms.IsLoaded(w[1]) != want)
                    throw ScriptError(where + w[1] + (want ? " is not open" : " is open"));
            });
        }
        if (cmd == "expect-msgbox") {
            Need(w, 3, number);
            return Call([this, w, where] {
                const auto& boxes = session_.backend.msgBoxes;
                if (boxes.empty() || boxes.back().title != w[1] ||
                    (w.size() > 2 && boxes.back().text != w[2]))
                    throw ScriptError(where + "the last message box was not \"" + w[1] + "\"");
            });
        }
        if (cmd == "save") {
            Need(w, 3, number);
            return Call([this, w, where] {
                if (!platform::WriteWholeFileSafely(w[2], TextOf(w, 1)))
                    throw ScriptError(where + "cannot write " + w[2]);
            });
        }
        if (cmd == "save-drawing") {
            Need(w, 3, number);
            return Call([this, w, where] {
                platform::Control& c = Ctl(w[1]);
                if (c.kind != platform::ControlKind::PictureBox)
                    throw ScriptError(where + w[1] + " is not a picture box");
                if (!platform::WriteWholeFileSafely(
                        w[2], platform::DisplayListText(static_cast<platform::PictureBox&>(c))))
                    throw ScriptError(where + "cannot write " + w[2]);
            });
        }
        if (cmd == "compare") {
            Need(w, 3, number);
            return Call([this, w, where] {
                std::string a, b;
                if (!platform::ReadWholeFile(w[1], a)) throw ScriptError(where + "cannot read " + w[1]);
                if (!platform::ReadWholeFile(w[2], b)) throw ScriptError(where + "cannot read " + w[2]);
                b = Expand(b);   // a golden file names the temporary folder as $TMP
                if (a != b) throw ScriptError(where + w[1] + " differs from " + w[2]);
            });
        }
        if (cmd == "expect-ended") {
            return Call([this, where] {
                if (!session_.backend.Ended()) throw ScriptError(where + "the program has not ended");
            });
        }
        throw ScriptError(where + "unknown command " + cmd);
    }

    std::string script_;
    std::filesystem::path tmp_;
    bool keepTmp_ = false;
    platform::headless::Session session_;
    std::unique_ptr<tivelor::App> app_;
    int monkeyLine_ = 1;   // the log's first line is a comment
};

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "--monkey") {
        try {
            return monkey::Main(std::vector<std::string>(argv + 2, argv + argc),
                                [](std::uint64_t seed, int actions, const std::string& log) {
                                    Player player(std::filesystem::path(log).filename().string());
                                    return player.PlayMonkey(seed, actions, log);
                                });
        } catch (const std::exception& e) {
            std::cerr << "tivelor_player --monkey: " << e.what() << "\n";
            return 2;
        }
    }
    if (argc != 2) {
        std::cerr << "usage: tivelor_player SCRIPT | tivelor_player --monkey [--seed N] [--sessions N] "
                     "[--seconds S] [--actions N] [--hang S] [--out DIR] [--keep] [--stats]\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "cannot read " << argv[1] << "\n";
        return 2;
    }
    Player player(std::filesystem::path(argv[1]).filename().string());
    return player.Play(in);
}
