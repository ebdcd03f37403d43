#include "numerics/CovarianceMatch.h"

#include <cmath>

namespace tivelor::numerics {

bool CovNumberAgrees(double fileNumber, double number) {
    if (number == 0) return fileNumber == 0;
    // Written so that a difference that is not a number disagrees.
    return std::abs((fileNumber - number) / number) <= 1E-06;
}

bool CovParameterAgrees(double fileValue, double fileStep, std::string_view fileCode, double value,
                        double step, std::string_view code) {
    return CovNumberAgrees(fileValue, value) && CovNumberAgrees(fileStep, step) && fileCode == code;
}

}  // namespace tivelor::numerics
