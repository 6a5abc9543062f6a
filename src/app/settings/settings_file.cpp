#include "app/settings/settings_file.h"

#include "platform/text/text_file.h"

#include <QFile>
#include <QFileInfo>

namespace qb::app {

QString settingsFilePath(const QString& appDir) {
    return appDir + u"app.json";
}

bool writeSettingsFile(const QString& path, const QString& text) {
    return qb::platform::writeLegacyTextFile(path, text);
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
    QFile::remove(aside);
    if (!QFile::rename(path, aside)) {
        defaults.writeFailed = true;
        return defaults;
    }
    defaults.badFileKeptAside = true;
    defaults.writeFailed = !writeSettingsFile(path, defaultText);
    return defaults;
}

} // namespace qb::app
