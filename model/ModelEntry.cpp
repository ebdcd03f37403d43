#include "model/Model.h"

namespace tivelor {

// Placeholder until the model is in.
void MODEL(App&, double& F, platform::Vec<double>&, platform::Vec<double>&,
           platform::Vec<std::string>&, platform::Vec<std::string>&, int&, long&, long&,
           platform::Vec<double>&, platform::Matrix<double>&, long&) {
    F = 0;
}

}  // namespace tivelor
