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

}  // namespace tivelor
