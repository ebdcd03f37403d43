#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
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
};

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool CloseOutput(std::FILE* f) {
    if (f == nullptr) return true;
    const bool flushed = std::fflush(f) == 0 && std::ferror(f) == 0;
    return std::fclose(f) == 0 && flushed;
}

// Opens a regular file for reading. The type is checked before the open and
// again on the open descriptor, which is opened without blocking, so that a
// named pipe or a device put in the file's place is refused, never waited on.
std::FILE* OpenRegularFile(const std::string& path, std::string& error) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        error = "File not found: " + path;
        return nullptr;
    }
    if (!S_ISREG(st.st_mode)) {
        error = "Not a regular file: " + path;
        return nullptr;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = "Cannot read file: " + path;
        return nullptr;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    std::FILE* f = nullptr;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flags != -1 &&
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0)
        f = ::fdopen(fd, "rb");
    if (f == nullptr) {
        ::close(fd);
        error = "Not a regular file: " + path;
    }
    return f;
}

bool AtEndOf(std::FILE* in) {
    const int c = std::getc(in);
    if (c == EOF) return true;
    std::ungetc(c, in);
    return false;
}

// The next line without its end (CR LF, LF or a lone CR). False when nothing
// is left, on a read error and on a line longer than kMaxLine.
bool ReadLine(std::FILE* in, std::string& line) {
    line.clear();
    int c = std::getc(in);
    if (c == EOF) return false;
    while (c != EOF && c != '\r' && c != '\n') {
        if (line.size() >= FileTable::kMaxLine) return false;
        line.push_back(static_cast<char>(c));
        c = std::getc(in);
    }
    if (c == '\r') {
        c = std::getc(in);
        if (c != '\n' && c != EOF) std::ungetc(c, in);
    }
    return std::ferror(in) == 0;
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The file that path names, following symbolic links (the last may dangle).
bool FollowLinks(const std::string& path, std::string& target) {
    namespace fs = std::filesystem;
    fs::path p = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec))) {
            target = p.string();
            return true;
        }
        const fs::path to = fs::read_symlink(p, ec);
        if (ec) return false;
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
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
    if (mode == FileMode::Input) {
        f->in = OpenRegularFile(path, lastError_);
        if (f->in == nullptr) return false;
        f->atEnd = AtEndOf(f->in);
    } else {
        f->out = std::fopen(path.c_str(), mode == FileMode::Output ? "wb" : "ab");
        if (f->out == nullptr) {
            lastError_ = "Cannot write file: " + path;
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
        lastError_ = "Input past end of file: " + f.path;
        return false;
    }
    if (f.inLine) {
        line = f.line.substr(f.pos);
        f.inLine = false;
    } else if (!ReadLine(f.in, line)) {
        line.clear();
        f.atEnd = true;
        lastError_ = "Cannot read file: " + f.path;
        return false;
    }
    f.atEnd = AtEndOf(f.in);
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
        lastError_ = "Input past end of file: " + f.path;
        return false;
    }
    if (!f.inLine) {
        if (!ReadLine(f.in, f.line)) {
            f.atEnd = true;
            lastError_ = "Cannot read file: " + f.path;
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
    f.atEnd = !f.inLine && AtEndOf(f.in);
    return true;
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
    std::FILE* f = OpenRegularFile(path, error);
    if (f == nullptr) return false;
    char buf[65536];
    std::size_t got = 0;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, got);
    const bool ok = std::ferror(f) == 0;
    std::fclose(f);
    if (!ok) text.clear();
    return ok;
}

bool WriteWholeFileSafely(const std::string& path, const std::string& text) {
    std::string target;
    if (!FollowLinks(path, target)) return false;
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    // Only a regular file is replaced; a device or a pipe is never renamed over.
    if (exists && !S_ISREG(old.st_mode)) return false;
    const std::string temp = target + ".tmp~";
    ::unlink(temp.c_str());   // left by an earlier save that was cut short
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0666);
    if (fd < 0) return false;
    bool ok = !exists || ::fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && WriteAll(fd, text);
    ok = ::close(fd) == 0 && ok;
    if (!ok || std::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace platform
