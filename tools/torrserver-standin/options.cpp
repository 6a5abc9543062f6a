#include "options.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace torrserver {

namespace {
std::string executableFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

std::string applyValue(Options& o, const std::string& name, const std::string& value) {
    static const std::set<std::string> kFaults = {"delay", "status", "close",      "garbage",
                                                  "cut",   "huge",   "list-fault", "echo-length"};
    if (name == "api") {
        if (value != "1.1" && value != "matrix") {
            return "--api is 1.1 or matrix";
        }
        o.api = value == "matrix" ? ApiMode::Matrix : ApiMode::V11;
    } else if (name == "version") {
        o.version = value;
    } else if (name == "path") {
        o.databaseFolder = value;
    } else if (name == "port") {
        o.port = std::stoi(value);
    } else if (name == "content") {
        o.contentFolder = value;
    } else if (name == "log") {
        o.logFile = value;
    } else if (name == "seed") {
        o.seedFile = value;
    } else if (name == "search-fixture") {
        o.searchFixture = value;
    } else if (name == "search-off") {
        if (value != "rutor" && value != "torznab") {
            return "--search-off is rutor or torznab";
        }
        o.searchOff.push_back(value);
    } else if (name == "metadata-delay-ms") {
        o.metadataDelayMs = std::stoi(value);
    } else if (name == "unload-after-ms") {
        o.unloadAfterMs = std::stoll(value);
        if (*o.unloadAfterMs < 0) {
            return "--unload-after-ms is 0 (never) or more";
        }
    } else if (name == "preload-speed") {
        o.preloadSpeed = std::stoll(value);
    } else if (name == "account") {
        if (value.find(':') == std::string::npos) {
            return "--account is user:password";
        }
        o.accounts.push_back(value);
        o.httpAuth = true;
    } else if (kFaults.count(name) > 0) {
        o.faults.emplace_back(name, value);
    } else {
        return "unknown option --" + name;
    }
    return {};
}

ParsedOptions parseArgs(const std::vector<std::string>& args) {
    ParsedOptions parsed;
    Options& o = parsed.options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
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
        if (name == "--httpauth") {
            o.httpAuth = true;
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
            if (i + 1 >= args.size()) {
                parsed.error = "missing value for --" + name;
                return parsed;
            }
            value = args[++i];
        }
        try {
            parsed.error = applyValue(o, name, value);
        } catch (const std::exception&) {
            parsed.error = "bad value for --" + name + ": " + value;
        }
        if (!parsed.error.empty()) {
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
} // namespace

const char* usageText() {
    return "usage: torrserver-standin [--api 1.1|matrix] [--version TEXT] [--path DIR] [--port N]\n"
           "       [--content DIR] [--log FILE] [--seed FILE] [--metadata-delay-ms MS]\n"
           "       [--unload-after-ms MS] [--preload-speed BYTES_PER_SEC]\n"
           "       [--httpauth] [--account USER:PASSWORD] [--search-fixture FILE]\n"
           "       [--search-off rutor|torznab]\n"
           "       [--delay [PATH=]MS] [--status PATH=CODE] [--close PATH] [--garbage PATH]\n"
           "       [--cut PATH] [--huge PATH]\n"
           "       [--list-fault malformed|object] [--echo-length N] [--stop-on-stdin-eof]\n"
           "  -d is --path, -p is --port. Lines of DIR/standin-args.txt are read as arguments\n"
           "  first. See README.md for the control endpoint.\n";
}

std::vector<std::string> argsFileLines(const std::string& text) {
    std::vector<std::string> args;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
            line.pop_back();
        }
        if (!line.empty() && line.front() != '#') {
            args.push_back(line);
        }
    }
    return args;
}

ParsedOptions parseOptions(int argc, const char* const* argv) {
    const std::vector<std::string> given(argv + 1, argv + argc);
    ParsedOptions parsed = parseArgs(given);
    if (!parsed.error.empty()) {
        return parsed;
    }
    std::ifstream file(parsed.options.databaseFolder + "/standin-args.txt");
    if (!file) {
        return parsed;
    }
    std::vector<std::string> args =
        argsFileLines(std::string((std::istreambuf_iterator<char>(file)), {}));
    args.insert(args.end(), given.begin(), given.end());
    return parseArgs(args);
}

std::string versionText(const Options& options) {
    if (!options.version.empty()) {
        return options.version;
    }
    return options.api == ApiMode::Matrix ? "MatriX.143" : "1.1.77";
}

} // namespace torrserver
