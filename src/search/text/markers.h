#pragma once

#include <QStringView>

// The marker arithmetic that the tracker's pages are read with. Markers match letter case
// exactly.
namespace qb::search {

// The characters of `text` before the first `marker`; empty when the marker is absent or
// stands at the start.
QStringView textBefore(QStringView text, QStringView marker);

// `text` after the first `marker`. When the marker is absent, the first (length of the marker
// minus 1) characters are dropped, as the tracker's readers always did.
QStringView cutThrough(QStringView text, QStringView marker);

} // namespace qb::search
