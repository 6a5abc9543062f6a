#pragma once

#include <optional>
#include <string>

namespace qb::test {

// How much a soak run does: refreshes by the connect button, and torrents added and removed
// (each counted once as an add and once as a removal).
struct SoakPlan {
    int refreshes = 100;
    int changes = 20;
};

// The short run of the test command, unless `mode` is "long" (1,000 refreshes, 200 adds and
// removals); a positive number in `refreshes` or `changes` overrides either. Anything else
// leaves the figure as the mode gives it.
SoakPlan soakPlan(const std::optional<std::string>& mode,
                  const std::optional<std::string>& refreshes,
                  const std::optional<std::string>& changes);

// The plan the environment asks for: QB_SOAK, QB_SOAK_REFRESHES, QB_SOAK_CHANGES.
SoakPlan soakPlanFromEnvironment();

} // namespace qb::test
