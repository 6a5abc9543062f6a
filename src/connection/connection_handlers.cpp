// Connection and torrent list: handlers still to be filled in.
// Each handler is wired to its event already and does nothing yet.
#include "app/tform1.h"

void TForm1::ConnectButtonClick() {}

void TForm1::ConnectButtonMouseUp() {}

void TForm1::SrvAdressEnter() {}

void TForm1::SrvAdressExit() {}

void TForm1::SrvAdressKeyDown(int) {}

void TForm1::Timer1Timer() {}

void TForm1::CountsLine() {}

void TForm1::TorrentListDrawItem(QPainter*, int, const QRect&, bool) {}

void TForm1::TorrentListClick() {}

void TForm1::TorrentListDblClick() {}

void TForm1::TorrentListEnter() {}

void TForm1::TorrentListMouseDown(Qt::MouseButton, const QPoint&) {}

void TForm1::TorrentListMouseUp() {}

void TForm1::TorrentListMouseEnter() {}

void TForm1::TorrentListMouseLeave() {}

void TForm1::Local1Click() {}

void TForm1::Local1MouseUp() {}

void TForm1::mDelClick() {}

void TForm1::C1Click() {}

void TForm1::SettingButClick() {}

void TForm1::N20Click() {}

void TForm1::N22Click() {}

void TForm1::TLopenIDClick() {}

void TForm1::ShowIdlePage() {}
