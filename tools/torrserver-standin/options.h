#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace torrserver {

// Which generation of TorrServer's API the stand-in serves.
enum class ApiMode { V11, Matrix };

struct Options {
    ApiMode api = ApiMode::V11;         // --api 1.1|matrix
    std::string version;                // --version; empty: the mode's own ("1.1.77", "MatriX.143")
    std::string databaseFolder;         // --path/-d; the executable's folder when not given
    int port = 8090;                    // --port/-p; 0 picks a free port
    std::string contentFolder;          // --content
    std::string logFile;                // --log
    std::string seedFile;               // --seed
    std::string searchFixture;          // --search-fixture: releases the search routes answer from
    std::vector<std::string> searchOff; // --search-off rutor|torznab: that search is switched off
    int metadataDelayMs = 1500;         // --metadata-delay-ms
    std::optional<std::int64_t> unloadAfterMs;   // --unload-after-ms; unset: the real timings
    std::int64_t preloadSpeed = 8 * 1024 * 1024; // --preload-speed, bytes per second
    bool httpAuth = false;                       // --httpauth: accounts from accs.db in --path
    std::vector<std::string> accounts;           // --account user:password (implies --httpauth)
    std::vector<std::pair<std::string, std::string>> faults; // --delay, --status, ...
    bool stopOnStdinEof = false; // --stop-on-stdin-eof: the parent holds stdin open while it lives
    bool help = false;
};

struct ParsedOptions {
    Options options;
    std::string error;
};

// Reads the command line. Arguments kept one per line in "standin-args.txt" in the --path
// folder come first, so a stand-in started with only --path (as the client starts its local
// server) still runs in the mode it was set up for.
ParsedOptions parseOptions(int argc, const char* const* argv);

// The arguments of an args file's text: one per line; blank lines and "#" lines left out.
std::vector<std::string> argsFileLines(const std::string& text);

const char* usageText();

// The version /echo answers.
std::string versionText(const Options& options);

} // namespace torrserver
