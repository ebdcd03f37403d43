#include "model/InitNumbers.h"

#include "state/App.h"
#include "platform/runtime.h"

namespace tivelor {

std::string CheckInitNumbers(const InitSettings& s, InitNumbers& n) {
    const auto hab = platform::CLng(platform::Val(s.cboQuadsinHab));
    if (!hab || *hab < 1)
        return "The number of quadrats in the defined habitat must be a whole number from 1 to "
               "2147483647";
    const auto quad = platform::CInt(platform::Val(s.cboQuadsSampled));
    if (!quad || *quad < 1)
        return "The number of quadrats sampled must be a whole number from 1 to 32767";
    const auto spp = platform::CInt(platform::Val(s.cboNSpecies));
    if (!spp || *spp < 1 || *spp > 16383)
        return "The number of species must be a whole number from 1 to 16383";
    if (*quad > *hab)
        return "The number of quadrats sampled (" + platform::CStr(*quad) +
               ") cannot exceed the number of quadrats in the defined habitat (" +
               platform::CStr(static_cast<long>(*hab)) + ")";
    n.NSpp = *spp;
    n.NQuadHab = *hab;
    n.NQuad = *quad;
    return "";
}

bool ReadInitNumbers(App& app, const InitSettings& s, InitNumbers& n) {
    const std::string problem = CheckInitNumbers(s, n);
    if (problem.empty()) return true;
    app.ShowMsg(problem, platform::vbExclamation, "Invalid input");
    return false;
}

}  // namespace tivelor
