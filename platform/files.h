// Numbered sequential text files (#1, #201, ...).
// Output lines end in CR LF; input accepts CR LF or LF.
// Every operation reports failure to its caller; nothing throws.
#pragma once

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace platform {

enum class FileMode { Input, Output, Append };

class FileTable {
public:
    FileTable();
    ~FileTable();
    FileTable(const FileTable&) = delete;
    FileTable& operator=(const FileTable&) = delete;

    // Opens path on file number n. Fails when n is already open, the file is
    // missing (Input) or cannot be written (Output, Append).
    bool Open(int n, const std::string& path, FileMode mode);
    bool IsOpen(int n) const;
    const std::string& PathOf(int n) const;   // "" when not open

    // Print #n, text        -> text and CR LF
    // Print #n, text;       -> text only (continuation mark)
    bool Print(int n, const std::string& text, bool newline = true);
    // Line Input #n: the next line without its line end. False at end of file.
    bool LineInput(int n, std::string& line);
    // Input #n: the next comma- or line-separated field, blanks trimmed,
    // surrounding quotes removed. False at end of file.
    bool Input(int n, std::string& field);
    // EOF(n): true when nothing is left to read (or n is not open for input).
    bool Eof(int n) const;
    // Close #n; closing a number that is not open does nothing.
    void Close(int n);
    void CloseAll();

    // Text of the last failure, for the caller's message.
    const std::string& LastError() const { return lastError_; }

private:
    struct File;
    std::map<int, std::unique_ptr<File>> files_;
    std::string lastError_;
};

// Reads or writes a whole file; false on failure. Write replaces the file
// through a temporary name, so a failed write never destroys the old file.
bool ReadWholeFile(const std::string& path, std::string& text);
bool WriteWholeFileSafely(const std::string& path, const std::string& text);

}  // namespace platform
