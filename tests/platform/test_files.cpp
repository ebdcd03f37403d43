#include "platform/files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/headless/headless.h"
#include "tests/support/FileSizeLimit.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

std::string Path(const char* name) { return ::testing::TempDir() + "tivelor_files_" + name; }

std::string Read(const std::string& path) {
    std::string text;
    EXPECT_TRUE(ReadWholeFile(path, text));
    return text;
}

// Runs check in a child process as a user whom permissions bind: root passes
// every permission check, so under root the child becomes nobody first. The
// child's exit status: 0, or the number of the check that failed.
int AsUnprivilegedUser(const std::function<int()>& check) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(100);
        ::_exit(check());
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return 101;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 102;
}

std::string Contents(const std::string& path) {
    std::string text;
    return ReadWholeFile(path, text) ? text : "(unreadable)";
}

class Files : public ::testing::Test {
protected:
    FileTable files;
};

}  // namespace

TEST_F(Files, PrintWritesCrLfLinesAndAppendAddsToThem) {
    const std::string p = Path("out.txt");
    ASSERT_TRUE(files.Open(203, p, FileMode::Output));
    EXPECT_EQ(files.PathOf(203), p);
    EXPECT_TRUE(files.Print(203, "first"));
    EXPECT_TRUE(files.Print(203, "a", false));   // continuation mark
    EXPECT_EQ(Read(p), "first\r\n");          // whole lines only, while open
    EXPECT_TRUE(files.Print(203, "b"));
    EXPECT_EQ(Read(p), "first\r\nab\r\n");
    EXPECT_TRUE(files.Print(203, ""));
    EXPECT_TRUE(files.Close(203));
    EXPECT_EQ(files.PathOf(203), "");
    ASSERT_TRUE(files.Open(203, p, FileMode::Append));
    files.Print(203, "more");
    files.CloseAll();
    EXPECT_EQ(Read(p), "first\r\nab\r\n\r\nmore\r\n");
}

TEST_F(Files, LineInputAndInputReadCrLfLfOrNoLastEnd) {
    ASSERT_TRUE(WriteWholeFileSafely(Path("in.txt"), "a b\r\n\nc\rd\nlast"));
    ASSERT_TRUE(files.Open(1, Path("in.txt"), FileMode::Input));
    std::string s;
    for (const char* line : {"a b", "", "c", "d", "last"}) {
        EXPECT_FALSE(files.Eof(1));
        ASSERT_TRUE(files.LineInput(1, s));
        EXPECT_EQ(s, line);
    }
    EXPECT_TRUE(files.Eof(1));
    EXPECT_FALSE(files.LineInput(1, s));

    ASSERT_TRUE(WriteWholeFileSafely(Path("f.txt"), "  12 , \"a, b\" ,x\r\n3.5\n\"q\"  ,, 7\r\nName here\r\n"));
    ASSERT_TRUE(files.Open(2, Path("f.txt"), FileMode::Input));
    for (const char* field : {"12", "a, b", "x", "3.5", "q", "", "7"}) {
        ASSERT_TRUE(files.Input(2, s));
        EXPECT_EQ(s, field);
    }
    ASSERT_TRUE(files.LineInput(2, s));
    EXPECT_EQ(s, "Name here");
    EXPECT_TRUE(files.Eof(2));
    EXPECT_FALSE(files.Input(2, s));
}

TEST_F(Files, FailuresAreReportedNeverThrown) {
    const std::string missing = Path("missing.txt");
    EXPECT_FALSE(files.Open(1, missing, FileMode::Input));
    EXPECT_EQ(files.LastError(), "File not found: " + missing);
    EXPECT_FALSE(files.IsOpen(1));
    EXPECT_FALSE(files.Open(1, "/nonexistent_dir/x.txt", FileMode::Output));
    EXPECT_NE(files.LastError().find("/nonexistent_dir/x.txt"), std::string::npos);

    ASSERT_TRUE(WriteWholeFileSafely(Path("a.txt"), ""));
    ASSERT_TRUE(files.Open(1, Path("a.txt"), FileMode::Input));
    EXPECT_TRUE(files.Eof(1));   // empty file
    EXPECT_FALSE(files.Open(1, Path("a.txt"), FileMode::Input));
    EXPECT_NE(files.LastError().find("already open"), std::string::npos);
    EXPECT_FALSE(files.Print(1, "no"));   // open for input
    EXPECT_FALSE(files.Print(9, "no"));   // not open
    std::string s;
    EXPECT_FALSE(files.LineInput(9, s));
    EXPECT_TRUE(files.Eof(9));
    files.Close(9);
    EXPECT_TRUE(files.IsOpen(1));
}

