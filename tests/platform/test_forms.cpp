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
        cmdGo.OnClick = [this] { if (onGo) onGo(); };
        chkOpt.OnClick = [this] { ++checkClicks; };
        txtName.OnChange = cboN.OnChange = [this] { ++changes; };
    }
    CommandButton cmdGo{*this, "cmdGo", "&Go", 0, 0, 900, 375};
    CheckBox chkOpt{*this, "chkOpt", "Option", 0, 800, 900, 375};
    TextBox txtName{*this, "txtName", "design", 0, 1200, 900, 375};
    ComboBox cboN{*this, "cboN", 0, 1600, 900, 375};
    FlexGrid grd{*this, "grd", 1000, 0, 2000, 2000, 3, 2};

    std::function<void()> onGo;
    int checkClicks = 0, changes = 0, loads = 0, unloadMode = -1;
    bool refuseClose = false;
    void Form_Load() override { ++loads; }
    void Form_QueryUnload(int& cancel, int mode) override {
        unloadMode = mode;
        if (refuseClose) cancel = True;
    }
};

// Answers, then unloads itself and goes on running.
class frmDialog : public Form {
public:
    static constexpr const char* kName = "frmDialog";
    explicit frmDialog(Ui& ui) : Form(ui, kName, "Pick one", FormKind::TopLevel, 2000, 1000) {
        cmdOK.OnClick = [this] {
            answer = 1;
            Unload();
            afterUnload = Caption();
        };
    }
    CommandButton cmdOK{*this, "cmdOK", "OK", 0, 0, 900, 375};
    int answer = 0;
    std::string afterUnload;
};
Step ClickStep(const std::string& target) {
    Step s;
    s.kind = Step::Click;
    s.target = target;
    return s;
}

std::string ErrorOf(const std::function<void()>& act) {
    try { act(); } catch (const ScriptError& e) { return e.what(); }
    return "no error";
}

}  // namespace

TEST(HeadlessScript, PromptsTakeTheAnswersInOrderOrFailWithTheirTitleAndText) {
    Session s;
    s.backend.AnswerMsgBox("Q", vbNo);
    s.backend.AnswerInput("Enter constant", "12.5");
    s.backend.CancelInput("");
    s.backend.CancelFile();
    s.backend.ChooseFile("/data/run1.alg");
    EXPECT_EQ(s.ui.MsgBox("Sure?", 36, "Q"), vbNo);
    EXPECT_EQ(s.ui.InputBox("c?", "Enter constant", "1"), "12.5");
    EXPECT_EQ(s.ui.InputBox("c?", "Enter constant", "1"), "");
    CommonDialog dlg(s.ui.forms.Get<frmTest>(s.ui), "dlg");
    dlg.FileName = "old.alg";
    EXPECT_FALSE(dlg.ShowOpen());
    EXPECT_EQ(dlg.FileName, "old.alg");
    EXPECT_TRUE(dlg.ShowSave());
    EXPECT_EQ(dlg.FileName + " " + dlg.FileTitle, "/data/run1.alg run1.alg");
    ASSERT_EQ(s.backend.msgBoxes.size() + s.backend.dialogs.size(), 3u);
    EXPECT_EQ(s.backend.msgBoxes[0].style, 36);
    EXPECT_TRUE(s.backend.dialogs[0].cancelled);
    EXPECT_EQ(s.backend.dialogs[0].defaultName, "old.alg");

    std::string what = ErrorOf([&] { s.ui.MsgBox("Do you want to quit Tivelor?", 292, "Exit Tivelor"); });
    EXPECT_NE(what.find("\"Exit Tivelor\": \"Do you want to quit Tivelor?\""), std::string::npos) << what;
    s.backend.AnswerMsgBox("Other title", vbYes);
    EXPECT_NE(ErrorOf([&] { s.ui.MsgBox("text", 36, "Title"); }).find("Title"), std::string::npos);
    s.backend.AnswerMsgBox("Title", vbYes);   // not a button of an OK box
    EXPECT_THROW(s.ui.MsgBox("text", 0, "Title"), ScriptError);
    s.backend.AnswerMsgBox("", vbOK);
    what = ErrorOf([&] { s.ui.InputBox("Enter a number", "Enter constant"); });
    EXPECT_NE(what.find("Enter constant"), std::string::npos) << what;
}

