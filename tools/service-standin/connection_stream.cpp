#include "connection_stream.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <cstring>

namespace qb::standin {

namespace {

bool pollFor(socket_t sock, short events, int timeoutMs) {
    pollfd pfd{sock, events, 0};
    int rc;
    do {
        rc = ::poll(&pfd, 1, timeoutMs);
    } while (rc < 0 && errno == EINTR);
    return rc > 0 && (pfd.revents & (events | POLLHUP | POLLERR));
}

void addressOf(const sockaddr_storage& addr, std::string& ip, int& port) {
    char text[INET6_ADDRSTRLEN] = {};
    if (addr.ss_family == AF_INET) {
        const auto& in = reinterpret_cast<const sockaddr_in&>(addr);
        inet_ntop(AF_INET, &in.sin_addr, text, sizeof text);
        port = ntohs(in.sin_port);
    } else if (addr.ss_family == AF_INET6) {
        const auto& in6 = reinterpret_cast<const sockaddr_in6&>(addr);
        inet_ntop(AF_INET6, &in6.sin6_addr, text, sizeof text);
        port = ntohs(in6.sin6_port);
    }
    ip = text;
}

} // namespace

ConnectionStream::ConnectionStream(socket_t sock, int readTimeoutMs, int writeTimeoutMs)
    : sock_(sock)
    , readTimeoutMs_(readTimeoutMs)
    , writeTimeoutMs_(writeTimeoutMs) {}

bool ConnectionStream::waitReadable(int timeoutMs) const {
    return bufferPos_ < buffer_.size() || pollFor(sock_, POLLIN, timeoutMs);
}

bool ConnectionStream::is_readable() const {
    return waitReadable(readTimeoutMs_);
}

bool ConnectionStream::is_writable() const {
    return fate == ConnectionFate::Answer ? pollFor(sock_, POLLOUT, writeTimeoutMs_) : true;
}

ssize_t ConnectionStream::read(char* ptr, size_t size) {
    if (bufferPos_ >= buffer_.size()) {
        if (!pollFor(sock_, POLLIN, readTimeoutMs_))
            return -1;
        char chunk[4096];
        ssize_t n;
        do {
            n = ::recv(sock_, chunk, sizeof chunk, 0);
        } while (n < 0 && errno == EINTR);
        if (n <= 0)
            return n;
        buffer_.assign(chunk, static_cast<size_t>(n));
        bufferPos_ = 0;
    }
    size_t n = std::min(size, buffer_.size() - bufferPos_);
    std::memcpy(ptr, buffer_.data() + bufferPos_, n);
    bufferPos_ += n;
    return static_cast<ssize_t>(n);
}

ssize_t ConnectionStream::sendAll(const char* ptr, size_t size) {
    size_t sent = 0;
    while (sent < size) {
        if (!pollFor(sock_, POLLOUT, writeTimeoutMs_))
            return -1;
        ssize_t n = ::send(sock_, ptr + sent, size - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return -1;
        sent += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(size);
}

// Lets the head and the first kResetBodyBytes of the body leave, then aborts the connection so
// that the client sees a reset in the middle of the answer.
ssize_t ConnectionStream::sendThenReset(const char* ptr, size_t size) {
    if (resetLeft_ == std::string::npos) {
        const std::string_view data(ptr, size);
        const size_t headEnd = data.find("\r\n\r\n");
        resetLeft_ = (headEnd == std::string_view::npos ? size : headEnd + 4) + kResetBodyBytes;
    }
    const size_t n = std::min(size, resetLeft_);
    if (n > 0 && sendAll(ptr, n) < 0)
        return -1;
    resetLeft_ -= n;
    if (n == size && resetLeft_ > 0)
        return static_cast<ssize_t>(size);
    linger hard{1, 0};
    ::setsockopt(sock_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    return -1;
}

ssize_t ConnectionStream::write(const char* ptr, size_t size) {
    switch (fate) {
    case ConnectionFate::Answer:
        return sendAll(ptr, size);
    case ConnectionFate::Drop:
        return -1; // nothing leaves; the server then closes the connection
    case ConnectionFate::Garbage:
        if (!garbageSent_) {
            garbageSent_ = true;
            sendAll(kGarbageAnswer, std::strlen(kGarbageAnswer));
        }
        return static_cast<ssize_t>(size); // the real answer is swallowed
    case ConnectionFate::Reset:
        return sendThenReset(ptr, size);
    }
    return -1;
}

void ConnectionStream::get_remote_ip_and_port(std::string& ip, int& port) const {
    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    if (::getpeername(sock_, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        addressOf(addr, ip, port);
}

void ConnectionStream::get_local_ip_and_port(std::string& ip, int& port) const {
    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    if (::getsockname(sock_, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        addressOf(addr, ip, port);
}

} // namespace qb::standin
