// Every window shown on the Qt back end: its widgets mirror its controls, and
// a picture of it goes to <build>/qt-smoke/.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTableWidget>
#include <cmath>

#include "QtTestSupport.h"
#include "engine/Parameters.h"
#include "platform/qt/Convert.h"
#include "evaluation/frmCovData.h"
#include "windows/InfoWindows.h"
#include "windows/TextWindows.h"
#include "model/frmConvert.h"
#include "model/frmGuessPars.h"
#include "model/frmInitialize.h"
#include "shell/frmAlgo.h"
#include "shell/frmEditVS.h"
#include "shell/frmOneFunction.h"
#include "windows/frmMarquardt.h"
#include "windows/frmSimplex.h"
#include "windows/frmMain.h"
#include "shell/frmMenu.h"
#include "ranking/frmRank.h"
#include "evaluation/BayesianEvaluation.h"
#include "evaluation/frmBayesian.h"
#include "evaluation/frmMaxLike.h"
#include "evaluation/frmParEvals.h"
#include "uncertainty/frmAbort.h"
#include "uncertainty/frmRange.h"
#include "priors/frmLoadPriors.h"
#include "priors/frmPriorDists.h"
#include "windows/frmReviewPriors.h"
#include "priors/frmSetPriors.h"
#include "plots/DistributionPlots.h"
#include "plots/frmBivarPlot.h"
#include "plots/frmDistPlot.h"

namespace {

using namespace platform;
using platform::qt::ToQt;
using platform::qt::ToQtLines;
using tivelor::App;

const std::string kReport =
    "   #  Parameter            Value          Step\r\n"
    "   1  Theta           1.2345678E+00  1.0000000E-01\r\n"
    "   2  Ln[UA]          -3.2100000E+00  1.0000000E-01\r\n";

template <class T>
Form& Open(App& a) {
    auto& f = a.form<T>();
    f.Show();
    return f;
}

Form& OpenAlgo(App& a) {
    tivelor::ParameterSet& p = a.eng.par;
    p.NumPars = 4;
    p.ParName.ReDim(4);
    tivelor::SetDefaultAlgorithm(a);
    for (int i = 1; i <= 4; ++i) {
        p.ParName(i) = (i % 2 ? "Theta " : "UA ") + std::to_string((i + 1) / 2) + " [0; 0 to 1]";
        p.StepSize(i) = 0.1 * (p.ParValue(i) = 0.25 * i);
    }
    p.FuseCode(3) = p.FuseCode(4) = "A";
    tivelor::ShowAlgorithmEditor(a);
    qttest::WhenModal([](QWidget* box) { box->close(); });   // the note at its unload
    return a.form<tivelor::frmAlgo>();
}

// The ranking window with three ranked models.
Form& OpenRank(App& a) {
    tivelor::ParameterSet& p = a.eng.par;
    p.NumPars = 4;
    p.ParName.ReDim(4);
    tivelor::SetDefaultAlgorithm(a);
    for (int i = 1; i <= 4; ++i) p.StepSize(i) = 0.1;
    a.eng.SampleSize = 60;
    double F = 200;
    const auto model = a.eng.Objective;
    a.eng.Objective = [&F](Vec<double>&, long) { return F; };
    a.eng.AlgFileName = "/data/meadow/meadow_binomial.alg";
    qttest::WhenModal([](QWidget* box) {   // the likelihood constant
        auto* input = qobject_cast<QInputDialog*>(box);
        input->setTextValue("0.5");
        input->accept();
    });
    auto& rank = a.form<tivelor::frmRank>();
    rank.Show();
    const char* names[] = {"/data/meadow/meadow_beta.alg", "/data/meadow/meadow_fused.alg"};
    for (int m = 0; m < 2; ++m) {
        F = 195 + 10 * m;
        a.eng.AlgFileName = names[m];
        rank.cmdAICc_Click();
    }
    a.eng.Objective = model;
    rank.cmdRank_Click();
    qttest::WhenModal([](QWidget* box) { box->close(); });   // the save question at its unload
    return rank;
}

// The posterior window with a five-point table.
Form& OpenBayesian(App& a) {
    tivelor::EvalState& ev = a.eval;
    ev.NProfPts = 5;
    for (auto* v : {&ev.ProfX, &ev.ProfNegLnL, &ev.ProfPDF, &ev.ProfCIMode, &ev.ProfCIMean, &ev.ProfNormPDF})
        v->ReDim(5);
    for (int k = 1; k <= 5; ++k) {
        ev.ProfX(k) = 0.1 * (k - 3), ev.ProfNegLnL(k) = 2.0 * (k - 3) * (k - 3);
        ev.ProfPDF(k) = ev.ProfNormPDF(k) = std::exp(-ev.ProfNegLnL(k));
    }
    tivelor::ShowPosteriorData(a, 0, 0, 0, 0.1);
    return a.form<tivelor::frmBayesian>();
}

// The prior editor over four parameters with three kinds of prior.
Form& OpenSetPriors(App& a) {
    tivelor::ParameterSet& p = a.eng.par;
    p.NumPars = 4;
    p.ParName.ReDim(4);
    for (int i = 1; i <= 4; ++i) p.ParName(i) = (i % 2 ? "Theta " : "UA ") + std::to_string((i + 1) / 2);
    a.priors.Reset(4);
    a.priors.PriorType(1) = "N", a.priors.PriorMean(1) = -3, a.priors.PriorSD(1) = 0.5;
    a.priors.PriorType(3) = "T", a.priors.PriorMean(3) = 0, a.priors.PriorSD(3) = 0;
    a.priors.PriorMean2(3) = std::string("10.50"), a.priors.PriorSD2(3) = 0.25;
    return Open<tivelor::frmSetPriors>(a);
}

// Answers the editor's close: its message boxes with No or OK, then the
// likelihood constant 0.5.
void AnswerEditorClose() {
    qttest::WhenModal([](QWidget* w) {
        if (auto* input = qobject_cast<QInputDialog*>(w)) {
            input->setTextValue("0.5");
            input->accept();
            return;
        }
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            QAbstractButton* no = box->button(QMessageBox::No);
            (no ? no : box->buttons().front())->click();
        }
        AnswerEditorClose();
    });
}

