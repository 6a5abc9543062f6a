#include "platform/platform.h"

namespace qb::platform {

void terminateProcessesByName(Processes& processes, const QString& name) {
    for (const ProcessEntry& entry : processes.list()) {
        if (entry.executableName == name) {
            processes.terminate(entry.pid);
        }
    }
}

} // namespace qb::platform
