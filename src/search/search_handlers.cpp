// Search: handlers still to be filled in.
// Each handler is wired to its event already and does nothing yet.
#include "app/tform1.h"

void TForm1::SearchClick() {}

void TForm1::SearchTKeyDown(int) {}

void TForm1::Top1Click() {}

void TForm1::Button1Click() {}

void TForm1::CategoryClick(QAction*) {}

void TForm1::FHD1Click() {}

void TForm1::FHD1MouseUp() {}

void TForm1::SearchResultClick() {}

void TForm1::SearchResultDblClick() {}

void TForm1::SearchResultDrawItem(QPainter*, int, const QRect&, bool) {}

void TForm1::SearchResultMouseDown(Qt::MouseButton, const QPoint&) {}

void TForm1::SearchResultMouseEnter() {}

void TForm1::SearchResultMouseLeave() {}

void TForm1::SearchResultMouseMove(const QPoint&) {}

void TForm1::SearchResultMouseUp() {}

void TForm1::PopupMenu1Popup() {}

void TForm1::N2Click() {}

void TForm1::C2Click() {}

void TForm1::N16Click() {}

void TForm1::N1Click() {}

void TForm1::SRLAddExecute(qb::app::JobThread&) {}
