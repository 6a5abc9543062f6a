#pragma once

// The longest time the window's thread goes without handling an event: a timer on that thread
// ticks every 2 ms, and the longest gap between two ticks, or from the last tick to the moment
// asked, is the stall.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace qb::bench {

class StallMeter {
public:
    StallMeter() {
        Tick_.setInterval(2);
        QObject::connect(&Tick_, &QTimer::timeout, &Tick_, [this] {
            Longest_ = std::max(Longest_, Clock_.elapsed() - Last_);
            Last_ = Clock_.elapsed();
        });
        Clock_.start();
        Tick_.start();
    }

    qint64 longestMs() const { return std::max(Longest_, Clock_.elapsed() - Last_); }
    qint64 elapsedMs() const { return Clock_.elapsed(); }

private:
    QElapsedTimer Clock_;
    QTimer Tick_;
    qint64 Last_ = 0;
    qint64 Longest_ = 0;
};

// Handles the window's events until `done` holds or a minute has passed; false on the latter.
inline bool handleEventsUntil(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 60000) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

} // namespace qb::bench
