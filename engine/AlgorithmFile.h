// The algorithm file (.alg): parameter values, steps, fuse codes and the six
// minimization options in fixed columns.
#pragma once

#include <string>

namespace platform {
class CommonDialog;
}

namespace tivelor {

class App;
struct EngineState;

// Reads the algorithm file that the caller opened for input on #201 and
// closes it. FileReadFailed is 0 on success and 1 on failure; a failure
// (too many lines included) has been reported to the user and leaves the
// parameter set and the options as they were. True exactly when the file's
// values are now in force; taking them closes an open minimization log (#203)
// and sets FileFreq 0.
bool ReadAlgorithmFile(App& app);

// How the open dialog for algorithm data ended.
enum class AlgorithmOpen { Cancelled, NotOpened, NotRead, Loaded };

// Shows the open dialog for algorithm data ("Open algorithm data file", on the
// algorithm-file filter, proposing AlgFileName) and reads the chosen file on
// #201. A file that cannot be opened or read has been reported and changes
// nothing, its name included; a loaded file's nonzero convergence tolerance
// is at least 1E-06 in size.
AlgorithmOpen OpenAlgorithmFile(App& app, platform::CommonDialog& dialog);

// The whole algorithm-file text of the current parameter set and options,
// CR LF line ends. parLabel is the text before each parameter's name
// ("  Value, step then link for "; the ranking window uses a colon).
// Shortens app.eng.opt.LogFileName as the file keeps it.
std::string AlgorithmFileText(EngineState& eng, const std::string& parLabel = "  Value, step then link for ");

// The log file name as the algorithm file keeps it: whole when 14 characters
// or fewer, otherwise the part after a folder separator among its last 14
// characters, or its last 14.
std::string ShortLogFileName(const std::string& name);

// Shows the save dialog for algorithm data ("Save algorithm data in...",
// overwrite prompt, filters for algorithm files and for files named after the
// data file, opening on filterIndex), proposing AlgFileName (the date-time
// name when there is none, which is then kept). False when cancelled.
bool ChooseAlgorithmSaveFile(App& app, platform::CommonDialog& dialog, int filterIndex);

// Name after the last "/" or "\" less its last four characters (the
// extension); the whole name when it is shorter than four characters.
// False, with title unchanged, when the path has no separator.
bool FileTitleFromPath(const std::string& path, std::string& title);

}  // namespace tivelor
