// Where the random variates take their uniforms from.
#pragma once

namespace tivelor::numerics {

class UniformSource {
public:
    virtual ~UniformSource() = default;
    virtual double Rnd() = 0;   // in [0, 1)
};

}  // namespace tivelor::numerics
