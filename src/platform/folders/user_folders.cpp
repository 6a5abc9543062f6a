#include "platform/folders/user_folders.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

namespace qb::platform {

namespace {

const QString kProgramFolder = u"quillbrook"_s;

bool isAbsolute(const QString& path) {
    return path.startsWith(u'/');
}

// The base folder a variable names, or its default under `home`; empty when neither is usable.
QString baseFolder(const EnvironmentLookup& environment, const char* variable, const QString& home,
                   const QString& defaultUnderHome) {
    const QString value = environment(variable);
    if (isAbsolute(value)) {
        return value;
    }
    if (isAbsolute(home)) {
        return home + u"/"_s + defaultUnderHome;
    }
    return QString();
}

} // namespace

std::optional<UserFolders> userFolders(const EnvironmentLookup& environment, const QString& home) {
    const QString config = baseFolder(environment, "XDG_CONFIG_HOME", home, u".config"_s);
    const QString data = baseFolder(environment, "XDG_DATA_HOME", home, u".local/share"_s);
    const QString cache = baseFolder(environment, "XDG_CACHE_HOME", home, u".cache"_s);
    if (config.isEmpty() || data.isEmpty() || cache.isEmpty()) {
        return std::nullopt;
    }
    const auto programFolder = [](const QString& base) -> QString {
        return QDir::cleanPath(base + u"/"_s + kProgramFolder) + u"/"_s;
    };
    return UserFolders{programFolder(config), programFolder(data), programFolder(cache)};
}

} // namespace qb::platform
