// The stand-in TorrServer. Serves on 127.0.0.1 only; prints the port it listens on.
#include "routes.h"

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <pthread.h>
#include <thread>
#include <unistd.h>

using namespace torrserver;

namespace {
// The seed file: one seed a line (see README.md), blank lines and "#" lines left out.
std::vector<SeedItem> readSeedFile(const std::string& path, std::vector<std::string>& errors) {
    std::vector<SeedItem> items;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
            line.pop_back();
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        std::string error;
        if (const std::optional<SeedItem> item = seedItemOfLine(line, error)) {
            items.push_back(*item);
        } else {
            errors.push_back(line + ": " + error);
        }
    }
    return items;
}
} // namespace

int main(int argc, char** argv) {
    const ParsedOptions parsed = parseOptions(argc, argv);
    if (!parsed.error.empty() || parsed.options.help) {
        std::cerr << parsed.error << (parsed.error.empty() ? "" : "\n") << usageText();
        return parsed.error.empty() ? 0 : 2;
    }
    // SIGTERM and SIGINT are taken by a waiting thread, so the server stops cleanly.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    App app(parsed.options);
    if (!app.search.error().empty()) {
        std::cerr << "--search-fixture: " << app.search.error() << "\n";
        return 2;
    }
    for (const auto& [name, value] : parsed.options.faults) {
        if (const std::string error = app.faults.applyOption(name, value); !error.empty()) {
            std::cerr << error << "\n";
            return 2;
        }
    }
    if (!parsed.options.seedFile.empty()) {
        std::vector<std::string> errors;
        const std::vector<SeedItem> items = readSeedFile(parsed.options.seedFile, errors);
        for (const std::string& error : seedTorrents(app, items)) {
            errors.push_back(error);
        }
        for (const std::string& error : errors) {
            std::cerr << "seed: " << error << "\n";
        }
    }
    installRoutes(app);
    if (parsed.options.port == 0) {
        app.port = app.server.bind_to_any_port("127.0.0.1");
    } else if (app.server.bind_to_port("127.0.0.1", parsed.options.port)) {
        app.port = parsed.options.port;
    }
    if (app.port <= 0) {
        std::cerr << "cannot listen on 127.0.0.1:" << parsed.options.port << "\n";
        return 1;
    }
    std::cout << "torrserver-standin listening on 127.0.0.1:" << app.port << std::endl;

    std::thread signalWaiter([&app, signals] {
        int received = 0;
        sigwait(&signals, &received);
        app.server.shutdown();
    });
    if (parsed.options.stopOnStdinEof) {
        // A test that dies without stopping its server closes our stdin: do not outlive it.
        std::thread([&app] {
            char buffer[256];
            while (::read(STDIN_FILENO, buffer, sizeof(buffer)) > 0) {
            }
            app.server.shutdown();
        }).detach();
    }
    app.server.listen_after_bind();
    // Stopped by other means than a signal: wake the waiter so it can be joined.
    pthread_kill(signalWaiter.native_handle(), SIGTERM);
    signalWaiter.join();
    return 0;
}
