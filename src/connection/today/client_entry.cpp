#include "connection/today/client_entry.h"

#include "connection/http/json_value_text.h"
#include "connection/list/member_text.h"
#include "connection/today/release_data.h"
#include "connection/today/today_addresses.h"

#include <QString>

#include <climits>

using namespace Qt::Literals::StringLiterals;

namespace qb::connection::today {
namespace {
using Json = nlohmann::ordered_json;

QString text(const Json& object, const char* name) {
    return entryMemberText(object, name);
}

void copyMember(const Json& from, const char* name, Json& to, const char* as) {
    const auto found = from.find(name);
    if (found != from.end() && !found->is_structured()) {
        to[as] = *found;
    }
}

// The file id the server gave, when it is a whole number that fits.
std::optional<long long> fileId(const Json& file) {
    const auto found = file.find("id");
    if (found == file.end() || !found->is_number_integer()) {
        return std::nullopt;
    }
    return found->is_number_unsigned() && found->get<unsigned long long>() > LLONG_MAX
               ? std::nullopt
               : std::optional(found->get<long long>());
}

// The files the server keeps in "data" for a torrent that is only in its database.
const Json* filesKeptInData(const Json& data) {
    if (!data.is_object()) {
        return nullptr;
    }
    const auto server = data.find("TorrServer");
    if (server == data.end() || !server->is_object()) {
        return nullptr;
    }
    const auto files = server->find("Files");
    return files != server->end() && files->is_array() ? &*files : nullptr;
}

Json clientFiles(const Json& serverFiles, const QString& hash) {
    Json files = Json::array();
    if (!serverFiles.is_array()) {
        return files;
    }
    long long position = 0;
    for (const Json& file : serverFiles) {
        ++position;
        if (!file.is_object()) {
            continue;
        }
        const long long id = fileId(file).value_or(position);
        const QString path = text(file, "path");
        Json entry = Json::object();
        entry["Name"] = path.toStdString();
        entry["Link"] = streamAddress(hash, path, id).toStdString();
        entry["Preload"] = preloadAddress(hash, id).toStdString();
        copyMember(file, "length", entry, "Size");
        entry["Viewed"] = false;
        entry["Id"] = id;
        files.push_back(std::move(entry));
    }
    return files;
}
} // namespace

Json clientEntry(const Json& status) {
    Json entry = Json::object();
    if (!status.is_object()) {
        entry["Files"] = Json::array();
        return entry;
    }
    const QString title = text(status, "title");
    const QString hash = text(status, "hash");
    const QString dataText = text(status, "data");
    const ReleaseData release = readReleaseData(dataText);
    QString poster = text(status, "poster");
    if (poster.isEmpty()) {
        poster = release.poster;
    }

    const QString name = title.isEmpty() ? text(status, "name") : title;
    entry["Name"] = name.toStdString();
    copyMember(status, "hash", entry, "Hash");
    copyMember(status, "torrent_size", entry, "Length");
    copyMember(status, "stat", entry, "Status");
    const QString displayName =
        release.releaseId.isEmpty()
            ? name
            : u"id_"_s + QString::number(release.releaseId.toULongLong(), 16).toUpper();
    // A release of the tracker keeps the magnet it was added with, trackers and all.
    entry["Magnet"] =
        (release.magnet.isEmpty() ? magnetOf(hash, displayName) : release.magnet).toStdString();
    entry["Playlist"] = playlistAddress(hash).toStdString();
    const QString info = releaseDataText({release.releaseId, poster, {}});
    entry["Info"] = info.isEmpty() ? "{}" : info.toStdString();

    const auto stats = status.find("file_stats");
    if (stats != status.end() && stats->is_array()) {
        entry["Files"] = clientFiles(*stats, hash);
    } else {
        const std::optional<Json> data =
            dataText.startsWith(u'{') ? parseJsonAnswer(dataText.toUtf8()) : std::nullopt;
        const Json* kept = data ? filesKeptInData(*data) : nullptr;
        entry["Files"] = kept != nullptr ? clientFiles(*kept, hash) : Json::array();
    }
    entry["Title"] = title.toStdString();
    entry["Poster"] = text(status, "poster").toStdString();
    entry["Category"] = text(status, "category").toStdString();
    entry["Data"] = dataText.toStdString();
    return entry;
}

void markViewedFiles(Json& entry, const std::set<long long>& viewedIds) {
    if (!entry.is_object()) {
        return;
    }
    const auto files = entry.find("Files");
    if (files == entry.end() || !files->is_array()) {
        return;
    }
    for (Json& file : *files) {
        const auto id = file.find("Id");
        if (id != file.end() && id->is_number_integer() &&
            viewedIds.contains(id->get<long long>())) {
            file["Viewed"] = true;
        }
    }
}

Json serverFileList(const Json& status) {
    Json files = Json::array();
    if (!status.is_object()) {
        return files;
    }
    const auto stats = status.find("file_stats");
    if (stats == status.end() || !stats->is_array()) {
        return files;
    }
    for (const Json& file : *stats) {
        if (file.is_object()) {
            files.push_back(file);
        }
    }
    return files;
}

} // namespace qb::connection::today
