// Nested loops (modal forms, message and input boxes), DoEvents, End, the
// close box and disabled forms on the Qt back end.
#include <gtest/gtest.h>

#include <QFile>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest/QTest>
#include <chrono>

#include "QtTestSupport.h"
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

// Rejections in a row, as a run with a wide covariance file meets them: from
// round 50 every round asks whether to stop. The user answers the first box
// No and clicks Abort 50 ms later, through the window system, then answers
// the next box No. The next round's box would be up by then and hold the
// abort window, which the window system's click would not reach; it opens
// only after the click, which stops the run at the end of the round it falls
// in.
TEST(QtLoops, AClickOnAbortRightAfterAMessageBoxStopsTheRun) {
    qttest::Desktop d;
    d.Start();
    tivelor::App& app = *d.app;
    int rounds = 0, boxes = 0;
    bool stopped = false, clicked = false;
    QPointer<QMessageBox> answered;
    auto* user = new QTimer;
    QObject::connect(user, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box == answered || (boxes == 1 && !clicked)) return;   // the click first
        answered = box;
        box->button(QMessageBox::No)->click();
        if (++boxes > 1) return;
        QTimer::singleShot(50, [&] {   // through the window system, as the user's click comes
            auto* button = qobject_cast<QAbstractButton*>(d.backend.Widget(app.form<tivelor::frmAbort>().cmdAbort));
            QTest::mouseClick(button->window()->windowHandle(), Qt::LeftButton, {},
                              button->mapTo(button->window(), button->rect().center()));
            clicked = true;
        });
    });
    user->start(5);
    d.backend.Deliver([&] {
        tivelor::AbortWatch watch(app);
        watch.Begin(true);
        for (rounds = 1; rounds <= 80; ++rounds) {
            for (int k = 0; k < 400; ++k) app.ui.DoEvents();
            if (rounds >= 50 &&
                app.ShowMsg("The randomized value for species richness exceeded the program limit of 25000 "
                            "species!\r\n\r\nStop the randomizations?",
                            vbYesNo + vbInformation, "Randomization " + std::to_string(rounds) + " rejected") == vbYes)
                break;
            if (!watch.GoOn({})) {
                stopped = true;
                break;
            }
        }
    });
    delete user;
    EXPECT_TRUE(stopped);
    EXPECT_EQ(rounds, 51);
    EXPECT_EQ(boxes, 2);
    EXPECT_FALSE(app.IsLoaded<tivelor::frmAbort>());
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