TEST_F(Files, WholeFileWriteReplacesOrLeavesNoTrace) {
    const std::string p = Path("whole.txt");
    ASSERT_TRUE(WriteWholeFileSafely(p, "old"));
    ASSERT_TRUE(WriteWholeFileSafely(p, "new\r\ntext"));
    EXPECT_EQ(Read(p), "new\r\ntext");
    const std::string sub = Path("sub");   // a directory cannot be replaced
    fs::create_directory(sub);
    EXPECT_FALSE(WriteWholeFileSafely(sub, "x"));
    EXPECT_TRUE(fs::is_directory(sub));
    EXPECT_FALSE(WriteWholeFileSafely("/nonexistent_dir/x.txt", "x"));
    std::string text;
    EXPECT_FALSE(ReadWholeFile(Path("missing.txt"), text));
}

// Every name the system takes takes a save, the longest too; what is left in
// the folder is the file alone; a failure says why.
TEST_F(Files, ASaveTakesEveryLegalNameAndSaysWhyItFailed) {
    const std::string dir = Path("names");
    fs::remove_all(dir);
    fs::create_directory(dir);
    const std::string longest = dir + "/" + std::string(251, 'n') + ".alg";   // 255 bytes
    std::string why = "left over";
    ASSERT_TRUE(WriteWholeFileSafely(longest, "old", &why));
    EXPECT_EQ(why, "");
    ASSERT_TRUE(WriteWholeFileSafely(longest, "new", &why));
    EXPECT_EQ(Read(longest), "new");
    EXPECT_TRUE(WriteWholeFileSafely(dir + "/a", "a"));   // shorter than a temporary name
    EXPECT_EQ(Read(dir + "/a"), "a");
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir)) left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"a", std::string(251, 'n') + ".alg"}));

    for (const auto& [path, reason] :
         {std::pair{dir + "/" + std::string(252, 'n') + ".alg", "File name too long"},
          {dir + "/missing/x.alg", "No such file or directory"},
          {dir, "Not a regular file"},
          {"/dev/null", "Not a regular file"}}) {
        EXPECT_FALSE(WriteWholeFileSafely(path, "x", &why));
        EXPECT_EQ(why, reason) << path;
    }
    EXPECT_EQ(Read(longest), "new");
}

TEST_F(Files, OnlyRegularFilesAreReadAndNothingBlocks) {
    std::string text;
    const std::string dir = Path("dir");
    fs::create_directory(dir);
    for (const std::string& p : {std::string("/dev/zero"), dir}) {
        SCOPED_TRACE(p);
        EXPECT_FALSE(files.Open(201, p, FileMode::Input));
        EXPECT_EQ(files.LastError(), "Not a regular file: " + p);
        EXPECT_FALSE(ReadWholeFile(p, text));
    }
    // A named pipe with a writer waiting: a reader that opened it would get
    // its (empty) contents; it must be refused instead. The writer is let go
    // by a non-blocking open of our own afterwards.
    const std::string fifo = Path("fifo");
    fs::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] {
        const int fd = ::open(fifo.c_str(), O_WRONLY);
        if (fd >= 0) ::close(fd);
    });
    EXPECT_FALSE(files.Open(204, fifo, FileMode::Input));
    EXPECT_FALSE(files.IsOpen(204));
    const int release = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    writer.join();
    ::close(release);
    fs::remove(fifo);

    // A line too long to be a line of any of our files ends the file.
    const std::string longLine = Path("long.txt");
    std::ofstream(longLine, std::ios::binary) << "first\n" << std::string(FileTable::kMaxLine + 1, '0') << "\nlast\n";
    ASSERT_TRUE(files.Open(1, longLine, FileMode::Input));
    EXPECT_TRUE(files.LineInput(1, text) && text == "first");
    EXPECT_FALSE(files.LineTooLong(1));
    EXPECT_FALSE(files.LineInput(1, text));
    EXPECT_TRUE(files.LineTooLong(1));
    EXPECT_TRUE(files.Eof(1));
    EXPECT_FALSE(files.LineInput(1, text));
}

