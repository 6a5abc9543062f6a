#pragma once

#include <QString>

#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace qb::platform {

enum class HandOffResult {
    Delivered,  // the running copy took the text
    Refused,    // the running copy answered but was busy with an earlier hand-off
    NoListener, // nobody answered in time: the caller runs on as an independent copy
};

// The single-copy rule "vhelmq02". The lock is an flock on a file in the user's runtime folder,
// so the system releases it when its holder dies, however it ends. The first copy listens on a
// local socket beside it, reachable by this user only; a second copy hands its argument over
// there as one UTF-8 text and waits for the answer.
class SingleCopy {
public:
    static constexpr int kHandOffTimeoutMs = 5000;

    SingleCopy();
    ~SingleCopy();
    SingleCopy(const SingleCopy&) = delete;
    SingleCopy& operator=(const SingleCopy&) = delete;

    // True: this is the first copy. The lock is kept until the process ends. When no private
    // folder can be had for the lock, the copy runs unprotected and counts as first.
    bool acquire();

    // Hands `argument` (possibly empty) to the running copy. `timeoutMs` bounds the wait for
    // the connection and the answer. Needs no event loop.
    static HandOffResult handOff(const QString& argument, int timeoutMs = kHandOffTimeoutMs);

    // First copy only, on the thread that runs the event loop. For each hand-off, `canTake`
    // says whether the text can be taken now; the sender is answered at once, and a taken text
    // is then given to `deliver` from the event loop. A text whose sender gave up waiting is
    // dropped. Returns false when the socket cannot be set up: second copies then run on as
    // independent copies.
    bool listen(std::function<bool()> canTake, std::function<void(const QString&)> deliver);

    // The folder holding the lock and the socket; empty when none can be had.
    static QString folder();
    static QString lockPath();
    static QString serverPath();

private:
    void acceptConnections();
    void readHandOff(QLocalSocket* socket, QByteArray& received);

    int lockFd_ = -1;
    bool first_ = false;
    bool deliveryPending_ = false;
    std::unique_ptr<QLocalServer> server_;
    std::function<bool()> canTake_;
    std::function<void(const QString&)> deliver_;
};

} // namespace qb::platform
