// The program on the Qt back end, driven with the mouse and the keyboard as a
// user drives it: what reaches the handlers, which window stays where.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QWindow>
#include <QtTest/QTest>
#include <cmath>
#include <cstdlib>

#include "QtTestSupport.h"
#include "engine/Parameters.h"
#include "priors/frmPriorDists.h"
#include "shell/AlgoEditor.h"
#include "windows/InfoWindows.h"
#include "shell/frmAlgo.h"
#include "shell/frmEditVS.h"
#include "windows/frmMain.h"
#include "shell/frmMenu.h"

namespace {

using namespace platform;
using tivelor::App;


QTableWidget* Grid(qttest::Desktop& d, tivelor::frmAlgo& algo) {
    return qobject_cast<QTableWidget*>(d.backend.Widget(algo.grdVS));
}

}  // namespace

// A click in the tolerance box is the only way to change the tolerance: it
// asks for the type, then for the value.
TEST(QtDesktop, AClickInTheToleranceBoxOpensItsDialog) {
    qttest::Desktop d;
    d.Start();
    tivelor::frmAlgo& algo = qttest::OpenEditor(d, 3);
    d.app->eng.opt.ConvTol = 1E-05;
    QString asked;
    qttest::WhenModal<QMessageBox>([&](QMessageBox* box) {
        asked = box->windowTitle();
        qttest::WhenModal<QInputDialog>([](QInputDialog* in) {
            in->setTextValue("0.002");
            in->accept();
        });
        box->button(QMessageBox::Yes)->click();   // absolute becomes relative
    });
    auto* box = qobject_cast<QLineEdit*>(d.backend.Widget(algo.txtAbsRel));
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
    qttest::Settle();
    EXPECT_EQ(asked, "Change the tolerance for convergence");
    EXPECT_DOUBLE_EQ(d.app->eng.opt.ConvTol, -0.002);
    EXPECT_EQ(box->text(), "2.000E-03");
    EXPECT_EQ(algo.lblAbsRel.Caption(), "Relative tolerance for convergence (TC):");
}

