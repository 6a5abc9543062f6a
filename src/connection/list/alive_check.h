#pragma once

#include <QString>

namespace qb::connection {
enum class AliveCheckAction {
    Nothing,      // the server counts as alive
    RestartTimer, // Timer1 off and on: the answer was not valid HTTP ("12152")
    Unreachable, // status "Сервер не отвечает", Timer1 off, SettingBut off, rows removed
};

// What the 5-second echo check does with its result. A failure is judged by the transport
// numbers in its text; an answer by its length (more than 10 characters is not the echo),
// except the version text of today's servers, which is longer ("MatriX.136.2.NE").
AliveCheckAction aliveCheckDecision(bool failed, const QString& failureText, const QString& answer);
} // namespace qb::connection
