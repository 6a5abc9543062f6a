#include "standin_process.h"

#include <arpa/inet.h>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <regex>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace qb::testing {

StandinProcess::StandinProcess(std::string program, std::string probePath)
    : program_(std::move(program))
    , probePath_(std::move(probePath)) {}

StandinProcess::~StandinProcess() {
    stop();
}

std::string StandinProcess::buildDir() {
    if (const char* dir = std::getenv("QB_BUILD_DIR"); dir != nullptr && *dir != '\0') {
        return dir;
    }
    return QB_TEST_BUILD_DIR;
}

bool StandinProcess::start(const std::vector<std::string>& args,
                           std::chrono::milliseconds timeout) {
    stop();
    error_.clear();
    int pipeFds[2];
    int stdinFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        error_ = "pipe failed";
        return false;
    }
    if (::pipe2(stdinFds, O_CLOEXEC) != 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        error_ = "pipe failed";
        return false;
    }
    stdinFd_ = stdinFds[1];
    std::vector<std::string> argv = {program_};
    argv.insert(argv.end(), args.begin(), args.end());
    argv.push_back("--port");
    argv.push_back("0");
    argv.push_back("--stop-on-stdin-eof");
    std::vector<char*> argvPointers;
    for (std::string& arg : argv) {
        argvPointers.push_back(arg.data());
    }
    argvPointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, stdinFds[0], STDIN_FILENO);
    const int rc =
        posix_spawn(&pid_, program_.c_str(), &actions, nullptr, argvPointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    ::close(stdinFds[0]);
    if (rc != 0) {
        pid_ = -1;
        ::close(pipeFds[0]);
        error_ = "cannot start " + program_;
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    const bool up = waitForPort(pipeFds[0], deadline) && waitForProbe(deadline);
    ::close(pipeFds[0]);
    if (!up) {
        stop();
    }
    return up;
}

bool StandinProcess::waitForPort(int outputFd, std::chrono::steady_clock::time_point deadline) {
    static const std::regex kListening(R"(127\.0\.0\.1:(\d+))");
    std::string output;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd pfd{outputFd, POLLIN, 0};
        if (::poll(&pfd, 1, 100) <= 0) {
            continue;
        }
        char chunk[256];
        const ssize_t n = ::read(outputFd, chunk, sizeof(chunk));
        if (n <= 0) {
            error_ = program_ + " ended before listening: " + output;
            return false;
        }
        output.append(chunk, static_cast<std::size_t>(n));
        std::smatch match;
        if (output.find('\n') != std::string::npos &&
            std::regex_search(output, match, kListening)) {
            port_ = std::stoi(match[1].str());
            return true;
        }
    }
    error_ = program_ + " printed no port in time: " + output;
    return false;
}

bool StandinProcess::waitForProbe(std::chrono::steady_clock::time_point deadline) {
    while (std::chrono::steady_clock::now() < deadline) {
        httplib::Client http = client();
        if (const auto answer = http.Get(probePath_); answer && answer->status == 200) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    error_ = program_ + " does not answer " + probePath_;
    return false;
}

void StandinProcess::stop() {
    if (stdinFd_ >= 0) {
        ::close(stdinFd_);
        stdinFd_ = -1;
    }
    if (pid_ <= 0) {
        return;
    }
    ::kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid_ = -1;
}

httplib::Client StandinProcess::client() const {
    httplib::Client http("127.0.0.1", port_);
    http.set_connection_timeout(std::chrono::seconds(5));
    http.set_read_timeout(std::chrono::seconds(60));
    if (!authUser_.empty()) {
        http.set_basic_auth(authUser_, authPassword_);
    }
    return http;
}

void StandinProcess::setBasicAuth(std::string user, std::string password) {
    authUser_ = std::move(user);
    authPassword_ = std::move(password);
}

std::string StandinProcess::rawExchange(const std::string& bytes,
                                        std::chrono::milliseconds timeout) const {
    const int sock = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port_));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string answer;
    if (::connect(sock, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0 &&
        ::send(sock, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
            static_cast<ssize_t>(bytes.size())) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd pfd{sock, POLLIN, 0};
            if (::poll(&pfd, 1, 50) <= 0) {
                continue;
            }
            char chunk[4096];
            const ssize_t n = ::recv(sock, chunk, sizeof(chunk), 0);
            if (n <= 0) {
                break;
            }
            answer.append(chunk, static_cast<std::size_t>(n));
        }
    }
    ::close(sock);
    return answer;
}

bool StandinProcess::control(const nlohmann::json& body) {
    const auto answer = client().Post("/__control", body.dump(), "application/json");
    return answer && answer->status == 200;
}

nlohmann::json StandinProcess::requests() {
    const auto answer = client().Get("/__control/log");
    if (!answer || answer->status != 200) {
        return nlohmann::json::array();
    }
    return nlohmann::json::parse(answer->body, nullptr, false);
}

void StandinProcess::clearRequests() {
    client().Delete("/__control/log");
}

int StandinProcess::requestsTo(const std::string& path) {
    int count = 0;
    for (const auto& request : requests()) {
        count += request.value("path", std::string()) == path ? 1 : 0;
    }
    return count;
}

nlohmann::json StandinProcess::lastRequestTo(const std::string& path) {
    nlohmann::json found;
    for (const auto& request : requests()) {
        if (request.value("path", std::string()) == path) {
            found = request;
        }
    }
    return found;
}

} // namespace qb::testing
