#include "service_standin.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <httplib.h>

extern char** environ;

namespace qb::testing {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kStartLimit = std::chrono::seconds(15);

std::string binaryPath() {
    if (const char* dir = std::getenv("QB_BUILD_DIR"); dir && *dir) {
        std::string path = std::string(dir) + "/bin/service-standin";
        if (::access(path.c_str(), X_OK) == 0)
            return path;
    }
    return QB_SERVICE_STANDIN_BIN;
}

// Reads the "listening on http://127.0.0.1:<port>" line the service prints once it listens.
int readAnnouncedPort(int fd) {
    std::string text;
    const auto deadline = Clock::now() + kStartLimit;
    while (text.find('\n') == std::string::npos && Clock::now() < deadline) {
        pollfd pfd{fd, POLLIN, 0};
        if (::poll(&pfd, 1, 100) <= 0)
            continue;
        char chunk[256];
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n <= 0)
            break;
        text.append(chunk, static_cast<size_t>(n));
    }
    auto colon = text.rfind(':', text.find('\n'));
    return colon == std::string::npos ? 0 : std::atoi(text.c_str() + colon + 1);
}

} // namespace

ServiceStandin::ServiceStandin(std::vector<std::string> extraArgs) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    // The stand-in's stdin is a pipe that only this process holds: when the test dies without
    // stopping it, the pipe closes and the stand-in ends too. Its stderr does not hold the test
    // runner's output open.
    int in[2];
    if (::pipe2(in, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    std::vector<std::string> args = {binaryPath(), "--port", "0", "--stop-on-stdin-eof"};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(in[0]);
    stdinPipe_ = in[1];
    if (rc != 0) {
        ::close(out[0]);
        pid_ = -1;
        throw std::runtime_error("cannot start " + args[0]);
    }
    port_ = readAnnouncedPort(out[0]);
    ::close(out[0]);
    if (port_ <= 0) {
        stop();
        throw std::runtime_error("the stand-in service did not start: " + args[0]);
    }
}

ServiceStandin::~ServiceStandin() {
    stop();
}

void ServiceStandin::stop() {
    if (stdinPipe_ >= 0) {
        ::close(stdinPipe_);
        stdinPipe_ = -1;
    }
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (::waitpid(pid_, nullptr, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
}

std::string ServiceStandin::baseUrl() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

std::string ServiceStandin::get(const std::string& path) const {
    httplib::Client client("127.0.0.1", port_);
    auto res = client.Get(path.c_str());
    if (!res || res->status != 200)
        throw std::runtime_error("control request failed: " + path);
    return res->body;
}

void ServiceStandin::control(const std::string& method, const std::string& path,
                             const std::string& body) const {
    httplib::Client client("127.0.0.1", port_);
    auto res = method == "DELETE" ? client.Delete(path.c_str())
                                  : client.Post(path.c_str(), body, "application/json");
    if (!res || res->status != 200)
        throw std::runtime_error("control request failed: " + path + " " + body);
}

std::vector<LoggedRequest> ServiceStandin::requests() const {
    std::vector<LoggedRequest> list;
    std::istringstream lines(get("/__control/log"));
    for (std::string line; std::getline(lines, line);) {
        auto json = nlohmann::json::parse(line);
        LoggedRequest request{json["method"], json["target"], json["version"], {}, json["body"]};
        for (const auto& [name, value] : json["headers"].items())
            request.headers[name] = value.get<std::string>();
        list.push_back(std::move(request));
    }
    return list;
}

void ServiceStandin::clearRequests() const {
    control("DELETE", "/__control/log");
}

void ServiceStandin::addFault(const nlohmann::json& rule) const {
    control("POST", "/__control/faults", rule.dump());
}

void ServiceStandin::delay(const std::string& prefix, int ms, int times) const {
    addFault({{"kind", "delay"}, {"match", prefix}, {"ms", ms}, {"times", times}});
}

void ServiceStandin::failWithStatus(const std::string& prefix, int status, int times) const {
    addFault({{"kind", "status"}, {"match", prefix}, {"status", status}, {"times", times}});
}

void ServiceStandin::answerWith(const std::string& prefix, int status, const std::string& body,
                                int times) const {
    addFault({{"kind", "status"},
              {"match", prefix},
              {"status", status},
              {"body", body},
              {"times", times}});
}

void ServiceStandin::dropConnections(const std::string& prefix, int times) const {
    addFault({{"kind", "drop"}, {"match", prefix}, {"times", times}});
}

void ServiceStandin::answerGarbage(const std::string& prefix, int times) const {
    addFault({{"kind", "garbage"}, {"match", prefix}, {"times", times}});
}

void ServiceStandin::resetFaults() const {
    control("POST", "/__control/reset");
}

} // namespace qb::testing
