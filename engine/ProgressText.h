// Pieces shared by the two minimizers: progress texts, the status panels,
// the interrupt questions, the profile point and the minimization log
// (file #203, open while FileFreq is not 0).
#pragma once

#include <functional>
#include <string>

namespace tivelor {

class App;

inline constexpr int kLogFile = 203;

// Seconds (rounded to whole) as minutes, ":" and two-digit seconds: "3:07".
std::string MinutesSeconds(double seconds);

// Format(x, "0.0000000E+00"), quicker.
std::string FormatE7(double x);

// Parameter number formatted "    000) " and the value formatted
// "0.0000000E+00" right-justified in 14 characters.
std::string ParameterItem(int parNumber, double value);

// ParameterItem, one blank, the fuse code right-justified in 3, two blanks,
// the parameter's name and CR LF.
std::string ScreenParameterLine(App& app, int parNumber, double value);
// The part of that line after ParameterItem.
std::string ScreenParameterTail(App& app, int parNumber);

// Writes ParameterItem of free parameters 1 To NFree to the log, four to a
// record, then two empty records (the first ends a partial last record).
// value(i) gives free parameter i's value.
void LogParameterBlock(App& app, const std::function<double(long i)>& value);

// Print #203 while the log is open (FileFreq not 0). A line that cannot be
// written closes the log (CloseLog) and tells the user.
void LogLine(App& app, const std::string& text);

// Closes the minimization log (#203): FileFreq 0, LogFileOpen False. False,
// after telling the user, when something written to the log did not reach
// the file; writeFailed says that a write has already failed.
bool CloseLog(App& app, bool writeFailed = false);

// The message shown when a relative tolerance would be measured from an
// objective value of exactly 0.
std::string ZeroValueMessage();

// Panel i of the main window's progress status bar stbMain5.
void ProgressPanel(App& app, int i, const std::string& text);

// " Rel TC> " and abs((value - ref) / ref) when ConvTol < 0, else " Abs TC> "
// and abs(value - ref), formatted "0.0000E+00".
std::string ToleranceChange(App& app, double value, double ref);

// "Minimum of " f " found at these " nfree " adjusted parameter values:"
std::string MinimumLine(double f, long nfree);

// "Axial function call " n " of " m
std::string AxialCallText(long n, long m);

// Profile mode: panel 1 names the profile point and, with free parameters,
// the profiled parameter's value (valuePattern); then one yield.
void ShowProfilePoint(App& app, const char* valuePattern);
// Profile mode: the minimum f and the profiled parameter's value into the
// profile table at ProfPt.
void StoreProfilePoint(App& app, double f);

// Asks what an interrupt is to do ("quit minimizing?", or in profile mode
// "quit the ML procedure?" and then "continue starting with the NEXT
// point?"). Quitting the profile also moves ProfPt past its last point.
enum class InterruptAnswer { GoOn, Quit, QuitProfile, NextPoint };
InterruptAnswer AskAfterInterrupt(App& app, const std::string& title);

}  // namespace tivelor
