// The Qt tests need one QApplication; without a display they run offscreen.
#include <gtest/gtest.h>

#include <QApplication>

static QtMessageHandler defaultHandler = nullptr;

int main(int argc, char** argv) {
    // The offscreen platform cannot raise or grab; that is no news to the tests.
    defaultHandler = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& where, const QString& text) {
        if (!text.startsWith(QLatin1String("This plugin does not support"))) defaultHandler(type, where, text);
    });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
