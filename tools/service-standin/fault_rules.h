#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace qb::standin {

// What a fault does to a matching request.
enum class FaultKind {
    Delay,   // wait before answering
    Status,  // answer with a given status (and an error page, or a given body)
    Drop,    // close the connection without answering
    Garbage, // answer with bytes that are not HTTP, then close
    Reset,   // send the head and part of the body, then reset the connection
    Huge,    // a 200 answer of 100 MiB, streamed
};

struct FaultRule {
    FaultKind kind = FaultKind::Delay;
    std::string match;               // prefix of the request target; empty matches every request
    int ms = 0;                      // Delay
    int status = 500;                // Status
    std::optional<std::string> body; // Status: the body; a short error page when absent
    int times = -1;                  // how many requests it still applies to; -1: no limit
};

// "delay=1500@/get.php", "status=503", "drop@/version.txt", "garbage", "cut", "huge".
std::optional<FaultRule> parseFaultSpec(const std::string& spec);
// {"kind":"delay","ms":1500,"match":"/get.php","times":1}; nullopt when malformed.
std::optional<FaultRule> faultFromJson(const nlohmann::json& json);
nlohmann::json faultToJson(const FaultRule& rule);

// The faults that apply to one request: the summed delay and the first answer-changing rule.
struct FaultPlan {
    int delayMs = 0;
    std::optional<FaultRule> answer;
};

// The switched-on faults, shared by every connection's thread.
class FaultTable {
public:
    void add(FaultRule rule);
    void clear();
    std::vector<FaultRule> rules() const;
    // Applies every rule whose prefix matches, in the order they were added, and uses up one of
    // each rule's remaining times.
    FaultPlan take(const std::string& target);

private:
    mutable std::mutex mutex_;
    std::vector<FaultRule> rules_;
};

} // namespace qb::standin
