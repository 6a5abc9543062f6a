#include "app/settings/settings_text.h"

#include "build_config.h"
#include "connection/http/json_escape.h"
#include "platform/text/text_codec.h"

#include <nlohmann/json.hpp>

#include <array>
#include <string>
#include <utility>

namespace qb::app {

namespace {

QString fromBuild(const char* value) {
    return QString::fromUtf8(value);
}

// A JSON string literal. Only what JSON requires is escaped, so ordinary values (addresses,
// paths with "/", Cyrillic text) are written exactly as they are.
QString quoted(const QString& value) {
    return u'"' + qb::connection::jsonStringContent(value) + u'"';
}

// A setting's value as text: missing and null read as empty, a string as its content, a
// number or a boolean as its JSON text. An object or array is no setting.
std::optional<QString> valueText(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end() || found->is_null()) {
        return QString();
    }
    if (found->is_string()) {
        return qb::platform::fromUtf8Exactly(found->get_ref<const std::string&>());
    }
    if (found->is_structured()) {
        return std::nullopt;
    }
    return QString::fromStdString(found->dump());
}

bool isBlank(QChar c) {
    return c.unicode() <= u' ';
}

} // namespace

QString settingsText(const SaveValues& values) {
    const std::array<std::pair<const char16_t*, const QString*>, 9> members = {{
        {u"Title", &values.title},
        {u"LocalServer", &values.localServer},
        {u"Server", &values.server},
        {u"Player", &values.player},
        {u"Info", nullptr},
        {u"4zir", nullptr},
        {u"Minimize", &values.minimize},
        {u"Tor", &values.serviceBaseUrl},
        {u"KeepLocalServer", &values.keepLocalServer},
    }};
    const QString info = fromBuild(qb::build::kInfoCredit);
    const QString forum = fromBuild(qb::build::k4zirCredit);
    QString text = QStringLiteral("[{");
    bool first = true;
    for (const auto& [key, value] : members) {
        if (!first) {
            text += u',';
        }
        first = false;
        const QString name = QString::fromUtf16(key);
        const QString& shown = value != nullptr ? *value : (name == u"Info" ? info : forum);
        text += quoted(name) + u':' + quoted(shown);
    }
    text += u"}]";
    return text;
}

QString defaultSettingsText(const QString& caption) {
    SaveValues values;
    values.title = caption;
    values.localServer = QStringLiteral("1");
    values.server = QStringLiteral("127.0.0.1:8090");
    values.minimize = QStringLiteral("0");
    values.serviceBaseUrl = fromBuild(qb::build::kDefaultServiceUrl);
    values.keepLocalServer = QStringLiteral("0");
    return settingsText(values);
}

std::optional<LoadedSettings> parseSettingsText(const QString& text) {
    const nlohmann::json root = nlohmann::json::parse(text.toStdString(), nullptr, false);
    if (!root.is_array() || root.empty() || !root.front().is_object()) {
        return std::nullopt;
    }
    const nlohmann::json& object = root.front();
    const auto player = valueText(object, "Player");
    const auto minimize = valueText(object, "Minimize");
    const auto server = valueText(object, "Server");
    const auto localServer = valueText(object, "LocalServer");
    const auto keepLocalServer = valueText(object, "KeepLocalServer");
    const auto tor = valueText(object, "Tor");
    if (!player || !minimize || !server || !localServer || !keepLocalServer || !tor) {
        return std::nullopt;
    }
    LoadedSettings loaded;
    Settings& s = loaded;
    s.player = *player;
    s.minimize = *minimize;
    s.server = *server;
    s.localServer = *localServer;
    s.keepLocalServer = keepLocalServer->isEmpty() ? QStringLiteral("0") : *keepLocalServer;
    if (*tor == u"1") {
        s.serviceBaseUrl = fromBuild(qb::build::kFormerServiceUrl);
    } else if (*tor == u"0" || tor->isEmpty()) {
        s.serviceBaseUrl = fromBuild(qb::build::kDefaultServiceUrl);
    } else {
        s.serviceBaseUrl = *tor;
    }
    return loaded;
}

AddressCleanUp cleanAddressForSave(const QString& box, const QString& serverAddress) {
    qsizetype begin = 0;
    qsizetype end = box.size();
    while (begin < end && isBlank(box[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(box[end - 1])) {
        --end;
    }
    if (begin == end) {
        // Empty, or blanks only: there is no address to clean, so the one read at start.
        return {serverAddress, true};
    }
    const QString trimmed = box.mid(begin, end - begin);
    if (trimmed.endsWith(u'/')) {
        return {trimmed.chopped(1), true};
    }
    return {box, false};
}

SaveValues saveValuesFor(const Settings& current, const QString& caption, bool local1Checked,
                         const QString& addressBox) {
    SaveValues values;
    values.title = caption;
    values.localServer = local1Checked ? QStringLiteral("1") : QStringLiteral("0");
    values.server = local1Checked ? current.server : addressBox;
    values.player = current.player;
    values.minimize = current.minimize;
    values.serviceBaseUrl = current.serviceBaseUrl;
    values.keepLocalServer =
        current.keepLocalServer.isEmpty() ? QStringLiteral("0") : current.keepLocalServer;
    return values;
}

} // namespace qb::app