// The editor laid over a cell has the entry selected, so what the user
// types replaces it; the commit stores the typed number.
TEST(QtDesktop, TypingIntoTheCellEditorReplacesTheEntry) {
    qttest::Desktop d;
    d.Start();
    tivelor::frmAlgo& algo = qttest::OpenEditor(d, 3);
    QTableWidget* grid = Grid(d, algo);
    QPoint cell = grid->visualItemRect(grid->item(2, 1)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
    qttest::Settle();
    ASSERT_TRUE(algo.txtValue.Visible());
    auto* edit = qobject_cast<QLineEdit*>(d.backend.Widget(algo.txtValue));
    EXPECT_EQ(edit->text(), "0.5");
    EXPECT_EQ(edit->selectedText(), "0.5");
    EXPECT_EQ(algo.txtValue.SelStart() * 10 + algo.txtValue.SelLength(), 3);
    QTest::keyClicks(edit, "2.5");
    EXPECT_EQ(algo.txtValue.Text(), "2.5");
    d.backend.Deliver([&] { algo.CommitPendingEdit(); });
    EXPECT_DOUBLE_EQ(d.app->eng.par.ParValue(2), 2.5);
    EXPECT_DOUBLE_EQ(d.app->eng.par.StepSize(2), 0.25);   // StepProp 0.1 of the new value
    EXPECT_EQ(algo.grdVS.TextMatrix(2, 1), "2.5000E+00");

    // A selection made by the user is what the text box reports.
    edit->setText("12345");
    edit->setSelection(1, 3);
    EXPECT_EQ(algo.txtValue.SelStart() * 10 + algo.txtValue.SelLength(), 13);
}

// The heading row stays in view above the rows scrolled by; a double-click
// on a column heading still starts that column's operation.
TEST(QtDesktop, TheHeadingRowStaysInViewWhenTheGridScrolls) {
    qttest::Desktop d;
    d.Start();
    tivelor::frmAlgo& algo = qttest::OpenEditor(d, 40);
    QTableWidget* grid = Grid(d, algo);
    QHeaderView* head = grid->horizontalHeader();
    ASSERT_TRUE(head->isVisible());
    EXPECT_EQ(head->model()->headerData(1, Qt::Horizontal).toString(), "Value");
    EXPECT_EQ(head->model()->headerData(4, Qt::Horizontal).toString(),
              "Parameter description [null value; valid values]");
    EXPECT_TRUE(grid->isRowHidden(0));
    EXPECT_EQ(head->geometry().bottom() + 1, grid->viewport()->geometry().top());   // no gap under it
    EXPECT_EQ(head->height(), grid->rowHeight(1));

    d.backend.Deliver([&] { algo.grdVS.TopRow = 15; });
    EXPECT_EQ(grid->rowAt(1), 15);   // the first row under the heading
    grid->verticalScrollBar()->setValue(6);   // the user scrolls
    EXPECT_EQ(algo.grdVS.TopRow(), 7);
    EXPECT_EQ(grid->rowAt(1), 7);
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->minimum());
    EXPECT_EQ(algo.grdVS.TopRow(), 1);   // never the hidden heading row
    EXPECT_EQ(grid->rowAt(1), 1);

    // A click on a heading moves no current cell; a double-click edits the column.
    d.backend.Deliver([&] {
        algo.grdVS.Row = 4;
        algo.grdVS.Col = 2;
    });
    QPoint value(head->sectionViewportPosition(1) + head->sectionSize(1) / 2, head->height() / 2);
    QTest::mouseClick(head->viewport(), Qt::LeftButton, {}, value);
    EXPECT_EQ(algo.grdVS.Row() * 10 + algo.grdVS.Col(), 42);
    EXPECT_EQ(algo.grdVS.MouseRow * 10 + algo.grdVS.MouseCol, 1);
    EXPECT_FALSE(d.session.ui.forms.IsLoaded(tivelor::frmEditVS::kName));
    QTest::mouseDClick(head->viewport(), Qt::LeftButton, {}, value);
    qttest::Settle();
    EXPECT_TRUE(d.session.ui.forms.IsLoaded(tivelor::frmEditVS::kName));
    EXPECT_EQ(algo.grdVS.TopRow(), 1);

    // A grid whose rows all fit has nothing to scroll.
    d.backend.Deliver([&] { d.app->form<tivelor::frmEditVS>().Unload(); });
    qttest::WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); });
    d.backend.Deliver([&] { algo.Unload(); });
    tivelor::frmAlgo& small = qttest::OpenEditor(d, 3);
    EXPECT_EQ(Grid(d, small)->verticalScrollBar()->maximum(), Grid(d, small)->verticalScrollBar()->minimum());
    EXPECT_FALSE(Grid(d, small)->verticalScrollBar()->isVisible());
}

