// The alive check of the connected server, every five seconds.
#include "app/tform1.h"

#include "connection/api/server_apis.h"
#include "connection/list/alive_check.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

void TForm1::Timer1Timer() {
    const qb::net::HttpResult echo = Servers->echo(SrvAdress->text());
    switch (qb::connection::aliveCheckDecision(!echo.ok, echo.failureText,
                                               QString::fromUtf8(echo.body))) {
    case qb::connection::AliveCheckAction::Nothing:
        break;
    case qb::connection::AliveCheckAction::RestartTimer:
        Timer1->stop();
        Timer1->start();
        break;
    case qb::connection::AliveCheckAction::Unreachable:
        setUnreachable();
        Timer1->stop();
        SettingBut->setEnabled(false);
        TorrentList->clear();
        break;
    }
}
