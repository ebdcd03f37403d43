// Runs a test's body in a child process whose address space is held to what
// it uses now plus a margin, so that a large allocation fails with
// std::bad_alloc as on a computer without the memory.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

// The address sanitizer reserves far more address space than any limit
// leaves, so these tests are skipped under it.
#if defined(__SANITIZE_ADDRESS__)
#define TIVELOR_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TIVELOR_ADDRESS_SANITIZER 1
#endif
#endif

namespace testsupport {

inline rlim_t AddressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    unsigned long long pages = 0;
    statm >> pages;
    return static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
}

// The child's exit, described: "" when it ended normally with every
// expectation met.
inline std::string RunWithAddressSpaceLimit(rlim_t margin, const std::function<void()>& body) {
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = ::fork();
    if (pid < 0) return "fork failed";
    if (pid == 0) {
        rlimit limit{};
        ::getrlimit(RLIMIT_AS, &limit);
        limit.rlim_cur = AddressSpaceInUse() + margin;
        ::setrlimit(RLIMIT_AS, &limit);
        try {
            body();
        } catch (...) {
            // As in the program: an exception that escapes ends it.
            std::fflush(stdout);
            std::abort();
        }
        std::fflush(stdout);
        std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFSIGNALED(status)) return "the child died by signal " + std::to_string(WTERMSIG(status));
    if (WEXITSTATUS(status) != 0) return "the child failed (see its output above)";
    return "";
}

}  // namespace testsupport
