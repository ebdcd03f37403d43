// The monkey: random user sessions made up from a seed, each written as a
// session script while it is played, so that a fault replays.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/headless/headless.h"

namespace tivelor {
class App;
}

namespace monkey {

// What the player gives the monkey.
class Host {
public:
    virtual ~Host() = default;
    virtual platform::headless::Session& Session() = 0;
    // A script line as a step ($TMP expanded); a ScriptError when it is none.
    virtual platform::headless::Step Parse(const std::string& line) = 0;
    // The folder that $TMP stands for.
    virtual std::string TmpDir() const = 0;
    // What is wrong with the program's state now; "" when nothing is.
    // `settled`: between two steps, with no handler running and no box open.
    virtual std::string BrokenInvariant(bool settled) = 0;
    // The program, once started; null before.
    virtual const tivelor::App* Program() const = 0;
};

// Plays one session from the seed, at most about `actions` lines, and writes
// every line to logPath as it is played. 0 when the session ran clean, 3 when
// a step failed as a script step would.
int PlaySession(Host& host, std::uint64_t seed, int actions, const std::string& logPath);

// tivelor_player --monkey [options]: plays sessions in child processes, one
// seed each, and reports every crash, abort, sanitizer report or hang with
// the script that replays it. playOne plays one session in the child.
int Main(const std::vector<std::string>& args,
         const std::function<int(std::uint64_t seed, int actions, const std::string& log)>& playOne);

}  // namespace monkey
