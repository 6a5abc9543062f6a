#include "soak_plan.h"

#include <charconv>
#include <cstdlib>

namespace qb::test {

namespace {

std::optional<int> positive(const std::optional<std::string>& text) {
    if (!text) {
        return std::nullopt;
    }
    int value = 0;
    const char* first = text->data();
    const char* last = first + text->size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || value <= 0) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

} // namespace

SoakPlan soakPlan(const std::optional<std::string>& mode,
                  const std::optional<std::string>& refreshes,
                  const std::optional<std::string>& changes) {
    SoakPlan plan;
    if (mode == "long") {
        plan = {1000, 200};
    }
    plan.refreshes = positive(refreshes).value_or(plan.refreshes);
    plan.changes = positive(changes).value_or(plan.changes);
    return plan;
}

SoakPlan soakPlanFromEnvironment() {
    return soakPlan(environment("QB_SOAK"), environment("QB_SOAK_REFRESHES"),
                    environment("QB_SOAK_CHANGES"));
}

} // namespace qb::test
