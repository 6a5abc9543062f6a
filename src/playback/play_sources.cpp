#include "playback/play_sources.h"

#include "app/tform1.h"
#include "connection/connection.h"
#include "connection/list/file_rows.h"
#include "playback/playback.h"
#include "search/tracker_search.h"

#include <QFile>
#include <QListWidget>

#include <stdexcept>

namespace qb::playback {
namespace {

const nlohmann::ordered_json& requireEntry(const TForm1& form) {
    const nlohmann::ordered_json* entry = form.connection().selectedEntry();
    if (entry == nullptr) {
        throw std::runtime_error("no torrent is selected");
    }
    return *entry;
}

const search::SearchRecord& requireRecord(const TForm1& form) {
    const search::SearchRecord* record = selectedSearchRecord(form);
    if (record == nullptr) {
        throw std::runtime_error("no search result is selected");
    }
    return *record;
}
} // namespace

const search::SearchRecord* selectedSearchRecord(const TForm1& form) {
    const int row = form.SearchResult->currentRow();
    if (row < 0 || !form.SearchResult->item(row)->isSelected() ||
        static_cast<size_t>(row) >= form.search().results().size()) {
        return nullptr;
    }
    return &form.search().results()[static_cast<size_t>(row)];
}

int fileIndexOfRow(const TForm1& form, int row) {
    const QList<connection::FileRow> rows = connection::addListRows(form.connection().files());
    return row >= 0 && row < rows.size() ? rows[row].fileIndex : -1;
}

const nlohmann::ordered_json* focusedFileEntry(const TForm1& form) {
    const int index = fileIndexOfRow(form, form.AddList->currentRow());
    return index < 0 ? nullptr : &form.connection().files()[static_cast<size_t>(index)];
}

connection::PreloadSource preloadSourceOf(const TForm1& form) {
    using Kind = connection::PreloadSource::Kind;
    connection::PreloadSource source;
    QFile playlist(form.playback().PlayerPlaylist());
    if (playlist.open(QIODevice::ReadOnly)) {
        source.playerPlaylist = playlist.readAll();
    }
    if (form.playback().playsFromSearch()) {
        source.kind = Kind::Search;
        source.magnet = requireRecord(form).Magnet;
        return source;
    }
    source.entry = requireEntry(form);
    if (form.playback().playsFromFiles()) {
        const nlohmann::ordered_json* file = focusedFileEntry(form);
        if (file == nullptr) {
            throw std::runtime_error("no file is focused");
        }
        source.kind = Kind::Files;
        source.file = *file;
    }
    return source;
}

} // namespace qb::playback
