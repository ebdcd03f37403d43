// Numbered sequential text files (#1, #201, ...).
// Output lines end in CR LF and reach the file line by line; input accepts
// CR LF or LF and is read line by line, past a UTF-8 byte-order mark at the
// start. Only regular files are read, and only regular files or new ones are
// written; no open waits.
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
    // missing (Input), is there but not a regular file, or cannot be written
    // (Output, Append); a file that is refused is left as it was. Opening never
    // blocks (a named pipe is refused, not waited on).
    bool Open(int n, const std::string& path, FileMode mode);
    bool IsOpen(int n) const;
    const std::string& PathOf(int n) const;   // "" when not open

    // Print #n, text        -> text and CR LF
    // Print #n, text;       -> text only (continuation mark)
    // A line is written out when it ends, so the file never ends mid-line.
    // False when the line did not reach the file.
    bool Print(int n, const std::string& text, bool newline = true);
    // Line Input #n: the next line without its line end. False at end of
    // file; a line longer than kMaxLine or a read error ends the file.
    bool LineInput(int n, std::string& line);
    // True when reading n stopped at a line longer than kMaxLine.
    bool LineTooLong(int n) const;
    // Why reading n stopped at a read error, in the system's words
    // ("Input/output error"); "" when it did not.
    std::string ReadError(int n) const;
    // Input #n: the next comma- or line-separated field, blanks trimmed,
    // surrounding quotes removed. False at end of file.
    bool Input(int n, std::string& field);
    // EOF(n): true when nothing is left to read (or n is not open for input).
    bool Eof(int n) const;
    // Close #n; closing a number that is not open does nothing. False when
    // something printed to it, or the close itself, failed.
    bool Close(int n);
    void CloseAll();

    // Text of the last failure, for the caller's message.
    const std::string& LastError() const { return lastError_; }
    // Why the last Open failed, in the system's words ("Permission denied")
    // or ours ("Not a regular file").
    const std::string& LastReason() const { return lastReason_; }

    static constexpr std::size_t kMaxLine = std::size_t{1} << 20;

private:
    struct File;
    std::map<int, std::unique_ptr<File>> files_;
    std::string lastError_;
    std::string lastReason_;
};

// How a failed WriteWholeFileSafely left the file.
enum class SaveLeft {
    Untouched,    // nothing was written to it
    PutBack,      // written in place, and its old content put back
    Incomplete,   // written in place, and it may be incomplete
};

// Reads or writes a whole file; false on failure. Read takes regular files
// only. Write takes a regular file that the user may write, or a new one; a
// symbolic link is followed to the file it names. The text goes to a
// temporary file of a random name beside the file, which is renamed over the
// file only where it can be the old file in all but content: a file with no
// other link, whose owner, group, mode and extended attributes (its access
// control list among them) the temporary file takes. Otherwise the file is
// written in place, and a failed write puts back its old content. why, when
// given, receives the reason of a failure, in the system's words ("Permission
// denied", "File too large") or ours ("Not a regular file"); "" on success.
// left, when given, tells how a failure left the file.
bool ReadWholeFile(const std::string& path, std::string& text);
bool WriteWholeFileSafely(const std::string& path, const std::string& text, std::string* why = nullptr,
                          SaveLeft* left = nullptr);

// A write past the file-size limit fails ("File too large") instead of
// ending the program. Called as a back end starts.
void IgnoreFileSizeSignal();

}  // namespace platform
