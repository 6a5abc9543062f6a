// Window tests run the real main window offscreen; they need one application object.
#include "platform/translations.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Also when CTest lists the tests, which it does without the tests' environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox");
    }
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // Tests close windows; the application object must outlive them all.
    QApplication::setQuitOnLastWindowClosed(false);
    qb::platform::installRussianTranslations(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
