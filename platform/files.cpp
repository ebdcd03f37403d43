#include "platform/files.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>

namespace platform {

// Input is read a line at a time through a std::FILE; output is gathered
// until its line ends and then written through.
struct FileTable::File {
    FileMode mode = FileMode::Input;
    std::string path;
    std::FILE* in = nullptr;
    std::string line;        // the current input line, while Input has used part of it
    std::size_t pos = 0;     // read position in line
    bool inLine = false;
    bool atEnd = false;      // nothing more to read
    std::FILE* out = nullptr;
    std::string pending;     // output of a line not yet ended
    bool failed = false;     // some output did not reach the file
    bool tooLong = false;    // reading stopped at a line longer than kMaxLine
    int readErr = 0;         // reading stopped at this error
};

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool CloseOutput(std::FILE* f) {
    if (f == nullptr) return true;
    const bool flushed = std::fflush(f) == 0 && std::ferror(f) == 0;
    return std::fclose(f) == 0 && flushed;
}

constexpr int kNotRegular = -1;   // our own failure, beside the system's errno values

// Why an open or a write failed, in the system's words or ours.
std::string Reason(int err) { return err == kNotRegular ? "Not a regular file" : std::strerror(err); }

// 0 when name (in the folder dir, or the working folder for AT_FDCWD) is a
// regular file, or nothing is there and missingOk; else why not. st describes
// the file, all zero when there is none.
int CheckRegular(int dir, const std::string& name, bool missingOk, struct stat& st) {
    if (::fstatat(dir, name.c_str(), &st, 0) == 0) return S_ISREG(st.st_mode) ? 0 : kNotRegular;
    const int err = errno;
    st = {};
    return err == ENOENT && missingOk ? 0 : err;
}

// Opens name, for reading or writing, only where it is a regular file or
// (when flags create it) where nothing is there yet. The type is checked
// before the open and again on the open descriptor, which is opened without
// blocking, so that a named pipe or a device put in the file's place is
// refused, never waited on nor changed. The descriptor (blocking again), or
// -1 with err set.
int OpenRegular(int dir, const std::string& name, int flags, mode_t mode, int& err) {
    struct stat st {};
    err = CheckRegular(dir, name, (flags & O_CREAT) != 0, st);
    if (err != 0) return -1;
    const int fd = ::openat(dir, name.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
    if (fd < 0) {
        err = errno;
        return -1;
    }
    const int fl = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) err = kNotRegular;
    else if (fl == -1 || ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK) != 0) err = errno;
    else return fd;
    ::close(fd);
    return -1;
}

