#include "service_config.h"

#include "build_config.h"
#include "service_log.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

namespace qb::service {

namespace {

std::string userFolder(const char* variable, const char* fallback) {
    if (const char* value = std::getenv(variable); value != nullptr && value[0] == '/') {
        return value;
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + fallback;
}

} // namespace

std::string defaultSettingsFile() {
    return userFolder("XDG_CONFIG_HOME", "/.config") + "/quillbrook/service.conf";
}

std::string defaultStateFile() {
    return userFolder("XDG_STATE_HOME", "/.local/state") + "/quillbrook/service-state.json";
}

int defaultPort() {
    const std::string address = build::kDefaultServiceUrl;
    const std::size_t colon = address.rfind(':');
    const int port = colon == std::string::npos ? 0 : std::atoi(address.c_str() + colon + 1);
    return port > 0 && port < 65536 ? port : 8091;
}

SourceSettings::SourceSettings(std::vector<SourceAddress> fromCommandLine, std::string settingsFile)
    : fromCommandLine_(std::move(fromCommandLine))
    , settingsFile_(std::move(settingsFile)) {}

ServiceSettings SourceSettings::readFile(bool report) {
    std::ifstream in(settingsFile_, std::ios::binary);
    if (!in) {
        return {};
    }
    std::ostringstream text;
    text << in.rdbuf();
    SettingsText settings = parseSettingsText(text.str());
    for (const std::string& problem : report ? settings.problems : std::vector<std::string>()) {
        logLine(settingsFile_ + ": " + problem);
    }
    return settings.settings;
}

std::vector<SourceAddress> SourceSettings::sources() {
    const auto now = std::chrono::steady_clock::now();
    const std::lock_guard lock(mutex_);
    if (now - lastLook_ >= std::chrono::seconds(1)) {
        lastLook_ = now;
        struct stat info {};
        const bool exists = ::stat(settingsFile_.c_str(), &info) == 0;
        const std::timespec change = exists ? info.st_mtim : std::timespec{};
        const long long size = exists ? static_cast<long long>(info.st_size) : -1;
        if (change.tv_sec != seenChange_.tv_sec || change.tv_nsec != seenChange_.tv_nsec ||
            size != seenSize_) {
            seenChange_ = change;
            seenSize_ = size;
            fromFile_ = exists ? readFile(true).sources : std::vector<SourceAddress>();
        }
    }
    std::vector<SourceAddress> all = fromCommandLine_;
    all.insert(all.end(), fromFile_.begin(), fromFile_.end());
    return all;
}

} // namespace qb::service