TEST(HeadlessScript, ASourceMakesUpStepsWhenTheQueueHasNone) {
    Session s;
    frmTest& f = s.ui.forms.Get<frmTest>(s.ui);
    f.Show();
    std::vector<headless::Request> asked;
    s.backend.source = [&](const headless::Request& r, Step& step) {
        asked.push_back(r);
        if (r.kind == headless::Request::MsgBox) step.kind = Step::AnswerMsgBox, step.value = vbNo;
        else if (r.kind == headless::Request::Action && r.waiting) step = ClickStep("frmTest.chkOpt");
        else return false;
        return true;
    };
    s.backend.AnswerMsgBox("Q", vbYes);   // the queue goes first
    EXPECT_EQ(s.ui.MsgBox("Sure?", 36, "Q"), vbYes);
    EXPECT_EQ(s.ui.MsgBox("Sure?", 292, "Q"), vbNo);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].title == "Q" && asked[0].text == "Sure?" && asked[0].style == 292);
    EXPECT_THROW(s.ui.InputBox("c?", "Enter constant", "1"), ScriptError);   // the source has none
    EXPECT_EQ(asked.back().defaultText, "1");
    f.onGo = [&] { while (f.checkClicks < 2) s.ui.WaitForUser(); };
    s.backend.Click("frmTest.cmdGo");
    EXPECT_EQ(f.checkClicks, 2);
    EXPECT_TRUE(asked.back().waiting);
}

TEST(HeadlessScript, StepsAtAnAbsoluteYieldCountAndPollsEveryNthYield) {
    Session s;
    frmTest& f = s.ui.forms.Get<frmTest>(s.ui);
    f.Show();
    std::vector<std::uint64_t> clicks, polls;
    f.chkOpt.OnClick = [&] { clicks.push_back(s.ui.DoEventsCount()); };
    f.onGo = [&] {
        for (int i = 0; i < 30; ++i) s.ui.DoEvents();
        s.ui.WaitForUser();   // takes the next queued action: the step at 40 is not waited for
        for (int i = 0; i < 20; ++i) s.ui.DoEvents();
    };
    s.backend.AtDoEventsCount(12, ClickStep("frmTest.chkOpt"));
    s.backend.AtDoEventsCount(40, ClickStep("frmTest.chkOpt"));
    s.backend.OnPoll(7, [&] { polls.push_back(s.ui.DoEventsCount()); });
    s.backend.Push(ClickStep("frmTest.chkOpt"));
    s.backend.Click("frmTest.cmdGo");
    EXPECT_EQ(clicks, (std::vector<std::uint64_t>{12, 31, 40}));
    EXPECT_EQ(polls, (std::vector<std::uint64_t>{7, 14, 21, 28, 35, 42, 49}));
}

TEST(HeadlessScript, ActionsNeedAShownEnabledControlAndRaiseItsEvents) {
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
    f.Enabled = true;
    EXPECT_THROW(s.backend.Click("frmTest.cmdNone"), ScriptError);
    EXPECT_EQ(clicks, 1);

    // Code changes raise events as the window system does; the same value does not.
    f.chkOpt.Value = 1;
    f.chkOpt.Value = 1;
    f.txtName.Text = "x";
    s.backend.Click("frmTest.chkOpt");
    s.backend.Type("frmTest.cboN", "12");   // typing changes; picking an item clicks
    f.cboN.AddItem("10");
    f.cboN.ListIndex = 0;
    EXPECT_EQ(f.chkOpt.Value * 100 + f.checkClicks * 10 + f.changes, 22);

    // Grids keep their cells when reshaped and ignore cells out of range.
    f.grd.SetTextMatrix(2, 1, "kept");
    f.grd.Cols = 3;
    f.grd.SetTextMatrix(9, 9, "lost");
    EXPECT_EQ(f.grd.TextMatrix(2, 1) + f.grd.TextMatrix(9, 9), "kept");
}

