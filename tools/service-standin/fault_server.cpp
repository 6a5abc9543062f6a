#include "fault_server.h"

#include <sys/socket.h>
#include <unistd.h>

#include "connection_stream.h"

namespace qb::standin {

namespace {

// The stream of the connection this thread is serving: handlers run on the connection's thread.
thread_local ConnectionStream* currentStream = nullptr;

int toMs(time_t sec, time_t usec) {
    return static_cast<int>(sec * 1000 + usec / 1000);
}

} // namespace

void FaultServer::setFate(ConnectionFate fate) {
    if (currentStream)
        currentStream->fate = fate;
}

bool FaultServer::process_and_close_socket(socket_t sock) {
    ConnectionStream stream(sock, toMs(read_timeout_sec_, read_timeout_usec_),
                            toMs(write_timeout_sec_, write_timeout_usec_));
    currentStream = &stream;
    bool ok = true;
    for (size_t left = keep_alive_max_count_; left > 0; --left) {
        if (svr_sock_ == INVALID_SOCKET ||
            !stream.waitReadable(static_cast<int>(keep_alive_timeout_sec_ * 1000)))
            break;
        bool closed = false;
        stream.fate = ConnectionFate::Answer;
        ok = process_request(stream, left == 1, closed, nullptr);
        if (!ok || closed || stream.fate != ConnectionFate::Answer)
            break;
    }
    currentStream = nullptr;
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
    return ok;
}

} // namespace qb::standin
