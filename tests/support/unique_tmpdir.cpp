// Gives every test process a temporary folder of its own, so tests that CTest
// runs side by side never write the same file. gtest's TempDir() reads it.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct UniqueTempDir {
    std::filesystem::path dir;
    UniqueTempDir() {
        std::error_code ec;
        dir = std::filesystem::temp_directory_path(ec) /
              ("tivelor-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir, ec);
        if (!ec) ::setenv("TEST_TMPDIR", dir.c_str(), 1);
    }
    ~UniqueTempDir() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
} uniqueTempDir;

}  // namespace
