#pragma once

#include <QString>

namespace qb::app {
// On Windows 7 and 8.1 a list takes the keyboard focus when the pointer enters it and hands it
// to Edit2 when the pointer leaves, so the wheel scrolls the list under the pointer; elsewhere
// the focus stays where the user put it.
inline bool focusFollowsPointer(const QString& product) {
    return product == QStringLiteral("Windows 7") || product == QStringLiteral("Windows 8.1");
}
} // namespace qb::app
