// What the fuzz targets share: a headless back end that answers every prompt
// as a user in a hurry would (OK, No, Cancel), and a scratch file per process.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/headless/headless.h"
#include "platform/ui.h"

namespace fuzz {

class AnsweringBackend : public platform::headless::HeadlessBackend {
public:
    int MsgBox(const std::string& prompt, int style, const std::string& title) override {
        msgBoxes.push_back({title, prompt, style, 0});
        switch (style & 7) {
        case 2: return platform::vbIgnore;        // Abort, Retry, Ignore
        case 3: case 4: return platform::vbNo;    // Yes, No (and Cancel)
        case 5: return platform::vbCancel;        // Retry, Cancel
        default: return platform::vbOK;
        }
    }
    std::string InputBox(const std::string&, const std::string&, const std::string&, std::optional<int>,
                         std::optional<int>) override { return ""; }
    bool FileDialog(platform::CommonDialog&, bool) override { return false; }
};

struct Session {
    AnsweringBackend backend;
    platform::headless::ManualClock clock;
    platform::Random random;
    platform::Ui ui{backend, clock, random};
    Session() { backend.Attach(ui); }
};

// A file of this process's own, rewritten for every input.
inline std::string ScratchFile(const std::string& name, std::string_view text) {
    static const std::filesystem::path dir = [] {
        auto d = std::filesystem::temp_directory_path() / ("tivelor_fuzz_" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    const std::string path = (dir / name).string();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (!text.empty()) std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    return path;
}

// Stops the fuzzer with the reason: a property that must hold did not.
[[noreturn]] inline void Fail(const std::string& what) {
    std::fprintf(stderr, "property failed: %s\n", what.c_str());
    std::abort();
}

}  // namespace fuzz
