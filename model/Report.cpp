#include "model/Model.h"

namespace tivelor {

// Placeholder until the results report is in.
void WriteResultsReport(App&, platform::Vec<double>&) {}

}  // namespace tivelor
