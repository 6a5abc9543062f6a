#pragma once

// The application object of programs that run the real main window offscreen: the window
// tests and the benchmarks that time the window's thread.
#include "platform/translations.h"

#include <QApplication>

namespace qb::test {

// Before the application object: offscreen, without GPU and sandbox, also when CTest lists the
// tests, which it does without the tests' environment.
inline void prepareOffscreenApp() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox");
    }
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

// After it: windows are closed by the program, and the application must outlive them all.
inline void configureOffscreenApp(QApplication& app) {
    QApplication::setQuitOnLastWindowClosed(false);
    qb::platform::installRussianTranslations(app);
}

} // namespace qb::test
