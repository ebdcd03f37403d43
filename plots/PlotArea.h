// The plot area shared by the XY and distribution plot windows: its place on
// the canvas in twips and the tick marks along its axes.
#pragma once

#include "platform/forms.h"

namespace tivelor::plotarea {

inline constexpr int kLeft = 720, kTop = 480, kRight = 7200, kBottom = 6720;
inline constexpr int kXTick = 648, kYTick = 624;

// Ten ticks up the Y axis and ten along the X axis.
inline void DrawGridmarks(platform::PictureBox& graph) {
    for (int i = 0; i <= 9; ++i) {
        const float y = static_cast<float>(kTop + kYTick * i);
        graph.PSet(kLeft, y);
        graph.Line(kLeft, y, kLeft + 100, y);
        const float x = static_cast<float>(kRight - kXTick * i);
        graph.PSet(x, kBottom);
        graph.Line(x, kBottom, x, kBottom - 100);
    }
}

}  // namespace tivelor::plotarea
