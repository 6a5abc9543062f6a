#include "connection/http/http_result.h"

#include "connection/http/charset_decode.h"

namespace qb::net {

QString HttpResult::text() const {
    return connection::decodeCharset(body, connection::charsetOf(contentType));
}

} // namespace qb::net
