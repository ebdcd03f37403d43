// The runtime's Rnd as the uniform source of the random variates.
#pragma once

#include "numerics/Random.h"
#include "platform/ui.h"

namespace tivelor {

class RuntimeUniforms final : public numerics::UniformSource {
public:
    explicit RuntimeUniforms(platform::Random& r) : random_(r) {}
    double Rnd() override { return random_.Rnd(); }

private:
    platform::Random& random_;
};

}  // namespace tivelor
