#include "platform/qt_system_info.h"

#include <QSysInfo>
#include <QSystemTrayIcon>

namespace qb::platform {

QString QtSystemInfo::productName() {
    return QSysInfo::prettyProductName();
}

bool QtSystemInfo::trayAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace qb::platform
