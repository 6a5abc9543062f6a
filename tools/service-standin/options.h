#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qb::standin {

// The command line of the stand-in service.
struct Options {
    int port = 8091; // 0 picks a free port, announced on stdout
    std::string secret = "bqZanhMLfyKdoe";
    std::string version = "1.8.4";
    std::string fixtures; // empty: next to the executable, then the source tree
    std::string logFile;
    std::vector<std::string> faults; // "--fault" specs, see fault_rules.h
    bool stopOnStdinEof = false;     // a test's child: end when the test's pipe closes
};

struct ParsedOptions {
    std::optional<Options> options; // empty when the program should not run
    std::string message;            // usage or error text
    bool error = false;
};

ParsedOptions parseOptions(const std::vector<std::string>& args);

} // namespace qb::standin
