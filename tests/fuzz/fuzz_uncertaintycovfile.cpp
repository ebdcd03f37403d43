// The uncertainty statistics' covariance-file link. The parameters to match
// are taken from the file's own parameter lines, so that most inputs get
// past the checks; the grid is 1, 2 or 3 by the input's length. A refused
// file is told once and leaves CovFileOK False; a file taken gives variances
// that are numbers of at least 0, correlations within -1..1, and the same
// variance to every member of a link group. #1 is closed either way.
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "engine/Parameters.h"
#include "state/App.h"
#include "platform/runtime.h"
#include "uncertainty/CovarianceLink.h"

namespace {

// Chooses the fuzzed file and answers the grid.
class ChoosingBackend : public fuzz::AnsweringBackend {
public:
    std::string path, grid;
    bool FileDialog(platform::CommonDialog& dlg, bool) override {
        dlg.FileName = path;
        return true;
    }
    std::string InputBox(const std::string&, const std::string&, const std::string&, std::optional<int>,
                         std::optional<int>) override { return grid; }
};

struct Session {
    ChoosingBackend backend;
    platform::headless::ManualClock clock;
    platform::Random random;
    platform::Ui ui{backend, clock, random};
    Session() { backend.Attach(ui); }
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
        at = end + 1;
    }
    return out;
}

// A field as the reader takes it: a number carried into it from the field
// before is left out, one that runs on past its end is taken whole.
double Number(const std::string& line, std::size_t first, std::size_t last) {
    const std::string t = platform::Trim(tivelor::ColumnField(line, first, last));
    return platform::IsNumeric(t) ? platform::Val(t) : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // Parameter lines: ")" in column 5 from line 5 on; an even count of them.
    const std::vector<std::string> lines = Lines(text);
    int n = 0;
    while (4 + static_cast<std::size_t>(n) < lines.size() && n < 120 && lines[4 + static_cast<std::size_t>(n)].size() >= 5 &&
           lines[4 + static_cast<std::size_t>(n)][4] == ')')
        ++n;
    const int nSpp = n >= 2 ? n / 2 : 2;
    const int numPars = 2 * nSpp;
    platform::Vec<double> P, Step;
    platform::Vec<std::string> Fuse;
    P.ReDim(numPars);
    Step.ReDim(numPars);
    Fuse.ReDim(numPars);
    for (int i = 1; i <= numPars; ++i) {
        const std::size_t at = 3 + static_cast<std::size_t>(i);
        const std::string line = at < lines.size() ? lines[at] : std::string();
        P(i) = Number(line, 7, 20);
        Step(i) = Number(line, 21, 36);
        Fuse(i) = platform::Trim(platform::Mid(line, 38, 3));
        if (Fuse(i).empty()) Fuse(i) = "~~";
    }

    Session s;
    tivelor::App app(s.ui);
    app.model.NSpp = nSpp;
    s.backend.path = fuzz::ScratchFile("in.cov", text);
    s.backend.grid = std::to_string(1 + size % 3);
    try {
        tivelor::ReadCovarianceFile(app, P, Step, Fuse);
    } catch (const platform::ProgramEnded&) {
        fuzz::Fail("reading a covariance file ended the program");
    }
    if (app.ui.files.IsOpen(1)) fuzz::Fail("the reader left #1 open");
    const tivelor::CovarianceLink& c = app.unc.Cov;
    if (c.CovGrid != static_cast<int>(1 + size % 3)) fuzz::Fail("another grid");
    if (!c.CovFileOK) {
        if (s.backend.msgBoxes.size() != 1) fuzz::Fail("a refused file is not told once");
        return 0;
    }
    if (!s.backend.msgBoxes.empty()) fuzz::Fail("a file taken with a message: " + s.backend.msgBoxes[0].text);
    if (c.VarTheta.UBound() != nSpp || c.VarUA.UBound() != nSpp || c.CorThetaUA.UBound() != nSpp)
        fuzz::Fail("arrays of another size");
    for (int sp = 1; sp <= nSpp; ++sp) {
        for (double v : {c.VarTheta(sp), c.VarUA(sp)})
            if (!(v >= 0 && std::isfinite(v))) fuzz::Fail("species " + std::to_string(sp) + " has variance " + platform::CStr(v));
        if (!(std::fabs(c.CorThetaUA(sp)) <= 1)) fuzz::Fail("species " + std::to_string(sp) + " has a correlation outside -1..1");
    }
    // Every member of a link group carries its first member's values.
    std::map<std::string, int> first;
    for (int i = 1; i <= numPars; ++i) {
        const std::string& code = c.CovCode(i);
        if (code.empty() || code == "~~") continue;
        const int l = first.emplace(code, i).first->second;
        const bool theta = i <= nSpp;
        if (theta != (l <= nSpp)) fuzz::Fail("a Theta and a UA in one link group");
        const int si = theta ? i : i - nSpp, sl = theta ? l : l - nSpp;
        const double vi = theta ? c.VarTheta(si) : c.VarUA(si), vl = theta ? c.VarTheta(sl) : c.VarUA(sl);
        if (vi != vl)
            fuzz::Fail("parameter " + std::to_string(i) + " differs from its group's first");
    }
    return 0;
}
