// The refresh of the torrent list: "Подключиться / Обновить".
#include "app/tform1.h"

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

namespace {
const QColor kConnectingColour(0, 0, 255);
const QColor kConnectedColour(0, 128, 0);
const QColor kUnreachableColour(255, 0, 0);
} // namespace

QStringList TForm1::updateRows() const {
    QStringList rows;
    for (int i = 0; i < UpdateList1->count(); ++i) {
        rows << UpdateList1->item(i)->text();
    }
    return rows;
}

qb::connection::TorrServerApi& TForm1::server() {
    return Servers->forAddress(SrvAdress->text());
}

void TForm1::clickConnectButton() {
    // Jobs on the workers refresh too; the refresh always runs on the window's thread.
    qb::app::runOnWindowThread([this] { ConnectButtonClick(); });
}

void TForm1::setUnreachable() {
    setStatus(u"Сервер не отвечает"_s, kUnreachableColour);
}

void TForm1::ConnectButtonClick() {
    if (SrvAdress->text().isEmpty()) {
        message(u"Необходимо указать адрес сервера"_s, u"Ошибка"_s,
                qb::platform::MessageIcon::Error);
        return;
    }
    if (TorrentList->currentRow() >= 0 && !TorrentList->selectedItems().isEmpty()) {
        ShowIdlePage();
    }
    AddList->setVisible(false);
    SettingBut->setEnabled(false);
    TorrentList->setEnabled(false);
    ConnectButton->setEnabled(false);
    setStatus(u"Попытка подключения к серверу..."_s, kConnectingColour);
    qb::app::processPendingEvents();
    qb::app::ResponsiveWait(500);

    const qb::connection::ServerApis::ListAnswer list = Servers->list(SrvAdress->text());
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
        TorrentList->clear();
        setUnreachable();
        ConnectButton->setEnabled(true);
        SettingBut->setEnabled(false);
        SrvAdress->setEnabled(true);
        return;
    }
    setStatus(u"Сервер ОК"_s, kConnectedColour);
    ConnectButton->setEnabled(true);
    TorrentList->setEnabled(true);
    TorrentList->clear();
    SettingBut->setEnabled(true);
    Timer1->start();

    if (parsed.kind == qb::connection::ListAnswerKind::NotArray) {
        message(u"Не удается разобрать ответ сервера"_s, u"Ошибка"_s,
                qb::platform::MessageIcon::Warning);
        return;
    }
    if (parsed.kind == qb::connection::ListAnswerKind::NotJson) {
        ServerList = qb::connection::ServerEntries();
        message(u"Сервер вернул неверные данные"_s, u"Ошибка"_s,
                qb::platform::MessageIcon::Warning);
        setUnreachable();
        return;
    }
    std::swap(ServerList, parsed.entries);

    TorrentList->addItems(rows);

    FormCloseQuery();
    takeFocusFromControls();
    CountsLine();
}

void TForm1::ConnectButtonMouseUp() {
    if (SrvAdress->text().isEmpty()) {
        SrvAdress->setFocus(Qt::MouseFocusReason);
    } else {
        Edit3->setFocus(Qt::MouseFocusReason);
    }
}

void TForm1::CountsLine() {
    LogP->setText(qb::connection::countsLine(TorrentList->count(), SearchResult->count()));
}

void TForm1::ShowIdlePage() {
    connectInfoViewEvents();
    // The idle page changes on the service's side: never take it from the view's cache.
    QWebEngineHttpRequest request(QUrl(ServiceBaseUrl + u"/abt.need"_s));
    request.setHeader("Cache-Control", "no-cache");
    request.setHeader("Pragma", "no-cache");
    WebBrowser1->load(request);
}
