#include "standin_server.h"

#include "text_escape.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace torrserver {

namespace {

constexpr std::size_t kMaxHead = 64 * 1024;

bool pollFor(int sock, short events, int timeoutMs, short* revents = nullptr) {
    pollfd pfd{sock, events, 0};
    int rc;
    do {
        rc = ::poll(&pfd, 1, timeoutMs);
    } while (rc < 0 && errno == EINTR);
    if (revents != nullptr) {
        *revents = pfd.revents;
    }
    return rc > 0;
}

void addressOf(int sock, bool peer, std::string& ip, int& port) {
    sockaddr_storage addr{};
    socklen_t len = sizeof(addr);
    const int rc = peer ? getpeername(sock, reinterpret_cast<sockaddr*>(&addr), &len)
                        : getsockname(sock, reinterpret_cast<sockaddr*>(&addr), &len);
    if (rc != 0 || addr.ss_family != AF_INET) {
        return;
    }
    const auto* in = reinterpret_cast<sockaddr_in*>(&addr);
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &in->sin_addr, text, sizeof(text));
    ip = text;
    port = ntohs(in->sin_port);
}

// A buffered socket stream that can look ahead at a request head and records what it hands
// to the library, so the raw request can be logged.
class SocketStream final : public httplib::Stream {
public:
    SocketStream(int sock, int readTimeoutMs, int writeTimeoutMs)
        : sock_(sock)
        , readTimeoutMs_(readTimeoutMs)
        , writeTimeoutMs_(writeTimeoutMs) {}

    bool is_readable() const override {
        return offset_ < buffer_.size() || pollFor(sock_, POLLIN, readTimeoutMs_);
    }
    bool is_writable() const override {
        short revents = 0;
        return pollFor(sock_, POLLOUT, writeTimeoutMs_, &revents) &&
               (revents & (POLLERR | POLLHUP)) == 0;
    }
    ssize_t read(char* ptr, size_t size) override {
        if (offset_ >= buffer_.size()) {
            if (!fill(readTimeoutMs_)) {
                return -1;
            }
        }
        const std::size_t n = std::min(size, buffer_.size() - offset_);
        std::copy_n(buffer_.data() + offset_, n, ptr);
        offset_ += n;
        return static_cast<ssize_t>(n);
    }
    ssize_t write(const char* ptr, size_t size) override {
        std::string_view data(ptr, size);
        std::string rewritten;
        if (http10Answer_ && data.rfind("HTTP/1.1 ", 0) == 0) {
            rewritten = "HTTP/1.0 " + std::string(data.substr(9));
            data = rewritten;
            http10Answer_ = false;
        }
        std::size_t sent = 0;
        while (sent < data.size()) {
            if (!pollFor(sock_, POLLOUT, writeTimeoutMs_)) {
                return -1;
            }
            const ssize_t n = ::send(sock_, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return -1;
            }
            sent += static_cast<std::size_t>(n);
        }
        return static_cast<ssize_t>(size);
    }
    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        addressOf(sock_, true, ip, port);
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        addressOf(sock_, false, ip, port);
    }
    socket_t socket() const override { return sock_; }

    bool hasBuffered() const { return offset_ < buffer_.size(); }
    void startRequest(std::string head) {
        head_ = std::move(head);
        http10Answer_ = false;
    }
    const std::string& head() const { return head_; }
    void answerAsHttp10() { http10Answer_ = true; }

    // Replaces the buffered head of the next request (as `peekHead` answered it).
    void replaceHead(std::size_t oldSize, const std::string& head) {
        buffer_.replace(offset_, oldSize, head);
    }

    // Reads until the buffer holds a whole request head (and up to `bodyLimit` bytes of body
    // announced by Content-Length); answers the head, or "" when none arrives.
    std::string peekHead(std::string* body, std::size_t bodyLimit) {
        while (true) {
            const std::string_view pending(buffer_.data() + offset_, buffer_.size() - offset_);
            const auto end = pending.find("\r\n\r\n");
            if (end != std::string_view::npos) {
                const std::string head(pending.substr(0, end + 4));
                const RawRequestHead parsed = parseRawHead(head);
                std::size_t length = 0;
                for (const auto& [name, value] : parsed.headers) {
                    if (equalsIgnoreCase(name, "Content-Length")) {
                        length = std::min<std::size_t>(std::strtoull(value.c_str(), nullptr, 10),
                                                       bodyLimit);
                    }
                }
                while (buffer_.size() - offset_ < end + 4 + length && fill(readTimeoutMs_)) {
                }
                // The buffer may have moved while filling: index it afresh.
                const std::size_t bodyStart = offset_ + end + 4;
                *body = buffer_.substr(bodyStart, std::min(length, buffer_.size() - bodyStart));
                return head;
            }
            if (pending.size() > kMaxHead || !fill(readTimeoutMs_)) {
                return {};
            }
        }
    }

