#pragma once

#include "faults.h"

#include <atomic>
#include <functional>
#include <httplib.h>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace torrserver {

// The request head as it came over the wire, headers in their order and spelling.
struct RawRequestHead {
    std::string method;
    std::string target;
    std::string version;
    std::vector<std::pair<std::string, std::string>> headers;
};

RawRequestHead parseRawHead(std::string_view head);

// The header that carries a request's Range to the handlers.
inline constexpr const char* kRawRangeHeader = "X-Standin-Range";

// The head handed to the library: later "?" of the target escaped, Range renamed, and an
// explicit empty body for requests that announce none.
std::string headForLibrary(const std::string& head, const RawRequestHead& parsed);

// cpp-httplib's server with its own connection loop, so that the stand-in can see the bytes of
// each request before the library parses them (to drop the connection or answer with garbage
// instead of HTTP), record the raw head for the request log, and let a blocking handler learn
// that its client has gone away.
class StandinServer : public httplib::Server {
public:
    // Decides a connection fault for a request about to be read; the body is what has arrived.
    using ConnectionFaultHook =
        std::function<ConnectionFault(const RawRequestHead& head, const std::string& body)>;

    StandinServer();
    void setConnectionFaultHook(ConnectionFaultHook hook) { faultHook_ = std::move(hook); }

    // Stops listening and tells blocked handlers to give up.
    void shutdown();
    bool stopping() const { return stopping_; }

    // For handlers, on the thread that runs them:
    static bool clientGone();
    static std::string currentRawHead();
    // The status line of the current answer says HTTP/1.0 (for HTTP/1.0 requests).
    static void answerAsHttp10();

private:
    bool process_and_close_socket(socket_t sock) override;

    ConnectionFaultHook faultHook_;
    std::atomic<bool> stopping_{false};
};

} // namespace torrserver
