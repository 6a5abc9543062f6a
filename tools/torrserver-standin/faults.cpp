#include "faults.h"

namespace torrserver {

bool FaultSwitches::matches(const std::string& pattern, const std::string& path) {
    if (path.rfind("/__control", 0) == 0) {
        return false;
    }
    if (pattern.empty() || pattern == "*") {
        return true;
    }
    if (pattern.back() == '*') {
        return path.rfind(pattern.substr(0, pattern.size() - 1), 0) == 0;
    }
    return pattern == path;
}

std::optional<int> FaultSwitches::take(std::vector<Rule>& rules, const std::string& path) {
    for (auto it = rules.begin(); it != rules.end(); ++it) {
        if (matches(it->path, path)) {
            if (it->skip > 0) {
                --it->skip;
                return std::nullopt;
            }
            const int value = it->value;
            if (it->remaining > 0 && --it->remaining == 0) {
                rules.erase(it);
            }
            return value;
        }
    }
    return std::nullopt;
}

std::string FaultSwitches::addRules(const Json& spec, std::vector<Rule>& rules,
                                    const char* valueKey) {
    if (spec.is_array()) {
        for (const Json& item : spec) {
            if (std::string error = addRules(item, rules, valueKey); !error.empty()) {
                return error;
            }
        }
        return {};
    }
    if (spec.is_null() || spec == false) {
        rules.clear();
        return {};
    }
    Rule rule;
    if (spec.is_string()) {
        rule.path = spec.get<std::string>();
    } else if (spec.is_object()) {
        const Json path = spec.value("path", Json(""));
        const Json times = spec.value("times", Json(-1));
        const Json skip = spec.value("skip", Json(0));
        if (!path.is_string() || !times.is_number_integer() || !skip.is_number_integer() ||
            skip.get<int>() < 0) {
            return "\"path\" must be a string, \"times\" an integer and \"skip\" a count";
        }
        rule.path = path.get<std::string>();
        rule.remaining = times.get<int>();
        rule.skip = skip.get<int>();
        if (valueKey != nullptr) {
            const Json value = spec.value(valueKey, Json());
            if (!value.is_number_integer()) {
                return std::string("\"") + valueKey + "\" must be an integer";
            }
            rule.value = value.get<int>();
        }
    } else if (spec == true) {
        rule.path = "*";
    } else {
        return "a fault is an object, a path, an array of them, or null";
    }
    if (rule.remaining != 0) {
        rules.push_back(rule);
    }
    return {};
}

std::string FaultSwitches::apply(const Json& control) {
    if (!control.is_object()) {
        return "the control body must be a JSON object";
    }
    std::lock_guard lock(mutex_);
    if (control.value("reset", false)) {
        delays_.clear();
        statuses_.clear();
        closes_.clear();
        garbage_.clear();
        resets_.clear();
        huge_.clear();
        list_ = ListFault::None;
        echoLength_.reset();
    }
    struct Kind {
        const char* key;
        std::vector<Rule>* rules;
        const char* valueKey;
    };
    const Kind kinds[] = {{"delay", &delays_, "ms"},    {"status", &statuses_, "code"},
                          {"close", &closes_, nullptr}, {"garbage", &garbage_, nullptr},
                          {"cut", &resets_, nullptr},   {"huge", &huge_, nullptr}};
    for (const Kind& kind : kinds) {
        if (control.contains(kind.key)) {
            if (std::string error = addRules(control[kind.key], *kind.rules, kind.valueKey);
                !error.empty()) {
                return error;
            }
        }
    }
    if (control.contains("list")) {
        const Json& list = control["list"];
        if (list == "malformed") {
            list_ = ListFault::Malformed;
        } else if (list == "object") {
            list_ = ListFault::Object;
        } else if (list.is_null() || list == "normal") {
            list_ = ListFault::None;
        } else {
            return "\"list\" is \"malformed\", \"object\", \"normal\" or null";
        }
    }
    if (control.contains("echoLength")) {
        const Json& length = control["echoLength"];
        if (length.is_null()) {
            echoLength_.reset();
        } else if (length.is_number_integer() && length.get<int>() >= 0) {
            echoLength_ = length.get<int>();
        } else {
            return "\"echoLength\" is a non-negative integer or null";
        }
    }
    return {};
}

std::string FaultSwitches::applyOption(const std::string& name, const std::string& value) {
    Json control = Json::object();
    const auto eq = value.rfind('=');
    const std::string path = eq == std::string::npos ? "*" : value.substr(0, eq);
    const std::string number = eq == std::string::npos ? value : value.substr(eq + 1);
    try {
        if (name == "delay") {
            control["delay"] = {{"path", path}, {"ms", std::stoi(number)}};
        } else if (name == "status") {
            control["status"] = {{"path", path}, {"code", std::stoi(number)}};
        } else if (name == "close" || name == "garbage" || name == "cut" || name == "huge") {
            control[name] = value;
        } else if (name == "list-fault") {
            control["list"] = value;
        } else if (name == "echo-length") {
            control["echoLength"] = std::stoi(value);
        } else {
            return "unknown fault " + name;
        }
    } catch (const std::exception&) {
        return "bad value for --" + name + ": " + value;
    }
    return apply(control);
}

void FaultSwitches::reset() {
    apply(Json{{"reset", true}});
}

int FaultSwitches::delayMsFor(const std::string& path) {
    std::lock_guard lock(mutex_);
    return take(delays_, path).value_or(0);
}

std::optional<int> FaultSwitches::statusFor(const std::string& path) {
    std::lock_guard lock(mutex_);
    return take(statuses_, path);
}

ConnectionFault FaultSwitches::connectionFaultFor(const std::string& path) {
    std::lock_guard lock(mutex_);
    if (take(closes_, path)) {
        return ConnectionFault::Close;
    }
    if (take(garbage_, path)) {
        return ConnectionFault::Garbage;
    }
    if (take(resets_, path)) {
        return ConnectionFault::Reset;
    }
    if (take(huge_, path)) {
        return ConnectionFault::Huge;
    }
    return ConnectionFault::None;
}

ListFault FaultSwitches::listFault() const {
    std::lock_guard lock(mutex_);
    return list_;
}

std::optional<int> FaultSwitches::echoLength() const {
    std::lock_guard lock(mutex_);
    return echoLength_;
}

Json FaultSwitches::describe() const {
    std::lock_guard lock(mutex_);
    auto rulesJson = [](const std::vector<Rule>& rules, const char* valueKey) {
        Json out = Json::array();
        for (const Rule& rule : rules) {
            Json item = {{"path", rule.path}, {"times", rule.remaining}, {"skip", rule.skip}};
            if (valueKey != nullptr) {
                item[valueKey] = rule.value;
            }
            out.push_back(item);
        }
        return out;
    };
    static const char* const kListNames[] = {"normal", "malformed", "object"};
    return Json{{"delay", rulesJson(delays_, "ms")},
                {"status", rulesJson(statuses_, "code")},
                {"close", rulesJson(closes_, nullptr)},
                {"garbage", rulesJson(garbage_, nullptr)},
                {"cut", rulesJson(resets_, nullptr)},
                {"huge", rulesJson(huge_, nullptr)},
                {"list", kListNames[static_cast<int>(list_)]},
                {"echoLength", echoLength_ ? Json(*echoLength_) : Json()}};
}

} // namespace torrserver
