#pragma once

#include <nlohmann/json.hpp>

#include <QString>

namespace qb::connection {
// Text colour of a TorrentList row. WindowText and HighlightedText are the system's roles.
enum class RowTextColour {
    WindowText,      // the list's own text colour: an entry without "Files"
    Black,           // fewer than two files that are not subtitles
    DarkRed,         // RGB (102, 0, 0): two or more files that are not subtitles
    Red,             // RGB (255, 0, 0): the server still looks for peers
    Green,           // RGB (0, 128, 0): a newer release is marked "[update]"
    HighlightedText, // white on the highlight colour of a selected row
};

enum class RowBackground { Base, Highlight };

struct RowColours {
    RowTextColour text = RowTextColour::WindowText;
    RowBackground background = RowBackground::Base;
    friend bool operator==(const RowColours&, const RowColours&) = default;
};

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};
inline constexpr Rgb kRowDarkRed{102, 0, 0};
inline constexpr Rgb kRowRed{255, 0, 0};
inline constexpr Rgb kRowGreen{0, 128, 0};
inline constexpr Rgb kRowWhite{255, 255, 255};
inline constexpr Rgb kRowBlack{0, 0, 0};

// The entry's "Files" when it is an array; nullptr when the entry has none or another value.
const nlohmann::ordered_json* entryFiles(const nlohmann::ordered_json& entry);

// Colours of the row showing `entry` with `rowText`. A selected row is always white on the
// highlight colour; otherwise "[update]" wins over "пытаемся найти", which wins over the files.
RowColours torrentRowColour(const nlohmann::ordered_json& entry, const QString& rowText,
                            bool selected);
} // namespace qb::connection
