#include "app/app_version.h"

#include "build_config.h"

namespace qb::app {
QString AppVersion() {
    return QString::fromLatin1(qb::build::kAppVersion);
}
} // namespace qb::app
