// torznab-standin: a Torznab indexer for the tests and the demo (see README.md).
#include "indexer.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>

#include <poll.h>
#include <unistd.h>

namespace {

// What the next answers of /api do instead of answering (POST /__control).
struct Faults {
    int delayMs = 0;
    int status = 0;   // answer this status (with Torznab's error for 401 and 403)
    std::string body; // answer this body, as it is
    bool useBody = false;
    bool huge = false; // an endless stream of items (the client must give up)
    bool drip = false; // a byte every half second, never ending
};

struct State {
    std::mutex mutex;
    std::condition_variable stopping;
    std::atomic<bool> stopped{false};
    Faults faults;
    nlohmann::json log = nlohmann::json::array();
};

// Waits `ms`, less when the stand-in stops meanwhile; false when it stops.
bool pause(State& state, int ms) {
    std::unique_lock lock(state.mutex);
    return !state.stopping.wait_for(lock, std::chrono::milliseconds(ms),
                                    [&state] { return state.stopped.load(); });
}

std::int64_t now() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void applyControl(State& state, const nlohmann::json& body) {
    const std::lock_guard lock(state.mutex);
    if (body.value("reset", false)) {
        state.faults = {};
    }
    Faults& f = state.faults;
    f.delayMs = body.value("delayMs", f.delayMs);
    f.status = body.value("status", f.status);
    if (body.contains("body")) {
        f.useBody = body["body"].is_string();
        f.body = f.useBody ? body["body"].get<std::string>() : std::string();
    }
    f.huge = body.value("huge", f.huge);
    f.drip = body.value("drip", f.drip);
}

void answerApi(State& state, const std::vector<torznab::Item>& items, const std::string& apikey,
               int port, const httplib::Request& request, httplib::Response& response) {
    Faults faults;
    {
        const std::lock_guard lock(state.mutex);
        state.log.push_back({{"target", request.target}, {"path", request.path}, {"time", now()}});
        faults = state.faults;
    }
    if (faults.delayMs > 0 && !pause(state, faults.delayMs)) {
        return;
    }
    const char* xml = "application/rss+xml; charset=utf-8";
    if (faults.huge) {
        response.set_chunked_content_provider(xml, [&state](std::size_t, httplib::DataSink& sink) {
            static const std::string head = "<?xml version=\"1.0\"?><rss><channel>";
            std::string chunk;
            while (chunk.size() < 65536) {
                chunk += "<item><title>endless</title><link>magnet:?xt=urn:btih:" +
                         std::string(40, 'e') + "</link></item>\n";
            }
            return sink.write(head.data(), head.size()) && sink.write(chunk.data(), chunk.size()) &&
                   !state.stopped;
        });
        return;
    }
    if (faults.drip) {
        response.set_chunked_content_provider(xml, [&state](std::size_t, httplib::DataSink& sink) {
            return sink.write("<", 1) && pause(state, 500);
        });
        return;
    }
    if (faults.status != 0) {
        response.status = faults.status;
        const bool refused = faults.status == 401 || faults.status == 403;
        response.set_content(faults.useBody ? faults.body
                             : refused      ? torznab::errorAnswer(100, "Invalid API Key")
                                            : std::string("Error"),
                             refused ? xml : "text/plain");
        return;
    }
    if (faults.useBody) {
        response.set_content(faults.body, xml);
        return;
    }
    if (request.get_param_value("apikey") != apikey) {
        response.status = 401;
        response.set_content(torznab::errorAnswer(100, "Invalid API Key"), xml);
        return;
    }
    const std::string t = request.get_param_value("t");
    if (t == "caps") {
        response.set_content(torznab::capsAnswer(), xml);
    } else if (t == "search") {
        const std::string limit = request.get_param_value("limit");
        const std::string offset = request.get_param_value("offset");
        const auto found =
            torznab::search(items, request.get_param_value("q"), request.get_param_value("cat"),
                            offset.empty() ? 0 : std::atoi(offset.c_str()),
                            limit.empty() ? 100 : std::atoi(limit.c_str()));
        response.set_content(torznab::rssOf(found, "http://127.0.0.1:" + std::to_string(port)),
                             xml);
    } else {
        response.set_content(torznab::errorAnswer(202, "No such function"), xml);
    }
}

} // namespace

