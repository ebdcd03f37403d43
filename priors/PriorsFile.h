// The prior kinds, the defaults, and the Bayesian priors file (.pri).
#pragma once

#include <optional>
#include <string>

#include "priors/PriorTable.h"

namespace platform {
class CommonDialog;
}

namespace tivelor {

class App;

// Letters of the nine kinds in the order of their names: kind k has letter
// kPriorLetters[k - 1] and name PriorTypeName(k).
inline constexpr const char* kPriorLetters = "UTNEGBSDL";
std::string PriorTypeName(int k);
// The kind number of a letter (1..9), 0 for any other text.
int PriorKind(const std::string& letter);

// Text of a second term as the table shows it: "Unused", the typed text, or
// a number in its ordinary form.
std::string PriorVariantText(const PriorVariant& v);

// Every prior of parameters 1..NumPars back to uniform-unbounded.
void SetDefaultPriors(App& app);

// PriorsOn follows the table: "on" exactly when a prior is not "U".
void PriorsOnFromTable(App& app);

// Why the values of one prior cannot be used by the penalty, or "" when
// they can. The values are those the table keeps (SDs and the means of the
// positive kinds as magnitudes); mean2 and sd2 only count for "T".
std::string PriorValuesFault(const std::string& letter, double mean, double sd, double mean2,
                             double sd2);

// The value that the priors file keeps for x (written to its field and read
// back, four significant digits); nothing when that is not a finite number.
std::optional<double> PriorsFileValue(double x);

// The whole priors file for parameters 1..numPars, CR LF line ends.
std::string PriorsFileText(const PriorTable& table, int numPars);

// Reads a priors file's text into a fresh table of numPars parameters and
// checks it whole. Returns "" when it is good; otherwise the line number in
// line and the fault. count is the file's parameter count; when it differs
// from numPars the result is "" and table is left untouched.
std::string ParsePriorsFile(const std::string& text, int numPars, PriorTable& table, int& count,
                            int& line);

enum class PriorsRead { Loaded, CountMismatch, Failed };

// Reads the priors file that the caller opened for input on #204 (its path
// in PriFileName) and closes it. A good file replaces the table; a count
// that differs from NumPars gives the default table with FileReadFailed 1;
// a file that fails a check is named with its line and fault, and the table
// stays as it was.
PriorsRead ReadPriorsFile(App& app);

// Asks for a path and writes the priors file. The editor shows the file's
// title in the status bar, the main menu its full path. A cancelled dialog
// writes nothing and returns true; a failed write is reported, keeps
// PriFileName and returns false.
bool SavePriorsFile(App& app, platform::CommonDialog& dialog, bool showTitle);

}  // namespace tivelor
