#include "connection/list/alive_check.h"

#include "connection/api/server_generation.h"

namespace qb::connection {
namespace {
constexpr qsizetype kMaxEchoLength = 10;
}

AliveCheckAction aliveCheckDecision(bool failed, const QString& failureText,
                                    const QString& answer) {
    if (!failed) {
        const bool todays = generationOfEcho(answer) == ServerGeneration::Today;
        return answer.size() > kMaxEchoLength && !todays ? AliveCheckAction::Unreachable
                                                         : AliveCheckAction::Nothing;
    }
    // Each number is tested on its own, "12152" first; a text with both a restart and an
    // unreachable number ends with the timer off, as the unreachable effects leave it.
    if (failureText.contains(QStringLiteral("12029")) ||
        failureText.contains(QStringLiteral("12007"))) {
        return AliveCheckAction::Unreachable;
    }
    if (failureText.contains(QStringLiteral("12152"))) {
        return AliveCheckAction::RestartTimer;
    }
    return AliveCheckAction::Nothing;
}
} // namespace qb::connection
