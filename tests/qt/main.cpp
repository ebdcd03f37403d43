// The Qt tests need one QApplication; without a display they run offscreen.
#include <gtest/gtest.h>

#include <QApplication>

namespace {
QtMessageHandler defaultHandler = nullptr;

// The offscreen platform cannot raise or grab; that is no news to the tests.
void Messages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QLatin1String("This plugin does not support"))) return;
    defaultHandler(type, context, text);
}
}  // namespace

int main(int argc, char** argv) {
    defaultHandler = qInstallMessageHandler(Messages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
