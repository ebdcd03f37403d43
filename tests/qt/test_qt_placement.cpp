// Where windows and boxes open on the Qt back end: the abort window behind
// the others, message boxes, input boxes, windows of their own and the file
// dialog's overwrite question as wide as their titles, the cell editor over a scrolled grid's cell, and the
// main menu after a maximized child window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QtTest/QTest>

#include "QtTestSupport.h"
#include "engine/Parameters.h"
#include "model/frmConvert.h"
#include "model/frmGuessPars.h"
#include "platform/qt/Convert.h"
#include "platform/qt/FormView.h"
#include "shell/AlgoEditor.h"
#include "shell/frmAlgo.h"
#include "shell/frmMenu.h"
#include "uncertainty/frmAbort.h"
#include "uncertainty/frmRange.h"
#include "windows/frmMain.h"

namespace {

using namespace platform;
using platform::qt::Px;

// The room a whole title takes: its text in the bold title-bar font, with at
// least three title-bar buttons beside it.
int TitleNeed(const QWidget& w) {
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const int bar = w.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &w);
    return QFontMetrics(font).horizontalAdvance(w.windowTitle()) + 3 * bar;
}

// A form with a file dialog.
class frmFiles : public Form {
public:
    static constexpr const char* kName = "frmFiles";
    explicit frmFiles(Ui& ui) : Form(ui, kName, "Files", FormKind::TopLevel, 3000, 1500) {}
    CommonDialog dialog{*this, "dialog"};
};

}  // namespace

// The abort window opens behind the others without taking the keyboard from
// the window in use; one click on its button, while the run yields, stops it.
TEST(QtPlacement, TheAbortWindowOpensBehindAndStopsAtOneClick) {
    qttest::Desktop d;
    d.Start();
    tivelor::App& app = *d.app;
    QWidget* frame = d.backend.Frame();
    frame->activateWindow();
    qttest::Settle();
    int rounds = 0;
    bool stopped = false;
    QWidget* window = nullptr;
    d.backend.Deliver([&] {
        tivelor::AbortWatch watch(app);
        watch.Begin(true);
        auto& abort = app.form<tivelor::frmAbort>();
        for (rounds = 1; rounds <= 100000 && watch.GoOn({}); ++rounds) {
            for (int k = 0; k < 400; ++k) app.ui.DoEvents();
            if (rounds == 50) {
                window = d.backend.Window(abort);
                ASSERT_TRUE(window && window->isVisible());
                EXPECT_TRUE(window->testAttribute(Qt::WA_ShowWithoutActivating));
                if (QGuiApplication::platformName() != "offscreen") {   // which activates every window shown
                    EXPECT_NE(QApplication::activeWindow(), window);
                }
                qttest::Grab(window, "placement_frmAbort");
                auto* button = qobject_cast<QAbstractButton*>(d.backend.Widget(abort.cmdAbort));
                QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
            }
        }
        stopped = !watch.GoOn({});
    });
    EXPECT_TRUE(stopped);
    EXPECT_EQ(rounds, 51);   // the click counts at the end of the round it falls in
    EXPECT_FALSE(app.IsLoaded<tivelor::frmAbort>());
}

// A message box shows its whole title, however short its text.
TEST(QtPlacement, AMessageBoxIsAsWideAsItsTitle) {
    qttest::Desktop d;
    d.Start();
    for (const char* title : {"Save Bayesian priors", "Randomization 31999 rejected",
                              "Can't do reliable randomizations - possibly too few species collected"}) {
        SCOPED_TRACE(title);
        int width = 0, need = 0;
        qttest::WhenModal<QMessageBox>([&](QMessageBox* box) {
            need = TitleNeed(*box);
            width = box->width();
            qttest::Grab(box, std::string("placement_msgbox_") + std::to_string(box->windowTitle().size()));
            box->button(QMessageBox::Ok)->click();
        });
        d.session.ui.MsgBox("Saved.", 64, title);
        EXPECT_GE(width, need);
    }
}

// An input box shows its whole title, however short its prompt.
TEST(QtPlacement, AnInputBoxIsAsWideAsItsTitle) {
    qttest::Desktop d;
    d.Start();
    for (const char* title : {"ML parameter estimate evaluation", "Bayesian parameter estimate evaluation",
                              "Gaussian (i.e., Normal)"}) {
        SCOPED_TRACE(title);
        int width = 0, need = 0;
        qttest::WhenModal<QInputDialog>([&](QInputDialog* dlg) {
            need = TitleNeed(*dlg);
            width = dlg->width();
            qttest::Grab(dlg, std::string("placement_inputbox_") + std::to_string(dlg->windowTitle().size()));
            dlg->reject();
        });
        d.session.ui.InputBox("Choose a parameter #", title, "1");
        EXPECT_GE(width, need);
    }
}

