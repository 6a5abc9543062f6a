#include "options.h"

#include <filesystem>
#include <set>

namespace torrserver {

namespace {
std::string executableFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}
} // namespace

const char* usageText() {
    return "usage: torrserver-standin [--path DIR] [--port N] [--content DIR] [--log FILE]\n"
           "       [--seed FILE] [--metadata-delay-ms MS] [--preload-speed BYTES_PER_SEC]\n"
           "       [--delay [PATH=]MS] [--status PATH=CODE] [--close PATH] [--garbage PATH]\n"
           "       [--cut PATH] [--huge PATH]\n"
           "       [--list-fault malformed|object] [--echo-length N] [--stop-on-stdin-eof]\n"
           "  -d is --path, -p is --port. See README.md for the control endpoint.\n";
}

ParsedOptions parseOptions(int argc, const char* const* argv) {
    static const std::set<std::string> kFaults = {"delay", "status", "close",      "garbage",
                                                  "cut",   "huge",   "list-fault", "echo-length"};
    ParsedOptions parsed;
    Options& o = parsed.options;
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        std::string value;
        bool hasValue = false;
        if (name == "-h" || name == "--help") {
            o.help = true;
            continue;
        }
        if (name == "--stop-on-stdin-eof") {
            o.stopOnStdinEof = true;
            continue;
        }
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        }
        if (name == "-d") {
            name = "--path";
        } else if (name == "-p") {
            name = "--port";
        }
        if (name.rfind("--", 0) != 0) {
            parsed.error = "unexpected argument: " + name;
            return parsed;
        }
        name = name.substr(2);
        if (!hasValue) {
            if (i + 1 >= argc) {
                parsed.error = "missing value for --" + name;
                return parsed;
            }
            value = argv[++i];
        }
        try {
            if (name == "path") {
                o.databaseFolder = value;
            } else if (name == "port") {
                o.port = std::stoi(value);
            } else if (name == "content") {
                o.contentFolder = value;
            } else if (name == "log") {
                o.logFile = value;
            } else if (name == "seed") {
                o.seedFile = value;
            } else if (name == "metadata-delay-ms") {
                o.metadataDelayMs = std::stoi(value);
            } else if (name == "preload-speed") {
                o.preloadSpeed = std::stoll(value);
            } else if (kFaults.count(name) > 0) {
                o.faults.emplace_back(name, value);
            } else {
                parsed.error = "unknown option --" + name;
                return parsed;
            }
        } catch (const std::exception&) {
            parsed.error = "bad value for --" + name + ": " + value;
            return parsed;
        }
    }
    if (o.port < 0 || o.port > 65535) {
        parsed.error = "bad port";
    }
    if (o.databaseFolder.empty()) {
        o.databaseFolder = executableFolder();
    }
    return parsed;
}

} // namespace torrserver
