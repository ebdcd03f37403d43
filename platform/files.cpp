#include "platform/files.h"

#include <cstdio>

namespace platform {

// An input file is read whole when opened; output goes through a std::FILE.
struct FileTable::File {
    FileMode mode = FileMode::Input;
    std::string path;
    std::string text;        // input contents
    std::size_t pos = 0;     // read position in text
    std::FILE* out = nullptr;

    bool AtEnd() const { return pos >= text.size(); }
};

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Steps over one line end (CR LF, LF or a lone CR) at pos.
void SkipLineEnd(const std::string& text, std::size_t& pos) {
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
}

bool CloseOutput(std::FILE* f) {
    if (f == nullptr) return true;
    const bool flushed = std::fflush(f) == 0 && std::ferror(f) == 0;
    return std::fclose(f) == 0 && flushed;
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
        if (!ReadWholeFile(path, f->text)) {
            lastError_ = "File not found: " + path;
            return false;
        }
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
    std::FILE* out = it->second->out;
    bool ok = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    if (ok && newline) ok = std::fwrite("\r\n", 1, 2, out) == 2;
    if (!ok) lastError_ = "Cannot write file: " + it->second->path;
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
    if (f.AtEnd()) {
        lastError_ = "Input past end of file: " + f.path;
        return false;
    }
    const std::size_t end = f.text.find_first_of("\r\n", f.pos);
    const std::size_t stop = end == std::string::npos ? f.text.size() : end;
    line = f.text.substr(f.pos, stop - f.pos);
    f.pos = stop;
    SkipLineEnd(f.text, f.pos);
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
    const std::string& t = f.text;
    if (f.AtEnd()) {
        lastError_ = "Input past end of file: " + f.path;
        return false;
    }
    while (f.pos < t.size() && IsBlank(t[f.pos])) ++f.pos;
    if (f.pos < t.size() && t[f.pos] == '"') {
        const std::size_t close = t.find('"', f.pos + 1);
        const std::size_t stop = close == std::string::npos ? t.size() : close;
        field = t.substr(f.pos + 1, stop - f.pos - 1);
        f.pos = close == std::string::npos ? t.size() : close + 1;
        // Anything between the closing quote and the separator is ignored.
        while (f.pos < t.size() && t[f.pos] != ',' && !IsLineEnd(t[f.pos])) ++f.pos;
    } else {
        const std::size_t start = f.pos;
        while (f.pos < t.size() && t[f.pos] != ',' && !IsLineEnd(t[f.pos])) ++f.pos;
        std::size_t stop = f.pos;
        while (stop > start && IsBlank(t[stop - 1])) --stop;
        field = t.substr(start, stop - start);
    }
    if (f.pos < t.size() && t[f.pos] == ',') {
        ++f.pos;
    } else {
        SkipLineEnd(t, f.pos);
    }
    return true;
}

bool FileTable::Eof(int n) const {
    const auto it = files_.find(n);
    if (it == files_.end() || it->second->mode != FileMode::Input) return true;
    return it->second->AtEnd();
}

void FileTable::Close(int n) {
    const auto it = files_.find(n);
    if (it == files_.end()) return;
    if (!CloseOutput(it->second->out)) lastError_ = "Cannot write file: " + it->second->path;
    it->second->out = nullptr;
    files_.erase(it);
}

void FileTable::CloseAll() {
    while (!files_.empty()) Close(files_.begin()->first);
}

bool ReadWholeFile(const std::string& path, std::string& text) {
    text.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
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
    const std::string temp = path + ".tmp~";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (f == nullptr) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (!CloseOutput(f) || !written || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace platform
