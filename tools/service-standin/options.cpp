#include "options.h"

#include <charconv>

namespace qb::standin {

namespace {

constexpr const char* kUsage =
    "usage: service-standin [--port N] [--secret TEXT] [--version TEXT] [--fixtures DIR]\n"
    "                       [--log FILE] [--fault KIND[=VALUE][@PREFIX]]... [--stop-on-stdin-eof]\n"
    "  --port 0 picks a free port; the address is printed on the first line of stdout.\n"
    "  KIND is delay=MS, status=CODE, drop, garbage, cut or huge; PREFIX matches the start of the\n"
    "  request target (path and query), every request when left out.\n";

bool parsePort(const std::string& text, int& port) {
    const auto* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, port);
    return ec == std::errc{} && ptr == end && port >= 0 && port <= 65535;
}

} // namespace

ParsedOptions parseOptions(const std::vector<std::string>& args) {
    Options options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h")
            return {std::nullopt, kUsage, false};
        if (arg == "--stop-on-stdin-eof") {
            options.stopOnStdinEof = true;
            continue;
        }
        if (i + 1 >= args.size())
            return {std::nullopt, "missing value or unknown option: " + arg + "\n" + kUsage, true};
        const std::string& value = args[++i];
        if (arg == "--port") {
            if (!parsePort(value, options.port))
                return {std::nullopt, "bad port: " + value + "\n", true};
        } else if (arg == "--secret") {
            options.secret = value;
        } else if (arg == "--version") {
            options.version = value;
        } else if (arg == "--fixtures") {
            options.fixtures = value;
        } else if (arg == "--log") {
            options.logFile = value;
        } else if (arg == "--fault") {
            options.faults.push_back(value);
        } else {
            return {std::nullopt, "unknown option: " + arg + "\n" + kUsage, true};
        }
    }
    return {options, {}, false};
}

} // namespace qb::standin