int main(int argc, char** argv) {
    int port = 9117;
    std::string apikey = "standin-key";
    std::string fixture;
    bool stopOnStdinEof = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--stop-on-stdin-eof") {
            stopOnStdinEof = true;
        } else if (i + 1 < argc && arg == "--port") {
            port = std::atoi(argv[++i]);
        } else if (i + 1 < argc && arg == "--apikey") {
            apikey = argv[++i];
        } else if (i + 1 < argc && arg == "--fixture") {
            fixture = argv[++i];
        } else {
            std::fprintf(stderr, "usage: torznab-standin [--port N] [--apikey KEY] "
                                 "[--fixture FILE] [--stop-on-stdin-eof]\n");
            return 2;
        }
    }
    std::vector<torznab::Item> items;
    if (!fixture.empty()) {
        std::ifstream in(fixture);
        const nlohmann::json json = nlohmann::json::parse(in, nullptr, false);
        if (!json.is_array()) {
            std::fprintf(stderr, "torznab-standin: %s is not a JSON array\n", fixture.c_str());
            return 2;
        }
        items = torznab::readFixture(json, now());
    }

    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    State state;
    httplib::Server server;
    const int bound = port == 0 ? server.bind_to_any_port("127.0.0.1")
                      : server.bind_to_port("127.0.0.1", port) ? port
                                                               : -1;
    if (bound <= 0) {
        std::fprintf(stderr, "torznab-standin: cannot listen on port %d\n", port);
        return 1;
    }
    server.Get("/api", [&](const httplib::Request& request, httplib::Response& response) {
        answerApi(state, items, apikey, bound, request, response);
    });
    // The posters beside the fixture (<fixture's folder>/posters/<file>).
    const std::string posters =
        fixture.empty() ? std::string() : fixture.substr(0, fixture.rfind('/') + 1) + "posters/";
    server.Get(R"(/posters/([A-Za-z0-9_-]+\.jpg))",
               [&posters](const httplib::Request& request, httplib::Response& response) {
                   std::ifstream in(posters + request.matches[1].str(), std::ios::binary);
                   if (posters.empty() || !in) {
                       response.status = 404;
                       return;
                   }
                   const std::string bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
                   response.set_content(bytes, "image/jpeg");
               });
    server.Post("/__control",
                [&state](const httplib::Request& request, httplib::Response& response) {
                    const nlohmann::json body = nlohmann::json::parse(request.body, nullptr, false);
                    if (!body.is_object()) {
                        response.status = 400;
                        return;
                    }
                    applyControl(state, body);
                    response.set_content("{}", "application/json");
                });
    server.Get("/__control/log", [&state](const httplib::Request&, httplib::Response& response) {
        const std::lock_guard lock(state.mutex);
        response.set_content(state.log.dump(), "application/json");
    });
    server.Delete("/__control/log", [&state](const httplib::Request&, httplib::Response&) {
        const std::lock_guard lock(state.mutex);
        state.log = nlohmann::json::array();
    });
    std::printf("torznab-standin listening on 127.0.0.1:%d\n", bound);
    std::fflush(stdout);

    const auto stop = [&state, &server] {
        {
            const std::lock_guard lock(state.mutex);
            state.stopped = true;
        }
        state.stopping.notify_all();
        server.stop();
    };
    std::thread watcher([&] {
        const timespec step{0, 200'000'000};
        char buffer[64];
        for (;;) {
            {
                const std::lock_guard lock(state.mutex);
                if (state.stopped) {
                    return;
                }
            }
            if (::sigtimedwait(&signals, nullptr, &step) > 0) {
                stop();
            } else if (pollfd input{STDIN_FILENO, POLLIN, 0};
                       stopOnStdinEof && ::poll(&input, 1, 0) > 0 &&
                       ::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
                stop();
            }
        }
    });
    server.listen_after_bind();
    stop();
    watcher.join();
    return 0;
}
