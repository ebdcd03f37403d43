// Every window built so far, shown on the Qt back end: its widgets mirror
// its controls, and a picture of it goes to <build>/qt-smoke/.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTableWidget>

#include "QtTestSupport.h"
#include "engine/Parameters.h"
#include "platform/qt/Convert.h"
#include "shell/InfoWindows.h"
#include "shell/TextWindows.h"
#include "model/frmConvert.h"
#include "model/frmGuessPars.h"
#include "model/frmInitialize.h"
#include "shell/frmAlgo.h"
#include "shell/frmEditVS.h"
#include "shell/frmMarquardt.h"
#include "shell/frmSimplex.h"
#include "shell/frmMain.h"
#include "shell/frmMenu.h"

namespace {

using namespace platform;
using platform::qt::ToQt;
using platform::qt::ToQtLines;
using tivelor::App;

const std::string kReport =
    "   #  Parameter            Value          Step\r\n"
    "   1  Theta           1.2345678E+00  1.0000000E-01\r\n"
    "   2  Ln[UA]          -3.2100000E+00  1.0000000E-01\r\n";

// One line per window: how to open it (frmMain is already open).
struct WindowCase {
    const char* name;
    std::function<Form&(App&)> open;
};

const std::vector<WindowCase> kWindows = {
    {"frmMain", [](App& a) -> Form& { return a.form<tivelor::frmMain>(); }},
    {"frmMenu", [](App& a) -> Form& { auto& f = a.form<tivelor::frmMenu>(); f.Show(); return f; }},
    {"frmCredits", [](App& a) -> Form& { auto& f = a.form<tivelor::frmCredits>(); f.Show(); return f; }},
    {"frmDefaults", [](App& a) -> Form& { auto& f = a.form<tivelor::frmDefaults>(); f.Show(); return f; }},
    {"frmWisdom", [](App& a) -> Form& { auto& f = a.form<tivelor::frmWisdom>(); f.Show(); return f; }},
    {"frmSummary", [](App& a) -> Form& {
         auto& f = a.form<tivelor::frmSummary>();
         f.rtbOut.Text = kReport;
         f.Show();
         return f; }},
    {"frmOneFunction", [](App& a) -> Form& {
         auto& f = a.form<tivelor::frmOneFunction>();
         f.rtbOneFunction.Text = kReport;
         f.Show();
         return f; }},
    {"frmHelp", [](App& a) -> Form& {
         auto& f = a.form<tivelor::frmHelp>();
         f.rtbHelp.Text = "Prior types:\r\n  U  uniform, unbounded\r\n  N  normal";
         f.Show();
         return f; }},
    {"frmAlgo", [](App& a) -> Form& {
         tivelor::ParameterSet& p = a.eng.par;
         p.NumPars = 4;
         p.ParName.ReDim(4);
         tivelor::SetDefaultAlgorithm(a);
         for (int i = 1; i <= 4; ++i) {
             p.ParName(i) = (i % 2 ? "Theta " : "UA ") + std::to_string((i + 1) / 2) + " [0; 0 to 1]";
             p.ParValue(i) = i == 2 ? 0 : 0.25 * i;
             p.StepSize(i) = 0.1 * p.ParValue(i);
         }
         p.FuseCode(3) = p.FuseCode(4) = "A";
         a.eng.AlgFileName = "/tmp/meadow.alg";
         tivelor::ShowAlgorithmEditor(a);
         qttest::WhenModal([](QWidget* box) { box->close(); });   // the note at its unload
         return a.form<tivelor::frmAlgo>(); }},
    {"frmEditVS", [](App& a) -> Form& { auto& f = a.form<tivelor::frmEditVS>(); f.Show(); return f; }},
    {"frmInitialize", [](App& a) -> Form& { auto& f = a.form<tivelor::frmInitialize>(); f.Show(); return f; }},
    {"frmGuessPars", [](App& a) -> Form& { auto& f = a.form<tivelor::frmGuessPars>(); f.Show(); return f; }},
    {"frmConvert", [](App& a) -> Form& { auto& f = a.form<tivelor::frmConvert>(); f.Show(); return f; }},
    {"frmSimplex", [](App& a) -> Form& {
         auto& f = a.form<tivelor::frmSimplex>();
         f.rtbSimplexInitial.Text = kReport;
         f.rtbSimplex.Text = kReport;
         f.Show();
         return f; }},
    {"frmMarquardt", [](App& a) -> Form& {
         auto& f = a.form<tivelor::frmMarquardt>();
         f.rtbMarquardt.Text = kReport;
         f.Show();
         return f; }},
};

QString PlainText(QWidget* w) {
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* e = qobject_cast<QPlainTextEdit*>(w)) return e->toPlainText();
    return {};
}

}  // namespace

