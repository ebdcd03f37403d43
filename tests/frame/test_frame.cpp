// The application frame: start-up, information windows and text windows.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "shell/frmOneFunction.h"
#include "windows/InfoWindows.h"
#include "windows/TextWindows.h"
#include "tests/support/StartedProgram.h"

using namespace tivelor;
using Started = tivelor::testing::StartedProgram;
using tivelor::testing::TempPath;

TEST(Frame, MainWindowLoadSetsSwitchesAndTheMenuEnablesByItsRule) {
    Started t;
    EXPECT_EQ(t.app.form<frmMain>().Initialized, 0);
    EXPECT_EQ(t.app.sw.PriorsOn, "off");
    EXPECT_EQ(t.app.shell.AlgoColOn.UBound(), 9);
    EXPECT_EQ(t.app.eval.GridFactor.UBound(), 3);
    // The enabling rule follows Initialized and the algorithm file.
    auto enabled = [&](frmMenu& m) {
        std::string out;
        for (auto* b : m.TaskButtons()) out += b->Enabled ? "1" : "0";
        return out;
    };
    t.app.form<frmMain>().Initialized = platform::True;
    t.app.form<frmMenu>().Unload();
    EXPECT_EQ(enabled(t.app.form<frmMenu>()), "110000000000");
    t.app.eng.AlgFileName = "run.alg";
    t.app.form<frmMenu>().Unload();
    EXPECT_EQ(enabled(t.app.form<frmMenu>()), "111111111111");
}

// Initialize clears the panels it owns and no others; a Cancel at its
// question leaves them cleared.
TEST(Frame, InitializeClearsItsStatusPanelsOnly) {
    Started t;
    frmMain& main = t.app.form<frmMain>();
    platform::StatusBar* bars[] = {&main.stbMain0, &main.stbMain1, &main.stbMain2,
                                   &main.stbMain3, &main.stbMain4, &main.stbMain5};
    for (platform::StatusBar* bar : bars)
        for (int p = 1; p <= bar->PanelCount(); ++p) bar->SetPanel(p, "x");
    t.app.eng.AlgFileName = "run.alg";
    t.s.backend.AnswerMsgBox("Initialize", platform::vbCancel);
    t.app.form<frmMenu>().cmdInitialize_Click();
    std::string kept;
    for (platform::StatusBar* bar : bars) {
        for (int p = 1; p <= bar->PanelCount(); ++p) kept += bar->Panel(p).empty() ? "." : "x";
        kept += "|";
    }
    EXPECT_EQ(kept, "..|..|...|.....x|..|....x|");
    EXPECT_TRUE(t.app.form<frmMenu>().Visible());
}

TEST(Frame, InformationWindowsGiveTheMainWindowBackByOkOrCloseBox) {
    Started t;
    frmMain& main = t.app.form<frmMain>();
    for (const char* menu : {"frmMain.mnuDefaultNames", "frmMain.mnuWisdom", "frmMain.mnuCredits"}) {
        t.s.backend.Click(menu);
        EXPECT_FALSE(main.Enabled) << menu;
        // While it is open the main window and its children take no input.
        EXPECT_THROW(t.s.backend.Click("frmMenu.cmdQuit"), platform::headless::ScriptError);
        platform::Form* info = t.s.ui.forms.Loaded().back();
        t.s.backend.Close(info->name);
        EXPECT_TRUE(main.Enabled) << menu;
        EXPECT_EQ(t.s.backend.focus, "frmMain");
    }
    EXPECT_NE(t.app.form<frmWisdom>().txtWisdom.Text().find("YOU ARE THUS WELL ADVISED"),
              std::string::npos);
}

TEST(TextWindow, SavePutsTheNoteAboveTheTextASecondAddsAnotherAFailureNone) {
    Started t;
    frmSummary& sum = t.app.form<frmSummary>();
    sum.Show();
    t.app.eng.AlgFileTitle = "run1";
    sum.rtbOut.Text = "Report line 1\r\nReport line 2";
    std::string first = TempPath("first.tvo"), second = TempPath("second.tvo");
    t.s.backend.ChooseFile(first);
    t.s.backend.Click("frmSummary.cmdSaveSummary");
    t.s.backend.ChooseFile(second);
    t.s.backend.Click("frmSummary.cmdSaveSummary");

    const auto& d = t.s.backend.dialogs;
    ASSERT_EQ(d.size(), 2u);
    EXPECT_EQ(d[0].title, "Save summary in...");
    EXPECT_EQ(d[0].defaultName, " Orsadine_results.tvo");
    EXPECT_EQ(d[0].filterIndex, 3);
    EXPECT_EQ(d[0].filter,
              "All Files (*.*)|*.*|Output files (*.tvo)|*.tvo|Named for algorithm file (run1.*)|run1.*|");

    std::string text;
    ASSERT_TRUE(platform::ReadWholeFile(first, text));
    EXPECT_EQ(text, "Originally saved with the file name: " + first +
                        "\r\n\r\nReport line 1\r\nReport line 2");
    ASSERT_TRUE(platform::ReadWholeFile(second, text));
    EXPECT_EQ(text, "Originally saved with the file name: " + second +
                        "\r\n\r\nOriginally saved with the file name: " + first +
                        "\r\n\r\nReport line 1\r\nReport line 2");
    EXPECT_EQ(sum.rtbOut.Text, text);

    // Cancel or a failed write leaves the text alone.
    sum.rtbOut.Text = "edited by the user";
    t.s.backend.CancelFile();
    t.s.backend.Click("frmSummary.cmdSaveSummary");
    EXPECT_EQ(sum.rtbOut.Text, "edited by the user");

    t.s.backend.ChooseFile("/nonexistent_dir/out.tvo");
    t.s.backend.AnswerMsgBox("Save failed", platform::vbOK);
    t.s.backend.Click("frmSummary.cmdSaveSummary");
    EXPECT_EQ(sum.rtbOut.Text, "edited by the user");
    EXPECT_EQ(t.s.backend.msgBoxes.back().style, 48);
}

TEST(TextWindow, LayoutFollowsTheWindowAndKeepsTheLastPositiveSize) {
    Started t;
    frmSummary& sum = t.app.form<frmSummary>();
    sum.Show();
    EXPECT_EQ(sum.rtbOut.Width, 14000 - 120);
    EXPECT_EQ(sum.rtbOut.Height, 10010 - 375 - 400);
    sum.Resize(100, 600);
    EXPECT_EQ(sum.rtbOut.Width, 14000 - 120);
    EXPECT_EQ(sum.rtbOut.Height, 10010 - 375 - 400);

    // Closing the summary brings the main menu back; the one-function window
    // keeps its flag while it is loaded.
    t.app.form<frmMenu>().Unload();
    t.s.backend.Close("frmSummary");
    EXPECT_TRUE(t.app.form<frmMenu>().Visible());
    t.app.form<frmOneFunction>().Show();
    EXPECT_EQ(t.app.sw.OneFunctionOpen, platform::True);
    t.s.backend.Close("frmOneFunction");
    EXPECT_EQ(t.app.sw.OneFunctionOpen, platform::False);
}
