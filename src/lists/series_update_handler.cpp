// "Обновить торрент": a marked torrent is replaced by the current release of its series.
#include "app/tform1.h"

#include "app/workers/bmd_thread.h"
#include "app/workers/nested_loops.h"
#include "app/workers/responsive_wait.h"
#include "connection/api/torrserver_api.h"
#include "connection/http/http_result.h"
#include "connection/list/member_text.h"
#include "connection/list/update_rows.h"
#include "lists/removal_failure.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

using namespace Qt::Literals::StringLiterals;

void TForm1::update1Click() {
    const nlohmann::ordered_json* entry = selectedEntry();
    if (entry == nullptr || SelectedReleaseId.isEmpty()) {
        return;
    }
    // A busy adding worker would not start the re-adding: the old torrent would be gone and
    // no new one added.
    if (SRLAdd->isRunning()) {
        message(u"Дождитесь окончания добавления торрента на сервер"_s, u"Инфо"_s,
                qb::platform::MessageIcon::Information);
        return;
    }
    const QString hash = qb::connection::entryMemberText(*entry, "Hash");
    qb::app::processPendingEvents();
    LogP->setText(u"... Обновляем торрент ..."_s);
    ShowReleaseInfo(SelectedReleaseId);
    // Without the new release's magnet nothing could be added back: keep the old torrent.
    if (!InfoMagnet.contains(u"magnet:"_s)) {
        message(u"Не удалось получить ссылку на новую раздачу, попробуйте позже"_s, u"Ошибка"_s,
                qb::platform::MessageIcon::Error);
        CountsLine();
        return;
    }
    const qb::net::HttpResult answer = server().remove(SrvAdress->text(), hash);
    if (!answer.ok) {
        qb::lists::reportFailedRemoval(*this, answer);
        return;
    }
    const qsizetype marked = qb::connection::firstUpdateRowWithHash(updateRows(), hash);
    if (marked >= 0) {
        delete UpdateList1->takeItem(static_cast<int>(marked));
    }
    qb::app::ResponsiveWait(500);
    SRLAddMode = u"update"_s;
    SRLAdd->Start();
}
