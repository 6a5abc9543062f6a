#include "request_log.h"

#include "text_escape.h"

#include <chrono>
#include <fstream>

namespace torrserver {

void RequestLog::add(const RawRequestHead& head, const std::string& body,
                     const std::string& fault) {
    const auto target = head.target;
    Json headers = Json::array();
    for (const auto& [name, value] : head.headers) {
        headers.push_back(Json::array({validUtf8(name), validUtf8(value)}));
    }
    Json entry = {{"time", std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count()},
                  {"method", head.method},
                  {"target", validUtf8(target)},
                  {"path", validUtf8(target.substr(0, target.find('?')))},
                  {"version", head.version},
                  {"headers", headers},
                  {"body", validUtf8(body)},
                  {"bodyBase64", base64Encode(body)}};
    if (!fault.empty()) {
        entry["fault"] = fault;
    }
    std::lock_guard lock(mutex_);
    if (!file_.empty()) {
        std::ofstream out(file_, std::ios::app | std::ios::binary);
        out << entry.dump() << '\n';
    }
    entries_.push_back(std::move(entry));
}

Json RequestLog::entries() const {
    std::lock_guard lock(mutex_);
    return entries_;
}

void RequestLog::clear() {
    std::lock_guard lock(mutex_);
    entries_ = Json::array();
}

} // namespace torrserver
