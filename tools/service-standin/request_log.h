#pragma once

#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include <httplib.h>

namespace qb::standin {

// Every request the service received, as JSON lines:
// {"method","target","version","headers":{name:value},"body"}.
// Kept in memory for GET /__control/log and appended to a file when one is given.
class RequestLog {
public:
    explicit RequestLog(const std::string& file);

    void record(const httplib::Request& request);
    std::string text() const; // all lines, each ending in "\n"
    void clear();             // the file keeps what it has

private:
    mutable std::mutex mutex_;
    std::ofstream file_;
    std::vector<std::string> lines_;
};

std::string requestLogLine(const httplib::Request& request);

} // namespace qb::standin
