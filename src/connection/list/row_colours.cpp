#include "connection/list/row_colours.h"

#include "connection/list/member_text.h"
#include "connection/list/torrent_row.h"

#include <algorithm>

namespace qb::connection {
namespace {
bool isSubtitle(const nlohmann::ordered_json& file) {
    return entryMemberText(file, "Name").contains(QStringLiteral(".srt"));
}

RowTextColour filesColour(const nlohmann::ordered_json& entry) {
    // A "Files" that is no array counts as none: nothing is known about the files.
    const nlohmann::ordered_json* files = entryFiles(entry);
    if (files == nullptr) {
        return RowTextColour::WindowText;
    }
    if (files->size() < 2) {
        return RowTextColour::Black;
    }
    const auto playable = std::count_if(files->begin(), files->end(),
                                        [](const auto& file) { return !isSubtitle(file); });
    return playable >= 2 ? RowTextColour::DarkRed : RowTextColour::Black;
}
} // namespace

const nlohmann::ordered_json* entryFiles(const nlohmann::ordered_json& entry) {
    if (!entry.is_object()) {
        return nullptr;
    }
    const auto found = entry.find("Files");
    return found != entry.end() && found->is_array() ? &*found : nullptr;
}

RowColours torrentRowColour(const nlohmann::ordered_json& entry, const QString& rowText,
                            bool selected) {
    if (selected) {
        return {RowTextColour::HighlightedText, RowBackground::Highlight};
    }
    if (rowText.contains(QStringView(kUpdateMarker))) {
        return {RowTextColour::Green, RowBackground::Base};
    }
    if (rowText.contains(QStringView(kSeekingPeersMarker))) {
        return {RowTextColour::Red, RowBackground::Base};
    }
    return {filesColour(entry), RowBackground::Base};
}
} // namespace qb::connection
