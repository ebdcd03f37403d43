#include "engine/Parameters.h"

#include <algorithm>

#include "engine/ProgressText.h"
#include "platform/runtime.h"
#include "state/App.h"

namespace tivelor {

using platform::Vec;

void SetDefaultAlgorithm(App& app) {
    ++app.eng.Generation;
    ParameterSet& par = app.eng.par;
    par.ParValue.ReDim(par.NumPars);
    par.StepSize.ReDim(par.NumPars);
    par.FuseCode.ReDim(par.NumPars);
    for (int i = 1; i <= par.NumPars; ++i) {
        par.ParValue(i) = 0;
        par.StepSize(i) = 0;
        par.FuseCode(i) = "~~";
    }
    app.eng.opt = MinOptions{};
    CloseLog(app);   // FileFreq is 0: no log stays open
}

void SetUpFusedParameters(EngineState& eng) {
    ParameterSet& par = eng.par;
    FuseTable& fuse = eng.fuse;
    fuse.NFuseGroups = 0;
    fuse.FuseGroupCode.ReDim(0);
    fuse.FuseGroupCount.ReDim(0);
    fuse.FuseGroupValue.ReDim(0);
    for (int i = 1; i <= par.NumPars; ++i) {
        if (par.FuseCode(i) == "~~") continue;
        int found = 0;
        for (int g = 1; g <= fuse.NFuseGroups; ++g)
            if (fuse.FuseGroupCode(g) == par.FuseCode(i)) {
                found = g;
                break;
            }
        if (found) {
            fuse.FuseGroupCount(found) += 1;
            par.StepSize(i) = 0;
            par.ParValue(i) = fuse.FuseGroupValue(found);
        } else {
            int g = ++fuse.NFuseGroups;
            fuse.FuseGroupCode.ReDimPreserve(g);
            fuse.FuseGroupCount.ReDimPreserve(g);
            fuse.FuseGroupValue.ReDimPreserve(g);
            fuse.FuseGroupCode(g) = par.FuseCode(i);
            fuse.FuseGroupCount(g) = 1;
            fuse.FuseGroupValue(g) = par.ParValue(i);
        }
    }
    // A label carried by one parameter only is no group.
    for (int g = 1; g <= fuse.NFuseGroups; ++g) {
        if (fuse.FuseGroupCount(g) != 1) continue;
        for (int i = 1; i <= par.NumPars; ++i)
            if (par.FuseCode(i) == fuse.FuseGroupCode(g)) {
                par.FuseCode(i) = "~~";
                break;
            }
    }
}

void ApplyFusedParameters(App& app, Vec<double>& P) {
    ParameterSet& par = app.eng.par;
    FuseTable& fuse = app.eng.fuse;
    const int n = fuse.NFuseGroups;
    if (n < 1) return;
    Vec<double>& GV = fuse.ApplyValue;
    Vec<char>& set = fuse.ApplySet;
    GV.ReDim(n);   // reuses the capacity of earlier calls
    set.ReDim(n);
    const bool profileMode = app.sw.MLOn != "off" || app.sw.PosteriorOn != "off";
    const int profPar = app.eval.ProfPar;
    for (int i = 1; i <= par.NumPars; ++i) {
        if (par.FuseCode(i) == "~~") continue;
        int g = 0;
        for (int k = 1; k <= n; ++k)
            if (fuse.FuseGroupCode(k) == par.FuseCode(i)) {
                g = k;
                break;
            }
        if (!g) continue;
        if (profileMode && i == profPar && par.StepSize(i) == 0) {
            GV(g) = P(i);
            set(g) = 1;
        } else if (set(g)) {
            P(i) = GV(g);
            par.StepSize(i) = 0;
        } else {
            GV(g) = P(i);
            set(g) = 1;
        }
    }
}

void PackAdjustableParameters(App& app) {
    ParameterSet& par = app.eng.par;
    FreeVector& fr = app.eng.free;
    if (fr.FreeValue.UBound() < par.NumPars) {
        fr.FreeValue.ReDimPreserve(par.NumPars);
        fr.FreeStep.ReDimPreserve(par.NumPars);
        fr.FreeIndex.ReDimPreserve(par.NumPars);
    }
    long k = 0;
    for (int i = 1; i <= par.NumPars; ++i) {
        if (par.StepSize(i) == 0) continue;
        ++k;
        fr.FreeValue(k) = par.ParValue(i);
        fr.FreeStep(k) = par.StepSize(i);
        fr.FreeIndex(k) = i;
    }
    fr.NFree = k;
    app.eval.EvalValid = 0;
}

std::string RSetPad(std::string_view value, double width) {
    std::optional<int> w = platform::CInt(width);
    if (!w || *w < 1) return "";
    const std::size_t n = static_cast<std::size_t>(*w);
    if (value.size() >= n) return std::string(value.substr(0, n));
    return std::string(n - value.size(), ' ') + std::string(value);
}

std::string RSetPad(double value, double width) { return RSetPad(platform::CStr(value), width); }

ColumnLine& ColumnLine::Field(std::string_view text, std::size_t width) {
    const std::size_t taken = std::min(owed_, width);
    const std::size_t room = width - taken;
    owed_ -= taken;
    const bool touches = line_.size() > start_ && line_.back() != ' ' && !text.empty() && text.front() != ' ';
    if (text.size() < room || (text.size() == room && !touches)) {
        line_.append(room - text.size(), ' ');
        line_.append(text);
        return *this;
    }
    const std::size_t used = text.size() + (touches ? 1 : 0);
    if (touches) line_ += ' ';
    line_.append(text);
    owed_ += used - room;
    return *this;
}

std::string ColumnField(const std::string& line, std::size_t first, std::size_t last) {
    auto blank = [&](std::size_t col) { return col > line.size() || line[col - 1] == ' '; };
    std::size_t from = first;
    if (first > 1 && !blank(first - 1))
        while (from <= last && !blank(from)) ++from;
    std::size_t to = last;
    while (!blank(to + 1)) ++to;
    if (from > to || from > line.size()) return "";
    return line.substr(from - 1, std::min(to, line.size()) - from + 1);
}

}  // namespace tivelor