// A window of its own whose caption is wider than the form is widened just
// enough to show it; its controls stay where the form puts them, and the
// form keeps its size.
TEST(QtPlacement, AWindowOfItsOwnShowsItsWholeCaption) {
    qttest::Desktop d;
    d.Start();
    tivelor::App& app = *d.app;
    d.app->model.NSpp = 12;
    const std::vector<std::pair<const char*, std::function<Form&()>>> forms = {
        {"frmConvert", [&]() -> Form& { return app.form<tivelor::frmConvert>(); }},
        {"frmRange", [&]() -> Form& { return app.form<tivelor::frmRange>(); }},
        {"frmAbort", [&]() -> Form& { return app.form<tivelor::frmAbort>(); }},
        {"frmGuessPars", [&]() -> Form& { return app.form<tivelor::frmGuessPars>(); }},
    };
    for (const auto& [name, load] : forms) {
        SCOPED_TRACE(name);
        Form* form = nullptr;
        int formWidth = 0;
        d.backend.Deliver([&] {
            form = &load();
            formWidth = form->Width;
            form->Show();
        });
        qttest::Settle();
        QWidget* win = d.backend.Window(*form);
        ASSERT_TRUE(win && win->isVisible());
        EXPECT_GE(win->width(), TitleNeed(*win));
        EXPECT_GT(win->width(), Px(form->ScaleWidth()));   // each of these needs it
        EXPECT_EQ(win->width(), qt::TitleWidth(*win, win->windowTitle()));   // and gets no more
        EXPECT_EQ(form->Width(), formWidth);
        for (Control* c : form->Controls()) {
            QWidget* w = d.backend.Widget(*c);
            if (!w || c->kind == ControlKind::StatusBar) continue;
            SCOPED_TRACE(c->name);
            EXPECT_EQ(w->geometry(), QRect(Px(c->Left), Px(c->Top), Px(c->Width), Px(c->Height)));
        }
        qttest::Grab(win, std::string("placement_caption_") + name);
        d.backend.Deliver([&] { form->Unload(); });
        qttest::Settle();
    }
}

// The save dialog's question whether to replace a file shows its whole title
// (the dialog's); No keeps the dialog open, Yes takes the file.
TEST(QtPlacement, TheOverwriteQuestionIsAsWideAsItsTitle) {
    qttest::Desktop d;
    d.Start();
    const QString folder = QStringLiteral(TIVELOR_BINARY_DIR "/qt-overwrite");
    QDir().mkpath(folder);
    QFile existing(folder + "/x.alg");
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    frmFiles* f = nullptr;
    d.backend.Deliver([&] { f = &d.session.ui.forms.Get<frmFiles>(d.session.ui); });
    f->dialog.DialogTitle = "Save algorithm data in...";
    f->dialog.Flags = cdlOFNOverwritePrompt;
    f->dialog.FileName = qt::FromQt(folder) + "/x.alg";
    std::vector<QString> asked;
    int width = 0, need = 0;
    bool stayed = false;
    // The user's answer to the question (the closures hold no reference to
    // another closure's captures: those go with their timers).
    auto answer = [pAsked = &asked, pNeed = &need, pWidth = &width](QMessageBox::StandardButton button) {
        qttest::WhenModal<QMessageBox>([=](QMessageBox* box) {
            pAsked->push_back(box->windowTitle() + "|" + box->text());
            *pNeed = TitleNeed(*box);
            *pWidth = box->width();
            qttest::Grab(box, "placement_overwrite_question");
            box->button(button)->click();
        });
    };
    qttest::WhenModal<QFileDialog>([answer, pStayed = &stayed](QFileDialog* dlg) {
        answer(QMessageBox::No);
        QMetaObject::invokeMethod(dlg, "accept", Qt::QueuedConnection);
        QTimer::singleShot(300, dlg, [answer, pStayed, dlg] {
            *pStayed = dlg->isVisible();   // No keeps the dialog open
            answer(QMessageBox::Yes);
            QMetaObject::invokeMethod(dlg, "accept", Qt::QueuedConnection);
        });
    });
    bool chosen = false;
    d.backend.Deliver([&] { chosen = f->dialog.ShowSave(); });
    EXPECT_TRUE(chosen);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(f->dialog.FileTitle, "x.alg");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], "Save algorithm data in...|x.alg already exists.\nDo you want to replace it?");
    EXPECT_GE(width, need);
    d.backend.Deliver([&] { f->Unload(); });
    QDir(folder).removeRecursively();
}

