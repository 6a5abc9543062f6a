#include "release_registry.h"

#include "service_log.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <unistd.h>

namespace qb::service {

namespace {

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Writes the text beside the file first and then puts it in its place, so that a file is
// always whole; only its owner can read it (it names what the user searched for).
bool writeWhole(const std::string& path, const std::string& text) {
    std::error_code error;
    const std::filesystem::path file(path);
    if (file.has_parent_path()) {
        std::filesystem::create_directories(file.parent_path(), error);
    }
    const std::string temporary = path + ".new";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n <= 0) {
            ::close(fd);
            ::unlink(temporary.c_str());
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    if (!synced || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace

std::int64_t secondsNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

ReleaseRegistry::ReleaseRegistry(std::string stateFile)
    : stateFile_(std::move(stateFile)) {
    if (stateFile_.empty() || !std::filesystem::exists(stateFile_)) {
        return;
    }
    int unreadable = 0;
    store_ = ReleaseStore::fromStateText(fileText(stateFile_), ReleaseStore::kDefaultCapacity,
                                         &unreadable);
    if (unreadable > 0) {
        logLine("the state file " + stateFile_ + " had " + std::to_string(unreadable) +
                " entries that could not be read; they are left out");
    }
}

std::vector<ListedRelease> ReleaseRegistry::list(const std::vector<Release>& releases) {
    const std::int64_t now = secondsNow();
    std::vector<ListedRelease> listed;
    listed.reserve(releases.size());
    const std::lock_guard lock(mutex_);
    for (const Release& release : releases) {
        listed.push_back({store_.remember(release, now), release});
    }
    return listed;
}

std::optional<Release> ReleaseRegistry::recall(std::uint32_t id) {
    const std::lock_guard lock(mutex_);
    return store_.recall(id, secondsNow());
}

void ReleaseRegistry::save() {
    std::string text;
    {
        const std::lock_guard lock(mutex_);
        if (stateFile_.empty() || !store_.changed()) {
            return;
        }
        text = store_.stateText();
    }
    if (!writeWhole(stateFile_, text)) {
        logLine("cannot write the state file " + stateFile_);
    }
}

} // namespace qb::service