TEST_F(Files, AFailedWriteIsNeverSuccess) {
    const std::string p = Path("full.txt");
    const testsupport::FileSizeLimit full(0);
    ASSERT_TRUE(files.Open(203, p, FileMode::Output));
    EXPECT_TRUE(files.Print(203, "part", false));   // not written before its line ends
    EXPECT_FALSE(files.Print(203, "line"));
    EXPECT_EQ(files.LastError(), "Cannot write file: " + p);
    EXPECT_FALSE(files.Print(203, "next"));
    EXPECT_FALSE(files.Close(203));
    EXPECT_FALSE(files.IsOpen(203));
    // A partial line that fails only at the close.
    ASSERT_TRUE(files.Open(203, p, FileMode::Output));
    EXPECT_TRUE(files.Print(203, "part", false));
    EXPECT_FALSE(files.Close(203));
    std::string why;
    EXPECT_FALSE(WriteWholeFileSafely(p, "x", &why));
    EXPECT_EQ(why, "File too large");
}

// A log or any other output opens only on a regular file or a new one: a
// named pipe without a reader is refused at once, not waited on for ever,
// and nothing that is refused is changed.
TEST_F(Files, OnlyRegularFilesAreWrittenAndNothingBlocks) {
    const std::string fifo = Path("out_fifo"), dir = Path("out_dir");
    fs::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(dir);
    for (FileMode mode : {FileMode::Output, FileMode::Append}) {
        for (const std::string& p : {fifo, dir, std::string("/dev/null")}) {
            SCOPED_TRACE(p);
            // A reader that comes after a while lets go of an open that waits
            // for one, so that such an open fails the test instead of hanging it.
            std::promise<void> opened;
            std::thread reader([&fifo, done = opened.get_future()] {
                if (done.wait_for(std::chrono::seconds(2)) == std::future_status::ready) return;
                const int fd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
                if (fd >= 0) ::close(fd);
            });
            const bool ok = files.Open(205, p, mode);
            opened.set_value();
            reader.join();
            EXPECT_FALSE(ok);
            EXPECT_EQ(files.LastError(), "Not a regular file: " + p);
            EXPECT_FALSE(files.IsOpen(205));
            files.Close(205);
        }
    }
    EXPECT_TRUE(fs::is_fifo(fifo) && fs::is_directory(dir) && fs::is_character_file("/dev/null"));
    std::string why;
    EXPECT_FALSE(WriteWholeFileSafely(fifo, "x", &why));
    EXPECT_EQ(why, "Not a regular file");
    EXPECT_TRUE(fs::is_fifo(fifo));
    fs::remove(fifo);

    // A regular file is emptied by Output and added to by Append.
    const std::string p = Path("regular.txt");
    ASSERT_TRUE(WriteWholeFileSafely(p, "old\r\n"));
    ASSERT_TRUE(files.Open(205, p, FileMode::Append));
    files.Print(205, "more");
    files.Close(205);
    EXPECT_EQ(Read(p), "old\r\nmore\r\n");
    ASSERT_TRUE(files.Open(205, p, FileMode::Output));
    files.Close(205);
    EXPECT_EQ(Read(p), "");
}

