// Every control kind as a widget: user actions reach the handlers through the
// control's properties, and changes made by code reach the widgets.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest/QTest>

#include "QtTestSupport.h"
#include "platform/qt/Convert.h"
#include "platform/runtime.h"
#include "shell/TextWindows.h"
#include "shell/frmMain.h"

namespace {

using namespace platform;

class frmGallery : public Form {
public:
    static constexpr const char* kName = "frmGallery";
    explicit frmGallery(Ui& ui) : Form(ui, kName, "Every control", FormKind::TopLevel, 9300, 6300) {
        optA.container = optB.container = &fraOpts;
        for (int i = 1; i <= 3; ++i) {
            cboN.AddItem(std::to_string(i * 10));
            listV.AddItem("Series " + std::to_string(i));
        }
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 3; ++c) grd.SetTextMatrix(r, c, r == 0 ? "Col" + std::to_string(c) : std::to_string(r * c));
        grd.SetCellBackColor(2, 2, QBColor(14));
        stb.SetPanel(1, "Ready");
        auto log = [this](const char* what) { return [this, what] { events.push_back(what); }; };
        cmdGo.OnClick = log("go");
        txtName.OnChange = log("change");
        chkOn.OnClick = log("check");
        optB.OnClick = log("optB");
        cboN.OnClick = log("combo");
        listV.OnClick = log("list");
        grd.OnClick = log("grid");
        grd.OnDblClick = log("griddbl");
        mnuClose.OnClick = log("menu");
        txtName.OnKeyPress = [](int& k) { if (k == 'x') k = 0; };
    }
    void Form_Resize() override { events.push_back("resize " + std::to_string(Width)); }
    void Form_QueryUnload(int& cancel, int mode) override { cancel = mode == vbFormControlMenu && keepOpen; }

    CommandButton cmdGo{*this, "cmdGo", "&Go", 120, 120, 1200, 375};
    TextBox txtName{*this, "txtName", "abc", 1440, 120, 2000, 315};
    Label lblNote{*this, "lblNote", "&Note:", 3600, 120, 1500, 315};
    Frame fraOpts{*this, "fraOpts", "Options", 120, 600, 2600, 1100};
    OptionButton optA{*this, "optA", "Alpha", 120, 300, 1500, 300, true};
    OptionButton optB{*this, "optB", "Beta", 120, 650, 1500, 300};
    CheckBox chkOn{*this, "chkOn", "On", 120, 1800, 1500, 300};
    ComboBox cboN{*this, "cboN", 3000, 600, 1500, 315};
    ListBox listV{*this, "listV", 3000, 1000, 1500, 900};
    FlexGrid grd{*this, "grd", 4800, 600, 4200, 1400, 4, 3};
    PictureBox pic{*this, "pic", 120, 2200, 4400, 3400};
    RichTextBox rtb{*this, "rtb", 4700, 2200, 4400, 3400};
    StatusBar stb{*this, "stb", 2};
    Menu mnuFile{*this, "mnuFile", "&File"};
    Menu mnuClose{*this, "mnuClose", "&Close", &mnuFile, "Ctrl+Q"};
    std::vector<std::string> events;
    bool keepOpen = false;
};

// Draws every kind of display-list item.
void Draw(PictureBox& p) {
    p.Scale(0, 0, 1000, 1000);
    p.Line(50, 950, 950, 950, QBColor(0));
    p.Line(50, 50, 50, 950, QBColor(0));
    p.DrawStyle = 1;
    p.Line(50, 500, 950, 500, QBColor(4));
    p.DrawStyle = 2;
    p.Line(500, 50, 500, 950, QBColor(2));
    p.DrawStyle = 0;
    for (int i = 0; i < 16; ++i) p.Line(60 + i * 55, 60, 100 + i * 55, 160, QBColor(i), true, true);
    for (int i = 0; i < 50; ++i) p.PSet(100 + i * 16, 900 - i * 14, QBColor(9));
    p.FillStyle = 0;
    p.FillColor = QBColor(12);
    p.Circle(750, 700, 60, QBColor(12));
    p.CurrentX = 120;
    p.CurrentY = 250;
    p.Print("Theta");
}

// A child window with a menu bar of its own.
class frmEditor : public Form {
public:
    static constexpr const char* kName = "frmEditor";
    explicit frmEditor(Ui& ui) : Form(ui, kName, "Editor", FormKind::MdiChild, 6000, 3000) {}
    Menu mnuEdit{*this, "mnuEdit", "&Edit"};
    Menu mnuUndo{*this, "mnuUndo", "&Undo", &mnuEdit, "Ctrl+Z"};
};

QStringList BarCaptions(qttest::Desktop& d) {
    QStringList out;
    for (QAction* a : d.backend.Frame()->menuBar()->actions())
        if (a->isVisible()) out << a->text();
    return out;
}

template <class W>
W* WidgetOf(qttest::Desktop& d, Control& c) {
    return qobject_cast<W*>(d.backend.Widget(c));
}

}  // namespace

