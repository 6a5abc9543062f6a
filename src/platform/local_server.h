#pragma once

#include <QString>
#include <QStringList>

// The local TorrServer build that matches this program's processor, and the names under which
// local servers are stopped.
namespace qb::platform {

// "TorrServer-linux-amd64", "TorrServer-linux-386" or "TorrServer-linux-arm64".
QString localServerExecutableName();

// "TorrServer-linux-386" then "TorrServer-linux-amd64": the builds stopped at exit and when the
// local server is switched off.
QStringList localServerNamesToTerminate();

} // namespace qb::platform
