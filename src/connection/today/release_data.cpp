#include "connection/today/release_data.h"

#include "connection/http/json_escape.h"
#include "connection/http/json_value_text.h"
#include "connection/list/release_id.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace qb::connection::today {
namespace {
constexpr qsizetype kMaxIdDigits = 9;

bool isDecimalId(const QString& text) {
    return !text.isEmpty() && text.size() <= kMaxIdDigits &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString stringMember(const nlohmann::ordered_json& object, const char* name) {
    const auto found = object.find(name);
    if (found == object.end() || !found->is_string()) {
        return {};
    }
    return QString::fromStdString(found->get<std::string>());
}
} // namespace

QString releaseDataText(const ReleaseData& data) {
    if (data.releaseId.isEmpty() && data.poster.isEmpty()) {
        return {};
    }
    const QString poster = u"\"poster_path\":\""_s + jsonStringContent(data.poster) + u"\""_s;
    if (data.releaseId.isEmpty()) {
        return u"{"_s + poster + u"}"_s;
    }
    QString text = u"{\"id\":\""_s + jsonStringContent(data.releaseId) + u"\", "_s + poster;
    if (!data.magnet.isEmpty()) {
        text += u", \"magnet\":\""_s + jsonStringContent(data.magnet) + u"\""_s;
    }
    return text + u"}"_s;
}

ReleaseData readReleaseData(const QString& data) {
    if (!data.startsWith(u'{')) {
        return {};
    }
    const std::optional<nlohmann::ordered_json> parsed = parseJsonAnswer(data.toUtf8());
    if (!parsed || !parsed->is_object()) {
        return {};
    }
    ReleaseData read;
    const QString id = stringMember(*parsed, "id");
    if (isDecimalId(id)) {
        read.releaseId = id;
    }
    read.poster = stringMember(*parsed, "poster_path");
    const QString magnet = stringMember(*parsed, "magnet");
    if (!read.releaseId.isEmpty() && magnet.startsWith(u"magnet:?"_s) &&
        releaseIdFromMagnet(magnet) == read.releaseId) {
        read.magnet = magnet;
    }
    return read;
}

std::optional<QString> dataWithFiles(const QString& data, const nlohmann::ordered_json& files) {
    const ReleaseData release = readReleaseData(data);
    if (release.releaseId.isEmpty() && release.poster.isEmpty()) {
        return std::nullopt;
    }
    std::optional<nlohmann::ordered_json> object = parseJsonAnswer(data.toUtf8());
    if (!object || !object->is_object() || object->contains("TorrServer") || !files.is_array()) {
        return std::nullopt;
    }
    (*object)["TorrServer"] = nlohmann::ordered_json{{"Files", files}};
    return QString::fromStdString(
        object->dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace));
}

MarkedLink takeReleaseMarker(const QString& link) {
    const std::optional<QString> id = releaseIdFromMagnet(link);
    if (!id) {
        return {link, {}};
    }
    // The marker parameter runs from "dn=id_" to its "&"; the "&" before it, or the one after
    // it when it is the first parameter, goes with it. A marker inside another parameter's
    // value is left where it is.
    const qsizetype start = link.indexOf(u"dn=id_"_s);
    const qsizetype end = link.indexOf(u'&', start);
    if (start == 0 || (link[start - 1] != u'&' && link[start - 1] != u'?')) {
        return {link, *id};
    }
    QString rest = link;
    if (link[start - 1] == u'?') {
        rest.remove(start, end - start + 1);
    } else {
        rest.remove(start - 1, end - start + 1);
    }
    return {rest, *id};
}

} // namespace qb::connection::today