private:
    bool fill(int timeoutMs) {
        if (!pollFor(sock_, POLLIN, timeoutMs)) {
            return false;
        }
        if (offset_ > 0) {
            buffer_.erase(0, offset_);
            offset_ = 0;
        }
        char chunk[16 * 1024];
        ssize_t n;
        do {
            n = ::recv(sock_, chunk, sizeof(chunk), 0);
        } while (n < 0 && errno == EINTR);
        if (n <= 0) {
            return false;
        }
        buffer_.append(chunk, static_cast<std::size_t>(n));
        return true;
    }

    int sock_;
    int readTimeoutMs_;
    int writeTimeoutMs_;
    std::string buffer_;
    std::size_t offset_ = 0;
    std::string head_;
    bool http10Answer_ = false;
};

thread_local SocketStream* tCurrentStream = nullptr;

// Bytes that no HTTP client can take for an answer.
constexpr char kGarbageBytes[] = "\x16\x03\x01\x00\xa5garbage\xff\xfe not an HTTP answer\r\n\r\n";
constexpr std::string_view kGarbage(kGarbageBytes, sizeof(kGarbageBytes) - 1);

// A reset answer promises this much body, sends a part of it, then resets the connection.
constexpr std::size_t kResetPromised = 64 * 1024;
constexpr std::size_t kResetSent = 1000;
// A huge answer: 100 MiB of text that is neither JSON nor HTML, produced piece by piece.
constexpr std::size_t kHugeSize = 100 * 1024 * 1024;

std::string answerHead(std::size_t length) {
    return "HTTP/1.1 200 OK\r\nContent-Type: application/json; charset=utf-8\r\nContent-Length: " +
           std::to_string(length) + "\r\nConnection: close\r\n\r\n";
}

// Aborts the connection: the peer sees a reset instead of an orderly end.
void resetConnection(int sock) {
    linger hard{1, 0};
    ::setsockopt(sock, SOL_SOCKET, SO_LINGER, &hard, sizeof(hard));
    ::close(sock);
}

void sendReset(SocketStream& stream) {
    const std::string head = answerHead(kResetPromised);
    stream.write(head.data(), head.size());
    const std::string part = "[{\"hash\":\"" + std::string(kResetSent, '0');
    stream.write(part.data(), part.size());
}

void sendHuge(SocketStream& stream) {
    const std::string head = answerHead(kHugeSize);
    if (stream.write(head.data(), head.size()) < 0) {
        return;
    }
    std::string chunk(64 * 1024, 'x');
    for (std::size_t i = 1023; i < chunk.size(); i += 1024) {
        chunk[i] = '\n';
    }
    for (std::size_t sent = 0; sent < kHugeSize; sent += chunk.size()) {
        if (stream.write(chunk.data(), chunk.size()) < 0) {
            return; // the client gave up
        }
    }
}

} // namespace

std::string headForLibrary(const std::string& head, const RawRequestHead& parsed) {
    const std::size_t lineEnd = head.find("\r\n");
    std::string out = head.substr(0, lineEnd);
    // Only the first "?" of a target starts the query; the library refuses later ones, which
    // an unescaped magnet link in a query carries.
    const std::size_t firstMark = out.find('?');
    for (std::size_t i = out.find('?', firstMark + 1);
         firstMark != std::string::npos && i != std::string::npos; i = out.find('?', i + 3)) {
        out.replace(i, 1, "%3F");
    }
    out += "\r\n";
    bool hasLength = false;
    for (const auto& [name, value] : parsed.headers) {
        hasLength = hasLength || equalsIgnoreCase(name, "Content-Length") ||
                    equalsIgnoreCase(name, "Transfer-Encoding");
        // Ranges are answered by the handlers: the library's own handling does not clamp them.
        out += (equalsIgnoreCase(name, "Range") ? std::string(kRawRangeHeader) : name) + ": " +
               value + "\r\n";
    }
    // A request without Content-Length or Transfer-Encoding has no body; the library would
    // refuse it.
    if (!hasLength) {
        out += "Content-Length: 0\r\n";
    }
    return out + "\r\n";
}

