// The refresh of the torrent list: "Подключиться / Обновить".
#include "app/app_core.h"
#include "app/tform1.h"
#include "connection/connection.h"
#include "releaseinfo/release_info.h"

#include "app/workers/nested_loops.h"
#include "app/workers/responsive_wait.h"
#include "app/workers/window_thread.h"
#include "connection/api/server_apis.h"
#include "connection/http/event_flowing_call.h"
#include "connection/http/http_client.h"
#include "connection/list/counts_line.h"
#include "connection/list/server_list_reader.h"
#include "connection/list/torrent_row.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QWebEngineHttpRequest>
#include <QWebEngineView>

using namespace Qt::Literals::StringLiterals;
using qb::connection::Connection;

namespace {
const QColor kConnectingColour(0, 0, 255);
const QColor kConnectedColour(0, 128, 0);
const QColor kUnreachableColour(255, 0, 0);
} // namespace

QStringList Connection::updateRows() const {
    QStringList rows;
    for (int i = 0; i < Form.UpdateList1->count(); ++i) {
        rows << Form.UpdateList1->item(i)->text();
    }
    return rows;
}

void Connection::clickConnectButton() {
    // Jobs on the workers refresh too; the refresh always runs on the window's thread.
    qb::app::runOnWindowThread([this] { ConnectButtonClick(); });
}

void Connection::setUnreachable() {
    Form.setStatus(u"Сервер не отвечает"_s, kUnreachableColour);
}

void Connection::ConnectButtonClick() {
    if (Form.SrvAdress->text().isEmpty()) {
        Form.message(u"Необходимо указать адрес сервера"_s, u"Ошибка"_s,
                     qb::platform::MessageIcon::Error);
        return;
    }
    if (Form.TorrentList->currentRow() >= 0 && !Form.TorrentList->selectedItems().isEmpty()) {
        ShowIdlePage();
    }
    Form.AddList->setVisible(false);
    Form.SettingBut->setEnabled(false);
    Form.TorrentList->setEnabled(false);
    Form.ConnectButton->setEnabled(false);
    Form.setStatus(u"Попытка подключения к серверу..."_s, kConnectingColour);
    qb::app::processPendingEvents();
    qb::app::ResponsiveWait(500);

    const qb::connection::ServerApis::ListAnswer list =
        Form.servers()->list(Form.SrvAdress->text());
    const qb::net::HttpResult& answer = list.reply.answer;

    // Reading and sorting the answer of a large collection, and writing its rows, take a while:
    // that runs off the window's thread, which keeps answering meanwhile, as it does while the
    // request runs. The window shows the outcome afterwards, in the order it always has.
    qb::connection::ServerListRead parsed;
    const QStringList marks = updateRows();
    QStringList rows;
    if (answer.ok) {
        qb::net::runWhileProcessingEvents([&parsed, &list, &rows, &marks] {
            parsed = list.api->readList(list.reply);
            rows = qb::connection::torrentRowTexts(parsed.rowFields, marks);
        });
        // The rows show the marks of now; seldom a handler has changed them meanwhile.
        if (const QStringList now = updateRows(); now != marks) {
            rows = qb::connection::torrentRowTexts(parsed.rowFields, now);
        }
    }

    if (!answer.ok) {
        Form.TorrentList->clear();
        setUnreachable();
        Form.ConnectButton->setEnabled(true);
        Form.SettingBut->setEnabled(false);
        Form.SrvAdress->setEnabled(true);
        return;
    }
    Form.setStatus(u"Сервер ОК"_s, kConnectedColour);
    Form.ConnectButton->setEnabled(true);
    Form.TorrentList->setEnabled(true);
    Form.TorrentList->clear();
    Form.SettingBut->setEnabled(true);
    Form.Timer1->start();

    if (parsed.kind == qb::connection::ListAnswerKind::NotArray) {
        Form.message(u"Не удается разобрать ответ сервера"_s, u"Ошибка"_s,
                     qb::platform::MessageIcon::Warning);
        return;
    }
    if (parsed.kind == qb::connection::ListAnswerKind::NotJson) {
        ServerList = qb::connection::ServerEntries();
        Form.message(u"Сервер вернул неверные данные"_s, u"Ошибка"_s,
                     qb::platform::MessageIcon::Warning);
        setUnreachable();
        return;
    }
    std::swap(ServerList, parsed.entries);

    Form.TorrentList->addItems(rows);

    Form.core().FormCloseQuery();
    Form.takeFocusFromControls();
    CountsLine();
}

void Connection::ConnectButtonMouseUp() {
    if (Form.SrvAdress->text().isEmpty()) {
        Form.SrvAdress->setFocus(Qt::MouseFocusReason);
    } else {
        Form.Edit3->setFocus(Qt::MouseFocusReason);
    }
}

void Connection::CountsLine() {
    Form.LogP->setText(
        qb::connection::countsLine(Form.TorrentList->count(), Form.SearchResult->count()));
}

void Connection::ShowIdlePage() {
    Form.releaseInfo().connectInfoViewEvents();
    // The idle page changes on the service's side: never take it from the view's cache.
    QWebEngineHttpRequest request(QUrl(Form.core().serviceBaseUrl() + u"/abt.need"_s));
    request.setHeader("Cache-Control", "no-cache");
    request.setHeader("Pragma", "no-cache");
    Form.WebBrowser1->load(request);
}
