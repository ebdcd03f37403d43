// Prior distribution of every parameter.
#pragma once

#include <string>

#include "platform/arrays.h"

namespace tivelor {

struct PriorTable {
    platform::Vec<std::string> PriorType;
};

}  // namespace tivelor