// Every window, and how to open it (frmMain is open already).
const std::vector<std::pair<const char*, Form& (*)(App&)>> kWindows = {
    {"frmMain", [](App& a) -> Form& { return a.form<tivelor::frmMain>(); }},
    {"frmMenu", Open<tivelor::frmMenu>},
    {"frmCredits", Open<tivelor::frmCredits>},
    {"frmDefaults", Open<tivelor::frmDefaults>},
    {"frmWisdom", Open<tivelor::frmWisdom>},
    {"frmSummary", Open<tivelor::frmSummary>},
    {"frmOneFunction", Open<tivelor::frmOneFunction>},
    {"frmHelp", Open<tivelor::frmHelp>},
    {"frmAlgo", OpenAlgo},
    {"frmEditVS", Open<tivelor::frmEditVS>},
    {"frmInitialize", Open<tivelor::frmInitialize>},
    {"frmGuessPars", Open<tivelor::frmGuessPars>},
    {"frmConvert", Open<tivelor::frmConvert>},
    {"frmSimplex", Open<tivelor::frmSimplex>},
    {"frmMarquardt", Open<tivelor::frmMarquardt>},
    {"frmRank", OpenRank},
    {"frmParEvals", Open<tivelor::frmParEvals>},
    {"frmMaxLike", Open<tivelor::frmMaxLike>},
    {"frmBayesian", OpenBayesian},
    {"frmRange", [](App& a) -> Form& { a.model.NSpp = 12; return Open<tivelor::frmRange>(a); }},
    {"frmAbort", Open<tivelor::frmAbort>},
    {"frmCovData", Open<tivelor::frmCovData>},
    {"frmCovDisplay", Open<tivelor::frmCovDisplay>},
    {"frmLoadPriors", Open<tivelor::frmLoadPriors>},
    {"frmSetPriors", OpenSetPriors},
    {"frmReviewPriors", Open<tivelor::frmReviewPriors>},
    {"frmPriorDists", Open<tivelor::frmPriorDists>},
};

QString Joined(QStringList items, int current) { return items.join('|') + '@' + QString::number(current); }

