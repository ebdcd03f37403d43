// State of the Marquardt minimizer.
#pragma once

#include "platform/arrays.h"

namespace tivelor {

struct MarquardtState {};

}  // namespace tivelor
