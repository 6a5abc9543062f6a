// The play command of the torrent list, and the steps that every play command shares: the
// player check, the playlist file and the start of the preload.
#include "app/tform1.h"
#include "connection/connection.h"
#include "playback/playback.h"

#include "app/workers/bmd_thread.h"
#include "app/workers/nested_loops.h"
#include "connection/api/torrserver_api.h"
#include "connection/http/http_result.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;
using qb::playback::Playback;

QString Playback::PlayerPlaylist() const {
    return Form.AppDir() + u"server/tmp.m3u"_s;
}

bool Playback::playbackBusy() const {
    // The progress appears only with the first status answer; the workers tell earlier that
    // a preload has been started, so a second command cannot rewrite its playlist meanwhile.
    return Form.Gauge1->isVisible() || Form.bmdThread1()->isRunning() ||
           Form.bmdThread2()->isRunning();
}

bool Playback::playerChosen() {
    if (PlayerPath.isEmpty()) {
        Form.message(u"Выберите предпочитаемый плеер!"_s, u"Инфо"_s,
                     qb::platform::MessageIcon::Information);
        Form.LogP->setText(u"Необходимо выбрать видеоплеер..."_s);
        return false;
    }
    Form.ChosePlayerBut->setText(u"Сменить плеер"_s);
    Form.ChosePlayerBut->setToolTip(PlayerPath);
    return true;
}

bool Playback::writePlayerPlaylist(const QByteArray& bytes) {
    // The server folder belongs to the program's installation; it is not made here.
    QFile file(PlayerPlaylist());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        Form.message(u"Не удается создать файл \""_s + PlayerPlaylist() + u"\". "_s +
                         file.errorString(),
                     Form.windowTitle(), qb::platform::MessageIcon::Error);
        return false;
    }
    return true;
}

void Playback::startPreload(bool fromSearch, bool fromFiles) {
    PlaySourceSearch = fromSearch;
    PlaySourceFiles = fromFiles;
    // An Esc that came too late for the last preload must not cancel this one.
    PreloadCancelled = false;
    PreloadAnswered = false;
    Form.Gauge1->setValue(0);
    qb::app::processPendingEvents();
    Form.bmdThread1()->Start();
}

void Playback::mPlayClick() {
    if (playbackBusy() || !playerChosen()) {
        return;
    }
    const nlohmann::ordered_json* entry = Form.connection().selectedEntry();
    if (Form.TorrentList->count() == 0 || entry == nullptr) {
        return;
    }
    // The size the list shows while the server does not know the torrent's files yet.
    if (Form.TorrentList->currentItem()->text().contains(u"0.00"_s)) {
        return;
    }
    const qb::net::HttpResult answer = Form.server().playlist(Form.SrvAdress->text(), *entry);
    if (!answer.ok) {
        Form.message(answer.failureText, Form.windowTitle(), qb::platform::MessageIcon::Error);
        return;
    }
    // Handlers ran while the playlist was on its way: one of them may have started a preload.
    if (playbackBusy() || !writePlayerPlaylist(answer.body)) {
        return;
    }
    startPreload(false, false);
}
