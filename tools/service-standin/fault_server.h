#pragma once

#include <httplib.h>

namespace qb::standin {

// How the connection of the request being handled must end, whatever the handler answers.
enum class ConnectionFate {
    Answer,  // the normal HTTP answer
    Drop,    // close without sending a byte
    Garbage, // send text that is not HTTP, then close
    Reset,   // send the head and kResetBodyBytes of the body, then reset the connection
};

// How much of the body a reset answer lets through.
inline constexpr std::size_t kResetBodyBytes = 1000;

// The text sent in place of an answer by ConnectionFate::Garbage.
inline constexpr const char* kGarbageAnswer = "SSH-2.0-OpenSSH_9.2 not an http server\r\n";

// An HTTP server whose handlers can decide, per request, to drop the connection or to answer
// with something that is not HTTP. It runs each connection itself over a small socket stream,
// so the decision takes effect on the bytes that actually leave.
class FaultServer : public httplib::Server {
public:
    // Called from a handler: applies to the request that handler is serving.
    static void setFate(ConnectionFate fate);

private:
    bool process_and_close_socket(socket_t sock) override;
};

} // namespace qb::standin
