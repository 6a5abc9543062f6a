// Removing a torrent, copying its magnet link, and the server's and tracker's pages.
#include "app/tform1.h"
#include "connection/connection.h"

#include "app/workers/nested_loops.h"
#include "app/workers/responsive_wait.h"
#include "build_config.h"
#include "connection/api/torrserver_api.h"
#include "connection/http/http_result.h"
#include "connection/list/member_text.h"
#include "connection/list/update_rows.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

using namespace Qt::Literals::StringLiterals;
using qb::connection::Connection;

void Connection::mDelClick() {
    const nlohmann::ordered_json* entry = selectedEntry();
    if (Form.TorrentList->count() == 0 || entry == nullptr) {
        return;
    }
    const QString hash = qb::connection::entryMemberText(*entry, "Hash");
    const qb::net::HttpResult answer = Form.server().remove(Form.SrvAdress->text(), hash);
    if (answer.failure == qb::net::FailureKind::Connection) {
        Form.message(u"Ой-ой!\rЧто-то пошло не так!"_s, u"Инфо"_s,
                     qb::platform::MessageIcon::Warning);
        return;
    }
    if (!answer.ok) {
        // A late or refused answer ends the command in the window's general error report.
        Form.message(answer.failureText, Form.windowTitle(), qb::platform::MessageIcon::Error);
        return;
    }
    ShowIdlePage();
    QStringList marks = updateRows();
    const qsizetype marked = qb::connection::firstUpdateRowWithHash(marks, hash);
    if (marked >= 0) {
        delete Form.UpdateList1->takeItem(static_cast<int>(marked));
    }
    ConnectButtonClick();
    qb::app::processPendingEvents();
    qb::app::ResponsiveWait(200);
    Form.LogP->setText(u"Торрент успешно удален"_s);
    qb::app::ResponsiveWait(3000);
    CountsLine();
}

void Connection::C1Click() {
    if (const nlohmann::ordered_json* entry = selectedEntry()) {
        Form.platform().clipboard->setText(qb::connection::entryMemberText(*entry, "Magnet"));
    }
}

void Connection::SettingButClick() {
    Form.takeFocusFromControls();
    Form.Edit2->setFocus(Qt::OtherFocusReason);
    Form.platform().browser->open(QUrl(
        Form.server().pageAddress(Form.SrvAdress->text(), qb::connection::ServerPage::Settings)));
}

void Connection::N20Click() {
    Form.platform().browser->open(QUrl(
        Form.server().pageAddress(Form.SrvAdress->text(), qb::connection::ServerPage::Statistics)));
}

void Connection::N22Click() {
    Form.platform().browser->open(
        QUrl(Form.server().pageAddress(Form.SrvAdress->text(), qb::connection::ServerPage::Cache)));
}

void Connection::TLopenIDClick() {
    Form.platform().browser->open(QUrl(u"http://"_s +
                                       QString::fromLatin1(qb::build::kTrackerDomain) +
                                       u"/torrent/"_s + SelectedReleaseId));
}
