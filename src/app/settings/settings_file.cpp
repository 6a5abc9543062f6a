#include "app/settings/settings_file.h"

#include "platform/text/text_codec.h"
#include "platform/text/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>

namespace qb::app {

QString settingsFilePath(const QString& appDir) {
    return appDir + u"app.json";
}

namespace {
// The file may hold a user name and password in "Server": no one but its owner may read it.
constexpr mode_t kOwnerOnly = 0600;

// The mode a settings file gets: owner read and write, or fewer of those when the file that is
// there already allows fewer.
mode_t settingsMode(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return kOwnerOnly;
    }
    return info.st_mode & kOwnerOnly;
}

// Renames `path` to `aside` (replacing an older one), readable by the owner only at most.
bool keepSettingsFileAside(const QString& path, const QString& aside) {
    QFile::remove(aside);
    if (!QFile::rename(path, aside)) {
        return false;
    }
    // What was set aside may hold a password as well.
    const QByteArray name = QFile::encodeName(aside);
    struct stat info {};
    if (::stat(name.constData(), &info) == 0) {
        ::chmod(name.constData(), info.st_mode & kOwnerOnly);
    }
    return true;
}
} // namespace

bool writeSettingsFile(const QString& path, const QString& text) {
    const mode_t mode = settingsMode(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    // The temporary file is restricted before it holds anything, so no copy of the settings is
    // ever readable by others, not even for a moment.
    if (::fchmod(file.handle(), mode) != 0) {
        file.cancelWriting();
        return false;
    }
    const QByteArray bytes = qb::platform::encodeLegacy(text);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

LoadedSettings loadOrCreateSettings(const QString& appDir, const QString& caption) {
    const QString path = settingsFilePath(appDir);
    const QString defaultText = defaultSettingsText(caption);
    // The default text always reads back; it is what every fallback below uses.
    LoadedSettings defaults = parseSettingsText(defaultText).value_or(LoadedSettings{});

    if (!QFileInfo(path).exists()) {
        defaults.writeFailed = !writeSettingsFile(path, defaultText);
        return defaults;
    }
    const std::optional<QString> text = qb::platform::readTextFile(path);
    if (!text) {
        defaults.readFailed = true;
        return defaults;
    }
    if (std::optional<LoadedSettings> loaded = parseSettingsText(*text)) {
        return *loaded;
    }
    // Not a settings file: keep what the user had, then start over from the defaults.
    const QString aside = path + u".bad";
    if (!keepSettingsFileAside(path, aside)) {
        defaults.writeFailed = true;
        return defaults;
    }
    defaults.badFileKeptAside = true;
    defaults.writeFailed = !writeSettingsFile(path, defaultText);
    return defaults;
}

} // namespace qb::app