// The main window and one of its child windows.
class frmFrame : public Form {
public:
    static constexpr const char* kName = "frmFrame";
    explicit frmFrame(Ui& ui) : Form(ui, kName, "Frame", FormKind::MdiParent, 9000, 7000) {}
    int closeAsked = 0;
    void Form_QueryUnload(int& cancel, int) override {
        ++closeAsked;
        cancel = True;   // "No" to quitting
    }
};

class frmChild : public Form {
public:
    static constexpr const char* kName = "frmChild";
    explicit frmChild(Ui& ui) : Form(ui, kName, "Child", FormKind::MdiChild, 3000, 2000) {
        cmdGo.OnClick = [this] { ++clicks; };
    }
    CommandButton cmdGo{*this, "cmdGo", "Go", 0, 0, 900, 375};
    int clicks = 0;
};

// While an input scope is open, a window shown before it takes no input at
// all, its close box included (both back ends reach it through UserClick,
// UserClose and the rest); one shown inside it, or adopted, does, and so does
// the main window's close box. A child window of a disabled main window takes
// none either.
TEST(UserInput, AWindowOutsideTheScopeTakesNoInputItsCloseBoxIncluded) {
    Session s;
    frmFrame& frame = s.ui.forms.Get<frmFrame>(s.ui);
    frame.Show();
    frmTest& before = s.ui.forms.Get<frmTest>(s.ui);
    before.Show();
    int clicks = 0;
    before.onGo = [&] { ++clicks; };
    s.ui.forms.OpenInputScope();
    UserClick(before.cmdGo);
    UserSetValue(before.chkOpt, 1);
    UserClickCell(before.grd, 2, 1);
    UserDblClickCell(before.grd, 2, 1);
    EXPECT_FALSE(UserClose(before));
    EXPECT_EQ(clicks + before.checkClicks, 0);
    EXPECT_NE(before.grd.Row, 2);
    EXPECT_EQ(before.unloadMode, -1);
    for (auto step : {std::function<void()>([&] { s.backend.Click("frmTest.cmdGo"); }),
                      std::function<void()>([&] { s.backend.Close("frmTest"); })})
        EXPECT_NE(ErrorOf(step).find("takes no input while another task is in charge"), std::string::npos);
    EXPECT_FALSE(before.IsUnloaded());
    s.backend.Close("frmFrame");   // asks, and "No" keeps it
    EXPECT_EQ(frame.closeAsked, 1);
    frmDialog& inside = s.ui.forms.Get<frmDialog>(s.ui);
    inside.Show();
    s.backend.Click("frmDialog.cmdOK");
    EXPECT_EQ(inside.answer, 1);
    s.ui.forms.Adopt(before);
    s.backend.Click("frmTest.cmdGo");
    s.ui.forms.CloseInputScope();
    s.ui.forms.OpenInputScope();   // a new scope leaves out the windows of the last one
    EXPECT_FALSE(before.AcceptsInput());
    s.ui.forms.CloseInputScope();
    UserClick(before.cmdGo);
    EXPECT_EQ(clicks, 2);

    frmChild& child = s.ui.forms.Get<frmChild>(s.ui);
    child.Show();
    frame.Enabled = false;   // an information window holds the main window
    UserClick(child.cmdGo);
    EXPECT_FALSE(UserClose(child));
    EXPECT_NE(ErrorOf([&] { s.backend.Click("frmChild.cmdGo"); }).find("main window is disabled"), std::string::npos);
    EXPECT_TRUE(before.AcceptsInput());   // a window of its own still does
    frame.Enabled = true;
    UserClick(child.cmdGo);
    EXPECT_EQ(child.clicks, 1);
    EXPECT_TRUE(UserClose(child));
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
    s.backend.Push(ClickStep("frmDialog.cmdOK"));
    s.backend.Click("frmTest.cmdGo");
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(after, "Pick one");
    EXPECT_FALSE(s.ui.forms.IsLoaded("frmDialog"));
    std::string what = ErrorOf([&] { s.backend.Click("frmTest.cmdGo"); });   // nothing closes it
    EXPECT_NE(what.find("modal window frmDialog \"Pick one\""), std::string::npos) << what;
}

