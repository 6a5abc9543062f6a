// The stand-in of the maker's search service: answers every path the client uses from a fixture
// folder, on 127.0.0.1 only, with switches for faults. See README.md.
#include <csignal>
#include <cstdio>
#include <iostream>
#include <thread>

#include <unistd.h>

#include "fault_server.h"
#include "routes.h"

using namespace qb::standin;

namespace {

std::filesystem::path executablePath(const char* argv0) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::absolute(argv0) : self;
}

} // namespace

int main(int argc, char** argv) {
    auto parsed = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        (parsed.error ? std::cerr : std::cout) << parsed.message;
        return parsed.error ? 2 : 0;
    }
    Options options = *parsed.options;
    auto fixtureDir = options.fixtures.empty() ? defaultFixtureDir(executablePath(argv[0]))
                                               : std::filesystem::path(options.fixtures);
    ServiceContext context(options, fixtureDir);
    std::string error;
    if (!context.fixtures.load(error)) {
        std::cerr << "service-standin: " << error << '\n';
        return 1;
    }
    for (const auto& faultText : options.faults) {
        auto rule = parseFaultSpec(faultText);
        if (!rule) {
            std::cerr << "service-standin: bad --fault " << faultText << '\n';
            return 2;
        }
        context.faults.add(*rule);
    }

    // Signals are taken by a thread of their own, which stops the server cleanly.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    FaultServer server;
    installControlRoutes(server, context);
    installSearchRoutes(server, context);
    installReleaseRoutes(server, context);
    installFileRoutes(server, context);

    const char* host = "127.0.0.1";
    if (options.port == 0) {
        context.options.port = server.bind_to_any_port(host);
    } else if (!server.bind_to_port(host, options.port)) {
        context.options.port = -1;
    }
    if (context.options.port <= 0) {
        std::cerr << "service-standin: cannot listen on port " << options.port << '\n';
        return 1;
    }
    std::cout << "service-standin listening on http://" << host << ':' << context.options.port
              << std::endl;

    std::thread waiter([&] {
        int signal = 0;
        sigwait(&signals, &signal);
        context.stop();
        server.stop();
    });
    if (options.stopOnStdinEof) {
        // A test that dies without stopping its stand-in closes our stdin: do not outlive it.
        std::thread([&] {
            char buffer[256];
            while (::read(STDIN_FILENO, buffer, sizeof(buffer)) > 0) {
            }
            context.stop();
            server.stop();
        }).detach();
    }
    server.listen_after_bind();
    if (waiter.joinable()) {
        // listen ended without a signal (an error): wake the waiter so it can finish.
        pthread_kill(waiter.native_handle(), SIGTERM);
        waiter.join();
    }
    return 0;
}