// What a widget shows, as one text.
QString Shown(QWidget* w) {
    QStringList items;
    if (auto* x = qobject_cast<QAbstractButton*>(w)) return x->text();
    if (auto* x = qobject_cast<QGroupBox*>(w)) return x->title();
    if (auto* x = qobject_cast<QLabel*>(w)) return x->text();
    if (auto* x = qobject_cast<QLineEdit*>(w)) return x->text();
    if (auto* x = qobject_cast<QPlainTextEdit*>(w)) return x->toPlainText();
    if (auto* x = qobject_cast<QStatusBar*>(w)) {
        for (QLabel* l : x->findChildren<QLabel*>()) items << l->text();
        return Joined(items, 0);
    }
    if (auto* x = qobject_cast<QTableWidget*>(w)) {
        for (int r = 0; r < x->rowCount(); ++r)
            for (int c = 0; c < x->columnCount(); ++c) items << x->item(r, c)->text();
        return Joined(items, x->columnCount());
    }
    auto* combo = qobject_cast<QComboBox*>(w);
    auto* list = qobject_cast<QListWidget*>(w);
    for (int i = 0; i < (combo ? combo->count() : list ? list->count() : 0); ++i)
        items << (combo ? combo->itemText(i) : list->item(i)->text());
    return combo || list ? Joined(items, combo ? combo->currentIndex() : list->currentRow()) : QString();
}

// What a control holds, as its widget should show it.
QString Held(Control& c) {
    QStringList items;
    switch (c.kind) {
        case ControlKind::Label: return qt::LabelText(c.ShownText());
        case ControlKind::TextBox:
        case ControlKind::RichTextBox: return ToQtLines(c.ShownText());
        case ControlKind::StatusBar:
            for (int i = 1; i <= static_cast<StatusBar&>(c).PanelCount(); ++i)
                items << ToQt(static_cast<StatusBar&>(c).Panel(i));
            return Joined(items, 0);
        case ControlKind::FlexGrid: {
            auto& g = static_cast<FlexGrid&>(c);
            for (int r = 0; r < g.Rows(); ++r)
                for (int k = 0; k < g.Cols(); ++k) items << ToQt(g.TextMatrix(r, k));
            return Joined(items, g.Cols());
        }
        case ControlKind::ComboBox:
        case ControlKind::ListBox:
            for (const std::string& item : static_cast<ListControl&>(c).Items()) items << ToQt(item);
            return Joined(items, static_cast<ListControl&>(c).ListIndex());
        default: return ToQt(c.ShownText());
    }
}

}  // namespace

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
            const bool keyed = c->Visible() && c->Enabled();   // only these keep their access key
            EXPECT_TRUE(static_cast<Menu&>(*c).IsSeparator() ||
                        (keyed ? a->text() == ToQt(c->ShownText())
                               : !a->text().contains('&') && a->text() == qt::WithoutMnemonic(ToQt(c->ShownText()))));
            EXPECT_EQ(a->isVisible(), c->Visible());
            EXPECT_TRUE(!c->Visible() || a->isEnabled() == c->Enabled());   // hidden actions read disabled
            continue;
        }
        QWidget* w = b.Widget(*c);
        if (c->kind == ControlKind::CommonDialog) continue;
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->isEnabled(), c->Enabled() && (!c->container || c->container->Enabled()));
        EXPECT_EQ(w->isVisibleTo(win), c->Visible());
        EXPECT_EQ(Shown(w), Held(*c));
        if (auto* e = qobject_cast<QPlainTextEdit*>(w); e && c->kind == ControlKind::RichTextBox) {
            EXPECT_EQ(e->lineWrapMode(), QPlainTextEdit::NoWrap);
            EXPECT_TRUE(c->FontName() != "Courier New" || QFontInfo(e->font()).fixedPitch());
        }
    }
}