// End closes the files and unwinds to the top, also from an action that a
// DoEvents inside a long handler runs.
TEST(End, ClosesFilesAndUnwindsToTheTopLevel) {
    for (bool scheduled : {false, true}) {
        Session s;
        std::string path = ::testing::TempDir() + "tivelor_end.txt";
        ASSERT_TRUE(s.ui.files.Open(203, path, FileMode::Output));
        s.ui.files.Print(203, "last line");
        frmDialog& quit = s.ui.forms.Get<frmDialog>(s.ui);
        quit.cmdOK.OnClick = [&] { s.ui.End(); };
        quit.Show();
        frmTest& f = s.ui.forms.Get<frmTest>(s.ui);
        f.Show();
        bool after = false;
        f.onGo = [&] {
            if (!scheduled) s.ui.End();
            for (int i = 0; i < 10; ++i) s.ui.DoEvents();
            after = true;
        };
        if (scheduled) s.backend.AtDoEvents(3, ClickStep("frmDialog.cmdOK"));
        EXPECT_NO_THROW(s.backend.Click("frmTest.cmdGo"));
        EXPECT_TRUE(s.backend.Ended());
        EXPECT_FALSE(after);
        EXPECT_EQ(s.ui.DispatchDepth(), 0);
        EXPECT_FALSE(s.ui.files.IsOpen(203));
        std::string text;
        ASSERT_TRUE(ReadWholeFile(path, text));
        EXPECT_EQ(text, "last line\r\n");
    }
}

namespace {

// Two groups of option buttons, a check box and list boxes, as a user meets them.
class frmChoices : public Form {
public:
    static constexpr const char* kName = "frmChoices";
    explicit frmChoices(Ui& ui) : Form(ui, kName, "Choices", FormKind::TopLevel, 6000, 4000) {
        optA.container = optB.container = &fraOne;
        optC.container = &fraTwo;
        for (Control* c : std::initializer_list<Control*>{&optA, &optB, &optC, &optD, &chk, &lst, &txtNote, &lblNote})
            c->OnClick = [this, c] { clicks.push_back(c->name); };
        lst.OnChange = [this] { clicks.push_back("lst changed"); };
        for (const char* item : {"one", "two"}) lst.AddItem(item);
    }
    Label lblNote{*this, "lblNote", "Note", 0, 0, 900, 255};
    TextBox txtNote{*this, "txtNote", "abc", 0, 300, 900, 315};
    Frame fraOne{*this, "fraOne", "One", 0, 800, 2000, 1200};
    OptionButton optA{*this, "optA", "A", 120, 240, 900, 255, true};
    OptionButton optB{*this, "optB", "B", 120, 600, 900, 255};
    Frame fraTwo{*this, "fraTwo", "Two", 2200, 800, 2000, 1200};
    OptionButton optC{*this, "optC", "C", 120, 240, 900, 255, true};
    OptionButton optD{*this, "optD", "D", 2200, 2200, 900, 255};   // on the form itself
    CheckBox chk{*this, "chk", "Check", 0, 2600, 900, 255, 2};
    ListBox lst{*this, "lst", 2200, 2600, 1500, 900};
    std::vector<std::string> clicks;
};

std::string Values(const frmChoices& f) {
    std::string out;
    for (const OptionButton* o : {&f.optA, &f.optB, &f.optC, &f.optD}) out += o->Value() ? '1' : '0';
    return out + std::to_string(f.chk.Value());
}

}  // namespace

