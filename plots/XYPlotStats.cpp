#include "plots/XYPlotStats.h"

#include "platform/runtime.h"

namespace tivelor {

using platform::vbCrLf;

namespace {

std::string F(double z) { return platform::Format(z, "#0.0000"); }

std::string RandS(const numerics::PlotStatistics& st) {
    return "r  = " + F(st.r) + vbCrLf + "s" + platform::Chr(176) + " = " + F(st.s);
}

std::string Spread(const char* heading, const std::string& mean, double sd) {
    return std::string(heading) + vbCrLf + "      Mean = " + mean + vbCrLf + "      SD = " + F(sd) +
           vbCrLf + "      Var = " + F(sd * sd);
}

}  // namespace

std::string LineStatisticsText(const numerics::PlotSums& sums) {
    if (!(sums.n > 2)) return "";
    return RandS(numerics::ComputePlotStatistics(sums));
}

std::optional<std::string> PointStatisticsText(const numerics::PlotSums& sums, bool scatter,
                                               bool drop, bool recordMode) {
    const numerics::PlotStatistics st = numerics::ComputePlotStatistics(sums);
    std::optional<std::string> text;
    if (scatter && sums.n > 2)
        text = RandS(st) + vbCrLf + vbCrLf + Spread("Scatter of Y:", F(st.MeanY), st.SDY);
    if (drop && st.WDefined && st.W > 0) {
        if (sums.n > 2)
            text = RandS(st) + vbCrLf + vbCrLf + Spread("Distribution of X:", F(st.MeanX), st.SDX);
        else
            text = Spread("Distribution of X:",
                          platform::Format(st.MeanX, recordMode ? "#0.0000#" : "#0.0000"), st.SDX);
    }
    return text;
}

}  // namespace tivelor
