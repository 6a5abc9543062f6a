#include "fault_rules.h"

#include <charconv>

namespace qb::standin {

namespace {

std::optional<FaultKind> kindFromName(const std::string& name) {
    if (name == "delay")
        return FaultKind::Delay;
    if (name == "status")
        return FaultKind::Status;
    if (name == "drop")
        return FaultKind::Drop;
    if (name == "garbage")
        return FaultKind::Garbage;
    if (name == "cut")
        return FaultKind::Reset;
    if (name == "huge")
        return FaultKind::Huge;
    return std::nullopt;
}

const char* kindName(FaultKind kind) {
    switch (kind) {
    case FaultKind::Delay:
        return "delay";
    case FaultKind::Status:
        return "status";
    case FaultKind::Drop:
        return "drop";
    case FaultKind::Garbage:
        return "garbage";
    case FaultKind::Reset:
        return "cut";
    case FaultKind::Huge:
        return "huge";
    }
    return "delay";
}

std::optional<int> parseInt(const std::string& text) {
    int value = 0;
    const auto* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc{} || ptr != end || text.empty())
        return std::nullopt;
    return value;
}

bool valid(const FaultRule& rule) {
    if (rule.kind == FaultKind::Delay)
        return rule.ms >= 0;
    if (rule.kind == FaultKind::Status)
        return rule.status >= 100 && rule.status <= 999;
    return true;
}

} // namespace

std::optional<FaultRule> parseFaultSpec(const std::string& text) {
    FaultRule rule;
    std::string head = text;
    if (auto at = text.find('@'); at != std::string::npos) {
        head = text.substr(0, at);
        rule.match = text.substr(at + 1);
    }
    std::string value;
    if (auto eq = head.find('='); eq != std::string::npos) {
        value = head.substr(eq + 1);
        head.resize(eq);
    }
    auto kind = kindFromName(head);
    if (!kind)
        return std::nullopt;
    rule.kind = *kind;
    const bool needsValue = rule.kind == FaultKind::Delay || rule.kind == FaultKind::Status;
    if (needsValue != !value.empty())
        return std::nullopt;
    if (needsValue) {
        auto number = parseInt(value);
        if (!number)
            return std::nullopt;
        (rule.kind == FaultKind::Delay ? rule.ms : rule.status) = *number;
    }
    return valid(rule) ? std::optional(rule) : std::nullopt;
}

std::optional<FaultRule> faultFromJson(const nlohmann::json& json) {
    if (!json.is_object() || !json.contains("kind") || !json["kind"].is_string())
        return std::nullopt;
    auto kind = kindFromName(json["kind"].get<std::string>());
    if (!kind)
        return std::nullopt;
    FaultRule rule;
    rule.kind = *kind;
    try {
        rule.match = json.value("match", std::string());
        rule.ms = json.value("ms", 0);
        rule.status = json.value("status", 500);
        rule.times = json.value("times", -1);
        if (json.contains("body"))
            rule.body = json["body"].get<std::string>();
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;
    }
    return valid(rule) ? std::optional(rule) : std::nullopt;
}

nlohmann::json faultToJson(const FaultRule& rule) {
    nlohmann::json json = {{"kind", kindName(rule.kind)}, {"match", rule.match}};
    if (rule.kind == FaultKind::Delay)
        json["ms"] = rule.ms;
    if (rule.kind == FaultKind::Status) {
        json["status"] = rule.status;
        if (rule.body)
            json["body"] = *rule.body;
    }
    json["times"] = rule.times;
    return json;
}

void FaultTable::add(FaultRule rule) {
    std::lock_guard lock(mutex_);
    rules_.push_back(std::move(rule));
}

void FaultTable::clear() {
    std::lock_guard lock(mutex_);
    rules_.clear();
}

std::vector<FaultRule> FaultTable::rules() const {
    std::lock_guard lock(mutex_);
    return rules_;
}

FaultPlan FaultTable::take(const std::string& target) {
    std::lock_guard lock(mutex_);
    FaultPlan plan;
    for (auto& rule : rules_) {
        if (rule.times == 0 || target.rfind(rule.match, 0) != 0)
            continue;
        if (rule.kind == FaultKind::Delay)
            plan.delayMs += rule.ms;
        else if (!plan.answer)
            plan.answer = rule;
        else
            continue; // a second answer-changing rule would not be seen: keep its times
        if (rule.times > 0)
            --rule.times;
    }
    std::erase_if(rules_, [](const FaultRule& rule) { return rule.times == 0; });
    return plan;
}

} // namespace qb::standin