// A user's click, check and option change and list pick: one rule for every
// back end. Option buttons act within their own container only.
TEST(UserInput, ClicksAndValueChangesFollowTheWindowSystemsRules) {
    Session s;
    frmChoices& f = s.ui.forms.Get<frmChoices>(s.ui);
    f.Show();
    s.backend.Click("frmChoices.optB");     // clears A, leaves C and D alone
    EXPECT_EQ(Values(f), "01102");
    s.backend.Click("frmChoices.optB");     // a selected option is clicked again
    s.backend.Click("frmChoices.optD");     // the form's own group: none other there
    EXPECT_EQ(Values(f), "01112");
    s.backend.Click("frmChoices.chk");      // grayed becomes checked, then unchecked
    s.backend.Click("frmChoices.chk");
    s.backend.Set("frmChoices.optA", 1);    // as a click
    s.backend.Set("frmChoices.optC", 0);    // cleared without an event
    EXPECT_EQ(Values(f), "10010");
    s.backend.Click("frmChoices.txtNote");  // text boxes and labels take clicks too
    s.backend.Click("frmChoices.lblNote");
    s.backend.Set("frmChoices.lst", 1);
    EXPECT_EQ(f.clicks, (std::vector<std::string>{"optB", "optB", "optD", "chk", "chk", "optA", "txtNote",
                                                  "lblNote", "lst"}));
    f.lst.Text = "typed";                   // then the user picks the same item again
    f.clicks.clear();
    s.backend.Set("frmChoices.lst", 1);
    EXPECT_EQ(f.lst.Text(), "two");
    EXPECT_EQ(f.clicks, std::vector<std::string>{"lst"});   // a pick is a Click, not a Change

    // Without the headless back end: the same functions, called directly.
    f.clicks.clear();
    UserClick(f.optB);
    UserSetValue(f.chk, 2);
    UserSetValue(f.optD, 0);
    EXPECT_EQ(Values(f), "01002");
    EXPECT_EQ(f.clicks, (std::vector<std::string>{"optB", "chk"}));
}

// The window shown gives the focus to its first control in tab order that
// can take it: shown, enabled, in shown and enabled frames.
TEST(UserInput, AShownWindowFocusesItsFirstControlInTabOrder) {
    Session s;
    frmChoices& f = s.ui.forms.Get<frmChoices>(s.ui);
    EXPECT_EQ(f.FirstInTabOrder(), &f.txtNote);   // labels and frames take no focus
    f.txtNote.TabIndex = 5;
    f.optA.TabIndex = f.optB.TabIndex = 3;
    f.optC.TabIndex = f.optD.TabIndex = f.chk.TabIndex = f.lst.TabIndex = 4;
    EXPECT_EQ(f.FirstInTabOrder(), &f.optA);      // lowest index, then declaration order
    f.fraOne.Enabled = false;
    EXPECT_EQ(f.FirstInTabOrder(), &f.optC);
    f.fraTwo.Visible = false;
    f.optD.Enabled = false;
    EXPECT_EQ(f.FirstInTabOrder(), &f.chk);
    f.Show();
    EXPECT_EQ(s.backend.focus, "frmChoices.chk");
    s.backend.focus.clear();
    f.Show();                                     // already shown: the focus stays
    EXPECT_EQ(s.backend.focus, "");
    for (Control* c : f.Controls()) c->Enabled = false;
    EXPECT_EQ(f.FirstInTabOrder(), nullptr);
}

