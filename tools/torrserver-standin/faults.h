#pragma once

#include "go_json.h"

#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace torrserver {

// Reset: a head and part of the body, then a reset; Huge: a 100 MiB body, streamed.
enum class ConnectionFault { None, Close, Garbage, Reset, Huge };
enum class ListFault { None, Malformed, Object };

// Switchable faults. A path pattern is an exact path, a prefix ending in "*", or empty/"*" for
// every path; the control paths under /__control are never affected. A fault with "times" set
// fires that many times, then disappears; one with "skip" lets that many requests pass first.
class FaultSwitches {
public:
    // Applies a control object (see README.md); answers an error text or "".
    std::string apply(const Json& control);
    // Applies one command-line switch: "delay" "PATH=MS" or "MS", "status" "PATH=CODE",
    // "close" "PATH", "garbage" "PATH", "cut" "PATH", "huge" "PATH", "list-fault"
    // "malformed|object", "echo-length" "N".
    std::string applyOption(const std::string& name, const std::string& value);
    void reset();

    int delayMsFor(const std::string& path);
    std::optional<int> statusFor(const std::string& path);
    ConnectionFault connectionFaultFor(const std::string& path);
    ListFault listFault() const;
    std::optional<int> echoLength() const;
    Json describe() const;

private:
    struct Rule {
        std::string path;
        int value = 0;
        int remaining = -1;
        int skip = 0;
    };
    static bool matches(const std::string& pattern, const std::string& path);
    static std::optional<int> take(std::vector<Rule>& rules, const std::string& path);
    std::string addRules(const Json& spec, std::vector<Rule>& rules, const char* valueKey);

    mutable std::mutex mutex_;
    std::vector<Rule> delays_;
    std::vector<Rule> statuses_;
    std::vector<Rule> closes_;
    std::vector<Rule> garbage_;
    std::vector<Rule> resets_;
    std::vector<Rule> huge_;
    ListFault list_ = ListFault::None;
    std::optional<int> echoLength_;
};

} // namespace torrserver
