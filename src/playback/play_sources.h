#pragma once

#include "connection/api/api_requests.h"

#include <nlohmann/json.hpp>

#include <QString>

class TForm1;

namespace qb::search {
struct SearchRecord;
}

// What the rows chosen in the window's lists stand for, as the play and download commands
// read them on the window's thread. Each answers nullptr when there is nothing chosen.
namespace qb::playback {

// The record of the selected row of SearchResult.
const search::SearchRecord* selectedSearchRecord(const TForm1& form);

// The index in FilesList of the file that row `row` of AddList shows: subtitle files have no
// row, so rows after one show later entries. -1 when the row shows no file.
int fileIndexOfRow(const TForm1& form, int row);

// The FilesList entry of the focused row of AddList.
const nlohmann::ordered_json* focusedFileEntry(const TForm1& form);

// What the source that the play-source flags name preloads: the selected torrent's entry, the
// focused file's entry, the search result's magnet, and the playlist handed to the player. An
// exception when the source has nothing chosen.
connection::PreloadSource preloadSourceOf(const TForm1& form);

} // namespace qb::playback
