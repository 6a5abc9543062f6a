#pragma once

#include <QString>

#include <optional>

namespace qb::lists {
// The number of files a tracker's release page announces: the text between the first "(" after
// the first "displayfiles" (after the start of the page when there is none) and the next ")",
// read as a whole number. Nothing when there is no such bracket, the text in it is empty, or it
// is not a whole number of at most nine digits (blanks around it are allowed).
std::optional<int> announcedFileCount(const QString& page);
} // namespace qb::lists
