// The algorithm-file reader; a file it takes is saved, read again and saved
// again: the values come back to seven significant digits and the second
// text is the first.
#include <cmath>
#include <string>

#include "FuzzSupport.h"
#include "state/App.h"
#include "engine/AlgorithmFile.h"
#include "engine/Parameters.h"
#include "model/frmInitialize.h"
#include "platform/runtime.h"

namespace {

// The model's parameter count: the file's own when it is a small one, so
// that most inputs get past the count check.
int ModelCount(const std::string& text) {
    const double n = platform::Val(platform::Mid(text, 1, 14));
    return n >= 1 && n <= 60 ? static_cast<int>(n) : 3;
}

void MakeParameterSet(tivelor::App& app, int n) {
    app.eng.par.NumPars = n;
    app.eng.par.ParName.ReDim(n);
    for (int i = 1; i <= n; ++i) app.eng.par.ParName(i) = "Parameter " + std::to_string(i);
    tivelor::SizeParameterArrays(app);
    tivelor::SetDefaultAlgorithm(app);
}

bool Read(tivelor::App& app, const std::string& path) {
    if (!app.ui.files.Open(201, path, platform::FileMode::Input)) fuzz::Fail("cannot open " + path);
    tivelor::ReadAlgorithmFile(app);
    if (app.ui.files.IsOpen(201)) fuzz::Fail("the reader left #201 open");
    return app.eng.FileReadFailed == 0;
}

bool Near(double got, double want) {
    const double tiny = 2.2250738585072014E-308;
    return std::fabs(got - want) <= std::fabs(want) * 5E-7 + (std::fabs(want) < tiny ? 1E-322 : 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    fuzz::Session s;
    tivelor::App app(s.ui);
    MakeParameterSet(app, ModelCount(text));
    try {
        if (!Read(app, fuzz::ScratchFile("in.alg", text))) return 0;
        const tivelor::ParameterSet first = app.eng.par;
        const tivelor::MinOptions opt = app.eng.opt;
        const std::string saved = tivelor::AlgorithmFileText(app.eng);
        tivelor::SetDefaultAlgorithm(app);
        if (!Read(app, fuzz::ScratchFile("saved.alg", saved))) fuzz::Fail("a saved file does not read back");
        const tivelor::ParameterSet& again = app.eng.par;
        for (int i = 1; i <= first.NumPars; ++i) {
            if (!Near(again.ParValue(i), first.ParValue(i)) || !Near(again.StepSize(i), first.StepSize(i)))
                fuzz::Fail("parameter " + std::to_string(i) + " changed: " + platform::CStr(first.ParValue(i)) +
                           " " + platform::CStr(first.StepSize(i)) + " came back as " +
                           platform::CStr(again.ParValue(i)) + " " + platform::CStr(again.StepSize(i)));
            if (again.FuseCode(i) != first.FuseCode(i)) fuzz::Fail("fuse code " + std::to_string(i) + " changed");
        }
        const tivelor::MinOptions& o = app.eng.opt;
        if (!Near(o.ConvTol, opt.ConvTol) || !Near(o.StepReduction, opt.StepReduction) ||
            o.MaxCalls != opt.MaxCalls || o.TerminalFreq != opt.TerminalFreq ||
            o.LogFileName != tivelor::ShortLogFileName(opt.LogFileName))
            fuzz::Fail("an option changed");
        if (tivelor::AlgorithmFileText(app.eng) != saved) fuzz::Fail("saving again gives another text");
    } catch (const platform::ProgramEnded&) {
        fuzz::Fail("reading an algorithm file ended the program");
    }
    return 0;
}
