// The parameter set's services: defaults, fuse groups, the free-parameter
// vector, and the right-justified fields of every fixed-column text.
#pragma once

#include <string>
#include <string_view>

#include "platform/arrays.h"

namespace tivelor {

class App;
struct EngineState;

// Re-dimensions ParValue, StepSize and FuseCode to 0 To NumPars with value 0,
// step 0 and code "~~", and sets the six options to their defaults.
void SetDefaultAlgorithm(App& app);

// Builds the fuse-group table from FuseCode; followers get the leader's value
// and step 0, and a code carried by one parameter only becomes "~~".
void SetUpFusedParameters(EngineState& eng);

// Gives every follower of a fuse group in P the group's value (and step 0).
// In profile mode (MLOn or PosteriorOn not "off") the profiled parameter
// ProfPar, held at step 0, carries its group.
void ApplyFusedParameters(App& app, platform::Vec<double>& P);

// Packs the parameters with a non-zero step into NFree, FreeValue, FreeStep
// and FreeIndex, and clears EvalValid.
void PackAdjustableParameters(App& app);

// The text right-justified in a field of CInt(width) characters; a longer
// text keeps its leftmost characters; a width below 1 gives "".
std::string RSetPad(std::string_view value, double width);
// A number is converted with CStr first.
std::string RSetPad(double value, double width);
inline std::string RSetPad(const char* value, double width) { return RSetPad(std::string_view(value), width); }
inline std::string RSetPad(const std::string& value, double width) { return RSetPad(std::string_view(value), width); }
inline std::string RSetPad(int value, double width) { return RSetPad(static_cast<double>(value), width); }
inline std::string RSetPad(long value, double width) { return RSetPad(static_cast<double>(value), width); }

// A fixed-column line whose numbers are never cut. Each text is
// right-justified in its field as RSetPad does; a text too wide for its field
// is kept whole and takes its extra columns from the blank padding of the
// fields after it, with one blank left between two texts, so the later
// columns stay where they are. A line whose texts all fit is RSetPad's.
class ColumnLine {
public:
    ColumnLine() : line_(own_) {}
    // Appends the line to out.
    explicit ColumnLine(std::string& out) : line_(out), start_(out.size()) {}
    ColumnLine(const ColumnLine&) = delete;
    ColumnLine& operator=(const ColumnLine&) = delete;

    ColumnLine& Field(std::string_view text, std::size_t width);
    std::string Text() const { return line_.substr(start_); }

private:
    std::string own_;
    std::string& line_;
    std::size_t start_ = 0;
    std::size_t owed_ = 0;   // columns taken from the fields still to come
};

// The text of the field in columns first to last (1-based) of a line written
// by ColumnLine: digits carried in from the field before are left out, and a
// text that runs on past last is taken whole.
std::string ColumnField(const std::string& line, std::size_t first, std::size_t last);

}  // namespace tivelor
