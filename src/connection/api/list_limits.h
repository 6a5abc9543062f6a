#pragma once

#include "connection/http/http_client.h"

namespace qb::connection {
// The list request may take five seconds to connect. A server that takes the connection and
// then stays silent must not keep the list and the connect button disabled for good: unless the
// client has a read time-out of its own, the answer must begin within this long.
inline constexpr int kListConnectTimeoutMs = 5000;
inline constexpr int kListReadTimeoutMs = 30000;

inline net::RequestLimits listLimits(const net::HttpClient& client) {
    return {kListConnectTimeoutMs,
            client.readTimeoutMs() > 0 ? client.readTimeoutMs() : kListReadTimeoutMs};
}
} // namespace qb::connection
