#include "request_log.h"

#include <nlohmann/json.hpp>

namespace qb::standin {

std::string requestLogLine(const httplib::Request& request) {
    nlohmann::ordered_json headers = nlohmann::ordered_json::object();
    for (const auto& [name, value] : request.headers) {
        // The request reader adds its own bookkeeping entries; they were not sent.
        if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" ||
            name == "LOCAL_PORT")
            continue;
        auto& slot = headers[name];
        slot = slot.is_null() ? value : slot.get<std::string>() + ", " + value;
    }
    nlohmann::ordered_json line = {{"method", request.method},
                                   {"target", request.target},
                                   {"version", request.version},
                                   {"headers", headers},
                                   {"body", request.body}};
    // Bodies are not always UTF-8: replace what is not, rather than fail.
    return line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

RequestLog::RequestLog(const std::string& file) {
    if (!file.empty())
        file_.open(file, std::ios::app | std::ios::binary);
}

void RequestLog::record(const httplib::Request& request) {
    std::string line = requestLogLine(request);
    std::lock_guard lock(mutex_);
    if (file_.is_open()) {
        file_ << line << '\n';
        file_.flush();
    }
    lines_.push_back(std::move(line));
}

std::string RequestLog::text() const {
    std::lock_guard lock(mutex_);
    std::string all;
    for (const auto& line : lines_)
        all += line + '\n';
    return all;
}

void RequestLog::clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
}

} // namespace qb::standin
