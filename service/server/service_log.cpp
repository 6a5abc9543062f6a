#include "service_log.h"

#include <cstdio>
#include <mutex>

namespace qb::service {

namespace {
std::mutex mutex;
std::FILE* logFile = nullptr;
} // namespace

bool setLogFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "ae");
    if (file == nullptr) {
        return false;
    }
    const std::lock_guard lock(mutex);
    if (logFile != nullptr) {
        std::fclose(logFile);
    }
    logFile = file;
    return true;
}

void logLine(std::string_view text) {
    std::string line = "quillbrook-service: ";
    line += text;
    line += '\n';
    const std::lock_guard lock(mutex);
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    if (logFile != nullptr) {
        std::fwrite(line.data(), 1, line.size(), logFile);
        std::fflush(logFile);
    }
}

} // namespace qb::service
