// Forms, controls and the scripted back end.
#include <gtest/gtest.h>

#include "platform/headless/headless.h"

using namespace platform;
using headless::ScriptError;
using headless::Session;
using headless::Step;

namespace {

class frmTest : public Form {
public:
    static constexpr const char* kName = "frmTest";
    explicit frmTest(Ui& ui) : Form(ui, kName, "Test", FormKind::TopLevel, 3000, 2000) {
        cmdGo.OnClick = [this] { cmdGo_Click(); };
        chkOpt.OnClick = [this] { ++checkClicks; };
        txtName.OnChange = [this] { ++changes; };
    }
    CommandButton cmdGo{*this, "cmdGo", "&Go", 0, 0, 900, 375};
    CommandButton cmdClose{*this, "cmdClose", "Close", 0, 400, 900, 375};
    CheckBox chkOpt{*this, "chkOpt", "Option", 0, 800, 900, 375};
    TextBox txtName{*this, "txtName", "design", 0, 1200, 900, 375};
    FlexGrid grd{*this, "grd", 1000, 0, 2000, 2000, 3, 2};

    std::function<void()> onGo;
    int checkClicks = 0, changes = 0, loads = 0;
    bool refuseClose = false;
    int unloadMode = -1;

    void Form_Load() override { ++loads; }
    void Form_QueryUnload(int& cancel, int mode) override {
        unloadMode = mode;
        if (refuseClose) cancel = True;
    }
    void cmdGo_Click() {
        if (onGo) onGo();
    }
};

class frmDialog : public Form {
public:
    static constexpr const char* kName = "frmDialog";
    explicit frmDialog(Ui& ui) : Form(ui, kName, "Pick one", FormKind::TopLevel, 2000, 1000) {
        cmdOK.OnClick = [this] {
            answer = 1;
            Unload();
            // The handler goes on after its own form is unloaded.
            afterUnload = Caption();
        };
    }
    CommandButton cmdOK{*this, "cmdOK", "OK", 0, 0, 900, 375};
    int answer = 0;
    std::string afterUnload;
};

}  // namespace

TEST(HeadlessScript, UnexpectedPromptsFailWithTheirTitleAndText) {
    Session s;
    EXPECT_THROW(
        {
            try {
                s.ui.MsgBox("Do you want to quit Tivelor?", 292, "Exit Tivelor");
            } catch (const ScriptError& e) {
                std::string what = e.what();
                EXPECT_NE(what.find("Exit Tivelor"), std::string::npos);
                EXPECT_NE(what.find("Do you want to quit Tivelor?"), std::string::npos);
                throw;
            }
        },
        ScriptError);

    // A title that does not match, and an answer that is not one of the buttons.
    s.backend.AnswerMsgBox("Other title", vbYes);
    EXPECT_THROW(s.ui.MsgBox("text", 36, "Title"), ScriptError);
    s.backend.AnswerMsgBox("Title", vbYes);
    EXPECT_THROW(s.ui.MsgBox("text", 0, "Title"), ScriptError);

    // An input box met by a message-box answer fails too.
    s.backend.AnswerMsgBox("", vbOK);
    EXPECT_THROW(s.ui.InputBox("Enter a number", "Enter constant"), ScriptError);
}

TEST(HeadlessScript, AnswersAreTakenInOrderAndRecorded) {
    Session s;
    s.backend.AnswerMsgBox("Q", vbNo);
    s.backend.AnswerInput("Enter constant", "12.5");
    s.backend.CancelInput("");
    s.backend.CancelFile();
    EXPECT_EQ(s.ui.MsgBox("Sure?", 36, "Q"), vbNo);
    EXPECT_EQ(s.ui.InputBox("c?", "Enter constant", "1"), "12.5");
    EXPECT_EQ(s.ui.InputBox("c?", "Enter constant", "1"), "");
    frmTest& f = s.ui.forms.Get<frmTest>(s.ui);
    CommonDialog dlg(f, "dlg");
    dlg.DialogTitle = "Open algorithm data file";
    dlg.FileName = "old.alg";
    EXPECT_FALSE(dlg.ShowOpen());
    EXPECT_EQ(dlg.FileName, "old.alg");
    s.backend.ChooseFile("/data/run1.alg");
    EXPECT_TRUE(dlg.ShowSave());
    EXPECT_EQ(dlg.FileName, "/data/run1.alg");
    EXPECT_EQ(dlg.FileTitle, "run1.alg");
    ASSERT_EQ(s.backend.msgBoxes.size(), 1u);
    EXPECT_EQ(s.backend.msgBoxes[0].style, 36);
    ASSERT_EQ(s.backend.dialogs.size(), 2u);
    EXPECT_TRUE(s.backend.dialogs[0].cancelled);
    EXPECT_EQ(s.backend.dialogs[0].defaultName, "old.alg");
    EXPECT_EQ(s.backend.PendingSteps(), 0u);
}

TEST(HeadlessScript, ActionsNeedAnEnabledShownControl) {
    Session s;
    frmTest& f = s.ui.forms.Get<frmTest>(s.ui);
    int clicks = 0;
    f.onGo = [&] { ++clicks; };
    EXPECT_THROW(s.backend.Click("frmTest.cmdGo"), ScriptError);   // not shown
    f.Show();
    s.backend.Click("frmTest.cmdGo");
    f.cmdGo.Enabled = false;
    EXPECT_THROW(s.backend.Click("frmTest.cmdGo"), ScriptError);
    f.cmdGo.Enabled = true;
    f.Enabled = false;
    EXPECT_THROW(s.backend.Click("frmTest.cmdGo"), ScriptError);
    EXPECT_THROW(s.backend.Click("frmTest.cmdNone"), ScriptError);
    EXPECT_THROW(s.backend.Click("frmNone.cmdGo"), ScriptError);
    EXPECT_EQ(clicks, 1);
}