// Checks that every control's widget shows what the control holds.
void qttest::ExpectMirrors(qt::QtBackend& b, const Form& f) {
    QWidget* win = b.Window(f);
    ASSERT_NE(win, nullptr) << f.name;
    EXPECT_TRUE(win->isVisible()) << f.name;
    EXPECT_EQ(win->windowTitle(), ToQt(f.Caption));
    for (Control* c : f.Controls()) {
        SCOPED_TRACE(c->Path());
        if (c->kind == ControlKind::Menu) {
            QAction* a = b.Action(static_cast<Menu&>(*c));
            ASSERT_NE(a, nullptr);
            if (!static_cast<Menu&>(*c).IsSeparator()) {
                EXPECT_EQ(a->text(), ToQt(c->ShownText()));
            }
            EXPECT_EQ(a->isVisible(), c->Visible());
            if (c->Visible()) {   // hidden actions read disabled
                EXPECT_EQ(a->isEnabled(), c->Enabled());
            }
            continue;
        }
        QWidget* w = b.Widget(*c);
        if (c->kind == ControlKind::CommonDialog) {
            EXPECT_EQ(w, nullptr);
            continue;
        }
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->isEnabled(), c->Enabled() && (!c->container || c->container->Enabled()));
        EXPECT_EQ(w->isVisibleTo(win), c->Visible());
        switch (c->kind) {
            case ControlKind::CommandButton:
            case ControlKind::CheckBox:
            case ControlKind::OptionButton:
                EXPECT_EQ(qobject_cast<QAbstractButton*>(w)->text(), ToQt(c->ShownText()));
                break;
            case ControlKind::Frame: EXPECT_EQ(qobject_cast<QGroupBox*>(w)->title(), ToQt(c->ShownText())); break;
            case ControlKind::Label:
                EXPECT_EQ(qobject_cast<QLabel*>(w)->text(), qt::WithoutMnemonic(ToQtLines(c->ShownText())));
                break;
            case ControlKind::TextBox: EXPECT_EQ(PlainText(w), ToQtLines(c->ShownText())); break;
            case ControlKind::RichTextBox: {
                auto* e = qobject_cast<QPlainTextEdit*>(w);
                EXPECT_EQ(e->toPlainText(), ToQtLines(c->ShownText()));
                EXPECT_EQ(e->lineWrapMode(), QPlainTextEdit::NoWrap);
                if (c->FontName() == "Courier New") {
                    EXPECT_TRUE(QFontInfo(e->font()).fixedPitch());
                }
                break;
            }
            case ControlKind::StatusBar: {
                auto& s = static_cast<StatusBar&>(*c);
                auto labels = w->findChildren<QLabel*>();
                ASSERT_EQ(static_cast<int>(labels.size()), s.PanelCount());
                for (int i = 0; i < s.PanelCount(); ++i) EXPECT_EQ(labels[i]->text(), ToQt(s.Panel(i + 1)));
                break;
            }
            case ControlKind::FlexGrid: {
                auto& g = static_cast<FlexGrid&>(*c);
                auto* t = qobject_cast<QTableWidget*>(w);
                ASSERT_EQ(t->rowCount(), g.Rows());
                ASSERT_EQ(t->columnCount(), g.Cols());
                for (int r = 0; r < g.Rows(); ++r)
                    for (int k = 0; k < g.Cols(); ++k)
                        EXPECT_EQ(t->item(r, k)->text(), ToQt(g.TextMatrix(r, k))) << r << "," << k;
                break;
            }
            case ControlKind::ComboBox:
            case ControlKind::ListBox: {
                auto& l = static_cast<ListControl&>(*c);
                auto* combo = qobject_cast<QComboBox*>(w);
                auto* list = qobject_cast<QListWidget*>(w);
                int count = combo ? combo->count() : list->count();
                ASSERT_EQ(count, l.ListCount());
                for (int i = 0; i < count; ++i)
                    EXPECT_EQ(combo ? combo->itemText(i) : list->item(i)->text(), ToQt(l.List(i)));
                EXPECT_EQ(combo ? combo->currentIndex() : list->currentRow(), l.ListIndex());
                break;
            }
            default: break;
        }
    }
}

