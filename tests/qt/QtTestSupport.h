// Helpers for the Qt back-end tests.
#pragma once

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <type_traits>

#include "platform/qt/QtBackend.h"
#include "engine/Parameters.h"
#include "shell/AlgoEditor.h"
#include "shell/frmAlgo.h"
#include "state/App.h"
#include "windows/InfoWindows.h"

namespace qttest {

// Lets posted events (deferred shows, repaints, deletions) run.
inline void Settle(int ms = 20) {
    QElapsedTimer t;
    t.start();
    do {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    } while (t.elapsed() < ms);
}

// Runs fn on the next modal dialog of type T once it is up.
template <class T = QWidget>
void WhenModal(std::type_identity_t<std::function<void(T*)>> fn) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, fn] {
        if (T* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            fn(w);
        }
    });
    timer->start(10);
}

// Writes a picture of the widget to <build>/qt-smoke/.
inline bool Grab(QWidget* w, const std::string& name) {
    QString dir = QStringLiteral(TIVELOR_BINARY_DIR "/qt-smoke");
    return QDir().mkpath(dir) && w && w->grab().save(dir + "/" + QString::fromStdString(name) + ".png");
}

// Expects every control's widget to show what the control holds.
void ExpectMirrors(platform::qt::QtBackend& backend, const platform::Form& form);

struct Desktop {
    platform::qt::QtSession session;
    std::unique_ptr<tivelor::App> app = std::make_unique<tivelor::App>(session.ui);
    platform::qt::QtBackend& backend = session.backend;

    // The program started: the credits' OK has opened the frame with the main menu.
    void Start() {
        backend.Deliver([&] { app->Start(); });
        Settle();
        backend.Deliver([&] { app->form<tivelor::frmCredits>().cmdOK.Click(); });
        Settle();
    }
};

// The algorithm editor over n parameters with values 0.25 i.
inline tivelor::frmAlgo& OpenEditor(Desktop& d, int n) {
    tivelor::App& a = *d.app;
    d.backend.Deliver([&] {
        tivelor::ParameterSet& p = a.eng.par;
        p.NumPars = n;
        p.ParName.ReDim(n);
        tivelor::SetDefaultAlgorithm(a);
        for (int i = 1; i <= n; ++i) {
            p.ParName(i) = "Theta " + std::to_string(i);
            p.StepSize(i) = 0.1 * (p.ParValue(i) = 0.25 * i);
        }
        tivelor::ShowAlgorithmEditor(a);
    });
    Settle();
    return a.form<tivelor::frmAlgo>();
}

}  // namespace qttest
