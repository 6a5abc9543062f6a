#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace qb::testing {

// One request as the stand-in service logged it.
struct LoggedRequest {
    std::string method;
    std::string target; // path and query, as sent
    std::string version;
    std::map<std::string, std::string> headers;
    std::string body;
};

// The stand-in search service, started on a free port for one test and stopped with it (also
// when the test fails). The binary is found under $QB_BUILD_DIR/bin, else where it was built.
class ServiceStandin {
public:
    explicit ServiceStandin(std::vector<std::string> extraArgs = {});
    ~ServiceStandin();
    ServiceStandin(const ServiceStandin&) = delete;
    ServiceStandin& operator=(const ServiceStandin&) = delete;

    std::string baseUrl() const; // "http://127.0.0.1:<port>"
    int port() const { return port_; }

    std::vector<LoggedRequest> requests() const;
    void clearRequests() const;

    // Fault switches; times < 0 means every matching request from now on. A prefix matches the
    // start of the request target, the empty prefix every request.
    void delay(const std::string& prefix, int ms, int times = -1) const;
    void failWithStatus(const std::string& prefix, int status, int times = -1) const;
    void answerWith(const std::string& prefix, int status, const std::string& body,
                    int times = -1) const;
    void dropConnections(const std::string& prefix, int times = -1) const;
    void answerGarbage(const std::string& prefix, int times = -1) const;
    void addFault(const nlohmann::json& rule) const;
    void resetFaults() const; // also empties the request log

private:
    void stop();
    void control(const std::string& method, const std::string& path,
                 const std::string& body = {}) const;
    std::string get(const std::string& path) const;

    pid_t pid_ = -1;
    int stdinPipe_ = -1; // the write end of the stand-in's stdin
    int port_ = 0;
};

} // namespace qb::testing
