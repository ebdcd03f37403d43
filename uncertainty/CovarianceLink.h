// The link between the results and a saved covariance file: the file and
// grid chosen, checked against the parameter values, steps and link codes,
// and the per-species variances and Theta-UA correlations read from it.
#pragma once

#include <string>

#include "platform/arrays.h"

namespace platform {
class FileTable;
}

namespace tivelor {

class App;

// One parameter line of a covariance file (lines 5 to 4 + NumPars): the value
// in columns 7-20, the step size in columns 23-36 and the link code in columns
// 38-40, blanks trimmed.
struct CovParameterLine {
    double value = 0, step = 0;
    std::string code;
};

// Reads a parameter line into read (a blank number field reads 0); false when
// a number field holds anything but a finite number.
bool ReadCovParameterLine(const std::string& line, CovParameterLine& read);

// The covariance link's check of one parameter, which the
// ranking window applies to its models' files too: reads line into read and
// compares it with the parameter set's value, step size and link code. False
// when the line cannot be read or when the value, the step size or the code
// disagrees.
bool CheckCovParameterLine(const std::string& line, double value, double step, const std::string& code,
                           CovParameterLine& read);

// The message text of a covariance file that could not be opened, with the
// system's reason.
std::string CovOpenProblem(const std::string& path, const std::string& reason);
// Why reading file n (path) stopped before its end, as the text of a
// message: a line too long, a read error with the system's reason, or an
// empty file when nothingRead; "" when the file merely ended.
std::string CovReadProblem(platform::FileTable& files, int n, const std::string& path, bool nothingRead);

// Asks for the covariance file (CovFileName, "" on cancel) and, unless
// cancelled, for the grid (1 to 3) into Grid.
void ChooseCovarianceFile(App& app, int& Grid);

// Asks for the file and grid, then reads file #1: sets CovFileOK, and on
// success VarTheta, VarUA and CorThetaUA of every species.
void ReadCovarianceFile(App& app, platform::Vec<double>& P, platform::Vec<double>& StepSize,
                        platform::Vec<std::string>& FuseCode);

}  // namespace tivelor
