#pragma once

#include "go_json.h"
#include "standin_server.h"

#include <mutex>
#include <string>

namespace torrserver {

// Every request received, as JSON objects: kept in memory for GET /__control/log and appended
// as JSON lines to a file when one is given.
class RequestLog {
public:
    explicit RequestLog(std::string file)
        : file_(std::move(file)) {}

    // `fault` names a connection fault that answered the request instead of the server.
    void add(const RawRequestHead& head, const std::string& body, const std::string& fault = {});
    Json entries() const;
    void clear();

private:
    std::string file_;
    mutable std::mutex mutex_;
    Json entries_ = Json::array();
};

} // namespace torrserver