// Double-clicking a cell of the scrolled algorithm grid opens the editor
// over that cell, not over the row that would be there unscrolled.
TEST(QtPlacement, TheCellEditorOpensOverTheCellOfAScrolledGrid) {
    qttest::Desktop d;
    d.Start();
    tivelor::frmAlgo& algo = qttest::OpenEditor(d, 40);
    auto* grid = qobject_cast<QTableWidget*>(d.backend.Widget(algo.grdVS));
    grid->verticalScrollBar()->setValue(12);   // the user scrolls
    qttest::Settle();
    const int row = 16;
    for (int col : {1, 2}) {
        SCOPED_TRACE(col);
        const QRect cell = grid->visualItemRect(grid->item(row, col));
        ASSERT_TRUE(grid->viewport()->rect().contains(cell.center()));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        qttest::Settle();
        ASSERT_TRUE(algo.txtValue.Visible());
        EXPECT_EQ(algo.EditRow, row);
        auto* edit = qobject_cast<QLineEdit*>(d.backend.Widget(algo.txtValue));
        const QRect onScreen(grid->viewport()->mapToGlobal(cell.topLeft()), cell.size());
        const QRect box(edit->mapToGlobal(QPoint(0, 0)), edit->size());
        EXPECT_TRUE(box.contains(onScreen.center())) << box.y() << " " << onScreen.y();
        EXPECT_LE(std::abs(box.top() - onScreen.top()), 3);
        qttest::Grab(d.backend.Window(algo), "placement_cell_editor_" + std::to_string(col));
        QTest::keyClick(edit, Qt::Key_Escape);
        d.backend.Deliver([&] { algo.CommitPendingEdit(); });
        qttest::Settle();
    }
    // Scrolled by code past the last row it can show (as Edit all step sizes
    // does row by row): the grid stops with its last row at the bottom.
    d.backend.Deliver([&] { algo.grdVS.TopRow = 38; });
    qttest::Settle();
    const QRect last = grid->visualItemRect(grid->item(40, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, last.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, last.center());
    qttest::Settle();
    ASSERT_TRUE(algo.txtValue.Visible());
    auto* edit = qobject_cast<QLineEdit*>(d.backend.Widget(algo.txtValue));
    EXPECT_LE(std::abs(edit->mapToGlobal(QPoint(0, 0)).y() - grid->viewport()->mapToGlobal(last.topLeft()).y()), 3);
}

// A child window maximized by the user does not pass its state on: the main
// menu comes back at its place, in its own frame with its title bar.
TEST(QtPlacement, TheMainMenuComesBackInItsPlaceAfterAMaximizedWindow) {
    qttest::Desktop d;
    d.Start();
    d.backend.Deliver([&] {   // as Edit algorithm data hands over to the editor
        d.app->form<tivelor::frmMenu>().Unload();
        d.app->sw.AlgoFromMenu = "on";
    });
    tivelor::frmAlgo& algo = qttest::OpenEditor(d, 3);
    auto* editor = qobject_cast<QMdiSubWindow*>(d.backend.Window(algo));
    ASSERT_NE(editor, nullptr);
    editor->showMaximized();   // the user's maximize box
    qttest::Settle();
    qttest::WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); });
    d.backend.Deliver([&] { algo.Unload(); });   // brings the main menu back
    qttest::Settle();
    auto& menu = d.app->form<tivelor::frmMenu>();
    auto* sub = qobject_cast<QMdiSubWindow*>(d.backend.Window(menu));
    ASSERT_NE(sub, nullptr);
    EXPECT_FALSE(sub->isMaximized());
    EXPECT_EQ(sub->pos(), QPoint(Px(menu.Left), Px(menu.Top)));
    EXPECT_GT(sub->widget()->mapTo(sub, QPoint(0, 0)).y(), 0);   // a title bar above the client area
    qttest::Grab(d.backend.Frame(), "placement_menu_after_maximized");
}