std::FILE* OpenRegularFile(const std::string& path, std::string& error, int& err) {
    err = 0;
    const int fd = OpenRegular(AT_FDCWD, path, O_RDONLY, 0, err);
    std::FILE* f = fd < 0 ? nullptr : ::fdopen(fd, "rb");
    if (f == nullptr) {
        if (fd >= 0) {
            err = errno;
            ::close(fd);
        }
        error = err == ENOENT        ? "File not found: " + path
                : err == kNotRegular ? "Not a regular file: " + path
                                     : "Cannot read file: " + path;
    }
    return f;
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";   // UTF-8

// Passes over a byte-order mark at the start of in.
void SkipByteOrderMark(std::FILE* in) {
    char head[3] = {};
    if (std::fread(head, 1, 3, in) == 3 && std::string_view(head, 3) == kByteOrderMark) return;
    std::clearerr(in);
    std::rewind(in);
}

// The errno of a read that failed, never 0.
int ReadErrno() { return errno != 0 ? errno : EIO; }

// True when nothing is left to read; a read error (err) counts as the end.
bool AtEndOf(std::FILE* in, int& err) {
    errno = 0;
    const int c = std::getc(in);
    if (c == EOF) {
        if (std::ferror(in) != 0) err = ReadErrno();
        return true;
    }
    std::ungetc(c, in);
    return false;
}

// The next line without its end (CR LF, LF or a lone CR). False when nothing
// is left, on a read error (err) and on a line longer than kMaxLine (tooLong).
bool ReadLine(std::FILE* in, std::string& line, bool& tooLong, int& err) {
    line.clear();
    errno = 0;
    int c = std::getc(in);
    if (c == EOF) {
        if (std::ferror(in) != 0) err = ReadErrno();
        return false;
    }
    while (c != EOF && c != '\r' && c != '\n') {
        if (line.size() >= FileTable::kMaxLine) {
            tooLong = true;
            return false;
        }
        line.push_back(static_cast<char>(c));
        c = std::getc(in);
    }
    if (c == '\r') {
        c = std::getc(in);
        if (c != '\n' && c != EOF) std::ungetc(c, in);
    }
    if (std::ferror(in) == 0) return true;
    err = ReadErrno();
    return false;
}

// Writes text from the file's start: 0, or the errno of the write that
// failed; done counts the bytes written.
int WriteAll(int fd, std::string_view text, std::size_t& done) {
    done = 0;
    while (done < text.size()) {
        const ssize_t n = ::pwrite(fd, text.data() + done, text.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

// The file that path names, following symbolic links (the last may dangle):
// 0, or the errno of the failure.
int FollowLinks(const std::string& path, std::string& target) {
    namespace fs = std::filesystem;
    fs::path p = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec))) {
            target = p.string();
            return 0;
        }
        const fs::path to = fs::read_symlink(p, ec);
        if (ec) return ec.value();
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
    return ELOOP;
}

// Creates a temporary file in dir under a random name that no one can
// guess, retrying when the name is taken. The descriptor, or -1 with err set.
int CreateTemporary(int dir, mode_t mode, std::string& name, int& err) {
    for (int tries = 0; tries < 100; ++tries) {
        std::uint64_t r = 0;
        while (::getrandom(&r, sizeof r, 0) != static_cast<ssize_t>(sizeof r)) {
            if (errno != EINTR) {
                err = errno;
                return -1;
            }
        }
        char text[40];
        std::snprintf(text, sizeof text, ".tivelor-%016llx.tmp~", static_cast<unsigned long long>(r));
        name = text;
        const int fd = ::openat(dir, text, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) return fd;
        if ((err = errno) != EEXIST) return -1;
    }
    return -1;
}

// 0, or the errno of a failure; list receives the attribute names of fd as
// flistxattr gives them, or its value of the attribute name.
int ReadAttribute(int fd, const char* name, std::string& list) {
    for (;;) {
        const ssize_t size = name == nullptr ? ::flistxattr(fd, nullptr, 0) : ::fgetxattr(fd, name, nullptr, 0);
        list.clear();
        if (size < 0) return name == nullptr && errno == ENOTSUP ? 0 : errno;   // none where there can be none
        list.resize(static_cast<std::size_t>(size));
        const ssize_t got = name == nullptr ? ::flistxattr(fd, list.data(), list.size())
                                            : ::fgetxattr(fd, name, list.data(), list.size());
        if (got >= 0) {
            list.resize(static_cast<std::size_t>(got));
            return 0;
        }
        if (errno != ERANGE) return errno;   // else it grew meanwhile
    }
}

// Gives the file to the extended attributes of the file from (its access
// control list among them), and only those: false when any cannot be copied.
bool CopyAttributes(int from, int to) {
    std::string names, own, value;
    if (ReadAttribute(from, nullptr, names) != 0 || ReadAttribute(to, nullptr, own) != 0) return false;
    // An attribute the folder gave the new file (a default ACL) goes first.
    for (const char* n = own.c_str(); n < own.c_str() + own.size(); n += std::strlen(n) + 1)
        if (ReadAttribute(from, n, value) == ENODATA && ::fremovexattr(to, n) != 0) return false;
    for (const char* n = names.c_str(); n < names.c_str() + names.size(); n += std::strlen(n) + 1)
        if (ReadAttribute(from, n, value) != 0 || ::fsetxattr(to, n, value.data(), value.size(), 0) != 0)
            return false;
    return true;
}

// Makes the temporary file fd all that the file open on file (described by
// st) is but its content: owner, group, extended attributes and mode (the
// mode after the owner, whose change may clear it). False when it cannot be.
bool TakeLikeness(int fd, int file, const struct stat& st) {
    struct stat now {};
    return ::fchown(fd, st.st_uid, st.st_gid) == 0 && CopyAttributes(file, fd) &&
           ::fchmod(fd, st.st_mode & 07777) == 0 && ::fstat(fd, &now) == 0 && now.st_uid == st.st_uid &&
           now.st_gid == st.st_gid && (now.st_mode & 07777) == (st.st_mode & 07777);
}

// Writes text to a temporary file in dir and renames it over name. file is
// the file now there (st), or -1 for a new one. 0, or the errno of a failure;
// inPlace when the file cannot be replaced and is to be written where it is.
int Replace(int dir, const std::string& name, int file, const struct stat& st, const std::string& text,
            bool& inPlace) {
    inPlace = file >= 0 && st.st_nlink != 1;
    if (inPlace) return 0;
    std::string temp;
    int err = 0;
    const int fd = CreateTemporary(dir, file >= 0 ? 0600 : 0666, temp, err);
    if (fd < 0) return (inPlace = file >= 0) ? 0 : err;
    inPlace = file >= 0 && !TakeLikeness(fd, file, st);
    std::size_t done = 0;
    if (!inPlace) err = WriteAll(fd, text, done);
    if (::close(fd) != 0 && err == 0) err = errno;
    if (!inPlace && err == 0 && ::renameat(dir, temp.c_str(), dir, name.c_str()) != 0) {
        err = errno;
        inPlace = file >= 0;   // a file that cannot be renamed over (a mount point)
    }
    if (inPlace || err != 0) ::unlinkat(dir, temp.c_str(), 0);
    return inPlace ? 0 : err;
}

// The whole content of fd from its start; false when it cannot be read.
bool ReadAll(int fd, std::string& text) {
    text.clear();
    char buf[65536];
    for (;;) {
        const ssize_t n = ::pread(fd, buf, sizeof buf, static_cast<off_t>(text.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n == 0;
        text.append(buf, static_cast<std::size_t>(n));
    }
}

// Writes text over the file open on fd; when that fails, puts back the old
// content where it was read (readable) and says in left how it was left.
// 0, or the errno of the write.
int WriteInPlace(int fd, bool readable, const std::string& text, SaveLeft& left) {
    std::string old;
    readable = readable && ReadAll(fd, old);
    std::size_t touched = 0;   // the bytes from the start that may differ from old
    int err = WriteAll(fd, text, touched);
    if (err == 0) {
        touched = std::max(text.size(), old.size());
        if (::ftruncate(fd, static_cast<off_t>(text.size())) != 0) err = errno;
        else if (::fsync(fd) != 0 && errno != EINVAL) err = errno;
    }
    if (err == 0) return 0;
    std::size_t done = 0;
    const bool back = readable &&
                      WriteAll(fd, std::string_view(old).substr(0, std::min(touched, old.size())), done) == 0 &&
                      ::ftruncate(fd, static_cast<off_t>(old.size())) == 0;
    left = back ? SaveLeft::PutBack : SaveLeft::Incomplete;
    return err;
}

bool Failed(std::string* why, int err) {
    if (why != nullptr) *why = Reason(err);
    return false;
}

}  // namespace

FileTable::FileTable() = default;

FileTable::~FileTable() { CloseAll(); }

bool FileTable::Open(int n, const std::string& path, FileMode mode) {
    if (IsOpen(n)) {
        lastError_ = "File already open: #" + std::to_string(n);
        return false;
    }
    auto f = std::make_unique<File>();
    f->mode = mode;
    f->path = path;
    lastReason_.clear();
    int err = 0;
    if (mode == FileMode::Input) {
        f->in = OpenRegularFile(path, lastError_, err);
        if (f->in == nullptr) {
            lastReason_ = Reason(err);
            return false;
        }
        SkipByteOrderMark(f->in);
        f->atEnd = AtEndOf(f->in, f->readErr);
    } else {
        const bool append = mode == FileMode::Append;
        const int fd = OpenRegular(AT_FDCWD, path, O_WRONLY | O_CREAT | (append ? O_APPEND : 0), 0666, err);
        // Emptied only once it is known to be a regular file.
        if (fd >= 0 && !append && ::ftruncate(fd, 0) != 0) err = errno;
        if (fd >= 0 && err == 0) f->out = ::fdopen(fd, append ? "ab" : "wb");
        if (f->out == nullptr) {
            if (fd >= 0) {
                if (err == 0) err = errno;
                ::close(fd);
            }
            lastError_ = (err == kNotRegular ? "Not a regular file: " : "Cannot write file: ") + path;
            lastReason_ = Reason(err);
            return false;
        }
    }
    files_[n] = std::move(f);
    return true;
}

bool FileTable::IsOpen(int n) const { return files_.count(n) != 0; }

const std::string& FileTable::PathOf(int n) const {
    static const std::string kNone;
    const auto it = files_.find(n);
    return it == files_.end() ? kNone : it->second->path;
}

bool FileTable::Print(int n, const std::string& text, bool newline) {
    const auto it = files_.find(n);
    if (it == files_.end() || it->second->out == nullptr) {
        lastError_ = "File not open for output: #" + std::to_string(n);
        return false;
    }
    File& f = *it->second;
    f.pending += text;
    if (!newline) return !f.failed;
    f.pending += "\r\n";
    const bool ok = !f.failed && std::fwrite(f.pending.data(), 1, f.pending.size(), f.out) == f.pending.size() &&
                    std::fflush(f.out) == 0;
    f.pending.clear();
    if (!ok) {
        f.failed = true;
        lastError_ = "Cannot write file: " + f.path;
    }
    return ok;
}

bool FileTable::LineInput(int n, std::string& line) {
    line.clear();
    const auto it = files_.find(n);
    if (it == files_.end() || it->second->mode != FileMode::Input) {
        lastError_ = "File not open for input: #" + std::to_string(n);
        return false;
    }
    File& f = *it->second;
    if (f.atEnd) {
        lastError_ = (f.readErr != 0 ? "Cannot read file: " : "Input past end of file: ") + f.path;
        return false;
    }
    if (f.inLine) {
        line = f.line.substr(f.pos);
        f.inLine = false;
    } else if (!ReadLine(f.in, line, f.tooLong, f.readErr)) {
        line.clear();
        f.atEnd = true;
        lastError_ = (f.tooLong ? "Line too long in file: " : "Cannot read file: ") + f.path;
        return false;
    }
    f.atEnd = AtEndOf(f.in, f.readErr);
    return true;
}

bool FileTable::Input(int n, std::string& field) {
    field.clear();
    const auto it = files_.find(n);
    if (it == files_.end() || it->second->mode != FileMode::Input) {
        lastError_ = "File not open for input: #" + std::to_string(n);
        return false;
    }
    File& f = *it->second;
    if (f.atEnd) {
        lastError_ = (f.readErr != 0 ? "Cannot read file: " : "Input past end of file: ") + f.path;
        return false;
    }
    if (!f.inLine) {
        if (!ReadLine(f.in, f.line, f.tooLong, f.readErr)) {
            f.atEnd = true;
            lastError_ = (f.tooLong ? "Line too long in file: " : "Cannot read file: ") + f.path;
            return false;
        }
        f.pos = 0;
        f.inLine = true;
    }
    const std::string& t = f.line;
    while (f.pos < t.size() && IsBlank(t[f.pos])) ++f.pos;
    if (f.pos < t.size() && t[f.pos] == '"') {
        const std::size_t close = t.find('"', f.pos + 1);
        const std::size_t stop = close == std::string::npos ? t.size() : close;
        field = t.substr(f.pos + 1, stop - f.pos - 1);
        f.pos = close == std::string::npos ? t.size() : close + 1;
        // Anything between the closing quote and the separator is ignored.
        while (f.pos < t.size() && t[f.pos] != ',') ++f.pos;
    } else {
        const std::size_t start = f.pos;
        while (f.pos < t.size() && t[f.pos] != ',') ++f.pos;
        std::size_t stop = f.pos;
        while (stop > start && IsBlank(t[stop - 1])) --stop;
        field = t.substr(start, stop - start);
    }
    if (f.pos < t.size())
        ++f.pos;   // the comma
    else
        f.inLine = false;
    f.atEnd = !f.inLine && AtEndOf(f.in, f.readErr);
    return true;
}

bool FileTable::LineTooLong(int n) const {
    const auto it = files_.find(n);
    return it != files_.end() && it->second->tooLong;
}

std::string FileTable::ReadError(int n) const {
    const auto it = files_.find(n);
    return it == files_.end() || it->second->readErr == 0 ? std::string() : Reason(it->second->readErr);
}

bool FileTable::Eof(int n) const {
    const auto it = files_.find(n);
    if (it == files_.end() || it->second->mode != FileMode::Input) return true;
    return it->second->atEnd;
}

bool FileTable::Close(int n) {
    const auto it = files_.find(n);
    if (it == files_.end()) return true;
    File& f = *it->second;
    bool ok = !f.failed;
    if (f.out != nullptr) {
        if (ok && !f.pending.empty())
            ok = std::fwrite(f.pending.data(), 1, f.pending.size(), f.out) == f.pending.size();
        ok = CloseOutput(f.out) && ok;
        f.out = nullptr;
    }
    if (f.in != nullptr) std::fclose(f.in);
    f.in = nullptr;
    if (!ok) lastError_ = "Cannot write file: " + f.path;
    files_.erase(it);
    return ok;
}

void FileTable::CloseAll() {
    while (!files_.empty()) Close(files_.begin()->first);
}

bool ReadWholeFile(const std::string& path, std::string& text) {
    text.clear();
    std::string error;
    int err = 0;
    std::FILE* f = OpenRegularFile(path, error, err);
    if (f == nullptr) return false;
    char buf[65536];
    std::size_t got = 0;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, got);
    const bool ok = std::ferror(f) == 0;
    std::fclose(f);
    if (!ok) text.clear();
    if (text.starts_with(kByteOrderMark)) text.erase(0, kByteOrderMark.size());
    return ok;
}

bool WriteWholeFileSafely(const std::string& path, const std::string& text, std::string* why, SaveLeft* left) {
    if (why != nullptr) why->clear();
    SaveLeft how = SaveLeft::Untouched;
    if (left != nullptr) *left = how;
    std::string target;
    if (const int err = FollowLinks(path, target)) return Failed(why, err);
    // The temporary file is made in the target's folder and named relative
    // to it, so that only the target's own name has to fit.
    const std::filesystem::path t = target;
    const std::string name = t.filename().string();
    if (name.empty()) return Failed(why, EISDIR);
    const std::string folder = t.has_parent_path() ? t.parent_path().string() : ".";
    const int dir = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return Failed(why, errno);
    // Only a regular file is replaced; a device or a pipe is never renamed over.
    struct stat st {};
    int err = CheckRegular(dir, name, true, st);
    // A file the user may not write is refused as it would be written; it is
    // opened, not changed, and kept open for a write in place.
    int file = -1;
    bool readable = true;
    if (err == 0 && S_ISREG(st.st_mode)) {
        file = OpenRegular(dir, name, O_RDWR, 0, err);
        if (file < 0 && err == EACCES) {
            readable = false;
            file = OpenRegular(dir, name, O_WRONLY, 0, err);
        }
        if (file >= 0 && ::fstat(file, &st) != 0) err = errno;
    }
    bool inPlace = false;
    if (err == 0) err = Replace(dir, name, file, st, text, inPlace);
    if (err == 0 && inPlace) err = WriteInPlace(file, readable, text, how);
    if (file >= 0 && ::close(file) != 0 && inPlace && err == 0) {
        err = errno;
        how = SaveLeft::Incomplete;
    }
    ::close(dir);
    if (left != nullptr) *left = how;
    return err == 0 || Failed(why, err);
}

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace platform
