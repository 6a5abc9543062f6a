// Adding torrents from the desktop: a handed-over magnet link or ".torrent" path, and files or
// links dropped on the torrent list.
#include "app/tform1.h"

#include "app/hand_off.h"
#include "app/workers/nested_loops.h"

#include "app/workers/bmd_thread.h"
#include "app/workers/responsive_wait.h"
#include "app/workers/window_thread.h"
#include "connection/api/server_apis.h"
#include "connection/http/http_client.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <stdexcept>
#include <tuple>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kAdding = u"... Добавляем торрент на сервер ..."_s;
const QString kAdded = u"Торрент успешно добавлен"_s;

// The bytes of a torrent file to upload; an unreadable file is an error of the operation.
QByteArray torrentFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error(
            QString(u"Не удается открыть файл \""_s + path + u"\""_s).toStdString());
    }
    return file.readAll();
}

// Deletes the downloaded torrent file however the upload ends.
class TemporaryFileGuard {
public:
    explicit TemporaryFileGuard(QString path)
        : Path_(std::move(path)) {}
    ~TemporaryFileGuard() { QFile::remove(Path_); }
    TemporaryFileGuard(const TemporaryFileGuard&) = delete;
    TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;

private:
    QString Path_;
};

} // namespace

void TForm1::receiveHandOff(const QString& text) {
    // A hand-off that arrives while another one is being added waits for its turn.
    if (Edit2->text() == qb::app::kHandOffIdle && HandOffQueue.isEmpty()) {
        Edit2->setText(text);
    } else {
        HandOffQueue.append(text);
    }
}

bool TForm1::addHandedOver(const std::function<qb::net::HttpResult()>& send) {
    LogP->setText(kAdding);
    const qb::net::HttpResult answer = send();
    if (!answer.ok) {
        message(answer.failureText, QGuiApplication::applicationDisplayName(),
                qb::platform::MessageIcon::Error);
        return false;
    }
    qb::app::processPendingEvents();
    qb::app::ResponsiveWait(3000);
    ConnectButtonClick();
    LogP->setText(kAdded);
    Edit2->setText(qb::app::kHandOffIdle);
    qb::app::ResponsiveWait(3000);
    LogP->setText(u"..."_s);
    return true;
}

void TForm1::Edit2Change() {
    RaiseMainWindow();
    if (Edit2->text() == qb::app::kHandOffIdle) {
        return;
    }
    QString text = Edit2->text();
    const QString base = SrvAdress->text();
    bool going = true;
    if (text.contains(u"magnet"_s)) {
        going = addHandedOver(
            [this, &base, &text] { return Servers->forAddress(base).addLink(base, text); });
        text.clear();
    }
    if (going && text.contains(u".torrent"_s)) {
        try {
            const QByteArray bytes = torrentFileBytes(text);
            addHandedOver([this, &base, &text, &bytes] {
                return Servers->forAddress(base).upload(base, QFileInfo(text).fileName(), bytes);
            });
        } catch (const std::exception& error) {
            message(QString::fromStdString(error.what()), QGuiApplication::applicationDisplayName(),
                    qb::platform::MessageIcon::Error);
        }
    }
    // However the adding ended, the field is idle again for the next hand-off.
    PendingHandOff = qb::app::kHandOffIdle;
    if (Edit2->text() != qb::app::kHandOffIdle) {
        Edit2->setText(qb::app::kHandOffIdle);
    }
    if (!HandOffQueue.isEmpty()) {
        QTimer::singleShot(0, this, [this] {
            if (!HandOffQueue.isEmpty() && Edit2->text() == qb::app::kHandOffIdle) {
                Edit2->setText(HandOffQueue.takeFirst());
            }
        });
    }
}

void TForm1::DropURLDrop(const QStringList& files, const QString& url) {
    RaiseMainWindow();
    if (status->text() != u"Сервер ОК"_s) {
        message(u"Необходимо подключиться к серверу!"_s, u"Инфо"_s,
                qb::platform::MessageIcon::Information);
        return;
    }
    if (!AddThread->isRunning()) {
        DroppedFiles = files.join(u"\r\n"_s);
        DroppedUrl = url;
    }
    AddThread->Start();
    takeFocusFromControls();
}

void TForm1::addedClosingSequence() {
    qb::app::ResponsiveWait(3000);
    clickConnectButton();
    qb::app::runOnWindowThread([this] { LogP->setText(kAdded); });
    qb::app::ResponsiveWait(3000);
    qb::app::runOnWindowThread([this] { CountsLine(); });
}

void TForm1::AddThreadExecute(qb::app::JobThread&) {
    const auto [files, url, http, servers, appDir] = qb::app::runOnWindowThread([this] {
        return std::tuple{DroppedFiles, DroppedUrl, IdHTTP1, Servers, AppDir()};
    });
    const auto base = [this] {
        return qb::app::runOnWindowThread([this] { return SrvAdress->text(); });
    };
    const auto api = [&servers](const QString& address) -> qb::connection::TorrServerApi& {
        return servers->forAddress(address);
    };
    const auto showAdding = [this] {
        qb::app::runOnWindowThread([this] { LogP->setText(kAdding); });
    };

    if (files.contains(u".torrent"_s)) {
        const QByteArray bytes =
            torrentFileBytes(files); // several files name no file: the run ends
        showAdding();
        const QString address = base();
        api(address).upload(address, QFileInfo(files).fileName(), bytes);
        addedClosingSequence();
    }
    if (url.contains(u"magnet"_s)) {
        showAdding();
        const QString address = base();
        api(address).addLink(address, url);
        addedClosingSequence();
    } else {
        const qb::net::HttpResult download = http->get(url);
        if (!download.ok) {
            throw std::runtime_error(download.failureText.toStdString());
        }
        const QString temporary = appDir + u"tmp.torrent"_s;
        const TemporaryFileGuard guard(temporary);
        QFile file(temporary);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(download.body) != download.body.size()) {
            throw std::runtime_error("tmp.torrent cannot be written");
        }
        file.close();
        showAdding();
        const QString address = base();
        const qb::net::HttpResult upload =
            api(address).upload(address, u"tmp.torrent"_s, download.body);
        if (!upload.ok) {
            throw std::runtime_error(upload.failureText.toStdString());
        }
        addedClosingSequence();
    }
    qb::app::runOnWindowThread([this] { AddThread->Stop(); });
}
