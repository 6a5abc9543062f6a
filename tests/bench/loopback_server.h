#pragma once

// An in-process HTTP server of a benchmark on a loopback port of its own.
#include <httplib.h>

#include <QString>

#include <thread>

namespace qb::bench {

// Serves the answers of `server` until it is destroyed.
class Serving {
public:
    explicit Serving(httplib::Server& server)
        : Server_(server)
        , Port_(server.bind_to_any_port("127.0.0.1"))
        , Thread_([this] { Server_.listen_after_bind(); }) {}
    ~Serving() {
        Server_.stop();
        Thread_.join();
    }
    Serving(const Serving&) = delete;
    Serving& operator=(const Serving&) = delete;

    QString address() const { return QStringLiteral("http://127.0.0.1:") + QString::number(Port_); }

private:
    httplib::Server& Server_;
    int Port_;
    std::thread Thread_;
};

} // namespace qb::bench
