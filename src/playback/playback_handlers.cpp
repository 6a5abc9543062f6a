// Adding and playing: handlers still to be filled in.
// Each handler is wired to its event already and does nothing yet.
#include "app/tform1.h"

void TForm1::mPlayClick() {}

void TForm1::ChosePlayerButClick() {}

void TForm1::BMDThread1Execute(qb::app::JobThread&) {}

void TForm1::BMDThread2Execute(qb::app::JobThread&) {}

void TForm1::N18Click() {}

void TForm1::m3u1Click() {}

void TForm1::m3u2Click() {}

void TForm1::AddListClick() {}

void TForm1::AddListDblClick() {}

void TForm1::AddListMouseDown(Qt::MouseButton, const QPoint&) {}

void TForm1::AddListMouseEnter() {}

void TForm1::AddListMouseLeave() {}

void TForm1::MenuItem1Click() {}

void TForm1::MenuItem2Click() {}
