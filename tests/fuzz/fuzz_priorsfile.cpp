// The priors-file reader. A file it refuses changes nothing; a file with
// another parameter count gives the default priors; a file it takes is saved,
// read again and saved again: the values come back to the four digits the
// file keeps and the second text is the first.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "FuzzSupport.h"
#include "state/App.h"
#include "engine/Parameters.h"
#include "model/frmInitialize.h"
#include "platform/runtime.h"
#include "priors/PriorsFile.h"

namespace {

// The model's parameter count: the file's own when it is a small one, so
// that most inputs get past the count check.
int ModelCount(const std::string& text) {
    const double n = platform::Val(text.substr(0, text.find('\n')));
    return n >= 1 && n <= 60 ? static_cast<int>(n) : 3;
}

void MakeParameterSet(tivelor::App& app, int n) {
    app.eng.par.NumPars = n;
    app.eng.par.ParName.ReDim(n);
    for (int i = 1; i <= n; ++i) app.eng.par.ParName(i) = "Parameter " + std::to_string(i);
    tivelor::SizeParameterArrays(app);
    // A table in use that a refused file must leave as it is.
    tivelor::PriorTable& t = app.priors;
    t.PriorType(1) = "N";
    t.PriorMean(1) = 0.25;
    t.PriorSD(1) = 2;
    t.PriorTerm(1) = 1.5;
    app.sw.PriorsOn = "on";
    app.eng.SimplexValid = 1;
}

tivelor::PriorsRead Read(tivelor::App& app, const std::string& path) {
    if (!app.ui.files.Open(204, path, platform::FileMode::Input)) fuzz::Fail("cannot open " + path);
    app.shell.PriFileName = path;
    const tivelor::PriorsRead r = tivelor::ReadPriorsFile(app);
    if (app.ui.files.IsOpen(204)) fuzz::Fail("the reader left #204 open");
    return r;
}

bool SameVariant(const tivelor::PriorVariant& a, const tivelor::PriorVariant& b) { return a == b; }

bool SameTable(const tivelor::PriorTable& a, const tivelor::PriorTable& b, int n) {
    if (a.PriorType.UBound() != b.PriorType.UBound() || a.PriorTerm.UBound() != b.PriorTerm.UBound()) return false;
    for (int i = 0; i <= n; ++i) {
        if (a.PriorType(i) != b.PriorType(i) || !SameVariant(a.PriorMean2(i), b.PriorMean2(i)) ||
            !SameVariant(a.PriorSD2(i), b.PriorSD2(i)))
            return false;
        // Bitwise, so that NaN equals NaN.
        for (auto [x, y] : {std::pair{a.PriorMean(i), b.PriorMean(i)}, std::pair{a.PriorSD(i), b.PriorSD(i)},
                            std::pair{a.PriorTerm(i), b.PriorTerm(i)}})
            if (std::memcmp(&x, &y, sizeof x) != 0) return false;
    }
    return true;
}

// The value as the file keeps it: four significant digits, by the C library.
double Printed(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.3e", v);
    return std::strtod(text, nullptr);
}

bool Near(double got, double want) {
    return std::fabs(got - want) <= std::fabs(want) * 5.0001E-4 + 1E-320;
}

// A second term as a number, or NaN for a word or a blank.
double TermNumber(const tivelor::PriorVariant& v) {
    const std::string& s = std::get<std::string>(v);
    return platform::IsNumeric(s) ? platform::Val(s) : std::nan("");
}

// Whether the values, once printed, still pass the reader's checks: the file
// keeps four digits, which may carry a value across a bound.
bool PrintedValuesPass(const tivelor::PriorTable& t, int n) {
    for (int i = 1; i <= n; ++i) {
        const double m2 = TermNumber(t.PriorMean2(i)), s2 = TermNumber(t.PriorSD2(i));
        for (double v : {t.PriorMean(i), t.PriorSD(i), m2, s2})
            if (std::isinf(Printed(v))) return false;
        if (!tivelor::PriorValuesFault(t.PriorType(i), Printed(t.PriorMean(i)), Printed(t.PriorSD(i)),
                                       std::isnan(m2) ? 0 : Printed(m2), std::isnan(s2) ? 0 : Printed(s2))
                 .empty())
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    fuzz::Session s;
    tivelor::App app(s.ui);
    const int n = ModelCount(text);
    MakeParameterSet(app, n);
    const tivelor::PriorTable before = app.priors;
    try {
        switch (Read(app, fuzz::ScratchFile("in.pri", text))) {
        case tivelor::PriorsRead::Failed:
            if (!SameTable(app.priors, before, n) || app.sw.PriorsOn != "on" || app.eng.SimplexValid != 1)
                fuzz::Fail("a refused file changed the priors");
            return 0;
        case tivelor::PriorsRead::CountMismatch: {
            tivelor::PriorTable defaults = before;
            defaults.Reset(n);
            defaults.PriorTerm = before.PriorTerm;
            if (!SameTable(app.priors, defaults, n) || app.eng.FileReadFailed != 1 || app.sw.PriorsOn != "off")
                fuzz::Fail("a file of another count did not give the default priors");
            return 0;
        }
        case tivelor::PriorsRead::Loaded: break;
        }
        const tivelor::PriorTable first = app.priors;
        if (first.PriorTerm(1) != before.PriorTerm(1)) fuzz::Fail("the prior terms changed");
        const std::string saved = tivelor::PriorsFileText(first, n);
        app.priors.Reset(n);
        if (Read(app, fuzz::ScratchFile("saved.pri", saved)) != tivelor::PriorsRead::Loaded) {
            if (PrintedValuesPass(first, n)) fuzz::Fail("a saved file does not read back");
            return 0;
        }
        const tivelor::PriorTable& again = app.priors;
        for (int i = 1; i <= n; ++i) {
            const std::string which = "prior " + std::to_string(i) + " ";
            if (again.PriorType(i) != first.PriorType(i)) fuzz::Fail(which + "changed its kind");
            if (!Near(again.PriorMean(i), first.PriorMean(i)) || !Near(again.PriorSD(i), first.PriorSD(i)))
                fuzz::Fail(which + "changed: " + platform::CStr(first.PriorMean(i)) + " " +
                           platform::CStr(first.PriorSD(i)) + " came back as " + platform::CStr(again.PriorMean(i)) +
                           " " + platform::CStr(again.PriorSD(i)));
            for (auto [a, b] : {std::pair{&first.PriorMean2(i), &again.PriorMean2(i)},
                                std::pair{&first.PriorSD2(i), &again.PriorSD2(i)}}) {
                const double x = TermNumber(*a), y = TermNumber(*b);
                if (std::isnan(x) ? *a != *b : !Near(y, x)) fuzz::Fail(which + "changed a second term");
            }
        }
        if (tivelor::PriorsFileText(again, n) != saved) fuzz::Fail("saving again gives another text");
    } catch (const platform::ProgramEnded&) {
        fuzz::Fail("reading a priors file ended the program");
    }
    return 0;
}
