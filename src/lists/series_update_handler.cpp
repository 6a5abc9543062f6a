// "Обновить торрент": a marked torrent is replaced by the current release of its series.
#include "app/tform1.h"
#include "connection/connection.h"
#include "lists/lists_and_series.h"
#include "releaseinfo/release_info.h"
#include "search/tracker_search.h"

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
using qb::lists::ListsAndSeries;

void ListsAndSeries::update1Click() {
    const nlohmann::ordered_json* entry = Form.connection().selectedEntry();
    if (entry == nullptr || Form.connection().selectedReleaseId().isEmpty()) {
        return;
    }
    // A busy adding worker would not start the re-adding: the old torrent would be gone and
    // no new one added.
    if (Form.srlAdd()->isRunning()) {
        Form.message(u"Дождитесь окончания добавления торрента на сервер"_s, u"Инфо"_s,
                     qb::platform::MessageIcon::Information);
        return;
    }
    const QString hash = qb::connection::entryMemberText(*entry, "Hash");
    qb::app::processPendingEvents();
    Form.LogP->setText(u"... Обновляем торрент ..."_s);
    Form.releaseInfo().ShowReleaseInfo(Form.connection().selectedReleaseId());
    // Without the new release's magnet nothing could be added back: keep the old torrent.
    if (!Form.releaseInfo().infoMagnet().contains(u"magnet:"_s)) {
        Form.message(u"Не удалось получить ссылку на новую раздачу, попробуйте позже"_s,
                     u"Ошибка"_s, qb::platform::MessageIcon::Error);
        Form.connection().CountsLine();
        return;
    }
    const qb::net::HttpResult answer = Form.server().remove(Form.SrvAdress->text(), hash);
    if (!answer.ok) {
        qb::lists::reportFailedRemoval(Form, answer);
        return;
    }
    const qsizetype marked =
        qb::connection::firstUpdateRowWithHash(Form.connection().updateRows(), hash);
    if (marked >= 0) {
        delete Form.UpdateList1->takeItem(static_cast<int>(marked));
    }
    qb::app::ResponsiveWait(500);
    Form.search().startAdding(u"update"_s);
}
