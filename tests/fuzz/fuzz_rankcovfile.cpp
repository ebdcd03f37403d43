// The ranking window's averaging over two models, the first of which reads
// the fuzzed covariance file and the second a good one. Either the window
// says the file cannot be read (or, for averages out of range, that they are
// too large) and changes nothing, or it shows averages and standard errors that
// are all numbers. #206 is closed either way.
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "state/App.h"
#include "engine/Parameters.h"
#include "model/frmInitialize.h"
#include "platform/runtime.h"
#include "ranking/frmRank.h"

namespace {

constexpr const char* kTooLarge =
    "Sorry, the averages of the ranked models' estimates or standard errors are too large to be shown";
constexpr const char* kUnreadable = " of model 1 cannot be read as that model's covariance file";

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

// The model's parameter count is that of the file's parameter lines (those
// with ")" in column 5 from line 5 on), and its K the lines with a step, so
// that most inputs get past the counts.
void Counts(const std::string& text, int& n, int& k) {
    const std::vector<std::string> lines = Lines(text);
    n = k = 0;
    for (std::size_t i = 4; i < lines.size() && n < 60 && lines[i].size() >= 5 && lines[i][4] == ')'; ++i) {
        ++n;
        if (platform::Val(platform::Mid(lines[i], 21, 16)) != 0) ++k;
    }
    if (n == 0) n = k = 3;
}

// A covariance file of n free parameters valued 0.5 with standard errors 0.1.
std::string GoodFile(int n) {
    const std::string nl = "\r\n";
    std::string t = "Originally saved with the file name: good.cov" + nl + nl +
                    "Parameter values, step sizes, link codes, and definitions for numerically calculated "
                    "covariances:" + nl + nl;
    for (int p = 1; p <= n; ++p)
        t += " " + platform::Format(p, "000") + ")  5.0000000E-01   1.0000000E-01  ~~  Parameter " +
             std::to_string(p) + nl;
    for (int j = 0; j < 15; ++j) t += nl;
    for (int p = 1; p <= n; ++p)
        t += tivelor::RSetPad(platform::CStr(p), 3) + std::string(21, ' ') +
             " 1.0000000E-01     1.0000000E-01     1.0000000E-01    " + nl;
    return t;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    int n = 0, k = 0;
    Counts(text, n, k);
    fuzz::Session s;
    tivelor::App app(s.ui);
    app.eng.par.NumPars = n;
    app.eng.par.ParName.ReDim(n);
    tivelor::SizeParameterArrays(app);
    try {
        tivelor::frmRank& w = app.form<tivelor::frmRank>();
        const std::string path = fuzz::ScratchFile("in.cov", text);
        fuzz::ScratchFile("good.cov", GoodFile(n));
        const std::string folder = path.substr(0, path.rfind('/'));
        tivelor::ModelTable& t = w.table;
        t.Resize(2);
        t.NumModels = 2;
        // C-hat 1, 2 or 3, so that the quasi weights are read too.
        t.CHat = 1 + static_cast<double>(size % 3);
        for (int m = 1; m <= 2; ++m) {
            tivelor::RankedModel& r = t.At(2, m);
            r.ModelID = m;
            r.ModelK = m == 1 ? k : n;
            r.ModelCovFile = m == 1 ? "in.cov" : "good.cov";
            r.AlgFolder = folder;
            (t.Quasi() ? r.ModelQAICWt : r.ModelAICWt) = m == 1 ? 0.625 : 0.375;
        }
        w.txtAverage.Text = "earlier";
        w.cmdAverage.Enabled = true;
        const std::size_t shown = s.backend.msgBoxes.size();
        w.cmdAverage_Click();
        if (app.ui.files.IsOpen(206)) fuzz::Fail("the averaging left #206 open");
        if (s.backend.msgBoxes.size() > shown) {
            const std::string& said = s.backend.msgBoxes.back().text;
            if (said != kTooLarge && said != "Sorry, the covariance file " + path + kUnreadable)
                fuzz::Fail("another message: " + said);
            if (w.txtAverage.Text() != "earlier" || t.AveragingDone) fuzz::Fail("a refused file changed the averaging");
            return 0;
        }
        const std::string shownText = w.txtAverage.Text();
        if (!t.AveragingDone) fuzz::Fail("averaging done is not set");
        const std::vector<std::string> lines = Lines(shownText);
        if (lines.size() != static_cast<std::size_t>(5 + n)) fuzz::Fail("the averaging has another length");
        for (std::size_t i = 5; i < lines.size(); ++i) {
            const std::string lower = Lower(lines[i]);
            if (lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos)
                fuzz::Fail("the averaging shows a value that is not a number: " + lines[i]);
        }
    } catch (const platform::ProgramEnded&) {
        fuzz::Fail("averaging ended the program");
    }
    return 0;
}
