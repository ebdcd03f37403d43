// A started application with a model initialized from a small data file and
// default algorithm data, and the answers a results summary asks for.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/frmInitialize.h"
#include "platform/files.h"
#include "platform/headless/headless.h"
#include "shell/App.h"
#include "shell/TextWindows.h"
#include "shell/frmMenu.h"

namespace reporttest {

using platform::headless::Step;

// A data file: one row per quadrat, counts[species][quadrat].
inline std::string DataText(const std::vector<std::string>& names,
                            const std::vector<std::vector<long>>& counts) {
    auto field = [](std::string v) { return std::string(v.size() < 6 ? 6 - v.size() : 0, ' ') + v + ","; };
    std::string text = "Quad  ,";
    for (const std::string& n : names) text += field(n);
    text += "\r\n";
    for (std::size_t j = 0; j < counts[0].size(); ++j) {
        text += field(std::to_string(j + 1));
        for (const auto& sp : counts) text += field(std::to_string(sp[j]));
        text += "\r\n";
    }
    return text;
}

// Five species in six quadrats, sorted, with nothing to advise.
inline std::string SmallData() {
    return DataText({"Abies", "Betula", "Carex", "Draba", ""},
                    {{9, 5, 7, 3, 8, 6},
                     {4, 0, 6, 2, 1, 5},
                     {0, 3, 1, 0, 2, 1},
                     {2, 0, 0, 0, 0, 1},
                     {0, 0, 2, 0, 0, 0}});
}

inline std::string TempPath(const std::string& name) {
    return (std::filesystem::path(::testing::TempDir()) / name).string();
}

struct Analysis {
    platform::headless::Session s;
    tivelor::App app{s.ui};

    // Initializes from data (written to a temporary file) and takes the default algorithm data.
    explicit Analysis(const std::string& data = SmallData(), int nSpp = 5, int nQuad = 6,
                      bool logit = false, bool lnUA = false, const std::string& file = "report.dat") {
        app.Start();
        s.backend.Click("frmCredits.cmdOK");
        const std::string path = TempPath(file);
        platform::WriteWholeFileSafely(path, data);
        s.backend.Click("frmMenu.cmdInitialize");
        tivelor::frmInitialize& dlg = app.form<tivelor::frmInitialize>();
        dlg.txtDataFile.Text = path;
        dlg.cboQuadsinHab.Text = "100";
        dlg.cboQuadsSampled.Text = std::to_string(nQuad);
        dlg.cboNSpecies.Text = std::to_string(nSpp);
        dlg.chkLogitThetas.Value = logit ? 1 : 0;
        dlg.chkLogNs.Value = lnUA ? 1 : 0;
        s.backend.Click("frmInitialize.cmdDone");
        s.backend.AnswerMsgBox("Load algorithm data", platform::vbNo);
        s.backend.AnswerMsgBox("Default Algorithm Values", platform::vbOK);
        s.backend.Click("frmMenu.cmdLoadAlg");
        s.backend.msgBoxes.clear();
    }

    int NSpp() const { return app.model.NSpp; }

    // Every Theta (or its logit) and UA (or its log) at one value, all free.
    void SetValues(double theta, double ua, double step = 0.1) {
        tivelor::ParameterSet& par = app.eng.par;
        for (int i = 1; i <= NSpp(); ++i) {
            par.ParValue(i) = theta;
            par.ParValue(NSpp() + i) = ua;
        }
        for (int k = 1; k <= par.NumPars; ++k) par.StepSize(k) = step;
    }

    // Queues the answers of one summary. convert: the frmConvert button
    // ("cmdDo", "cmdCancel"), "close" for its close box, "" when not shown.
    void QueueSummary(const std::string& convert = "cmdCancel", const std::string& nrand = "0",
                      int plots = platform::vbCancel, int sampleBased = platform::vbCancel,
                      int data = platform::vbNo) {
        if (convert == "close") {
            Step st;
            st.kind = Step::Close;
            st.target = "frmConvert";
            s.backend.Push(st);
        } else if (!convert.empty()) {
            Step st;
            st.kind = Step::Click;
            st.target = "frmConvert." + convert;
            s.backend.Push(st);
        }
        s.backend.AnswerInput("More randomizations improve the goodness-of-fit (GOF) test", nrand);
        s.backend.AnswerMsgBox("Not available yet", platform::vbOK);
        s.backend.AnswerMsgBox("View plots?", plots);
        s.backend.AnswerMsgBox("Uncertainty statistics for species richness", sampleBased);
        if (sampleBased != platform::vbCancel && NSpp() > 1)
            s.backend.AnswerMsgBox("Uncertainty statistics for species richness", platform::vbNo);
        if (NSpp() > 1 || sampleBased == platform::vbCancel)
            s.backend.AnswerMsgBox("Save original, but possibly reordered, data", data);
        if (data == platform::vbYes) s.backend.AnswerMsgBox("Summary", platform::vbOK);
    }

    // Closes an earlier summary (which brings the main menu back) and presses Results.
    void RunSummary() {
        if (app.IsLoaded<tivelor::frmSummary>()) s.backend.Close("frmSummary");
        s.backend.Click("frmMenu.cmdUserSummary");
    }

    std::string Report() { return app.form<tivelor::frmSummary>().rtbOut.Text(); }

    std::vector<std::string> Titles() const {
        std::vector<std::string> t;
        for (const auto& m : s.backend.msgBoxes) t.push_back(m.title);
        return t;
    }

    // The line of the report that starts with prefix ("" when none).
    std::string Line(const std::string& prefix) {
        const std::string text = Report();
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t end = text.find("\r\n", pos);
            if (end == std::string::npos) end = text.size();
            if (text.compare(pos, prefix.size(), prefix) == 0) return text.substr(pos, end - pos);
            pos = end + 2;
        }
        return "";
    }
};

}  // namespace reporttest
