#pragma once

class TForm1;
namespace qb::net {
struct HttpResult;
}

namespace qb::lists {
// How a failed removal ends the replacing import and the update: a connection that could not
// be made or broke gets the window's own message, any other failure the general error report.
void reportFailedRemoval(TForm1& form, const qb::net::HttpResult& answer);
} // namespace qb::lists
