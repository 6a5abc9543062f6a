// The switch between the local TorrServer beside the program and the remote one.
#include "app/tform1.h"
#include "connection/connection.h"

#include "app/workers/nested_loops.h"
#include "connection/api/server_apis.h"
#include "platform/local_server.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;
using qb::connection::Connection;

namespace {
const QString kLocalServerAddress = u"http://127.0.0.1:8090"_s;
}

void Connection::Local1Click() {
    Form.AddList->setVisible(false);
    Form.FHD1->setEnabled(true);
    Form.SearchT->setEnabled(true);
    Form.Search->setEnabled(true);
    Form.UpdateList1->clear();
    // The server behind the address is another one now: its generation is learned anew.
    Form.servers()->forget();
    qb::app::processPendingEvents();
    CountsLine();

    if (Form.Local1->isChecked()) {
        Form.SrvAdress->setText(kLocalServerAddress);
        Form.SrvAdress->setEnabled(false);
        if (LocalServerRunning) {
            Form.SettingBut->setEnabled(false);
            qb::app::processPendingEvents();
        } else {
            // A server that cannot be started shows as "Сервер не отвечает" after the refresh.
            Form.platform().processes->startDetached(Form.AppDir() + u"server/"_s +
                                                         qb::platform::localServerExecutableName(),
                                                     {u"--path"_s, Form.AppDir() + u"server"_s});
        }
        ConnectButtonClick();
    } else {
        for (const QString& name : qb::platform::localServerNamesToTerminate()) {
            qb::platform::terminateProcessesByName(*Form.platform().processes, name);
        }
        Form.SrvAdress->setText(ServerAddress);
        Form.SrvAdress->setEnabled(true);
        ConnectButtonClick();
    }
    Form.takeFocusFromControls();
}

void Connection::Local1MouseUp() {
    Form.takeFocusFromControls();
}
