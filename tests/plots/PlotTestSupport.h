// A headless application with the XY plot window shown on a request.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "state/App.h"
#include "platform/headless/headless.h"
#include "plots/frmXYPlot.h"

namespace plottest {

constexpr double kMissing = 1E-100;

// Queues what runs while a modal window is open, then its leaving: a click on
// window.leave, or the close box when leave is "close".
inline void WhileOpen(platform::headless::HeadlessBackend& b, const std::string& window, std::function<void()> inside,
                      const std::string& leave = "cmdDone") {
    using platform::headless::Step;
    if (inside) {
        Step call;
        call.kind = Step::Call;
        call.call = std::move(inside);
        b.Push(call);
    }
    Step out;
    out.kind = leave == "close" ? Step::Close : Step::Click;
    out.target = leave == "close" ? window : window + "." + leave;
    b.Push(out);
}

struct PlotWindow : ::testing::Test {
    platform::headless::Session s;
    tivelor::App app{s.ui};

    // Series 1 .. k from the columns, over records 0 .. the longest column.
    void Request(const std::vector<std::vector<double>>& cols, long recMin, long recMax,
                 double labelMin, double labelMax) {
        tivelor::PlotRequest& r = app.plot;
        std::size_t last = 0;
        for (const auto& c : cols) last = std::max(last, c.size());
        r.NumPlotVars = static_cast<double>(cols.size());
        r.PlotXTitle = "Record";
        r.PlotData.ReDim(static_cast<long>(cols.size()), static_cast<long>(last) - 1);
        r.VarMin.ReDim(static_cast<long>(cols.size()));
        r.VarMax.ReDim(static_cast<long>(cols.size()));
        r.VarName.ReDim(static_cast<long>(cols.size()));
        for (std::size_t v = 0; v < cols.size(); ++v) {
            r.VarName(static_cast<long>(v) + 1) = "Series " + std::to_string(v + 1);
            for (std::size_t i = 0; i < cols[v].size(); ++i)
                r.PlotData(static_cast<long>(v) + 1, static_cast<long>(i)) = cols[v][i];
        }
        r.RecMin = recMin;
        r.RecMax = recMax;
        r.RecLabelMin = labelMin;
        r.RecLabelMax = labelMax;
    }

    // Shows the window; inside runs while it is open, then the user leaves
    // by the button (or closes the window when leave is "close").
    void Show(const std::function<void(tivelor::frmXYPlot&)>& inside,
              const std::string& leave = "cmdNext_Page", const std::string& page = "Test page") {
        WhileOpen(s.backend, "frmXYPlot", [this, inside] { inside(app.form<tivelor::frmXYPlot>()); }, leave);
        tivelor::ShowXYPlotForm(app, page);
    }
};

// The operations of one kind (and line style, when given).
inline std::vector<platform::DrawOp> OpsOf(const std::vector<platform::DrawOp>& ops, platform::DrawOp::Kind k,
                                           int style = -1) {
    std::vector<platform::DrawOp> out;
    for (const platform::DrawOp& op : ops)
        if (op.kind == k && (style < 0 || op.drawStyle == style)) out.push_back(op);
    return out;
}
inline std::vector<platform::DrawOp> OpsOf(const platform::PictureBox& g, platform::DrawOp::Kind k, int style = -1) {
    return OpsOf(g.DisplayList(), k, style);
}

}  // namespace plottest
