#pragma once

#include <nlohmann/json.hpp>

#include <QString>

namespace qb::lists {
// The poster address a torrent's "Info" text keeps (the client stores it when adding): the
// text after the first `path":"` up to the next `"`. Empty when there is none, or when the
// address has no closing quote.
QString posterFromInfo(const QString& info);

// The link line of a torrent in a magnet-list file: its magnet with every "&amp=" removed
// (exact letter case), URL-decoded, and "&as=" + the poster address appended when there is one.
QString exportLinkLine(const QString& magnet, const QString& posterUrl);

// The whole text of a magnet-list file for the first `rows` entries of a server list, two lines
// per torrent (":: " + name, then its link line), every line ended by CR LF.
QString exportListText(const nlohmann::ordered_json& entries, qsizetype rows);
} // namespace qb::lists
