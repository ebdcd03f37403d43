// The goodness-of-fit test on the Qt back end: the range dialog's OK and the
// abort window's button are real widgets pressed while the run yields.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTimer>

#include "QtTestSupport.h"
#include "uncertainty/GoodnessOfFit.h"
#include "uncertainty/frmAbort.h"
#include "uncertainty/frmRange.h"

TEST(QtGoodnessOfFit, RangeOKThenAbortStopsTheRunWithoutABlock) {
    qttest::Desktop d;
    tivelor::App& app = *d.app;
    tivelor::ModelState& md = app.model;
    md.NSpp = 2, md.NQuad = 3, md.NQuadHab = 40;
    md.Count.ReDim(2, 3), md.CumCount.ReDim(2, 3), md.ExpCount.ReDim(2, 3);
    md.QuadProb.ReDim(3), md.SpName.ReDim(-2, 2), md.TotAbund.ReDim(2), md.SpTheta.ReDim(2);
    for (int j = 1; j <= 3; ++j) md.QuadProb(j) = 1.0 / (40 - j + 1);
    for (int s = 1; s <= 2; ++s) {
        md.TotAbund(s) = 50 * s;
        md.SpTheta(s) = 0.1;
        md.Count(s, 1) = 2 * s;
        md.CumCount(s, 1) = md.CumCount(s, 2) = md.CumCount(s, 3) = 2 * s;
    }
    md.Report.NRand = 32000;
    auto press = [&](const platform::Control& c) {
        qobject_cast<QAbstractButton*>(d.backend.Widget(c))->click();
    };
    qttest::WhenModal([&](QWidget*) { press(app.form<tivelor::frmRange>().cmdOK); });
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [&, timer] {
        if (app.IsLoaded<tivelor::frmAbort>() && app.ui.DoEventsCount() > 3000) {
            timer->stop();
            timer->deleteLater();
            press(app.form<tivelor::frmAbort>().cmdAbort);
        }
    });
    timer->start(5);
    d.backend.Deliver([&] { tivelor::PearsonDeviatesTest(app); });
    EXPECT_EQ(app.msg.ReportText, "");
    EXPECT_FALSE(app.IsLoaded<tivelor::frmAbort>());
    EXPECT_FALSE(app.IsLoaded<tivelor::frmRange>());
}
