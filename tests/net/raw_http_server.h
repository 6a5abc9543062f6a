#pragma once

// A loopback HTTP server for the client tests that works on raw sockets: it records the exact
// bytes of every request and lets each test answer as it likes, including with garbage, a
// reset, silence or nothing at all.
#include <QByteArray>
#include <QList>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace qb::test {

struct RecordedRequest {
    QByteArray head; // request line and headers, up to and including the blank line
    QByteArray body;
    QByteArray requestLine() const { return head.left(head.indexOf("\r\n")); }
    QByteArray path() const { return requestLine().split(' ').value(1); }
    // Header lines after the request line, without CR LF.
    QList<QByteArray> headerLines() const;
    QByteArray header(const QByteArray& name) const;
};

class RawConnection {
public:
    RawConnection(int fd, int stopFd)
        : fd_(fd)
        , stopFd_(stopFd) {}

    // Reads one request: the head, then as many body bytes as Content-Length says.
    bool readRequest(RecordedRequest& request);
    void send(const QByteArray& bytes);
    // Ends the connection with a reset instead of an orderly close.
    void reset();
    // Waits until the client goes away or the server stops; reads and drops what arrives.
    void waitForPeerClose();
    // Waits until the server stops, reading nothing.
    void waitForServerStop();
    // Orderly end: no more output, drain until the client has gone, close.
    void finish();

private:
    int fd_;
    int stopFd_;
};

class RawHttpServer {
public:
    using Handler = std::function<void(RawConnection&, RawHttpServer&)>;

    explicit RawHttpServer(Handler handler);
    ~RawHttpServer();
    RawHttpServer(const RawHttpServer&) = delete;
    RawHttpServer& operator=(const RawHttpServer&) = delete;

    int port() const { return port_; }
    QByteArray url(const QByteArray& path) const;

    // Reads a request on the connection and records it.
    bool readAndRecord(RawConnection& connection, RecordedRequest& request);
    std::vector<RecordedRequest> requests() const;
    // Waits (bounded) until at least `count` requests have been recorded.
    bool waitForRequests(std::size_t count,
                         std::chrono::milliseconds limit = std::chrono::seconds(10)) const;

    static QByteArray response(int status, const QByteArray& reason, const QByteArray& body,
                               const QList<QByteArray>& headers = {});

private:
    void acceptLoop();

    Handler handler_;
    int listenFd_ = -1;
    int stopPipe_[2] = {-1, -1};
    int port_ = 0;
    std::thread acceptor_;
    std::mutex threadsMutex_;
    std::vector<std::thread> connections_;
    mutable std::mutex requestsMutex_;
    mutable std::condition_variable requestsChanged_;
    std::vector<RecordedRequest> requests_;
};

// A loopback port on which nothing listens: connections to it are refused.
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    int port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = 0;
};

// A listening socket whose accept queue is full and never drained, so a further connection
// attempt gets no answer: the connect time-out has to end it.
class FullBacklogPort {
public:
    FullBacklogPort();
    ~FullBacklogPort();
    int port() const { return port_; }
    bool filled() const { return filled_; }

private:
    int listenFd_ = -1;
    int port_ = 0;
    bool filled_ = false;
    std::vector<int> clients_;
};

} // namespace qb::test
