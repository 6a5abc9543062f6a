#include "raw_http_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace qb::test {

namespace {
constexpr int kIoLimitMs = 10000;

int loopbackSocket() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        throw std::runtime_error("socket failed");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        throw std::runtime_error("bind failed");
    }
    return fd;
}

int portOf(int fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

// Waits for input on fd or a stop; true when fd is readable.
bool waitReadable(int fd, int stopFd, int limitMs) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
    const int ready = ::poll(fds, 2, limitMs);
    return ready > 0 && (fds[1].revents & POLLIN) == 0 &&
           (fds[0].revents & (POLLIN | POLLHUP | POLLERR));
}
} // namespace

QList<QByteArray> RecordedRequest::headerLines() const {
    QList<QByteArray> lines = head.split('\n');
    QList<QByteArray> out;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].endsWith('\r') ? lines[i].chopped(1) : lines[i];
        if (!line.isEmpty()) {
            out.append(line);
        }
    }
    return out;
}

QByteArray RecordedRequest::header(const QByteArray& name) const {
    for (const QByteArray& line : headerLines()) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).toLower() == name.toLower()) {
            return line.mid(colon + 1).trimmed();
        }
    }
    return {};
}

bool RawConnection::readRequest(RecordedRequest& request) {
    QByteArray data;
    char buffer[65536];
    qsizetype headEnd = -1;
    while ((headEnd = data.indexOf("\r\n\r\n")) < 0) {
        if (!waitReadable(fd_, stopFd_, kIoLimitMs)) {
            return false;
        }
        const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
        if (got <= 0) {
            return false;
        }
        data.append(buffer, got);
    }
    request.head = data.left(headEnd + 4);
    request.body = data.mid(headEnd + 4);
    const qsizetype length = request.header("Content-Length").toLongLong();
    while (request.body.size() < length) {
        if (!waitReadable(fd_, stopFd_, kIoLimitMs)) {
            return false;
        }
        const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
        if (got <= 0) {
            return false;
        }
        request.body.append(buffer, got);
    }
    return true;
}

void RawConnection::send(const QByteArray& bytes) {
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t put =
            ::send(fd_, bytes.constData() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (put <= 0) {
            return;
        }
        sent += put;
    }
}

void RawConnection::reset() {
    const linger hard{1, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    ::close(fd_);
    fd_ = -1;
}

void RawConnection::waitForPeerClose() {
    char buffer[4096];
    while (fd_ >= 0 && waitReadable(fd_, stopFd_, -1)) {
        if (::recv(fd_, buffer, sizeof buffer, 0) <= 0) {
            return;
        }
    }
}

void RawConnection::finish() {
    if (fd_ < 0) {
        return;
    }
    ::shutdown(fd_, SHUT_WR);
    char buffer[4096];
    while (waitReadable(fd_, stopFd_, kIoLimitMs) && ::recv(fd_, buffer, sizeof buffer, 0) > 0) {
    }
    ::close(fd_);
    fd_ = -1;
}

void RawConnection::waitForServerStop() {
    pollfd stop{stopFd_, POLLIN, 0};
    ::poll(&stop, 1, -1);
}

RawHttpServer::RawHttpServer(Handler handler)
    : handler_(std::move(handler)) {
    if (::pipe2(stopPipe_, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    listenFd_ = loopbackSocket();
    ::listen(listenFd_, 64);
    port_ = portOf(listenFd_);
    acceptor_ = std::thread([this] { acceptLoop(); });
}

RawHttpServer::~RawHttpServer() {
    const char stop = 's';
    (void)::write(stopPipe_[1], &stop, 1);
    acceptor_.join();
    for (std::thread& connection : connections_) {
        connection.join();
    }
    ::close(listenFd_);
    ::close(stopPipe_[0]);
    ::close(stopPipe_[1]);
}

void RawHttpServer::acceptLoop() {
    while (waitReadable(listenFd_, stopPipe_[0], -1)) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        std::lock_guard lock(threadsMutex_);
        connections_.emplace_back([this, fd] {
            RawConnection connection(fd, stopPipe_[0]);
            handler_(connection, *this);
            connection.finish();
        });
    }
}

QByteArray RawHttpServer::url(const QByteArray& path) const {
    return "http://127.0.0.1:" + QByteArray::number(port_) + path;
}

bool RawHttpServer::readAndRecord(RawConnection& connection, RecordedRequest& request) {
    if (!connection.readRequest(request)) {
        return false;
    }
    {
        std::lock_guard lock(requestsMutex_);
        requests_.push_back(request);
    }
    requestsChanged_.notify_all();
    return true;
}

std::vector<RecordedRequest> RawHttpServer::requests() const {
    std::lock_guard lock(requestsMutex_);
    return requests_;
}

bool RawHttpServer::waitForRequests(std::size_t count, std::chrono::milliseconds limit) const {
    std::unique_lock lock(requestsMutex_);
    return requestsChanged_.wait_for(lock, limit, [&] { return requests_.size() >= count; });
}

QByteArray RawHttpServer::response(int status, const QByteArray& reason, const QByteArray& body,
                                   const QList<QByteArray>& headers) {
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\n";
    for (const QByteArray& header : headers) {
        out += header + "\r\n";
    }
    out += "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n";
    out += body;
    return out;
}

RefusingPort::RefusingPort()
    : fd_(loopbackSocket())
    , port_(portOf(fd_)) {}

RefusingPort::~RefusingPort() {
    ::close(fd_);
}

FullBacklogPort::FullBacklogPort()
    : listenFd_(loopbackSocket()) {
    ::listen(listenFd_, 0);
    port_ = portOf(listenFd_);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port_));
    // Connect until an attempt is left hanging: from then on the queue takes no one.
    for (int attempt = 0; attempt < 16 && !filled_; ++attempt) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        clients_.push_back(fd);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            continue;
        }
        pollfd writable{fd, POLLOUT, 0};
        filled_ = errno == EINPROGRESS && ::poll(&writable, 1, 200) == 0;
    }
}

FullBacklogPort::~FullBacklogPort() {
    for (const int fd : clients_) {
        ::close(fd);
    }
    ::close(listenFd_);
}

} // namespace qb::test
