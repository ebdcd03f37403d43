// The data-file reader through the model's set-up, then one evaluation.
// Input: a first line with the dialog's numbers and the parameter values,
// "NSPP NQUAD NHAB LINKS [VALUE...]", then the data file itself.
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "state/App.h"
#include "model/Model.h"

namespace {

long Folded(long v, long lo, long hi) {
    if (v < lo || v > hi) v = lo + std::labs(v % (hi - lo + 1));
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t eol = input.find('\n');
    const std::string head = input.substr(0, eol);
    const std::string file = eol == std::string::npos ? std::string() : input.substr(eol + 1);

    // The dialog's numbers, kept small; the values may be anything strtod reads.
    std::vector<double> numbers;
    const char* p = head.c_str();
    for (;;) {
        char* end = nullptr;
        const double v = std::strtod(p, &end);
        if (end == p) break;
        numbers.push_back(v);
        p = end;
    }
    auto whole = [&](std::size_t i, long fallback) {
        return i < numbers.size() && std::isfinite(numbers[i]) && std::fabs(numbers[i]) < 1E9
                   ? static_cast<long>(numbers[i])
                   : fallback;
    };
    const long nSpp = Folded(whole(0, 3), 1, 40);
    const long nQuad = Folded(whole(1, 4), 1, 40);
    const long nHab = Folded(whole(2, 100), nQuad, 100000);
    const long links = Folded(whole(3, 0), 0, 3);

    fuzz::Session s;
    tivelor::App app(s.ui);
    tivelor::ModelState& m = app.model;
    m.Init = {std::to_string(nHab), std::to_string(nQuad), std::to_string(nSpp), links & 1 ? 1 : 0,
              links & 2 ? 1 : 0, fuzz::ScratchFile("fuzz.dat", file)};
    double F = 0;
    platform::Vec<double> P, Step, Grad;
    platform::Vec<std::string> Names, Fuse;
    platform::Matrix<double> Hess;
    int NumPars = 0;
    long NObs = 0, SampleSize = 0;
    try {
        long nf = 0;
        tivelor::MODEL(app, F, P, Step, Names, Fuse, NumPars, nf, NObs, Grad, Hess, SampleSize);
        if (!m.SetupOK) return 0;
        if (NumPars != 2 * nSpp || P.UBound() < NumPars) fuzz::Fail("set-up sized the parameters wrongly");
        bool allFinite = true, anyNaN = false;
        for (int k = 1; k <= NumPars; ++k) {
            const std::size_t i = 4 + static_cast<std::size_t>(k - 1);
            P(k) = i < numbers.size() ? numbers[i] : (k <= nSpp ? 0.1 : 2.0);
            allFinite = allFinite && std::isfinite(P(k));
            anyNaN = anyNaN || std::isnan(P(k));
        }
        nf = 1;
        tivelor::MODEL(app, F, P, Step, Names, Fuse, NumPars, nf, NObs, Grad, Hess, SampleSize);
        if (anyNaN && std::isfinite(F)) fuzz::Fail("a NaN parameter gave a finite value");
        if (allFinite && !std::isfinite(F)) fuzz::Fail("finite parameters gave a value that is not finite");
    } catch (const platform::ProgramEnded&) {
        // A fatal data-file error ends the program, as it should.
    }
    return 0;
}
