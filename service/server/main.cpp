// quillbrook-service: the search service of the Quillbrook client, on 127.0.0.1.
#include "build_config.h"
#include "core/service_settings.h"
#include "release_registry.h"
#include "search_hub.h"
#include "service_config.h"
#include "service_log.h"
#include "service_pages.h"
#include "service_routes.h"

#include <httplib.h>

#include <atomic>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <thread>

#include <poll.h>
#include <pthread.h>
#include <unistd.h>

using namespace qb::service;

namespace {

constexpr auto kSaveEvery = std::chrono::seconds(5);
constexpr auto kLookEvery = std::chrono::milliseconds(200);

struct Effective {
    int port;
    std::string stateFile;
    int pageWaitMs;
    int sourceTimeoutS;
};

Effective effectiveSettings(const ServiceSettings& line, const ServiceSettings& file) {
    const auto pick = [](int given, int fromFile, int otherwise) {
        return given >= 0 ? given : fromFile >= 0 ? fromFile : otherwise;
    };
    return {pick(line.port, file.port, defaultPort()),
            !line.stateFile.empty()   ? line.stateFile
            : !file.stateFile.empty() ? file.stateFile
                                      : defaultStateFile(),
            pick(line.pageWaitMs, file.pageWaitMs, kDefaultPageWaitMs),
            pick(line.sourceTimeoutS, file.sourceTimeoutS, kDefaultSourceTimeoutS)};
}

// The ways the service is asked to end: SIGINT or SIGTERM, or its standard input closing
// (--stop-on-stdin-eof, for a parent that holds it open while it wants the service).
class Ending {
public:
    explicit Ending(httplib::Server& server)
        : server_(server) {}

    void watchSignals(const sigset_t& signals) {
        threads_.emplace_back([this, signals] {
            const timespec step{0, std::chrono::nanoseconds(kLookEvery).count()};
            while (!ended()) {
                if (::sigtimedwait(&signals, nullptr, &step) > 0) {
                    end();
                }
            }
        });
    }

    void watchStandardInput() {
        threads_.emplace_back([this] {
            char buffer[256];
            while (!ended()) {
                pollfd input{STDIN_FILENO, POLLIN, 0};
                const int ready = ::poll(&input, 1, static_cast<int>(kLookEvery.count()));
                if (ready > 0 && ::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
                    end();
                }
            }
        });
    }

    // Writes the state file every few seconds while the service runs.
    void saveRegularly(ReleaseRegistry& registry) {
        threads_.emplace_back([this, &registry] {
            std::unique_lock lock(mutex_);
            while (!ended_) {
                changed_.wait_for(lock, kSaveEvery, [this] { return ended_; });
                lock.unlock();
                registry.save();
                lock.lock();
            }
        });
    }

    void end() {
        {
            const std::lock_guard lock(mutex_);
            ended_ = true;
        }
        changed_.notify_all();
        server_.stop();
    }

    void join() {
        end();
        for (std::thread& thread : threads_) {
            thread.join();
        }
    }

private:
    bool ended() {
        const std::lock_guard lock(mutex_);
        return ended_;
    }

    httplib::Server& server_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool ended_ = false;
    std::vector<std::thread> threads_;
};

} // namespace

int main(int argc, char** argv) {
    const CommandLine line = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!line.error.empty()) {
        std::fprintf(stderr, "quillbrook-service: %s\n\n%s", line.error.c_str(),
                     usageText().c_str());
        return 2;
    }
    if (line.help || line.version) {
        const std::string text =
            line.help ? usageText()
                      : std::string("quillbrook-service ") + qb::build::kAppVersion + "\n";
        std::fputs(text.c_str(), stdout);
        return 0;
    }

    if (!line.logFile.empty() && !setLogFile(line.logFile)) {
        std::fprintf(stderr, "quillbrook-service: cannot write %s\n", line.logFile.c_str());
        return 1;
    }

    // Signals are taken by one thread, so they never cut into a request.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    SourceSettings sources(line.settings.sources,
                           line.settingsFile.empty() ? defaultSettingsFile() : line.settingsFile);
    const Effective settings = effectiveSettings(line.settings, sources.readFile(false));
    const std::size_t sourceCount = sources.sources().size();

    SearchHub hub({std::chrono::seconds(settings.sourceTimeoutS), 16 * 1024 * 1024});
    ReleaseRegistry registry(settings.stateFile);
    ServicePages pages(hub, registry, sources, std::chrono::milliseconds(settings.pageWaitMs));

    httplib::Server server;
    const int port = settings.port == 0 ? server.bind_to_any_port("127.0.0.1")
                     : server.bind_to_port("127.0.0.1", settings.port) ? settings.port
                                                                       : -1;
    if (port <= 0) {
        logLine("cannot listen on 127.0.0.1:" + std::to_string(settings.port) +
                " (is the service running already?)");
        return 1;
    }
    addServiceRoutes(server, pages, qb::build::kTrackerDomain, port);
    std::printf("quillbrook-service listening on http://127.0.0.1:%d\n", port);
    std::fflush(stdout);
    logLine(sourceCount == 0 ? "no sources yet: add them to " + sources.settingsFile()
                             : std::to_string(sourceCount) + " sources");

    Ending ending(server);
    ending.watchSignals(signals);
    if (line.stopOnStdinEof) {
        ending.watchStandardInput();
    }
    ending.saveRegularly(registry);
    server.listen_after_bind();

    ending.join();
    hub.stop();
    registry.save();
    return 0;
}
