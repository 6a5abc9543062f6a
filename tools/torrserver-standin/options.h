#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace torrserver {

struct Options {
    std::string databaseFolder; // --path/-d; the executable's folder when not given
    int port = 8090;            // --port/-p; 0 picks a free port
    std::string contentFolder;  // --content
    std::string logFile;        // --log
    std::string seedFile;       // --seed
    int metadataDelayMs = 1500; // --metadata-delay-ms
    std::int64_t preloadSpeed = 8 * 1024 * 1024;             // --preload-speed, bytes per second
    std::vector<std::pair<std::string, std::string>> faults; // --delay, --status, ...
    bool stopOnStdinEof = false; // --stop-on-stdin-eof: the parent holds stdin open while it lives
    bool help = false;
};

struct ParsedOptions {
    Options options;
    std::string error;
};

ParsedOptions parseOptions(int argc, const char* const* argv);

const char* usageText();

} // namespace torrserver
