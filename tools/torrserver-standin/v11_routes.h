#pragma once

#include "routes.h"

namespace torrserver {

// The 1.1 server's handlers, by file.
void v11Add(App& app, const Request& req, Response& res);
void v11Upload(App& app, const Request& req, Response& res);
void v11List(App& app, const Request& req, Response& res);
void v11Get(App& app, const Request& req, Response& res);
void v11Remove(App& app, const Request& req, Response& res);
void v11Drop(App& app, const Request& req, Response& res);
void v11Stat(App& app, const Request& req, Response& res);
void v11Play(App& app, const Request& req, Response& res);
void v11Preload(App& app, const Request& req, Response& res);
void v11View(App& app, const Request& req, Response& res);
void v11AllPlaylist(App& app, const Request& req, Response& res);
void v11Restart(App& app, const Request& req, Response& res);
void v11Echo(App& app, const Request& req, Response& res);
void v11Page(App& app, const Request& req, Response& res);

} // namespace torrserver
