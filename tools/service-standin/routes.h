#pragma once

#include <optional>
#include <string>

#include <httplib.h>

#include "service_context.h"

namespace qb::standin {

// Each installs one group of paths on the server. The files group ends with the routes that
// answer every other path, so it goes last.
void installSearchRoutes(httplib::Server& server, ServiceContext& context);
void installReleaseRoutes(httplib::Server& server, ServiceContext& context);
void installFileRoutes(httplib::Server& server, ServiceContext& context);
void installControlRoutes(httplib::Server& server, ServiceContext& context);

// Helpers shared by the route files.
// The handler, run after the request is logged and its faults are applied.
httplib::Server::Handler withFaultsAndLog(ServiceContext& context,
                                          httplib::Server::Handler handler);
// The value of a query parameter in a raw request target: "+" is a blank, "%XX" a byte.
std::string queryParam(const std::string& target, const std::string& name);
std::string contentTypeFor(const std::string& path);
// "http://" + the Host the client used: fixture pages say "{{base}}" where an address of this
// service belongs, so pages work whatever port or name the client reached it by. answerPage also
// puts in the tracker's image host ("{{imghost}}") and the film database host ("{{filmdb}}").
std::string baseUrlOf(const httplib::Request& request, int port);
void answerPage(httplib::Response& response, std::string html, const std::string& base);
bool secretMatches(const httplib::Request& request, const ServiceContext& context);
// The short error page of the web server in front of the service.
std::string errorPage(int status);
// The fixture file that an image path of this service (or of the tracker's image host) names.
std::optional<std::string> imageFixtureFor(const std::string& path);

} // namespace qb::standin
