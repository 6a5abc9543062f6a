#pragma once

#include "routes.h"

#include <optional>
#include <string>

namespace torrserver {

// What the request carried for today's server's authentication.
struct AuthState {
    bool checked = false;            // accounts are set up: requests are checked
    std::optional<std::string> user; // the account the request authenticated as
    // The request may not use a guarded route (authentication is on and it has none).
    bool refused(const App& app) const { return app.accounts.required() && !user; }
    // /stream and /play let a request without authentication only play and list.
    bool limited() const { return checked && !user; }
};

// 401 with the server's challenge and an empty body.
void refuseUnauthorized(Response& res);
// An error answer of today's server: the status and an empty body.
void sendStatus(Response& res, int status);
// A JSON answer as gin writes it.
void sendGinJson(Response& res, const Json& value, int status = 200);

// Today's server's handlers, by file.
void matrixEcho(App& app, const Request& req, Response& res, const AuthState& auth);
void matrixTorrents(App& app, const Request& req, Response& res, const AuthState& auth);
void matrixUpload(App& app, const Request& req, Response& res, const AuthState& auth);
void matrixStream(App& app, const Request& req, Response& res, const AuthState& auth);
void matrixPlay(App& app, const Request& req, Response& res, const AuthState& auth);
void matrixPlaylist(App& app, const Request& req, Response& res, const AuthState& auth);
void matrixAllPlaylist(App& app, const Request& req, Response& res, const AuthState& auth);
void matrixViewed(App& app, const Request& req, Response& res, const AuthState& auth);
void matrixSettings(App& app, const Request& req, Response& res, const AuthState& auth);
void matrixCache(App& app, const Request& req, Response& res, const AuthState& auth);
void matrixShutdown(App& app, const Request& req, Response& res, const AuthState& auth);
void matrixStatPage(App& app, const Request& req, Response& res, const AuthState& auth);
void matrixMagnets(App& app, const Request& req, Response& res, const AuthState& auth);
void matrixWebPage(App& app, const Request& req, Response& res, const AuthState& auth);
void matrixSearch(App& app, const Request& req, Response& res, const AuthState& auth);
void matrixTorznabSearch(App& app, const Request& req, Response& res, const AuthState& auth);

} // namespace torrserver