// The information windows opened from the menus belong to the frame, so
// the window manager keeps them above it while it is disabled.
TEST(QtDesktop, InformationWindowsBelongToTheFrame) {
    qttest::Desktop d;
    d.Start();
    auto& main = d.app->form<tivelor::frmMain>();
    for (Menu* item : {&main.mnuCredits, &main.mnuDefaultNames, &main.mnuWisdom}) {
        SCOPED_TRACE(item->name);
        d.backend.Action(*item)->trigger();
        qttest::Settle();
        EXPECT_FALSE(main.Enabled());
        Form* info = nullptr;
        for (Form* f : d.session.ui.forms.Loaded())
            if (f != &main && f->kind == FormKind::TopLevel && f->Visible()) info = f;
        ASSERT_NE(info, nullptr);
        QWidget* win = d.backend.Window(*info);
        EXPECT_EQ(win->parentWidget(), d.backend.Frame());
        EXPECT_TRUE(win->isWindow());
        EXPECT_EQ(win->windowType(), Qt::Dialog);   // what window managers keep above its owner
        ASSERT_NE(win->windowHandle(), nullptr);
        EXPECT_EQ(win->windowHandle()->transientParent(), d.backend.Frame()->windowHandle());
        // A click on the disabled frame brings the window in charge forward.
        d.backend.Frame()->activateWindow();
        QApplication::setActiveWindow(d.backend.Frame());
        qttest::Settle();
        QTest::mouseClick(d.backend.MdiArea()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        qttest::Settle();
        EXPECT_EQ(QApplication::activeWindow(), win);
        qobject_cast<QPushButton*>(d.backend.Widget(*info->FindControl("cmdOK")))->click();
        qttest::Settle();
        EXPECT_TRUE(main.Enabled());
    }
}

// While a task is in charge (its input scope open), a window shown before it
// looks as it acts: its controls and menu items greyed, its close box
// refused, and a click on it brings the task's window forward. It comes back
// when the task ends.
TEST(QtDesktop, AWindowOutsideTheTaskIsGreyedAndKeepsItsCloseBox) {
    qttest::Desktop d;
    d.Start();
    tivelor::frmAlgo& algo = qttest::OpenEditor(d, 3);   // shown before the task
    QPointer<QWidget> finish = d.backend.Widget(algo.cmdFinish);
    ASSERT_TRUE(finish && finish->isEnabled());
    auto& menu = d.app->form<tivelor::frmMenu>();
    d.backend.Deliver([&] {
        d.session.ui.forms.OpenInputScope();
        menu.Show();   // the task's window
    });
    qttest::Settle();
    ASSERT_TRUE(finish);
    EXPECT_FALSE(finish->isEnabled());
    EXPECT_FALSE(d.backend.Action(algo.mnuEdit)->isEnabled());
    EXPECT_TRUE(d.backend.Widget(menu.cmdInitialize)->isEnabled());
    if (std::getenv("TIVELOR_GRAB")) qttest::Grab(d.backend.Frame(), "outside-the-task");
    QWidget* editor = d.backend.Window(algo);
    editor->close();
    qttest::Settle();
    EXPECT_TRUE(d.session.ui.forms.IsLoaded(tivelor::frmAlgo::kName));
    d.backend.MdiArea()->setActiveSubWindow(static_cast<QMdiSubWindow*>(editor));
    QTest::mouseClick(finish, Qt::LeftButton);
    qttest::Settle();
    EXPECT_EQ(d.backend.MdiArea()->activeSubWindow(), d.backend.Window(menu));
    EXPECT_TRUE(d.session.ui.forms.IsLoaded(tivelor::frmAlgo::kName));
    d.backend.Deliver([&] { d.session.ui.forms.CloseInputScope(); });
    EXPECT_TRUE(finish->isEnabled());
    EXPECT_TRUE(d.backend.Action(algo.mnuEdit)->isEnabled());
}

// Cascade staggers the child windows by a title bar, each keeping its size,
// the active one last.
TEST(QtDesktop, CascadeKeepsTheSizeOfEveryWindow) {
    qttest::Desktop d;
    d.Start();
    tivelor::frmAlgo& algo = qttest::OpenEditor(d, 3);
    d.backend.Deliver([&] { d.app->form<tivelor::frmMenu>().Show(); });
    qttest::Settle();
    QList<QMdiSubWindow*> open;
    for (QMdiSubWindow* s : d.backend.MdiArea()->subWindowList())
        if (s->isVisible()) open.push_back(s);
    ASSERT_EQ(open.size(), 2);
    std::vector<QSize> before;
    for (QMdiSubWindow* s : open) before.push_back(s->size());
    d.backend.Action(algo.mnuCascade)->trigger();   // the editor's own Window menu
    qttest::Settle();
    for (int i = 0; i < 2; ++i) EXPECT_EQ(open[i]->size(), before[static_cast<std::size_t>(i)]);
    QMdiSubWindow* active = d.backend.MdiArea()->currentSubWindow();
    QMdiSubWindow* other = open[0] == active ? open[1] : open[0];
    EXPECT_EQ(other->pos(), QPoint(0, 0));
    EXPECT_GT(active->pos().x(), 0);
    EXPECT_EQ(active->pos().x(), active->pos().y());
}

// When the active child window closes (the prior statistics over the
// editor), the one active before it takes over, with its menus, also when
// another child window stands beside them.
TEST(QtDesktop, ClosingTheActiveChildWindowActivatesTheOneBeforeIt) {
    qttest::Desktop d;
    d.Start();
    tivelor::frmAlgo& algo = qttest::OpenEditor(d, 3);
    auto& stats = d.app->form<tivelor::frmPriorDists>();
    d.backend.Deliver([&] {
        stats.Show();
        d.app->form<tivelor::frmMenu>().Show();   // after it in the frame's list
    });
    QMdiArea* mdi = d.backend.MdiArea();
    for (Form* f : {static_cast<Form*>(&algo), static_cast<Form*>(&stats)})
        mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(d.backend.Window(*f)));
    qttest::Settle();
    d.backend.Window(stats)->close();   // its close box
    qttest::Settle();
    EXPECT_EQ(mdi->currentSubWindow(), d.backend.Window(algo));
    EXPECT_EQ(d.backend.Frame()->menuBar()->actions().front(), d.backend.Action(*algo.TopMenus().front()));
}

