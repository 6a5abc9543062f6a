#pragma once

#include "source_address.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qb::service {

// What the command line and the settings file can set. Unset values are empty or -1.
struct ServiceSettings {
    int port = -1;
    std::string stateFile;
    std::vector<SourceAddress> sources;
    int pageWaitMs = -1;     // how long a page waits for the sources
    int sourceTimeoutS = -1; // how long a source may take at all
};

inline constexpr int kDefaultPageWaitMs = 2500;
// The client gives up on a page after 3 s without a byte; a page is always answered before.
inline constexpr int kLongestPageWaitMs = 2800;
inline constexpr int kDefaultSourceTimeoutS = 20;
inline constexpr int kLongestSourceTimeoutS = 300;

struct CommandLine {
    ServiceSettings settings;
    std::string settingsFile; // --settings; empty: the default place
    std::string logFile;      // --log: the log's lines also go there
    bool stopOnStdinEof = false;
    bool help = false;
    bool version = false;
    std::string error; // the first thing that could not be read
};

CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The settings file: "name = value" lines; "#" starts a comment line; "torznab" and
// "torrserver" may come more than once. Lines that cannot be read are reported and skipped.
struct SettingsText {
    ServiceSettings settings;
    std::vector<std::string> problems;
};
SettingsText parseSettingsText(std::string_view text);

// The usage text of --help.
std::string usageText();

} // namespace qb::service