TEST_F(Files, ASaveKeepsPermissionsAndWritesThroughALink) {
    const std::string p = Path("private.txt");
    fs::remove(p);
    ASSERT_TRUE(WriteWholeFileSafely(p, "old"));
    fs::permissions(p, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(WriteWholeFileSafely(p, "new"));
    EXPECT_EQ(fs::status(p).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Read(p), "new");

    // A chain of links, one of them relative: the file at the end is written.
    const std::string link = Path("link.txt"), link2 = Path("link2.txt");
    fs::remove(link);
    fs::remove(link2);
    fs::create_symlink(fs::path(p).filename(), link2);
    fs::create_symlink(link2, link);
    ASSERT_TRUE(WriteWholeFileSafely(link, "through"));
    EXPECT_TRUE(fs::is_symlink(link) && fs::is_symlink(link2));
    EXPECT_EQ(Read(p), "through");
    EXPECT_EQ(fs::status(p).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    // A link to a file not yet there creates that file.
    const std::string dangling = Path("dangling.txt"), made = Path("made.txt");
    fs::remove(dangling);
    fs::remove(made);
    fs::create_symlink(made, dangling);
    ASSERT_TRUE(WriteWholeFileSafely(dangling, "made"));
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_EQ(Read(made), "made");
    // A device is not replaced.
    EXPECT_FALSE(WriteWholeFileSafely("/dev/null", "x"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

// As a user who owns the files: a file he may not write is refused and left
// as it was, a file he may write in a folder he may not is written in place,
// and a failure there puts back the old content.
TEST_F(Files, ASaveRespectsPermissionsAndKeepsTheOwner) {
    const std::string dir = (::geteuid() == 0 ? std::string("/tmp/") : ::testing::TempDir()) + "tivelor_perm_" +
                            std::to_string(::getpid());
    fs::remove_all(dir);
    fs::create_directory(dir);
    fs::permissions(dir, fs::perms::all);
    const int failed = AsUnprivilegedUser([&] {
        const std::string locked = dir + "/locked.alg", folder = dir + "/folder", inside = folder + "/in.alg";
        std::string why;
        SaveLeft left = SaveLeft::Incomplete;
        if (!WriteWholeFileSafely(locked, "old") || ::chmod(locked.c_str(), 0444) != 0) return 1;
        if (WriteWholeFileSafely(locked, "new", &why) || why != "Permission denied") return 2;
        if (Contents(locked) != "old" || (fs::status(locked).permissions() & fs::perms::all) != fs::perms(0444)) return 3;
        FileTable log;
        if (log.Open(203, locked, FileMode::Output) || log.LastReason() != "Permission denied") return 4;
        if (::mkdir(folder.c_str(), 0755) != 0 || !WriteWholeFileSafely(inside, "old") || ::chmod(folder.c_str(), 0555) != 0)
            return 5;
        if (!WriteWholeFileSafely(inside, "new text", &why, &left) || left != SaveLeft::Untouched ||
            Contents(inside) != "new text")
            return 6;
        if (std::distance(fs::directory_iterator(folder), fs::directory_iterator()) != 1) return 7;
        if (WriteWholeFileSafely(folder + "/new.alg", "x", &why) || why != "Permission denied") return 8;
        {
            const testsupport::FileSizeLimit full(3);
            if (WriteWholeFileSafely(inside, "longer", &why, &left) || left != SaveLeft::PutBack ||
                why != "File too large" || Contents(inside) != "new text")
                return 9;
        }
        return ::chmod(folder.c_str(), 0755) == 0 ? 0 : 10;
    });
    EXPECT_EQ(failed, 0) << "the child's check that failed";
    std::error_code ec;
    fs::permissions(dir + "/folder", fs::perms::owner_all, ec);

    // A replaced file keeps its owner and group: another user's under root,
    // else a group of the user's own other than his first, where he has one.
    const std::string owned = dir + "/owned.alg";
    ASSERT_TRUE(WriteWholeFileSafely(owned, "old"));
    uid_t uid = static_cast<uid_t>(-1);
    gid_t gid = ::getegid();
    if (::geteuid() == 0) {
        uid = 65534;
        gid = 65534;
    } else {
        gid_t groups[64];
        const int n = ::getgroups(64, groups);
        for (int i = 0; i < n; ++i)
            if (groups[i] != ::getegid()) gid = groups[i];
    }
    ASSERT_EQ(::chown(owned.c_str(), uid, gid), 0);
    struct stat before {};
    ASSERT_EQ(::stat(owned.c_str(), &before), 0);
    ASSERT_TRUE(WriteWholeFileSafely(owned, "new"));
    struct stat after {};
    ASSERT_EQ(::stat(owned.c_str(), &after), 0);
    EXPECT_EQ(std::make_pair(after.st_uid, after.st_gid), std::make_pair(before.st_uid, before.st_gid));
    EXPECT_EQ(Contents(owned), "new");
    fs::remove_all(dir, ec);
}

// What a file carries besides its content survives a save: a second name, an
// access control list with its mask, other attributes, another user's
// ownership (in a sticky folder too). A temporary name taken by another user
// blocks nothing, and a file-size limit fails a save or a log line without
// ending the program, leaving the file as it was and no temporary file.
TEST_F(Files, ASaveKeepsWhatTheFileCarried) {
    if (::geteuid() != 0) GTEST_SKIP() << "making another user's files needs root";
    const std::string dir = "/tmp/tivelor_carry_" + std::to_string(::getpid()), sticky = dir + "/sticky";
    fs::remove_all(dir);
    ASSERT_TRUE(fs::create_directory(dir) && fs::create_directory(sticky));
    ASSERT_EQ(::chmod(dir.c_str(), 0777) | ::chmod(sticky.c_str(), 01777), 0);
    const std::string taken = sticky + "/.tivelor-d354cfc5a3ce1a8d.tmp~";   // the name a save of new.alg once used
    for (const std::string& p : {dir + "/theirs.alg", sticky + "/theirs.alg", taken})
        ASSERT_TRUE(WriteWholeFileSafely(p, "old") && ::chmod(p.c_str(), 0666) == 0);
    // user::rw- user:65533:rw- group::r-- mask::rw- other::---
    const std::uint32_t acl[] = {2, 0x60001, ~0U, 0x60002, 65533, 0x40004, ~0U, 0x60010, ~0U, 0x20, ~0U};
    const int failed = AsUnprivilegedUser([&] {
        const std::string a = dir + "/a.alg", b = dir + "/b.alg", c = dir + "/acl.alg";
        struct stat st {};
        if (!WriteWholeFileSafely(a, "old") || ::link(a.c_str(), b.c_str()) != 0) return 1;
        if (!WriteWholeFileSafely(a, "new") || Contents(b) != "new") return 2;
        if (!WriteWholeFileSafely(c, "old") || ::chmod(c.c_str(), 0640) != 0) return 3;
        if (::setxattr(c.c_str(), "system.posix_acl_access", acl, sizeof acl, 0) == 0) {
            std::uint32_t back[std::size(acl)] = {};
            if (::setxattr(c.c_str(), "user.tivelor", "x", 1, 0) != 0 || !WriteWholeFileSafely(c, "new")) return 4;
            if (::getxattr(c.c_str(), "system.posix_acl_access", back, sizeof back) != sizeof acl ||
                std::memcmp(acl, back, sizeof acl) != 0 || ::getxattr(c.c_str(), "user.tivelor", back, 1) != 1 ||
                ::stat(c.c_str(), &st) != 0 || (st.st_mode & 07777) != 0660)
                return 5;
        } else if (errno != ENOTSUP) {
            return 6;
        }
        for (const std::string& p : {dir + "/theirs.alg", sticky + "/theirs.alg"})
            if (!WriteWholeFileSafely(p, "new") || Contents(p) != "new" || ::stat(p.c_str(), &st) != 0 ||
                st.st_uid != 0)
                return 7;
        if (!WriteWholeFileSafely(sticky + "/new.alg", "new") || Contents(taken) != "old") return 8;

        std::signal(SIGXFSZ, SIG_DFL);   // as in a program just started
        platform::headless::Session session;
        const rlimit limit{5, RLIM_INFINITY};
        std::string why;
        SaveLeft left{};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0 || !session.ui.files.Open(203, dir + "/log.tvl", FileMode::Output))
            return 9;
        if (session.ui.files.Print(203, "a long line") || WriteWholeFileSafely(c, "longer", &why, &left) ||
            why != "File too large" || left != SaveLeft::Untouched || Contents(c) != "new")
            return 10;
        if (WriteWholeFileSafely(a, "longer", &why, &left) || why != "File too large" || left != SaveLeft::PutBack ||
            Contents(b) != "new")
            return 11;
        for (const auto& e : fs::directory_iterator(dir))
            if (e.path().filename().string().rfind(".tivelor", 0) == 0) return 12;
        return 0;
    });
    EXPECT_EQ(failed, 0) << "the child's check that failed";
    fs::remove_all(dir);
}
