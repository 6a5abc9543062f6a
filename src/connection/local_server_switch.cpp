// The switch between the local TorrServer beside the program and the remote one.
#include "app/tform1.h"

#include "app/workers/nested_loops.h"
#include "connection/api/server_apis.h"
#include "platform/local_server.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace {
const QString kLocalServerAddress = u"http://127.0.0.1:8090"_s;
}

void TForm1::Local1Click() {
    AddList->setVisible(false);
    FHD1->setEnabled(true);
    SearchT->setEnabled(true);
    Search->setEnabled(true);
    UpdateList1->clear();
    // The server behind the address is another one now: its generation is learned anew.
    Servers->forget();
    qb::app::processPendingEvents();
    CountsLine();

    if (Local1->isChecked()) {
        SrvAdress->setText(kLocalServerAddress);
        SrvAdress->setEnabled(false);
        if (LocalServerRunning) {
            SettingBut->setEnabled(false);
            qb::app::processPendingEvents();
        } else {
            // A server that cannot be started shows as "Сервер не отвечает" after the refresh.
            Platform_.processes->startDetached(AppDir() + u"server/"_s +
                                                   qb::platform::localServerExecutableName(),
                                               {u"--path"_s, AppDir() + u"server"_s});
        }
        ConnectButtonClick();
    } else {
        for (const QString& name : qb::platform::localServerNamesToTerminate()) {
            qb::platform::terminateProcessesByName(*Platform_.processes, name);
        }
        SrvAdress->setText(ServerAddress);
        SrvAdress->setEnabled(true);
        ConnectButtonClick();
    }
    takeFocusFromControls();
}

void TForm1::Local1MouseUp() {
    takeFocusFromControls();
}
