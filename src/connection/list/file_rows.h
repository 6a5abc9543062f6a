#pragma once

#include <nlohmann/json.hpp>

#include <QList>
#include <QString>

namespace qb::connection {
// A row of AddList and the file entry of FilesList it shows.
struct FileRow {
    QString text;
    int fileIndex = 0;
    bool viewed = false; // an unviewed file disables the resolution filter FHD1
    friend bool operator==(const FileRow&, const FileRow&) = default;
};

// The AddList rows of a "Files" array, in its order: every file whose "Name" does not contain
// ".srt" (case-sensitive), the name without its folder part (through the first "/"), with
// " - просмотрено" after a viewed file. "Viewed" is true for "true" (any case) or a non-zero
// number; a missing or unreadable "Viewed" counts as not viewed. The window shows these rows
// only when the array holds more than one entry.
QList<FileRow> addListRows(const nlohmann::ordered_json& files);

// A file's "Name" without the torrent's folder: everything through the first "/" removed.
QString nameWithoutFolder(const QString& name);

// Whether the first file lies at the top of the torrent (its "Name" has no "/"), so that the
// single-file download can be offered. An empty or missing array offers nothing.
bool singleTopFileForDownload(const nlohmann::ordered_json& files);
} // namespace qb::connection
