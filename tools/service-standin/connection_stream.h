#pragma once

#include <string>

#include <httplib.h>

#include "fault_server.h"

namespace qb::standin {

// A buffered socket stream for one connection, with read and write time-outs. Once the fate of
// the current request is Drop, Garbage or Reset, writes no longer reach the socket as HTTP.
class ConnectionStream : public httplib::Stream {
public:
    ConnectionStream(socket_t sock, int readTimeoutMs, int writeTimeoutMs);

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override { return sock_; }

    bool waitReadable(int timeoutMs) const;
    ConnectionFate fate = ConnectionFate::Answer;

private:
    ssize_t sendAll(const char* ptr, size_t size);
    ssize_t sendThenReset(const char* ptr, size_t size);

    socket_t sock_;
    int readTimeoutMs_;
    int writeTimeoutMs_;
    std::string buffer_;
    size_t bufferPos_ = 0;
    bool garbageSent_ = false;
    size_t resetLeft_ = std::string::npos; // bytes a reset answer still lets through
};

} // namespace qb::standin