TEST(QtWindows, StartShowsCreditsThenItsOkOpensTheFrameWithMenusAndStatusBars) {
    qttest::Desktop d;
    d.backend.Deliver([&] { d.app->Start(); });
    qttest::Settle();
    auto& credits = d.app->form<tivelor::frmCredits>();
    qttest::ExpectMirrors(d.backend, credits);
    EXPECT_TRUE(qttest::Grab(d.backend.Window(credits), "start_frmCredits"));

    qobject_cast<QAbstractButton*>(d.backend.Widget(credits.cmdOK))->click();
    qttest::Settle();
    ASSERT_FALSE(d.app->IsLoaded<tivelor::frmCredits>());
    auto& main = d.app->form<tivelor::frmMain>();
    QMainWindow* frame = d.backend.Frame();
    ASSERT_EQ(frame, d.backend.Window(main));
    EXPECT_TRUE(frame->isVisible());
    QStringList bar;
    for (QAction* a : frame->menuBar()->actions())
        if (a->isVisible()) bar << a->text();
    EXPECT_EQ(bar, QStringList({"&Application", "&Window", "&Defaults etc.", "&Wisdom", "&About"}));
    EXPECT_EQ(d.backend.Action(main.mnuExit)->shortcut(), QKeySequence("Ctrl+X"));
    EXPECT_EQ(frame->findChildren<QStatusBar*>().size(), 6);

    main.stbMain5.SetPanel(1, "Building initial simplex...");
    main.stbMain1.SetPanel(1, "Algorithm file: /tmp/x.alg");
    auto& menu = d.app->form<tivelor::frmMenu>();
    qttest::ExpectMirrors(d.backend, main);
    qttest::ExpectMirrors(d.backend, menu);
    EXPECT_EQ(static_cast<QWidget*>(d.backend.MdiArea()->activeSubWindow()), d.backend.Window(menu));
    EXPECT_TRUE(qttest::Grab(frame, "start_frmMain"));

    // The Window menu lists the open child windows.
    QMenu* window = d.backend.Action(main.mnuWindow)->menu();
    ASSERT_NE(window, nullptr);
    window->popup(frame->mapToGlobal(QPoint(40, 20)));
    qttest::Settle();
    QStringList items;
    for (QAction* a : window->actions()) items << a->text();
    EXPECT_TRUE(items.contains("&1 Main menu")) << items.join(",").toStdString();
    EXPECT_TRUE(qttest::Grab(window, "start_window_menu"));
    window->hide();
}

TEST(QtWindows, EveryWindowMirrorsItsControls) {
    qttest::Desktop d;
    d.backend.Deliver([&] { d.app->form<tivelor::frmMain>(); });
    for (const WindowCase& w : kWindows) {
        SCOPED_TRACE(w.name);
        Form* form = nullptr;
        d.backend.Deliver([&] { form = &w.open(*d.app); });
        qttest::Settle();
        ASSERT_NE(form, nullptr);
        qttest::ExpectMirrors(d.backend, *form);
        EXPECT_TRUE(qttest::Grab(d.backend.Window(*form), w.name));
        if (form->kind == FormKind::MdiChild) qttest::Grab(d.backend.Frame(), std::string(w.name) + "_in_frame");
        if (form->kind != FormKind::MdiParent) d.backend.Deliver([&] { form->Unload(); });
        qttest::Settle();
    }
}