TEST(Controls, CodeChangesRaiseTheirEventsAsTheWindowSystemDoes) {
    Session s;
    frmTest& f = s.ui.forms.Get<frmTest>(s.ui);
    f.Show();
    f.chkOpt.Value = 1;
    f.chkOpt.Value = 1;   // no change, no click
    f.txtName.Text = "x";
    EXPECT_EQ(f.checkClicks, 1);
    EXPECT_EQ(f.changes, 1);
    s.backend.Click("frmTest.chkOpt");   // the user toggles it back
    EXPECT_EQ(f.chkOpt.Value, 0);
    EXPECT_EQ(f.checkClicks, 2);

    // Grids keep their cells when reshaped, and ignore cells out of range.
    f.grd.SetTextMatrix(2, 1, "kept");
    f.grd.SetCellBackColor(2, 1, 12);
    f.grd.Rows = 5;
    f.grd.Cols = 3;
    EXPECT_EQ(f.grd.TextMatrix(2, 1), "kept");
    EXPECT_EQ(f.grd.CellBackColor(2, 1), 12);
    f.grd.SetTextMatrix(9, 9, "lost");
    EXPECT_EQ(f.grd.TextMatrix(9, 9), "");
    f.grd.Rows = 2;
    EXPECT_EQ(f.grd.TextMatrix(2, 1), "");
}

TEST(FormLifeCycle, UnloadInsideItsOwnHandlerAndReloadWithDesignState) {
    Session s;
    frmTest& f = s.ui.forms.Get<frmTest>(s.ui);
    f.Show();
    f.txtName.Text = "edited";
    int mode = -1;
    f.onGo = [&f, &mode] {
        f.Unload();
        mode = f.unloadMode;   // still alive until the handler is done
    };
    s.backend.Click("frmTest.cmdGo");
    EXPECT_FALSE(s.ui.forms.IsLoaded("frmTest"));
    EXPECT_EQ(mode, vbFormCode);

    frmTest& again = s.ui.forms.Get<frmTest>(s.ui);
    EXPECT_EQ(again.txtName.Text, "design");
    EXPECT_EQ(again.loads, 1);

    // The close box asks QueryUnload, which may refuse.
    again.Show();
    again.refuseClose = true;
    s.backend.Close("frmTest");
    ASSERT_TRUE(s.ui.forms.IsLoaded("frmTest"));
    EXPECT_EQ(again.unloadMode, vbFormControlMenu);
    again.refuseClose = false;
    s.backend.Close("frmTest");
    EXPECT_FALSE(s.ui.forms.IsLoaded("frmTest"));
}

TEST(FormLifeCycle, ModalShowReturnsWhenTheScriptClosesTheForm) {
    Session s;
    frmTest& f = s.ui.forms.Get<frmTest>(s.ui);
    f.Show();
    int answer = -1;
    std::string after;
    f.onGo = [&] {
        frmDialog& d = s.ui.forms.Get<frmDialog>(s.ui);
        d.Show(vbModal);
        answer = d.answer;
        after = d.afterUnload;
    };
    Step ok;
    ok.kind = Step::Click;
    ok.target = "frmDialog.cmdOK";
    s.backend.Push(ok);
    s.backend.Click("frmTest.cmdGo");
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(after, "Pick one");
    EXPECT_FALSE(s.ui.forms.IsLoaded("frmDialog"));

    // A modal form the script does not handle fails the test.
    EXPECT_THROW(s.backend.Click("frmTest.cmdGo"), ScriptError);
}

TEST(DoEvents, ScheduledActionsRunAtTheirCount) {
    Session s;
    frmTest& f = s.ui.forms.Get<frmTest>(s.ui);
    f.Show();
    int clickedAt = 0;
    f.onGo = [&] { clickedAt = static_cast<int>(s.ui.DoEventsCount()); };
    Step go;
    go.kind = Step::Click;
    go.target = "frmTest.cmdGo";
    std::uint64_t start = s.ui.DoEventsCount();
    s.backend.AtDoEvents(500, go);
    for (int i = 0; i < 1000; ++i) s.ui.DoEvents();
    EXPECT_EQ(clickedAt, static_cast<int>(start + 500));
}

TEST(End, ClosesFilesAndUnwindsToTheTopLevel) {
    Session s;
    std::string path = ::testing::TempDir() + "tivelor_end.txt";
    ASSERT_TRUE(s.ui.files.Open(203, path, FileMode::Output));
    s.ui.files.Print(203, "last line");
    frmTest& f = s.ui.forms.Get<frmTest>(s.ui);
    f.Show();
    bool after = false;
    f.onGo = [&] {
        s.ui.End();
        after = true;
    };
    s.backend.Click("frmTest.cmdGo");
    EXPECT_TRUE(s.backend.Ended());
    EXPECT_FALSE(after);
    EXPECT_FALSE(s.ui.files.IsOpen(203));
    std::string text;
    ASSERT_TRUE(ReadWholeFile(path, text));
    EXPECT_EQ(text, "last line\r\n");
}
