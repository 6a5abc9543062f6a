#pragma once

#include "core/service_settings.h"

#include <chrono>
#include <ctime>
#include <mutex>
#include <string>
#include <vector>

namespace qb::service {

// The user's folders: $XDG_CONFIG_HOME/quillbrook/service.conf and
// $XDG_STATE_HOME/quillbrook/service-state.json, under ~/.config and ~/.local/state when the
// variables are unset, empty or not absolute.
std::string defaultSettingsFile();
std::string defaultStateFile();

// The port of the client's built-in service address (8091).
int defaultPort();

// The sources to ask: those of the command line, and those of the settings file, which is read
// again when it has changed (looked at no more than once a second).
class SourceSettings {
public:
    SourceSettings(std::vector<SourceAddress> fromCommandLine, std::string settingsFile);

    std::vector<SourceAddress> sources();
    const std::string& settingsFile() const { return settingsFile_; }

    // Reads the settings file as it is now; its problems go to the log when `report` is set.
    ServiceSettings readFile(bool report);

private:
    std::vector<SourceAddress> fromCommandLine_;
    std::string settingsFile_;
    std::mutex mutex_;
    std::vector<SourceAddress> fromFile_;
    std::chrono::steady_clock::time_point lastLook_{};
    std::timespec seenChange_{};
    long long seenSize_ = -1;
};

} // namespace qb::service
