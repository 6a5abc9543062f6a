#pragma once

#include <QString>

namespace qb::app {
// The text of the hand-off field Edit2 while no hand-off is being handled; a running copy
// takes a second copy's argument only while the field holds it.
inline const QString kHandOffIdle = QStringLiteral("insmag");
} // namespace qb::app
