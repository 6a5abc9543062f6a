#pragma once

#include "connection/http/abort_signal.h"
#include "connection/http/client_settings.h"
#include "connection/http/http_result.h"

#include <QByteArray>

#include <cstdint>

namespace qb::net {

struct TransferRequest {
    QByteArray url;
    bool post = false;
    QByteArray body;
    QByteArray contentType;  // the body's own Content-Type; empty: none of the client's
    ClientSettings settings; // as they were when the request was made
    std::uint64_t abortGeneration = 0;
};

// Runs one request to its end on the calling thread, on an easy handle of its own. Ends early
// when `abort` moves past the request's generation.
HttpResult performTransfer(const TransferRequest& request, AbortSignal& abort);

// Makes sure curl's global state is set up; safe to call from any thread, any number of times.
void ensureCurlInitialised();

} // namespace qb::net
