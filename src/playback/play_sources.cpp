#include "playback/play_sources.h"

#include "app/tform1.h"
#include "connection/list/file_rows.h"
#include "connection/list/member_text.h"
#include "playback/preload/preload_link.h"

#include <QListWidget>

#include <stdexcept>

namespace qb::playback {
namespace {
using connection::entryMemberText;

const nlohmann::ordered_json& requireEntry(const TForm1& form) {
    const nlohmann::ordered_json* entry = form.selectedEntry();
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
        static_cast<size_t>(row) >= form.SearchResults.size()) {
        return nullptr;
    }
    return &form.SearchResults[static_cast<size_t>(row)];
}

int fileIndexOfRow(const TForm1& form, int row) {
    const QList<connection::FileRow> rows = connection::addListRows(form.FilesList);
    return row >= 0 && row < rows.size() ? rows[row].fileIndex : -1;
}

const nlohmann::ordered_json* focusedFileEntry(const TForm1& form) {
    const int index = fileIndexOfRow(form, form.AddList->currentRow());
    return index < 0 ? nullptr : &form.FilesList[static_cast<size_t>(index)];
}

QString preloadLinkOfSource(const TForm1& form) {
    if (form.PlaySourceSearch) {
        return searchPreloadLink(requireRecord(form).Magnet);
    }
    if (form.PlaySourceFiles) {
        const nlohmann::ordered_json* file = focusedFileEntry(form);
        if (file == nullptr) {
            throw std::runtime_error("no file is focused");
        }
        return filePreloadLink(entryMemberText(*file, "Preload"));
    }
    return torrentPreloadLink(entryMemberText(requireEntry(form), "Playlist"));
}

QString statHashOfSource(const TForm1& form) {
    if (form.PlaySourceSearch) {
        return searchInfoHash(requireRecord(form).Magnet);
    }
    if (form.PlaySourceFiles) {
        return playlistInfoHash(entryMemberText(requireEntry(form), "Playlist"));
    }
    return entryMemberText(requireEntry(form), "Hash");
}

} // namespace qb::playback
