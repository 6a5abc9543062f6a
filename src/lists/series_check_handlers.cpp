// The series check: torrents whose release on the tracker has more files than the torrent on
// the server are marked "[update] " and announced. It runs on CheckSerialsTH after the first
// show and then every hour, so a slow or dead service never holds the window.
#include "app/app_core.h"
#include "app/tform1.h"
#include "connection/connection.h"
#include "lists/lists_and_series.h"

#include "app/workers/bmd_thread.h"
#include "app/workers/responsive_wait.h"
#include "app/workers/window_thread.h"
#include "connection/http/http_client.h"
#include "connection/list/member_text.h"
#include "lists/text/announced_count.h"
#include "lists/text/series_rows.h"
#include "lists/text/series_torrent.h"
#include "releaseinfo/page/info_request.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QTimer>

#include <stdexcept>
#include <tuple>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using qb::lists::ListsAndSeries;

namespace {
// Marks the row that shows the torrent now: a refresh during the check may have rebuilt the
// rows, so the row is found by its hash, not by where the torrent stood when the check began.
// While the list the check read is still shown, that row is known already.
void markRow(TForm1& form, const qb::lists::SeriesRow& series,
             const qb::connection::ServerEntries& checked) {
    const size_t rows = std::min(form.connection().entries().size(),
                                 static_cast<size_t>(form.TorrentList->count()));
    if (form.connection().entries().readsTheSameAnswerAs(checked)) {
        if (series.row < rows) {
            QListWidgetItem* row = form.TorrentList->item(static_cast<int>(series.row));
            row->setText(qb::lists::markedRowText(row->text()));
        }
        return;
    }
    for (size_t i = 0; i < rows; ++i) {
        if (qb::connection::entryMemberText(form.connection().entries()[i], "Hash") ==
            series.torrent.hash) {
            QListWidgetItem* row = form.TorrentList->item(static_cast<int>(i));
            row->setText(qb::lists::markedRowText(row->text()));
            return;
        }
    }
}
// The requests and marks of the check, on the worker's thread.
void checkSeries(TForm1& form, qb::net::HttpClient& service, const QString& serviceBase,
                 const qb::connection::ServerEntries& checked, size_t rows) {
    for (const qb::lists::SeriesRow& series : qb::lists::seriesRows(checked, rows)) {
        const qb::lists::SeriesTorrent& torrent = series.torrent;
        const qb::net::HttpResult answer =
            service.get(qb::releaseinfo::releaseInfoAddress(serviceBase, torrent.releaseId));
        if (!answer.ok) {
            continue;
        }
        // A page without a readable count skips its torrent; the check goes on to its end.
        const std::optional<int> announced =
            qb::lists::announcedFileCount(QString::fromUtf8(answer.body));
        if (!announced || *announced <= torrent.files) {
            continue;
        }
        qb::app::runOnWindowThread([&form, &series, &checked] {
            form.UpdateList1->addItem(qb::lists::updateListRow(series.torrent));
            markRow(form, series, checked);
            form.LogP->setText(qb::lists::updatesFoundText(form.UpdateList1->count()));
        });
    }
}
} // namespace

void ListsAndSeries::CheckSerialsTHExecute(qb::app::JobThread&) {
    qb::app::ResponsiveWait(2000);
    // The list is read here, off the window's thread, from a copy of its own.
    const auto [serviceBase, checked, rows, service] = qb::app::runOnWindowThread([this] {
        Form.mDel->setEnabled(false); // nothing is removed while the check runs
        Form.UpdateList1->clear();
        const size_t shown = std::min(Form.connection().entries().size(),
                                      static_cast<size_t>(Form.TorrentList->count()));
        return std::tuple{Form.core().serviceBaseUrl(), Form.connection().entries().freshCopy(),
                          shown, Form.netHttpClient2()};
    });

    try {
        checkSeries(Form, *service, serviceBase, checked, rows);
    } catch (const qb::app::WindowThreadGone&) {
        throw; // the window is gone: nothing is left to put right
    } catch (const std::exception&) {
        // The closing steps below still run, so mDel and the timer come back.
    }
    qb::app::runOnWindowThread([this] {
        Form.mDel->setEnabled(true);
        if (!Form.UpdateTimer1->isActive()) {
            Form.UpdateTimer1->start();
        }
        if (Form.UpdateList1->count() > 0) {
            showUpdateBalloon();
        }
    });
}

void ListsAndSeries::UpdateTimer1Timer() {
    Form.connection().ConnectButtonClick();
    Form.checkSerialsTH()->Stop();
    Form.checkSerialsTH()->Start();
}
