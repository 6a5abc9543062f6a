// Adding torrents dropped on the torrent list: files, magnet links and links to ".torrent" files.
#include "app/app_core.h"
#include "app/tform1.h"
#include "connection/connection.h"
#include "playback/playback.h"

#include "app/workers/nested_loops.h"

#include "app/workers/bmd_thread.h"
#include "app/workers/responsive_wait.h"
#include "app/workers/window_thread.h"
#include "connection/api/server_apis.h"
#include "connection/http/http_client.h"
#include "playback/adding/adding_texts.h"
#include "playback/adding/torrent_file.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <stdexcept>
#include <tuple>

using namespace Qt::Literals::StringLiterals;
using qb::playback::kAdded;
using qb::playback::kAdding;
using qb::playback::Playback;
using qb::playback::torrentFileBytes;

namespace {

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

void Playback::DropURLDrop(const QStringList& files, const QString& url) {
    Form.core().RaiseMainWindow();
    if (Form.status->text() != u"Сервер ОК"_s) {
        Form.message(u"Необходимо подключиться к серверу!"_s, u"Инфо"_s,
                     qb::platform::MessageIcon::Information);
        return;
    }
    if (!Form.addThread()->isRunning()) {
        DroppedFiles = files.join(u"\r\n"_s);
        DroppedUrl = url;
    }
    Form.addThread()->Start();
    Form.takeFocusFromControls();
}

void Playback::addedClosingSequence() {
    qb::app::ResponsiveWait(3000);
    Form.connection().clickConnectButton();
    qb::app::runOnWindowThread([this] { Form.LogP->setText(kAdded); });
    qb::app::ResponsiveWait(3000);
    qb::app::runOnWindowThread([this] { Form.connection().CountsLine(); });
}

void Playback::AddThreadExecute(qb::app::JobThread&) {
    const auto [files, url, http, servers, appDir] = qb::app::runOnWindowThread([this] {
        return std::tuple{DroppedFiles, DroppedUrl, Form.idHttp1(), Form.servers(), Form.AppDir()};
    });
    const auto base = [this] {
        return qb::app::runOnWindowThread([this] { return Form.SrvAdress->text(); });
    };
    const auto api = [&servers](const QString& address) -> qb::connection::TorrServerApi& {
        return servers->forAddress(address);
    };
    const auto showAdding = [this] {
        qb::app::runOnWindowThread([this] { Form.LogP->setText(kAdding); });
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
    qb::app::runOnWindowThread([this] { Form.addThread()->Stop(); });
}
