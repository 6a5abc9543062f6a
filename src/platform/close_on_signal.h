#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace qb::platform {

// Turns SIGTERM and SIGINT into a call on the application's thread, so that a session ending or
// a "kill" closes the window the way the user does (settings saved, transfers ended) instead of
// cutting the program off. One instance per program; the signals keep their default action
// before it exists and after it is gone.
class CloseOnSignal : public QObject {
public:
    explicit CloseOnSignal(std::function<void()> close);
    ~CloseOnSignal() override;
    CloseOnSignal(const CloseOnSignal&) = delete;
    CloseOnSignal& operator=(const CloseOnSignal&) = delete;

private:
    std::function<void()> close_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace qb::platform
