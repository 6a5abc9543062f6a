#pragma once

#include <QIcon>

namespace qb::app {
// The application icon, drawn by the program at every size the desktop asks for; the window and
// the tray icon share it.
QIcon appIcon();
// One size of it, for exporting the icon as a file.
QPixmap appIconPixmap(int size);
} // namespace qb::app
