// The data file reader, the species re-ordering and the fuse and fix advice.
#include <string>
#include <vector>

#include "model/ModelServices.h"
#include "platform/files.h"
#include "platform/runtime.h"
#include "state/App.h"
#include "state/Task.h"

namespace tivelor {

using platform::CStr;
using platform::Mid;
using platform::Str;

namespace {

constexpr int kDataFile = 1;

void HideWindows(App& app, bool withInit) {
    if (platform::Form* f = app.shellAccess->LoadedMainMenu()) f->Hide();
    if (withInit)
        if (platform::Form* f = app.ui.forms.Find("frmInitialize")) f->Hide();
}

void ShowWindows(App& app) {
    if (app.shellAccess->LoadedMainMenu()) ReturnToMainMenu(app);
    if (platform::Form* f = app.ui.forms.Find("frmInitialize")) f->Show();
}

// A data error: the message with the windows hidden, then the windows back
// so that the analyst can correct the input.
bool DataError(App& app, bool hideInit, const std::string& text, const std::string& title) {
    app.ui.files.Close(kDataFile);
    HideWindows(app, hideInit);
    app.ShowMsg(text, platform::vbInformation, title);
    ShowWindows(app);
    return false;
}

// Species number right-justified in three characters.
std::string SpeciesNumber(int i) {
    std::string k = platform::Format(static_cast<double>(i), "##0");
    if (k.size() < 3) k.insert(0, 3 - k.size(), ' ');
    return k;
}

const char* const kOverrun = "Fatal error: input overun";
const char* const kBadData = "Data file error";

std::string CannotOpen(const std::string& path) { return "Cannot open the data file " + path; }
std::string EmptyFile(const std::string& path) { return "The data file " + path + " is empty"; }
std::string LeftPast(int found) {
    return "Attempt to read left past the last species in a data file with only " + CStr(found) +
           " species";
}
std::string DownPast(int found) {
    return "Attempt to read down past the last quadrat in a data file with only " + CStr(found) +
           " quadrats";
}

// Line number line of the data file could not be read: a line too long for a
// data file and a read error are told as such, anything else as the caller
// says.
bool ReadError(App& app, const std::string& path, int line, const std::string& text, const std::string& title) {
    const std::string why = app.ui.files.ReadError(kDataFile);
    if (!why.empty())
        return DataError(app, true, "The data file " + path + " could not be read: " + why, kBadData);
    if (!app.ui.files.LineTooLong(kDataFile)) return DataError(app, true, text, title);
    return DataError(app, true,
                     "Line " + CStr(line) + " of the data file " + path +
                         " is too long to be a line of a data file (more than " +
                         CStr(static_cast<long long>(platform::FileTable::kMaxLine)) + " characters)",
                     kBadData);
}

}  // namespace

bool CheckDataFileShape(App& app, const std::string& path, int NSpp, int NQuad) {
    if (path.empty()) return true;
    if (!app.ui.files.Open(kDataFile, path, platform::FileMode::Input))
        return DataError(app, true, CannotOpen(path), kBadData);
    std::string rec;
    if (!app.ui.files.LineInput(kDataFile, rec)) return ReadError(app, path, 1, EmptyFile(path), kBadData);
    for (int i = 1; i <= NSpp; ++i)
        if (Mid(rec, (i - 1) * 7 + 8, 6).empty()) return DataError(app, false, LeftPast(i - 1), kOverrun);
    for (int j = 1; j <= NQuad; ++j)
        if (app.ui.files.Eof(kDataFile) || !app.ui.files.LineInput(kDataFile, rec))
            return ReadError(app, path, j + 1, DownPast(j - 1), kOverrun);
    app.ui.files.Close(kDataFile);
    return true;
}

bool ReadDataFile(App& app, ModelState& m, platform::Vec<std::string>& ParName,
                  long& SampleSize) {
    const int NSpp = m.NSpp, NQuad = m.NQuad;
    const std::string title = kOverrun;
    const std::string badData = kBadData;

    // 1. The names and the counts, in the file's column order.
    if (!m.DataFile.empty()) {
        if (!app.ui.files.Open(kDataFile, m.DataFile, platform::FileMode::Input))
            return DataError(app, true, CannotOpen(m.DataFile), badData);
        std::string rec;
        if (!app.ui.files.LineInput(kDataFile, rec))
            return ReadError(app, m.DataFile, 1, EmptyFile(m.DataFile), badData);
        for (int i = 1; i <= NSpp; ++i) {
            m.SpName(-i) = Mid(rec, (i - 1) * 7 + 8, 6);
            if (m.SpName(-i).empty())
                return DataError(app, false, LeftPast(i - 1), title);
        }
        for (int j = 1; j <= NQuad; ++j) {
            if (app.ui.files.Eof(kDataFile) || !app.ui.files.LineInput(kDataFile, rec))
                return ReadError(app, m.DataFile, j + 1, DownPast(j - 1), title);
            m.QuadID(j) = Mid(rec, 1, 6);
            for (int i = 1; i <= NSpp; ++i) {
                const std::string field = Mid(rec, (i - 1) * 7 + 8, 6);
                const auto c = platform::CLng(platform::Val(field));
                if (!c || *c < 0)
                    return DataError(app, true,
                                     "The count \"" + field + "\" of species " + CStr(i) +
                                         " in quadrat " + CStr(j) + " (" +
                                         platform::Trim(m.QuadID(j)) +
                                         ") is not a count of individuals",
                                     badData);
                m.Count(-i, j) = *c;
            }
        }
        app.ui.files.Close(kDataFile);
    }

    // 2. Parameter names.
    for (int i = 1; i <= NSpp; ++i) {
        const std::string k = SpeciesNumber(i);
        ParName(i) = (m.LogitThetaLink ? "Logit[Theta] for species # " : "Theta for species # ") +
                     k + " in the defined habitat";
        ParName(NSpp + i) =
            m.LnUALink ? "Ln[# of unsampled individuals of species # " + k + " in the defined habitat]"
                       : "# of unsampled individuals of species # " + k + " in the defined habitat";
    }

    // 3. Allocation probabilities, running totals and the sample size. A
    // probability of 1 (every quadrat sampled) is stored as 0.999999, the
    // value the binomial routine would put in its place.
    SampleSize = 0;
    for (int j = 1; j <= NQuad; ++j) {
        m.QuadProb(j) = 1.0 / static_cast<double>(m.NQuadHab - (j - 1));
        if (m.QuadProb(j) == 1) m.QuadProb(j) = 0.999999;
        for (int i = 1; i <= NSpp; ++i) {
            m.CumCount(-i, j) = m.CumCount(-i, j - 1) + static_cast<double>(m.Count(-i, j));
            SampleSize += m.Count(-i, j);
        }
    }
    for (int i = 1; i <= NSpp; ++i)
        if (m.CumCount(-i, NQuad) == 0)
            return DataError(app, true,
                             "Species " + CStr(i) + " (" + platform::Trim(m.SpName(-i)) +
                                 ") has no individual counted in the " + CStr(NQuad) +
                                 " quadrats read: every species in the data file must be found "
                                 "in at least one quadrat",
                             badData);

    // 4. Decreasing abundance.
    SortSpeciesByAbundance(app, m);

    // 5. Mean and variance of each species' counts.
    for (int i = 1; i <= NSpp; ++i) {
        double sum = 0, sumSq = 0;
        for (int j = 1; j <= NQuad; ++j) {
            const double c = static_cast<double>(m.Count(i, j));
            sum += c;
            sumSq += c * c;
        }
        m.SpMeanCount(i) = sum / NQuad;
        m.SpVarCount(i) = sumSq / NQuad - m.SpMeanCount(i) * m.SpMeanCount(i);
    }

    // 6, 7.
    AdviseFuseFix(app, m);
    m.AskGuessInitial = platform::True;
    m.AskConvert = platform::True;

    // 8. Occupancy, uniques and duplicates.
    m.NUniques = 0;
    m.NDuplicates = 0;
    for (int i = 1; i <= NSpp; ++i) {
        int z = 0, q = 0;
        for (int j = 1; j <= NQuad; ++j) {
            if (m.Count(i, j) == 0)
                ++z;
            else
                q = j;
        }
        m.OccupiedFrac(i) = static_cast<double>(NQuad - z) / NQuad;
        if (z == NQuad - 1) {
            ++m.NUniques;
            m.UniqueCell(i, q) = platform::True;
        }
        if (z == NQuad - 2) ++m.NDuplicates;
    }

    // 9. Joint absences.
    std::vector<int> absent(static_cast<std::size_t>(NSpp) + 1);
    for (int j = 1; j <= NQuad; ++j) {
        int n = 0;
        for (int i = 1; i <= NSpp; ++i)
            if (m.Count(i, j) == 0) absent[static_cast<std::size_t>(n++)] = i;
        for (int x = 0; x < n; ++x)
            for (int y = 0; y < n; ++y)
                m.JointAbsent(absent[static_cast<std::size_t>(x)],
                              absent[static_cast<std::size_t>(y)]) += 1;
    }

    // 10. Singletons and doubletons.
    m.NSingletons = 0;
    m.NDoubletons = 0;
    for (int i = 1; i <= NSpp; ++i) {
        if (m.CumCount(i, NQuad) == 1) ++m.NSingletons;
        if (m.CumCount(i, NQuad) == 2) ++m.NDoubletons;
    }
    return true;
}

void SortSpeciesByAbundance(App& app, ModelState& m) {
    const int NSpp = m.NSpp, NQuad = m.NQuad;
    std::vector<double> tot(static_cast<std::size_t>(NSpp) + 1);
    std::vector<int> order(static_cast<std::size_t>(NSpp) + 1);
    for (int i = 1; i <= NSpp; ++i) tot[static_cast<std::size_t>(i)] = m.CumCount(-i, NQuad);
    bool changed = false;
    for (int k = 1; k <= NSpp; ++k) {
        // Every total is at least 1, so a candidate is always found.
        int cand = 0;
        double best = 0;
        for (int i = 1; i <= NSpp; ++i)
            if (tot[static_cast<std::size_t>(i)] > best) {
                best = tot[static_cast<std::size_t>(i)];
                cand = i;
            }
        if (cand == 0) cand = k;   // not reached with valid data
        order[static_cast<std::size_t>(k)] = cand;
        tot[static_cast<std::size_t>(cand)] = 0;
        if (cand != k) changed = true;
    }
    for (int k = 1; k <= NSpp; ++k) {
        const int o = order[static_cast<std::size_t>(k)];
        m.SpName(k) = m.SpName(-o);
        for (int j = 1; j <= NQuad; ++j) {
            m.Count(k, j) = m.Count(-o, j);
            m.CumCount(k, j) = m.CumCount(-o, j);
        }
    }
    if (changed) {
        HideWindows(app, true);
        app.ShowMsg("Note: input data have been sorted in descending order of species abundance",
                    platform::vbInformation, "Left-to-right data re-ordering");
        ShowWindows(app);
    }
}

void AdviseFuseFix(App& app, ModelState& m) {
    const int NSpp = m.NSpp, NQuad = m.NQuad;
    const auto n = static_cast<std::size_t>(NSpp) + 1;
    std::vector<std::string> fuseTheta(n), fuseUA(n);
    std::vector<char> grouped(n, 0);
    bool any = false;
    for (int i = 1; i <= NSpp; ++i) {
        if (grouped[static_cast<std::size_t>(i)]) continue;
        for (int j = i + 1; j <= NSpp; ++j) {
            if (m.CumCount(j, NQuad) == m.CumCount(i, NQuad) &&
                m.SpMeanCount(j) == m.SpMeanCount(i) && m.SpVarCount(j) == m.SpVarCount(i)) {
                fuseTheta[static_cast<std::size_t>(i)] += Str(j);
                fuseUA[static_cast<std::size_t>(i)] += Str(NSpp + j);
                grouped[static_cast<std::size_t>(j)] = 1;
                any = true;
            }
        }
    }
    if (any) {
        std::string text;
        for (int i = 1; i <= NSpp; ++i)
            if (!fuseTheta[static_cast<std::size_t>(i)].empty())
                text += "Parameters to fuse with parameter" + Str(i) + ":" +
                        fuseTheta[static_cast<std::size_t>(i)] + platform::vbCrLf;
        for (int i = 1; i <= NSpp; ++i)
            if (!fuseUA[static_cast<std::size_t>(i)].empty())
                text += "Parameters to fuse with parameter" + Str(NSpp + i) + ":" +
                        fuseUA[static_cast<std::size_t>(i)] + platform::vbCrLf;
        HideWindows(app, true);
        app.ShowMsg(text, platform::vbCritical + platform::vbInformation,
                    "You are advised to fuse the following parameter groups BEFORE any grid "
                    "search...");
    }
    std::string fix;
    for (int i = 1; i <= NSpp; ++i)
        if (m.CumCount(i, NQuad) == 1) fix += Str(i);
    if (!fix.empty()) {
        HideWindows(app, true);
        app.ShowMsg("Fix Theta at zero (0), or Logit[Theta] at -18.42, for parameters:" + fix,
                    platform::vbCritical + platform::vbInformation,
                    "You are advised to fix the following parameters AFTER any grid search...");
    }
    ShowWindows(app);
}

}  // namespace tivelor
