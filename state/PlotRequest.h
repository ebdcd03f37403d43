// What a plot window is asked to draw.
#pragma once

#include <string>

#include "platform/arrays.h"

namespace tivelor {

struct PlotRequest {
    double NumPlotVars = 0;
    std::string PlotXTitle;
    platform::Matrix<double> PlotData;
    platform::Vec<double> VarMin, VarMax;
    platform::Vec<std::string> VarName;
    long RecMin = 0, RecMax = 0;
    double RecLabelMin = 0, RecLabelMax = 0;
};

}  // namespace tivelor
