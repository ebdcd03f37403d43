// Nested loops (modal forms, message, input and file dialogs), DoEvents, the
// frame's close box and disabled forms on the Qt back end.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <chrono>

#include "QtTestSupport.h"
#include "shell/InfoWindows.h"
#include "shell/frmMain.h"
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

void ClickButton(QMessageBox::StandardButton which) {
    qttest::WhenModal([which](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w)) box->button(which)->click();
    });
}

void PressKey(Qt::Key key) {
    qttest::WhenModal([key](QWidget* w) { QTest::keyClick(w, key); });
}

}  // namespace

TEST(QtLoops, MessageBoxesAnswerWithTheButtonsOfTheirStyle) {
    qttest::Desktop d;
    Ui& ui = d.session.ui;
    ClickButton(QMessageBox::No);
    EXPECT_EQ(ui.MsgBox("Quit?", 36, "Exit"), vbNo);
    ClickButton(QMessageBox::Retry);
    EXPECT_EQ(ui.MsgBox("Disk", vbAbortRetryIgnore + vbCritical, "Disk"), vbRetry);
    PressKey(Qt::Key_Escape);
    EXPECT_EQ(ui.MsgBox("Save?", 35, "Save"), vbCancel);
    PressKey(Qt::Key_Escape);
    EXPECT_EQ(ui.MsgBox("Sure?", vbYesNo, "Sure"), vbNo);
    PressKey(Qt::Key_Return);   // 292: No is the default button
    EXPECT_EQ(ui.MsgBox("Really quit?", 292, "Exit"), vbNo);
    qttest::WhenModal([](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        EXPECT_EQ(box->windowTitle(), "Done");
        EXPECT_EQ(box->text(), "Line one\nLine two");
        EXPECT_EQ(box->icon(), QMessageBox::Information);
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(ui.MsgBox("Line one\r\nLine two", 64, "Done"), vbOK);
    EXPECT_EQ(ui.DispatchDepth(), 0);
}

TEST(QtLoops, InputBoxGivesTheTextOrEmptyOnCancel) {
    qttest::Desktop d;
    qttest::WhenModal([](QWidget* w) {
        auto* dlg = qobject_cast<QInputDialog*>(w);
        EXPECT_EQ(dlg->textValue(), "1");
        dlg->setTextValue("0.1");
        dlg->accept();
    });
    EXPECT_EQ(d.session.ui.InputBox("Grid factor", "Grid", "1"), "0.1");
    qttest::WhenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    EXPECT_EQ(d.session.ui.InputBox("Grid factor", "Grid", "1"), "");
}

TEST(QtLoops, ModalFormRunsANestedLoopUntilItsHandlerUnloadsIt) {
    qttest::Desktop d;
    frmAsk* ask = nullptr;
    bool returned = false;
    qttest::WhenModal([&](QWidget*) {
        qobject_cast<QPushButton*>(d.backend.Widget(ask->cmdOK))->click();
    });
    d.backend.Deliver([&] {
        ask = &d.session.ui.forms.Get<frmAsk>(d.session.ui);
        ask->Show(vbModal);
        returned = true;
        EXPECT_EQ(ask->answer, 42);   // still readable until the handler ends
        EXPECT_TRUE(ask->IsUnloaded());
    });
    EXPECT_TRUE(returned);
    EXPECT_FALSE(d.session.ui.forms.IsLoaded("frmAsk"));
    qttest::Settle();
}

TEST(QtLoops, FileDialogFillsTheFullPathAndBareName) {
    qttest::Desktop d;
    QTemporaryDir dir;
    Ui& ui = d.session.ui;
    Form& host = ui.forms.Get<frmAsk>(ui);
    CommonDialog dlg(host, "dlg");
    dlg.Filter = "All Files (*.*)|*.*|Output files (*.tvo)|*.tvo|";
    dlg.FilterIndex = 2;
    dlg.FileName = " results.tvo";
    dlg.Flags = cdlOFNOverwritePrompt;
    dlg.InitDir = dir.path().toStdString();
    qttest::WhenModal([](QWidget* w) {
        auto* fd = qobject_cast<QFileDialog*>(w);
        EXPECT_EQ(fd->nameFilters(), QStringList({"All Files (*)", "Output files (*.tvo)"}));
        EXPECT_EQ(fd->selectedNameFilter(), "Output files (*.tvo)");
        fd->selectFile("run1.tvo");
        static_cast<QDialog*>(fd)->accept();
    });
    ASSERT_TRUE(dlg.ShowSave());
    EXPECT_EQ(dlg.FileName, dir.filePath("run1.tvo").toStdString());
    EXPECT_EQ(dlg.FileTitle, "run1.tvo");
    QString folder = QDir(dir.path()).absolutePath();
    qttest::WhenModal([folder](QWidget* w) {
        EXPECT_EQ(qobject_cast<QFileDialog*>(w)->directory().absolutePath(), folder);   // the last folder
        qobject_cast<QDialog*>(w)->reject();
    });
    dlg.InitDir.clear();
    EXPECT_FALSE(dlg.ShowOpen());
    EXPECT_EQ(qt::NameFilters("Desc2|*.a;*.b"), QStringList({"Desc2 (*.a *.b)"}));
}

TEST(QtLoops, DoEventsStormStaysCheapAndLetsAClickThrough) {
    qttest::Desktop d;
    Ui& ui = d.session.ui;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000000; ++i) ui.DoEvents();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 1.5);

    // A button pressed during a long run is handled by a later DoEvents.
    frmAsk* ask = nullptr;
    d.backend.Deliver([&] {
        ask = &ui.forms.Get<frmAsk>(ui);
        ask->Show();
    });
    QTimer::singleShot(30, [&] { qobject_cast<QPushButton*>(d.backend.Widget(ask->cmdOK))->click(); });
    int answer = 0;
    d.backend.Deliver([&] {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (ask->answer != 42 && std::chrono::steady_clock::now() < until) ui.DoEvents();
        answer = ask->answer;   // the unloaded form is freed when this handler ends
    });
    EXPECT_EQ(answer, 42);
    EXPECT_FALSE(ui.forms.IsLoaded("frmAsk"));
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
    d.backend.Deliver([&] { app.form<tivelor::frmMain>(); });
    qttest::Settle();
    auto& main = app.form<tivelor::frmMain>();
    QWidget* frame = d.backend.Window(main);
    ClickButton(QMessageBox::No);
    frame->close();
    EXPECT_TRUE(app.IsLoaded<tivelor::frmMain>());
    EXPECT_TRUE(frame->isVisible());

    // Wisdom disables the frame and its children until its OK.
    d.backend.Deliver([&] { main.mnuWisdom.Click(); });
    qttest::Settle();
    QWidget* menuWindow = d.backend.Window(app.form<tivelor::frmMenu>());
    EXPECT_TRUE(d.backend.InputBlocked(frame));
    EXPECT_TRUE(d.backend.InputBlocked(menuWindow));
    EXPECT_TRUE(d.backend.InputBlocked(d.backend.Action(main.mnuExit)));
    auto& wisdom = app.form<tivelor::frmWisdom>();
    EXPECT_FALSE(d.backend.InputBlocked(d.backend.Widget(wisdom.cmdOK)));
    qobject_cast<QPushButton*>(d.backend.Widget(wisdom.cmdOK))->click();
    EXPECT_FALSE(d.backend.InputBlocked(menuWindow));
    qttest::Settle();

    // Ctrl+M brings the main menu back.
    d.backend.Deliver([&] { app.form<tivelor::frmMenu>().Unload(); });
    frame->activateWindow();
    qttest::Settle();
    QTest::keyClick(frame, Qt::Key_M, Qt::ControlModifier);
    EXPECT_TRUE(app.IsLoaded<tivelor::frmMenu>());
}