// The selection of a text box: clamped to its text, reset to the end when
// code sets the text.
TEST(UserInput, TextBoxSelection) {
    Session s;
    frmChoices& f = s.ui.forms.Get<frmChoices>(s.ui);
    TextBox& t = f.txtNote;
    EXPECT_EQ(t.SelStart * 10 + t.SelLength, 30);   // design text: the caret after it
    t.SelectAll();
    EXPECT_EQ(t.SelStart * 10 + t.SelLength, 3);
    t.SelStart = 2;
    t.SelLength = 9;
    EXPECT_EQ(t.SelStart * 10 + t.SelLength, 21);
    t.SelStart = -4;
    EXPECT_EQ(t.SelStart * 10 + t.SelLength, 1);
    t.SelStart = 7;
    EXPECT_EQ(t.SelStart * 10 + t.SelLength, 30);
    t.Text = "12345";
    EXPECT_EQ(t.SelStart * 10 + t.SelLength, 50);

    // Keys go in at the caret and replace the selection.
    f.Show();
    int changes = 0;
    t.OnChange = [&] { ++changes; };
    t.OnKeyPress = [](int& k) { if (k == 'x') k = 0; else if (k == 'a') k = 'A'; };
    t.SelStart = 1;
    t.SelLength = 2;
    s.backend.Keys("frmChoices.txtNote", "axb");   // x dropped, a made A
    EXPECT_EQ(t.Text(), "1Ab45");
    EXPECT_EQ(t.SelStart * 10 + t.SelLength, 30);
    s.backend.Keys("frmChoices.txtNote", "\b\b\b\b9");
    EXPECT_EQ(t.Text(), "945");
    t.MaxLength = 4;
    s.backend.Keys("frmChoices.txtNote", "78");
    t.Locked = true;
    s.backend.Keys("frmChoices.txtNote", "6");
    EXPECT_EQ(t.Text(), "9745");
    EXPECT_EQ(changes, 7);
}

// Enter on a button clicks it; Enter (outside a multi-line box) or Escape
// elsewhere clicks the window's default or cancel button; a key left over is
// typed into a text box.
TEST(UserInput, KeysReachTheButtonThenTheDefaultOrCancelButton) {
    Session s;
    frmTest& f = s.ui.forms.Get<frmTest>(s.ui);
    int gos = 0;
    f.onGo = [&] { ++gos; };
    f.Show();
    auto key = [&](const char* path, int code) {
        Step k;
        k.kind = Step::Key;
        k.target = path;
        k.value = code;
        s.backend.Run(k);
    };
    key("frmTest.cmdGo", 13);
    key("frmTest.cmdGo", 27);
    key("frmTest.txtName", 13);
    EXPECT_EQ(gos, 1);
    f.cmdGo.Default = true;
    key("frmTest.chkOpt", 13);
    key("frmTest.txtName", 27);
    f.txtName.MultiLine = true;
    key("frmTest.txtName", 13);
    EXPECT_EQ(gos, 2);
    f.cmdGo.Cancel = true;
    key("frmTest.grd", 27);
    key("frmTest.txtName", 'x');
    EXPECT_EQ(gos, 3);
    EXPECT_EQ(f.checkClicks, 0);
    EXPECT_EQ(f.txtName.Text(), "design\r\nx");
}

// A click on a fixed cell leaves the current cell alone; a double-click only
// tells where the mouse was.
TEST(UserInput, GridCellClicks) {
    Session s;
    frmTest& f = s.ui.forms.Get<frmTest>(s.ui);
    std::string events;
    f.grd.OnClick = [&] { events += "c" + std::to_string(f.grd.Row) + std::to_string(f.grd.Col); };
    f.grd.OnDblClick = [&] { events += "d" + std::to_string(f.grd.MouseRow) + std::to_string(f.grd.MouseCol); };
    f.Show();
    s.backend.ClickCell("frmTest.grd", 2, 1);
    s.backend.ClickCell("frmTest.grd", 0, 1);   // the heading
    s.backend.ClickCell("frmTest.grd", 1, 0, true);
    UserDblClickCell(f.grd, 0, 0);
    EXPECT_EQ(events, "c21c21c21d10d00");
    EXPECT_EQ(f.grd.MouseRow * 10 + f.grd.MouseCol, 0);
}
