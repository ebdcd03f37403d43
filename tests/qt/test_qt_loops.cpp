// Nested loops (modal forms, message and input boxes), DoEvents, End, the
// close box and disabled forms on the Qt back end.
#include <gtest/gtest.h>

#include <QFile>
#include <QInputDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest/QTest>
#include <chrono>

#include "QtTestSupport.h"
#include "uncertainty/Randomizations.h"
#include "uncertainty/frmAbort.h"
#include "windows/InfoWindows.h"
#include "windows/frmMain.h"
#include "shell/frmMenu.h"

namespace {

using namespace platform;

class frmAsk : public Form {
public:
    static constexpr const char* kName = "frmAsk";
    explicit frmAsk(Ui& ui) : Form(ui, kName, "Pick", FormKind::TopLevel, 3000, 1500) {
        cmdOK.OnClick = [this] {
            answer = 42;
            Unload();   // from inside its own handler
        };
    }
    CommandButton cmdOK{*this, "cmdOK", "OK", 900, 600, 1200, 375};
    int answer = 0;
};

QPushButton* Button(qttest::Desktop& d, frmAsk& f) { return qobject_cast<QPushButton*>(d.backend.Widget(f.cmdOK)); }

}  // namespace

TEST(QtLoops, MessageAndInputBoxesReturnTheAnswerOfTheirButtons) {
    qttest::Desktop d;
    Ui& ui = d.session.ui;
    const struct {
        int style;
        std::function<void(QWidget*)> act;
        int answer;
    } cases[] = {
        {36, [](QWidget* w) { qobject_cast<QMessageBox*>(w)->button(QMessageBox::No)->click(); }, vbNo},
        {35, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }, vbCancel},
        {vbYesNo, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }, vbNo},
        {292, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }, vbNo},   // No is the default
    };
    for (const auto& c : cases) {
        qttest::WhenModal(c.act);
        EXPECT_EQ(ui.MsgBox("Quit?", c.style, "Exit"), c.answer) << c.style;
    }
    qttest::WhenModal([](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        EXPECT_EQ(box->windowTitle() + "|" + box->text(), "Done|Line one\nLine two");
        EXPECT_EQ(box->icon(), QMessageBox::Information);
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(ui.MsgBox("Line one\r\nLine two", 64, "Done"), vbOK);

    qttest::WhenModal([](QWidget* w) {
        auto* dlg = qobject_cast<QInputDialog*>(w);
        dlg->setTextValue(dlg->textValue() + ".5");
        dlg->accept();
    });
    EXPECT_EQ(ui.InputBox("Grid factor", "Grid", "1"), "1.5");
    qttest::WhenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    EXPECT_EQ(ui.InputBox("Grid factor", "Grid", "1"), "");
    EXPECT_EQ(ui.DispatchDepth(), 0);
    EXPECT_EQ(qt::NameFilters("All (*.*)|*.*|Desc2|*.a;*.b"), QStringList({"All (*)", "Desc2 (*.a *.b)"}));
}

TEST(QtLoops, ModalFormRunsANestedLoopUntilItsHandlerUnloadsIt) {
    qttest::Desktop d;
    frmAsk* ask = nullptr;
    QPointer<QWidget> window;
    qttest::WhenModal([&](QWidget*) {
        window = d.backend.Window(*ask);
        Button(d, *ask)->click();
    });
    d.backend.Deliver([&] {
        ask = &d.session.ui.forms.Get<frmAsk>(d.session.ui);
        ask->Show(vbModal);
        EXPECT_TRUE(ask->answer == 42 && ask->IsUnloaded());   // readable until the handler ends
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(50);
        while (std::chrono::steady_clock::now() < until) d.session.ui.DoEvents();
        EXPECT_TRUE(window);   // deleted only once no handler runs
    });
    EXPECT_FALSE(d.session.ui.forms.IsLoaded("frmAsk"));
    qttest::Settle();
    EXPECT_FALSE(window);
}

// A storm of DoEvents in an inner loop still lets the user act (its cost is
// measured in bench/bench_qt_loops).
TEST(QtLoops, DoEventsStormLetsAClickThrough) {
    qttest::Desktop d;
    Ui& ui = d.session.ui;
    for (int i = 0; i < 1000000; ++i) ui.DoEvents();

    frmAsk* ask = nullptr;
    d.backend.Deliver([&] { (ask = &ui.forms.Get<frmAsk>(ui))->Show(); });
    QTimer::singleShot(30, [&] { Button(d, *ask)->click(); });
    d.backend.Deliver([&] {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (ask->answer != 42 && std::chrono::steady_clock::now() < until) ui.DoEvents();
        EXPECT_EQ(ask->answer, 42);   // the unloaded form is freed when this handler ends
    });
    EXPECT_FALSE(ui.forms.IsLoaded("frmAsk"));
}

namespace {

// Rejections in a row, as a run with a wide covariance file meets them: from
// round 50 every round asks whether to stop. onBox acts as the user on each
// new box, given the box's round; the round at which the run stopped comes
// back.
int RunRejections(qttest::Desktop& d, const std::function<void(QMessageBox*, int)>& onBox) {
    tivelor::App& app = *d.app;
    int rounds = 0;
    QPointer<QMessageBox> seen;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box == seen) return;
        seen = box;
        onBox(box, box->windowTitle().split(QLatin1Char(' '))[1].toInt());
    });
    user.start(5);
    d.backend.Deliver([&] {
        tivelor::AbortWatch watch(app);
        watch.Begin(true);
        for (rounds = 1; rounds <= 80; ++rounds) {
            for (int k = 0; k < 400; ++k) app.ui.DoEvents();
            if (rounds >= 50 && tivelor::RejectAndAskStop(app, watch, rounds)) break;
        }
    });
    return rounds;
}

}  // namespace