// Start shows the credits, whose OK opens the frame with the main menu; then
// every window in turn.
TEST(QtWindows, EveryWindowMirrorsItsControls) {
    qttest::Desktop d;
    d.backend.Deliver([&] { d.app->Start(); });
    qttest::Settle();
    d.backend.Deliver([&] { d.app->form<tivelor::frmCredits>().cmdOK.Click(); });
    ASSERT_EQ(d.backend.Frame(), d.backend.Window(d.app->form<tivelor::frmMain>()));
    for (const auto& [name, open] : kWindows) {
        SCOPED_TRACE(name);
        Form* form = nullptr;
        d.backend.Deliver([&] { form = &open(*d.app); });
        ASSERT_NE(form, nullptr);
        for (Control* c : form->Controls())   // text panes show a report
            if (c->kind == ControlKind::RichTextBox) static_cast<RichTextBox*>(c)->Text = kReport;
        qttest::Settle();
        qttest::ExpectMirrors(d.backend, *form);
        EXPECT_TRUE(qttest::Grab(d.backend.Window(*form), name));
        if (form->kind == FormKind::MdiChild) {   // the frame's bar carries the child's menus, if it has any
            auto& main = d.app->form<tivelor::frmMain>();
            Form& source = form->TopMenus().empty() ? main : *form;
            EXPECT_EQ(d.backend.Frame()->menuBar()->actions().front(), d.backend.Action(*source.TopMenus().front()));
            QMenu* list = d.backend.Action(main.mnuWindow)->menu();   // which lists the child windows
            emit list->aboutToShow();
            EXPECT_TRUE(list->actions().back()->text().endsWith(" " + ToQt(form->Caption)));
            qttest::Grab(d.backend.Frame(), std::string(name) + "_in_frame");
        }
        if (form->name == std::string("frmSetPriors")) AnswerEditorClose();
        if (form->kind != FormKind::MdiParent) d.backend.Deliver([&] { form->Unload(); });
        qttest::Settle();
    }
}

// The two modal plot windows, each with a plot.
TEST(QtWindows, DistributionAndDensityPlotsShowAPlot) {
    qttest::Desktop d;
    App& a = *d.app;
    const long n = 41;
    Vec<double> x(n), neg(n), pdf(n), cum(n), other(n);
    for (long k = 1; k <= n; ++k) {
        x(k) = -0.5 + 0.05 * static_cast<double>(k - 1);
        neg(k) = 8 * (x(k) - 0.5) * (x(k) - 0.5);
        pdf(k) = std::exp(-neg(k)) / 0.627;
        cum(k) = static_cast<double>(k) / n;
        other(k) = pdf(k) * 0.9;
    }
    a.eval.NProfPts = n;
    a.eval.ProfX = x;
    a.eval.ProfPar = 2;
    a.eval.EVEstimate = 0.5;
    double mean = 0.52, diff = -0.02, ev = 0.5, sd = 0.25;
    std::string prior = "off", post = "off", ml = "on";
    bool shown = false;
    qttest::WhenModal([&](QWidget* w) {
        auto& f = a.form<tivelor::frmDistPlot>();
        f.listVar.ListIndex = 4;
        f.cmdPlot.Click();
        f.listVar.ListIndex = 1;   // last: its legend is the longest
        f.cmdPlot.Click();
        qttest::Settle();
        qttest::ExpectMirrors(d.backend, f);
        EXPECT_TRUE(qttest::Grab(w, "frmDistPlot"));
        shown = true;
        qobject_cast<QPushButton*>(d.backend.Widget(f.cmdDone))->click();
    });
    d.backend.Deliver([&] {
        long np = n;
        tivelor::ShowDistributionPlots(a, neg, mean, diff, ev, sd, np, pdf, other, other, cum, other, x, prior, post,
                                       ml);
    });
    EXPECT_TRUE(shown);

    const long g = 21;
    Vec<double> gx(g), gy(g);
    Matrix<double> dens(g, g);
    for (long i = 1; i <= g; ++i) gx(i) = gy(i) = -2.5 + 0.3 * static_cast<double>(i - 1);
    for (long i = 1; i <= g; ++i)
        for (long j = 1; j <= g; ++j)
            dens(i, j) = std::exp(-(gx(i) * gx(i) - 1.2 * gx(i) * gy(j) + gy(j) * gy(j)) / 1.28);
    double peak = dens(9, 9), px = gx(9), py = gy(9);
    int xPar = 2, yPar = 4;
    long nx = g, ny = g;
    shown = false;
    qttest::WhenModal([&](QWidget* w) {
        auto& f = a.form<tivelor::frmBivarPlot>();
        qttest::Settle();
        qttest::ExpectMirrors(d.backend, f);
        EXPECT_TRUE(qttest::Grab(w, "frmBivarPlot"));
        shown = true;
        qobject_cast<QPushButton*>(d.backend.Widget(f.cmdDone))->click();
    });
    d.backend.Deliver([&] { tivelor::PlotBivariateDensity(a, gx, gy, dens, peak, xPar, yPar, nx, ny, px, py); });
    EXPECT_TRUE(shown);
    EXPECT_EQ(a.sw.FormClosed, platform::True);
}
