#pragma once

#include "service_pages.h"

#include <httplib.h>

#include <string>

namespace qb::service {

// Every path the client asks the service for, on `server`:
//   /version.txt, /get.php, /get_info.php, /check_poster.php, /no-poster.jpg, /abt.need,
//   /error_404.png
// Requests that name another host than this machine's loopback (a web page reaching the
// service through a name it controls) are refused.
void addServiceRoutes(httplib::Server& server, ServicePages& pages, std::string trackerDomain,
                      int port);

// Whether a Host header names this machine's loopback: "127.0.0.1", "localhost" or "[::1]",
// with or without a port.
bool isLoopbackHost(std::string_view host);

} // namespace qb::service
