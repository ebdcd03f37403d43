// State of the Simplex minimizer kept between runs.
#pragma once

#include "platform/arrays.h"

namespace tivelor {

struct SimplexState {};

}  // namespace tivelor
