// The alive check of the connected server, every five seconds.
#include "app/tform1.h"
#include "connection/connection.h"

#include "connection/api/server_apis.h"
#include "connection/list/alive_check.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;
using qb::connection::Connection;

void Connection::Timer1Timer() {
    const qb::net::HttpResult echo = Form.servers()->echo(Form.SrvAdress->text());
    switch (qb::connection::aliveCheckDecision(!echo.ok, echo.failureText,
                                               QString::fromUtf8(echo.body))) {
    case qb::connection::AliveCheckAction::Nothing:
        break;
    case qb::connection::AliveCheckAction::RestartTimer:
        Form.Timer1->stop();
        Form.Timer1->start();
        break;
    case qb::connection::AliveCheckAction::Unreachable:
        setUnreachable();
        Form.Timer1->stop();
        Form.SettingBut->setEnabled(false);
        Form.TorrentList->clear();
        break;
    }
}
