#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <functional>

namespace qb::test {

// The one application object of a test program, made on the test's (the window's) thread.
inline QCoreApplication& coreApp() {
    static int argc = 1;
    static char name[] = "quillbrook-test";
    static char* argv[] = {name, nullptr};
    static auto* app = new QCoreApplication(argc, argv);
    return *app;
}

// Processes the window thread's events until `done` holds or the deadline passes.
inline bool processEventsUntil(const std::function<bool()>& done, int limitMs = 10000) {
    const QDeadlineTimer deadline(limitMs);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// Waits (without processing events) until `done` holds or the deadline passes.
inline bool waitUntil(const std::function<bool()>& done, int limitMs = 10000) {
    const QDeadlineTimer deadline(limitMs);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(1);
    }
    return true;
}

} // namespace qb::test