TEST(QtControls, UserActionsReachTheHandlersAndCodeChangesReachTheWidgets) {
    qttest::Desktop d;
    frmGallery* g = nullptr;
    d.backend.Deliver([&] {
        g = &d.session.ui.forms.Get<frmGallery>(d.session.ui);
        Draw(g->pic);
        g->rtb.Text = "Fixed pitch\r\n" + std::string(200, '-') + "\r\n";
        g->Show();
    });
    qttest::Settle();
    qttest::ExpectMirrors(d.backend, *g);
    EXPECT_TRUE(qttest::Grab(d.backend.Window(*g), "gallery"));

    // Typing: the property follows quietly, then Change; KeyPress may drop keys.
    auto* edit = WidgetOf<QLineEdit>(d, g->txtName);
    edit->setFocus();
    QTest::keyClicks(edit, "dxe");
    EXPECT_EQ(g->txtName.Text(), "abcde");
    EXPECT_EQ(std::count(g->events.begin(), g->events.end(), "change"), 2);

    WidgetOf<QCheckBox>(d, g->chkOn)->click();
    EXPECT_EQ(g->chkOn.Value(), 1);
    WidgetOf<QRadioButton>(d, g->optB)->click();
    EXPECT_TRUE(g->optB.Value());
    EXPECT_FALSE(g->optA.Value());
    EXPECT_FALSE(WidgetOf<QRadioButton>(d, g->optA)->isChecked());
    auto* combo = WidgetOf<QComboBox>(d, g->cboN);
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    EXPECT_EQ(g->cboN.ListIndex(), 2);
    EXPECT_EQ(g->cboN.Text(), "30");
    WidgetOf<QListWidget>(d, g->listV)->setCurrentRow(1);
    EXPECT_EQ(g->listV.Text(), "Series 2");

    auto* grid = WidgetOf<QTableWidget>(d, g->grd);
    QRect cell = grid->visualItemRect(grid->item(2, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(g->grd.Row(), 2);
    EXPECT_EQ(g->grd.Col(), 1);
    EXPECT_EQ(g->grd.MouseRow, 2);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    d.backend.Action(g->mnuClose)->trigger();
    WidgetOf<QAbstractButton>(d, g->cmdGo)->click();
    std::vector<std::string> tail(g->events.end() - 4, g->events.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"grid", "griddbl", "menu", "go"}));

    // Code changes show at once.
    g->cmdGo.Caption = "&Stop";
    g->cmdGo.Enabled = false;
    g->txtName.Text = "new";
    g->stb.SetPanel(2, "Calls: 12");
    g->grd.SetTextMatrix(3, 2, "9.5");
    g->grd.Row = 3;
    g->rtb.Append("appended line\r\n");
    g->mnuClose.Checked = true;
    qttest::ExpectMirrors(d.backend, *g);
    EXPECT_EQ(grid->currentRow(), 3);
    EXPECT_TRUE(d.backend.Action(g->mnuClose)->isChecked());

    // Resizing by the user raises Resize with the outer size in twips.
    QWidget* win = d.backend.Window(*g);
    win->resize(win->width() + 30, win->height());
    qttest::Settle();
    EXPECT_EQ(g->Width(), 9300 + 120 + 30 * 15);
    EXPECT_EQ(g->events.back(), "resize " + std::to_string(g->Width()));

    // The close box asks the form, which may refuse.
    g->keepOpen = true;
    win->close();
    EXPECT_TRUE(d.session.ui.forms.IsLoaded("frmGallery"));
    EXPECT_TRUE(win->isVisible());
    g->keepOpen = false;
    win->close();
    EXPECT_FALSE(d.session.ui.forms.IsLoaded("frmGallery"));
    qttest::Settle();
}

TEST(QtControls, ChildWindowsFollowTheFrameAndRememberWhereTheUserPutThem) {
    qttest::Desktop d;
    auto& app = *d.app;
    d.backend.Deliver([&] {
        app.form<tivelor::frmMain>();
        app.form<tivelor::frmSummary>().Show();
    });
    qttest::Settle();
    QMdiArea* area = d.backend.MdiArea();
    ASSERT_EQ(area->subWindowList().size(), 2);

    // Tile horizontal: each child spans the area's width.
    d.backend.Deliver([&] { app.form<tivelor::frmMain>().Arrange(1); });
    for (QMdiSubWindow* s : area->subWindowList()) EXPECT_EQ(s->width(), area->viewport()->width());
    auto& summary = app.form<tivelor::frmSummary>();
    EXPECT_EQ(summary.rtbOut.Width(), summary.Width() - 120);   // its Resize ran
    EXPECT_TRUE(qttest::Grab(d.backend.Frame(), "tile_horizontal"));

    // A child with its own menus replaces the frame's while it is active.
    d.backend.Deliver([&] { d.session.ui.forms.Get<frmEditor>(d.session.ui).Show(); });
    EXPECT_EQ(BarCaptions(d), QStringList({"&Edit"}));
    d.backend.Deliver([&] { d.session.ui.forms.Find("frmEditor")->Unload(); });
    EXPECT_EQ(BarCaptions(d).front(), "&Application");

    // A moved and resized window comes back where the user put it.
    QWidget* sub = d.backend.Window(summary);
    sub->setGeometry(40, 30, 500, 300);
    QRect placed = sub->geometry();
    d.backend.Deliver([&] { summary.Unload(); });
    qttest::Settle();
    d.backend.Deliver([&] { app.form<tivelor::frmSummary>().Show(); });
    qttest::Settle();
    auto& again = app.form<tivelor::frmSummary>();
    EXPECT_EQ(d.backend.Window(again)->geometry(), placed);
    EXPECT_EQ(again.Left(), qt::Twips(40));
    EXPECT_EQ(again.rtbOut.Width(), again.Width() - 120);
}
