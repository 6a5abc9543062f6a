#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>

// Runs `act` on the first modal dialog of type T that opens, from inside its own event loop.
// The timer keeps looking until one is open, so the test needs no guess of when that happens.
template <typename T> void whenModalOpens(std::function<void(T*)> act) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
}