RawRequestHead parseRawHead(std::string_view head) {
    RawRequestHead out;
    std::size_t lineEnd = head.find("\r\n");
    const std::string_view requestLine = head.substr(0, lineEnd);
    const auto firstSpace = requestLine.find(' ');
    const auto lastSpace = requestLine.rfind(' ');
    if (firstSpace != std::string_view::npos && lastSpace > firstSpace) {
        out.method = requestLine.substr(0, firstSpace);
        out.target = requestLine.substr(firstSpace + 1, lastSpace - firstSpace - 1);
        out.version = requestLine.substr(lastSpace + 1);
    }
    while (lineEnd != std::string_view::npos) {
        const std::size_t start = lineEnd + 2;
        lineEnd = head.find("\r\n", start);
        const std::string_view line =
            head.substr(start, lineEnd == std::string_view::npos ? head.npos : lineEnd - start);
        const auto colon = line.find(':');
        if (line.empty() || colon == std::string_view::npos) {
            continue;
        }
        std::string_view value = line.substr(colon + 1);
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) {
            value.remove_prefix(1);
        }
        out.headers.emplace_back(std::string(line.substr(0, colon)), std::string(value));
    }
    return out;
}

StandinServer::StandinServer() {
    // Preloads and slow answers hold a worker each: keep plenty so they cannot wedge the rest.
    new_task_queue = [] { return new httplib::ThreadPool(64); };
}

void StandinServer::shutdown() {
    stopping_ = true;
    stop();
}

bool StandinServer::clientGone() {
    if (tCurrentStream == nullptr) {
        return false;
    }
    short revents = 0;
    if (!pollFor(tCurrentStream->socket(), POLLIN | POLLRDHUP, 0, &revents)) {
        return false;
    }
    if ((revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0) {
        return true;
    }
    char byte;
    return ::recv(tCurrentStream->socket(), &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
}

std::string StandinServer::currentRawHead() {
    if (tCurrentStream == nullptr) {
        return {};
    }
    return tCurrentStream->head();
}

void StandinServer::answerAsHttp10() {
    if (tCurrentStream != nullptr) {
        tCurrentStream->answerAsHttp10();
    }
}

bool StandinServer::process_and_close_socket(socket_t sock) {
    const auto toMs = [](time_t sec, time_t usec) {
        return static_cast<int>(sec * 1000 + usec / 1000);
    };
    SocketStream stream(sock, toMs(read_timeout_sec_, read_timeout_usec_),
                        toMs(write_timeout_sec_, write_timeout_usec_));
    tCurrentStream = &stream;
    bool ok = false;
    std::size_t remaining = keep_alive_max_count_;
    const auto idleLimit = std::chrono::seconds(keep_alive_timeout_sec_);
    while (remaining > 0 && !stopping_) {
        // Wait for the next request in short slices so a stopping server is not held up.
        const auto idleSince = std::chrono::steady_clock::now();
        bool readable = stream.hasBuffered();
        while (!readable && !stopping_ && svr_sock_ != INVALID_SOCKET &&
               std::chrono::steady_clock::now() - idleSince < idleLimit) {
            readable = pollFor(sock, POLLIN, 100);
        }
        if (!readable || stopping_) {
            break;
        }
        std::string body;
        const std::string head = stream.peekHead(&body, 1024 * 1024);
        const RawRequestHead parsed = parseRawHead(head);
        if (!head.empty() && faultHook_) {
            const ConnectionFault fault = faultHook_(parsed, body);
            if (fault == ConnectionFault::Garbage) {
                stream.write(kGarbage.data(), kGarbage.size());
            } else if (fault == ConnectionFault::Huge) {
                sendHuge(stream);
            } else if (fault == ConnectionFault::Reset) {
                sendReset(stream);
                tCurrentStream = nullptr;
                resetConnection(sock);
                return false;
            }
            if (fault != ConnectionFault::None) {
                break;
            }
        }
        if (!head.empty()) {
            stream.replaceHead(head.size(), headForLibrary(head, parsed));
        }
        stream.startRequest(head);
        bool closed = false;
        ok = process_request(stream, remaining == 1, closed, nullptr);
        if (!ok || closed) {
            break;
        }
        --remaining;
    }
    tCurrentStream = nullptr;
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
    return ok;
}

} // namespace torrserver
