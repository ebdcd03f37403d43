// Every control kind as a widget: user actions reach the handlers through the
// control's properties, and changes made by code reach the widgets.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest/QTest>

#include "QtTestSupport.h"
#include "platform/runtime.h"

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
            for (int c = 0; c < 3; ++c) grd.SetTextMatrix(i, c, std::to_string(i * c));
        }
        grd.SetCellBackColor(2, 2, QBColor(14));
        stb.SetPanel(1, "Ready");
        auto log = [this](const char* what) { return [this, what] { events.push_back(what); }; };
        cmdGo.OnClick = log("go");
        txtName.OnChange = log("change");
        grd.OnClick = log("grid");
        grd.OnDblClick = log("griddbl");
        mnuClose.OnClick = log("menu");
        txtName.OnKeyPress = [](int& k) { if (k == 'x') k = 0; };
    }
    void Form_Resize() override { events.push_back("resize " + std::to_string(Width)); }

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
};

// Every kind of display-list item: lines of each style, filled boxes, points, a disc, text.
void Draw(PictureBox& p) {
    p.Scale(0, 0, 1000, 1000);
    p.Line(50, 50, 50, 950);
    p.LineTo(950, 950);
    for (int style : {1, 2}) {
        p.DrawStyle = style;
        p.Line(50, 300 * style, 950, 300 * style, QBColor(2 * style));
    }
    p.DrawStyle = 0;
    for (int i = 0; i < 16; ++i) p.Line(60 + i * 55, 60, 100 + i * 55, 160, QBColor(i), true, true);
    for (int i = 0; i < 50; ++i) p.PSet(100 + i * 16, 900 - i * 14, QBColor(9));
    p.FillStyle = 0;
    p.FillColor = QBColor(12);
    p.Circle(750, 700, 60, QBColor(12));
    p.Print("Theta");
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
    auto widget = [&](Control& c) { return d.backend.Widget(c); };

    // Typing: the property follows quietly, then Change; KeyPress may drop keys.
    auto* edit = qobject_cast<QLineEdit*>(widget(g->txtName));
    edit->setFocus();
    QTest::keyClicks(edit, "dxe");
    EXPECT_EQ(g->txtName.Text(), "abcde");
    EXPECT_EQ(std::count(g->events.begin(), g->events.end(), "change"), 2);
    QTest::keyClicks(widget(g->rtb), "typed");   // edits in a text pane reach its Text
    EXPECT_EQ(g->rtb.Text().substr(0, 17), "typedFixed pitch\r");

    qobject_cast<QCheckBox*>(widget(g->chkOn))->click();
    qobject_cast<QRadioButton*>(widget(g->optB))->click();
    EXPECT_TRUE(g->chkOn.Value() == 1 && g->optB.Value() && !g->optA.Value());
    EXPECT_FALSE(qobject_cast<QRadioButton*>(widget(g->optA))->isChecked());
    auto* combo = qobject_cast<QComboBox*>(widget(g->cboN));
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    qobject_cast<QListWidget*>(widget(g->listV))->setCurrentRow(1);
    EXPECT_EQ(std::to_string(g->cboN.ListIndex()) + g->cboN.Text() + g->listV.Text(), "230Series 2");

    auto* grid = qobject_cast<QTableWidget*>(widget(g->grd));
    QPoint cell = grid->visualItemRect(grid->item(2, 1)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(std::vector<int>({g->grd.Row(), g->grd.Col(), g->grd.MouseRow}), std::vector<int>({2, 1, 2}));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
    d.backend.Action(g->mnuClose)->trigger();
    qobject_cast<QAbstractButton*>(widget(g->cmdGo))->click();
    std::vector<std::string> tail(g->events.end() - 4, g->events.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"grid", "griddbl", "menu", "go"}));

    g->cmdGo.Enabled = false;
    g->grd.Row = 3;
    g->rtb.Append("appended line\r\n");
    g->mnuClose.Checked = true;
    qttest::ExpectMirrors(d.backend, *g);
    EXPECT_TRUE(grid->currentRow() == 3 && d.backend.Action(g->mnuClose)->isChecked());

    // A resize by the user raises Resize with the outer size in twips.
    QWidget* win = d.backend.Window(*g);
    win->resize(win->width() + 30, win->height());
    qttest::Settle();
    EXPECT_EQ(g->events.back(), "resize " + std::to_string(9300 + 120 + 30 * 15));
}

// A caption too long for its control is shown in a smaller font, never below
// 6.5 pt; once it fits again (shorter text, wider control) the requested size
// comes back. The text itself is left alone.
TEST(QtControls, CaptionsThatDoNotFitStepTheirFontDown) {
    qttest::Desktop d;
    frmGallery* g = nullptr;
    d.backend.Deliver([&] {
        g = &d.session.ui.forms.Get<frmGallery>(d.session.ui);
        g->Show();
    });
    qttest::Settle();
    auto points = [&](Control& c) { return d.backend.Widget(c)->font().pointSizeF(); };
    for (Control* c : std::initializer_list<Control*>{&g->lblNote, &g->chkOn, &g->fraOpts, &g->cmdGo})
        EXPECT_DOUBLE_EQ(points(*c), 8.25) << c->Path();

    g->lblNote.Caption = "Marquardt (maximum # iterations):";
    g->chkOn.Caption = "Log link for unsampled N";
    g->fraOpts.Caption = std::string(80, 'W');
    g->cmdGo.Caption = "Single model covariances and more";
    for (Control* c : std::initializer_list<Control*>{&g->lblNote, &g->chkOn, &g->cmdGo}) {
        EXPECT_LT(points(*c), 8.25) << c->Path();
        EXPECT_GE(points(*c), 6.5) << c->Path();
    }
    EXPECT_DOUBLE_EQ(points(g->fraOpts), 6.5);   // cannot fit: the floor
    qttest::ExpectMirrors(d.backend, *g);

    g->lblNote.Width = 6000;
    g->chkOn.Caption = "On";
    g->fraOpts.FontSize = 12;
    g->fraOpts.Caption = "Options";
    EXPECT_DOUBLE_EQ(points(g->lblNote), 8.25);
    EXPECT_DOUBLE_EQ(points(g->chkOn), 8.25);
    EXPECT_DOUBLE_EQ(points(g->fraOpts), 12);
}