// The user answers the first box No and clicks Abort 50 ms later, through
// the window system. The next round's box would be up by then and hold the
// abort window; it waits for the click, which stops the run before it opens.
TEST(QtLoops, AClickOnAbortRightAfterAMessageBoxStopsTheRunWithNoMoreBoxes) {
    qttest::Desktop d;
    d.Start();
    tivelor::App& app = *d.app;
    int boxes = 0;
    const int stopped = RunRejections(d, [&](QMessageBox* box, int) {
        box->button(QMessageBox::No)->click();
        if (++boxes > 1) return;
        QTimer::singleShot(50, [&] {
            auto* button = qobject_cast<QAbstractButton*>(d.backend.Widget(app.form<tivelor::frmAbort>().cmdAbort));
            QTest::mouseClick(button->window()->windowHandle(), Qt::LeftButton, {},
                              button->mapTo(button->window(), button->rect().center()));
        });
    });
    EXPECT_EQ(stopped, 51);
    EXPECT_EQ(boxes, 1);
    EXPECT_FALSE(app.IsLoaded<tivelor::frmAbort>());
}

// The user answers the first box No and types n 110 ms later, before the
// next box is up: the key answers that box, and the run goes on to the one
// after, which the user answers Yes.
TEST(QtLoops, AKeyTypedBeforeTheNextBoxOpensAnswersIt) {
    qttest::Desktop d;
    d.Start();
    const int stopped = RunRejections(d, [&](QMessageBox* box, int round) {
        if (round == 50) {
            box->button(QMessageBox::No)->click();
            QTimer::singleShot(110, [&] {
                QWindow* w = QGuiApplication::focusWindow();
                QTest::keyClick(w ? w : d.backend.Frame()->windowHandle(), Qt::Key_N);
            });
        } else if (round == 51) {   // the key did not come: stop here
            QTimer::singleShot(250, box, [box] { box->button(QMessageBox::Yes)->click(); });
        } else {
            box->button(QMessageBox::Yes)->click();
        }
    });
    EXPECT_EQ(stopped, 52);
}

TEST(QtLoops, EndClosesTheFilesAndLeavesAtOnce) {
    ::testing::GTEST_FLAG(death_test_style) = "threadsafe";   // Qt runs threads: re-run, not fork
    qttest::Desktop d;
    std::string path = TIVELOR_BINARY_DIR "/qt-end-test.tvl";   // the same in the re-run
    QFile::remove(QString::fromStdString(path));
    EXPECT_EXIT(
        {
            d.session.ui.files.Open(203, path, FileMode::Output);
            d.session.ui.files.Print(203, "last line");
            d.backend.Deliver([&] { d.session.ui.End(); });
            std::_Exit(3);   // not reached
        },
        ::testing::ExitedWithCode(0), "");
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "last line\r\n");
    file.remove();
}

TEST(QtLoops, FrameCloseAsksToQuitAndInformationWindowsDisableTheFrame) {
    qttest::Desktop d;
    auto& app = *d.app;
    tivelor::frmMain* main = nullptr;
    d.backend.Deliver([&] { main = &app.form<tivelor::frmMain>(); });
    qttest::Settle();
    QWidget* frame = d.backend.Window(*main);
    qttest::WhenModal([](QWidget* w) { qobject_cast<QMessageBox*>(w)->button(QMessageBox::No)->click(); });
    frame->close();
    EXPECT_TRUE(app.IsLoaded<tivelor::frmMain>() && frame->isVisible());
    d.backend.Deliver([&] { main->mnuWisdom.Click(); });
    qttest::Settle();
    QWidget* menuWindow = d.backend.Window(app.form<tivelor::frmMenu>());
    EXPECT_TRUE(d.backend.InputBlocked(frame) && d.backend.InputBlocked(menuWindow) &&
                d.backend.InputBlocked(d.backend.Action(main->mnuExit)));
    QWidget* ok = d.backend.Widget(app.form<tivelor::frmWisdom>().cmdOK);
    EXPECT_FALSE(d.backend.InputBlocked(ok));
    qobject_cast<QPushButton*>(ok)->click();
    EXPECT_FALSE(d.backend.InputBlocked(menuWindow));
}
