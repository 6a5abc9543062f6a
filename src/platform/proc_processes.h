#pragma once

#include "platform/platform.h"

namespace qb::platform {

// Processes of this user read from /proc, started with QProcess and ended with SIGTERM.
class ProcProcesses final : public Processes {
public:
    bool startDetached(const QString& program, const QStringList& arguments) override;
    std::vector<ProcessEntry> list() override;
    void terminate(qint64 pid) override;
};

} // namespace qb::platform
