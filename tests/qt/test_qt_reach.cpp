// Boxes and status texts on the desktop stay within the user's reach.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMainWindow>

#include "QtTestSupport.h"
#include "uncertainty/Randomizations.h"
#include "uncertainty/frmAbort.h"
#include "windows/frmMain.h"

namespace {

QRect OnScreen(QWidget* w) { return {w->mapToGlobal(QPoint()), w->size()}; }

// Where the next box opens; the box is closed (Cancel, No).
std::shared_ptr<QRect> NextBox() {
    auto at = std::make_shared<QRect>();
    qttest::WhenModal([at](QWidget* w) { *at = w->frameGeometry(), w->close(); });
    return at;
}

}  // namespace

// Input boxes open centred over the main window as message boxes do, a
// caller's position or not; the rejection box leaves the Abort button free.
TEST(QtReach, BoxesOpenCentredAndClearOfTheAbortButton) {
    qttest::Desktop d;
    d.Start();
    tivelor::App& app = *d.app;
    auto box = NextBox();
    app.ui.MsgBox("Choose plot 1 to get a likelihood profile plot.", platform::vbInformation, "Plots");
    for (std::optional<int> x : {std::optional<int>(), std::optional<int>(5000)}) {
        auto input = NextBox();
        app.ui.InputBox("Choose the parameter number to be profiled.", "Profile", "1", x, 2000);
        EXPECT_LE((input->center() - box->center()).manhattanLength(), 4);
    }
    d.backend.Deliver([&] {
        tivelor::AbortWatch watch(app);
        watch.Begin(true);
        QWidget* abort = d.backend.Window(app.form<tivelor::frmAbort>());
        abort->move(box->center() - abort->rect().center());
        qttest::Settle();
        box = NextBox();
        EXPECT_FALSE(tivelor::RejectAndAskStop(app, watch, 1));
        EXPECT_FALSE(box->intersects(OnScreen(d.backend.Widget(app.form<tivelor::frmAbort>().cmdAbort))));
    });
}

// A long status text shows whole beside short ones; where the bar has no
// room for all, the short ones still do.
TEST(QtReach, AStatusTextIsNotCutWhereTheBarHasRoom) {
    qttest::Desktop d;
    d.Start();
    d.backend.Frame()->resize(1000, 700);
    auto& bar = d.app->form<tivelor::frmMain>().stbMain3;
    const std::string text = "Sample-based uncertainty statistics: doing randomization #250 of 1000";
    const auto whole = [](QLabel* l) { return l->contentsRect().width() >= l->fontMetrics().horizontalAdvance(l->text()); };
    QList<QLabel*> panels = d.backend.Widget(bar)->findChildren<QLabel*>();
    for (const std::string& third : {std::string(), text + text}) {
        d.backend.Deliver([&] { bar.SetPanel(1, text), bar.SetPanel(2, "Note: Unset parameters in your Bayes"), bar.SetPanel(3, third); });
        qttest::Settle();
        for (QLabel* l : panels) EXPECT_EQ(whole(l), l != panels[2] || third.empty()) << l->text().toStdString();
    }
}

// Two boxes with a yield between: the second waits the gap only while a
// stop control is shown and enabled.
TEST(QtReach, ABoxWaitsTheGapOnlyWhileARunCanBeStopped) {
    qttest::Desktop d;
    d.Start();
    tivelor::App& app = *d.app;
    const auto twoBoxes = [&] {
        NextBox(), app.ui.MsgBox("Done");
        for (int k = 0; k < 100; ++k) app.ui.DoEvents();
        NextBox(), app.ui.MsgBox("Done");
    };
    d.backend.Deliver(twoBoxes);
    EXPECT_EQ(d.backend.GapsWaited(), 0);
    d.backend.Deliver([&] { tivelor::AbortWatch watch(app); watch.Begin(true), twoBoxes(); });
    EXPECT_EQ(d.backend.GapsWaited(), 1);
}
