#pragma once

#include <chrono>
#include <httplib.h>
#include <nlohmann/json.hpp>
#include <string>
#include <sys/types.h>
#include <vector>

namespace qb::testing {

// A stand-in server run as a child process for one test: started on a free port (the server
// is given "--port 0 --stop-on-stdin-eof" and prints "... listening on 127.0.0.1:<port>"),
// probed until it answers, and stopped with SIGTERM (SIGKILL after a grace period) when the
// object goes, also when the test failed. Its stdin is a pipe held by this process, so a test
// program that crashes does not leave the server running.
class StandinProcess {
public:
    // `program`: the executable; `probePath`: a GET path that answers once the server is up.
    StandinProcess(std::string program, std::string probePath);
    virtual ~StandinProcess();
    StandinProcess(const StandinProcess&) = delete;
    StandinProcess& operator=(const StandinProcess&) = delete;

    // Starts the program with `args` plus "--port 0"; false (with the reason in error()) when
    // it does not come up within `timeout`.
    bool start(const std::vector<std::string>& args,
               std::chrono::milliseconds timeout = std::chrono::seconds(20));
    void stop();
    bool running() const { return pid_ > 0; }

    int port() const { return port_; }
    std::string baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }
    const std::string& error() const { return error_; }

    // A client for the running server (no keep-alive between tests' requests), with the
    // Basic authentication set by setBasicAuth.
    httplib::Client client() const;
    void setBasicAuth(std::string user, std::string password);

    // Sends raw bytes on a new connection and answers everything read until the server closes
    // it (or `timeout` passes): for HTTP/1.0 requests and answers that are not HTTP.
    std::string rawExchange(const std::string& bytes,
                            std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

    // The control endpoint both stand-ins share: POST /__control and GET /__control/log.
    bool control(const nlohmann::json& body);
    nlohmann::json requests();
    // How many logged requests went to `path` (without the query).
    int requestsTo(const std::string& path);
    // The last logged request to `path` (without the query); null when there was none.
    nlohmann::json lastRequestTo(const std::string& path);
    void clearRequests();

    // The build folder: QB_BUILD_DIR from the environment, else the one this was built in.
    static std::string buildDir();

private:
    bool waitForPort(int outputFd, std::chrono::steady_clock::time_point deadline);
    bool waitForProbe(std::chrono::steady_clock::time_point deadline);

    std::string program_;
    std::string probePath_;
    pid_t pid_ = -1;
    int stdinFd_ = -1;
    int port_ = 0;
    std::string error_;
    std::string authUser_;
    std::string authPassword_;
};

} // namespace qb::testing
