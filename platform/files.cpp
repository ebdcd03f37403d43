#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

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

// Passes over a UTF-8 byte-order mark at the start of in.
void SkipByteOrderMark(std::FILE* in) {
    unsigned char head[3] = {};
    if (std::fread(head, 1, 3, in) == 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) return;
    std::clearerr(in);
    std::rewind(in);
}

bool HasByteOrderMark(const std::string& text) { return text.compare(0, 3, "\xEF\xBB\xBF") == 0; }

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

// 0, or the errno of the write that failed.
int WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
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

// The temporary file of a save to name: a short name of its own, so that it
// fits wherever name does, and the same for every save to name, so that one
// left by a save cut short is cleared by the next.
std::string TemporaryName(const std::string& name) {
    std::uint64_t h = 14695981039346656037ULL;   // FNV-1a
    for (const char c : name) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    char text[40];
    std::snprintf(text, sizeof text, ".tivelor-%016llx.tmp~", static_cast<unsigned long long>(h));
    return text;
}

// Gives fd the owner and group of st as far as the system allows: a user
// who is not root may at most keep a group of his own.
void KeepOwner(int fd, const struct stat& st) {
    if (::fchown(fd, st.st_uid, st.st_gid) != 0) (void)::fchown(fd, static_cast<uid_t>(-1), st.st_gid);
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
    if (HasByteOrderMark(text)) text.erase(0, 3);
    return ok;
}

bool WriteWholeFileSafely(const std::string& path, const std::string& text, std::string* why, bool* incomplete) {
    if (why != nullptr) why->clear();
    if (incomplete != nullptr) *incomplete = false;
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
    struct stat old {};
    int err = CheckRegular(dir, name, true, old);
    const bool exists = S_ISREG(old.st_mode);
    // A file the user may not write is refused as it would be written; it is
    // opened, not changed, and kept open for a write in place.
    int file = -1;
    if (err == 0 && exists) file = OpenRegular(dir, name, O_WRONLY, 0, err);
    const std::string temp = TemporaryName(name);
    int fd = -1;
    if (err == 0) {
        ::unlinkat(dir, temp.c_str(), 0);   // left by an earlier save that was cut short
        fd = OpenRegular(dir, temp, O_WRONLY | O_CREAT | O_EXCL, exists ? 0600 : 0666, err);
        if (fd < 0 && exists) err = 0;   // written in place below
    }
    if (fd >= 0) {
        if (exists) {
            KeepOwner(fd, old);   // before the mode, which a change of owner may clear
            if (::fchmod(fd, old.st_mode & 07777) != 0) err = errno;
        }
        if (err == 0) err = WriteAll(fd, text);
        if (::close(fd) != 0 && err == 0) err = errno;
        if (err == 0 && ::renameat(dir, temp.c_str(), dir, name.c_str()) != 0) err = errno;
        if (err != 0) ::unlinkat(dir, temp.c_str(), 0);
    } else if (file >= 0 && err == 0) {
        // No temporary file beside it: the file is written where it stands,
        // and once emptied a failure leaves it incomplete.
        if (::ftruncate(file, 0) != 0) err = errno;
        else {
            err = WriteAll(file, text);
            if (::fsync(file) != 0 && err == 0 && errno != EINVAL) err = errno;
            if (err != 0 && incomplete != nullptr) *incomplete = true;
        }
    }
    if (file >= 0 && ::close(file) != 0 && fd < 0 && err == 0) {
        err = errno;
        if (incomplete != nullptr) *incomplete = true;
    }
    ::close(dir);
    return err == 0 || Failed(why, err);
}

}  // namespace platform
