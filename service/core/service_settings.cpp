#include "service_settings.h"

#include "plain_text.h"

#include <charconv>

namespace qb::service {

namespace {

std::optional<int> number(std::string_view text, int least, int most) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < least ||
        value > most) {
        return std::nullopt;
    }
    return value;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// Sets one setting; answers what is wrong with it, or nothing.
std::optional<std::string> apply(ServiceSettings& settings, std::string_view name,
                                 std::string_view value) {
    if (name == "torznab" || name == "torrserver") {
        if (!isUsableSourceAddress(value)) {
            return std::string(name) + ": not an http(s) address: " + oneLine(value, 200);
        }
        settings.sources.push_back(
            {name == "torznab" ? SourceKind::Torznab : SourceKind::TorrServer, std::string(value)});
    } else if (name == "port") {
        const auto port = number(value, 0, 65535);
        if (!port) {
            return "port: not a port number: " + oneLine(value, 50);
        }
        settings.port = *port;
    } else if (name == "state") {
        if (value.empty()) {
            return std::string("state: no file named");
        }
        settings.stateFile = std::string(value);
    } else if (name == "page-wait-ms") {
        const auto wait = number(value, 100, kLongestPageWaitMs);
        if (!wait) {
            return "page-wait-ms: not a number from 100 to " + std::to_string(kLongestPageWaitMs);
        }
        settings.pageWaitMs = *wait;
    } else if (name == "source-timeout") {
        const auto timeout = number(value, 1, kLongestSourceTimeoutS);
        if (!timeout) {
            return "source-timeout: not a number of seconds from 1 to " +
                   std::to_string(kLongestSourceTimeoutS);
        }
        settings.sourceTimeoutS = *timeout;
    } else {
        return "unknown setting: " + oneLine(name, 50);
    }
    return std::nullopt;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size() && line.error.empty(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (argument == "--version") {
            line.version = true;
        } else if (argument == "--stop-on-stdin-eof") {
            line.stopOnStdinEof = true;
        } else if (argument.starts_with("--") && i + 1 < arguments.size()) {
            const std::string name = argument.substr(2);
            const std::string& value = arguments[++i];
            if (name == "settings") {
                line.settingsFile = value;
            } else if (name == "log") {
                line.logFile = value;
            } else if (auto problem = apply(line.settings, name, value)) {
                line.error = *problem;
            }
        } else {
            line.error = "cannot read the argument " + oneLine(argument, 100);
        }
    }
    return line;
}

SettingsText parseSettingsText(std::string_view text) {
    SettingsText result;
    int number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::size_t equals = line.find('=');
        std::optional<std::string> problem;
        if (equals == std::string_view::npos) {
            problem = "not a \"name = value\" line";
        } else {
            problem = apply(result.settings, trimmed(line.substr(0, equals)),
                            trimmed(line.substr(equals + 1)));
        }
        if (problem) {
            result.problems.push_back("line " + std::to_string(number) + ": " + *problem);
        }
    }
    return result;
}

std::string usageText() {
    return "Usage: quillbrook-service [options]\n"
           "Quillbrook's search service: result pages, release pages and the version check for\n"
           "the Quillbrook client, from Torznab indexers (Jackett, Prowlarr) and TorrServer.\n\n"
           "  --torznab ADDRESS       an indexer's Torznab API address with its apikey\n"
           "                          parameter (repeatable)\n"
           "  --torrserver ADDRESS    a TorrServer whose search to use (repeatable)\n"
           "  --port N                port on 127.0.0.1 (default 8091)\n"
           "  --state FILE            where the release ids are kept\n"
           "  --settings FILE         the settings file (default\n"
           "                          $XDG_CONFIG_HOME/quillbrook/service.conf)\n"
           "  --page-wait-ms N        how long a page waits for the sources (default 2500)\n"
           "  --source-timeout S      how long a source may take at all (default 20)\n"
           "  --log FILE              also append the log's lines to FILE\n"
           "  --stop-on-stdin-eof     end when standard input closes\n"
           "  --version, --help\n";
}

} // namespace qb::service