// At start the main menu has the keyboard, and Alt+I presses "Initialize
// model" although two hidden Interrupt menus carry the same access key.
TEST(QtDesktop, TheAccessKeyOfAButtonIsNotShadowedByHiddenMenus) {
    qttest::Desktop d;
    d.Start();
    auto& menu = d.app->form<tivelor::frmMenu>();
    QWidget* frame = d.backend.Frame();
    frame->activateWindow();
    QApplication::setActiveWindow(frame);
    qttest::Settle();
    EXPECT_EQ(QApplication::focusWidget(), d.backend.Widget(menu.cmdInitialize));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_I, Qt::AltModifier);
    qttest::Settle(300);   // a key presses its button with a short animation
    ASSERT_TRUE(d.session.ui.forms.IsLoaded("frmInitialize"));

    // Cancel brings a new main menu back, which has the keyboard once the
    // frame is active again.
    Form& init = *d.session.ui.forms.Find("frmInitialize");
    QWidget* dialog = d.backend.Window(init);
    dialog->activateWindow();
    QApplication::setActiveWindow(dialog);
    qttest::Settle();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
    qttest::Settle(300);
    ASSERT_FALSE(d.session.ui.forms.IsLoaded("frmInitialize"));
    frame->activateWindow();
    QApplication::setActiveWindow(frame);
    qttest::Settle();
    auto& again = d.app->form<tivelor::frmMenu>();
    EXPECT_EQ(QApplication::focusWidget(), d.backend.Widget(again.cmdInitialize));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_I, Qt::AltModifier);
    qttest::Settle(300);
    EXPECT_TRUE(d.session.ui.forms.IsLoaded("frmInitialize"));
}

// Enter on a focused button, and Escape with a cancel button, take the
// platform's key path: the credits' OK closes them either way.
TEST(QtDesktop, EnterOnAFocusedButtonOrEscapeClicksIt) {
    for (const bool escape : {false, true}) {
        qttest::Desktop d;
        d.backend.Deliver([&] { d.app->Start(); });
        qttest::Settle();
        tivelor::frmCredits& credits = d.app->form<tivelor::frmCredits>();
        credits.cmdOK.Cancel = escape;
        QWidget* ok = d.backend.Widget(credits.cmdOK);
        ok->window()->activateWindow();
        ok->setFocus();
        QTest::keyClick(ok, escape ? Qt::Key_Escape : Qt::Key_Return);
        qttest::Settle();
        EXPECT_EQ(d.app->ui.forms.Find(tivelor::frmCredits::kName), nullptr) << (escape ? "Escape" : "Enter");
    }
}
