#include "platform/platform.h"

#include <QCoreApplication>

namespace qb::platform {

void terminateProcessesByName(Processes& processes, const QString& name) {
    if (name.isEmpty()) {
        return;
    }
    const qint64 self = QCoreApplication::applicationPid();
    for (const ProcessEntry& entry : processes.list()) {
        if (entry.pid == self) {
            continue;
        }
        if (entry.executableName.compare(name, Qt::CaseInsensitive) == 0 ||
            entry.commandName.compare(name, Qt::CaseInsensitive) == 0) {
            processes.terminate(entry.pid);
        }
    }
}

} // namespace qb::platform
