// Data and working values of the quadrat-count model.
#pragma once

#include <string>

#include "platform/arrays.h"

namespace tivelor {

struct ModelState {
    std::string ModelTitle;
    std::string DataFile, DataFileTitle;
};

}  // namespace tivelor
