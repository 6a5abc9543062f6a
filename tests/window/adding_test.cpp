// Adding from the desktop: drops on the torrent list and texts put into the hand-off field.
#include "window_fixture.h"

#include "app/app_core.h"
#include "app/workers/bmd_thread.h"
#include "connection/connection.h"
#include "playback/playback.h"
#include "service_standin.h"
#include "standin_fixture.h"

#include <httplib.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include <fstream>
#include <thread>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::testing::ServiceStandin;
using qb::testing::TorrServerStandin;

using qb::test::toQ;

class Adding : public qb::test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(server.start()) << server.error();
        writeSettings(toQ(server.baseUrl()), u"0"_s, toQ(service.baseUrl()));
        ASSERT_TRUE(makeWindow().core().FormCreate());
        ASSERT_EQ(form->status->text(), u"Сервер ОК"_s);
        server.clearRequests();
    }

    std::string torrentFile(const std::string& name) {
        return TorrServerStandin::makeTorrentFile(dir.path().toStdString(), name, 50000);
    }

    // Drops, then waits until the adding job has ended.
    void drop(const QStringList& files, const QString& url) {
        form->playback().DropURLDrop(files, url);
        ASSERT_TRUE(waitUntil([this] { return !form->addThread()->isRunning(); },
                              std::chrono::seconds(30)));
    }

    TorrServerStandin server;
    ServiceStandin service;
};

TEST_F(Adding, DroppedTorrentFileIsUploadedAndTheListRefreshed) {
    const std::string torrent = torrentFile("one.mkv");
    drop({toQ(torrent)}, QString());
    EXPECT_EQ(server.requestsTo("/torrent/upload"), 1);
    EXPECT_GE(server.requestsTo("/torrent/list"), 1);
    EXPECT_EQ(form->TorrentList->count(), 1);
    EXPECT_EQ(form->LogP->text(), u"Всего торрентов: на сервере - 1, в поиске - 0"_s);
}

TEST_F(Adding, SeveralDroppedFilesUploadNothing) {
    drop({toQ(torrentFile("a.mkv")), toQ(torrentFile("b.mkv"))}, QString());
    EXPECT_EQ(server.requestsTo("/torrent/upload"), 0);
    EXPECT_EQ(server.requestsTo("/torrent/add"), 0);
}

TEST_F(Adding, DroppedMagnetLinkIsAddedAsALink) {
    const QString magnet = u"magnet:?xt=urn:btih:4444444444444444444444444444444444444444"_s;
    drop({}, magnet);
    ASSERT_EQ(server.requestsTo("/torrent/add"), 1);
    for (const auto& request : server.requests()) {
        if (request["path"] == "/torrent/add") {
            EXPECT_EQ(request["body"], "{\"link\": \"" + magnet.toStdString() + "\"}");
        }
    }
    EXPECT_EQ(form->TorrentList->count(), 1);
}

// A web server of the test's own that hands out one file.
class FileServer {
public:
    explicit FileServer(std::string bytes)
        : Bytes_(std::move(bytes)) {
        Server_.Get("/file.torrent", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(Bytes_, "application/x-bittorrent");
        });
        Port_ = Server_.bind_to_any_port("127.0.0.1");
        Thread_ = std::thread([this] { Server_.listen_after_bind(); });
    }
    ~FileServer() {
        Server_.stop();
        Thread_.join();
    }
    QString url() const { return u"http://127.0.0.1:%1/file.torrent"_s.arg(Port_); }

private:
    std::string Bytes_;
    httplib::Server Server_;
    int Port_ = 0;
    std::thread Thread_;
};

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(Adding, DroppedWebLinkIsDownloadedAndUploaded) {
    const FileServer web(fileBytes(torrentFile("web.mkv")));
    drop({}, web.url());
    EXPECT_EQ(server.requestsTo("/torrent/upload"), 1);
    EXPECT_EQ(form->TorrentList->count(), 1);
    EXPECT_FALSE(QFile::exists(appDir() + u"tmp.torrent"_s));
}

TEST_F(Adding, RefusedDownloadLeavesNoTemporaryFileBehind) {
    const FileServer web("<html>not a torrent</html>");
    drop({}, web.url());
    EXPECT_EQ(server.requestsTo("/torrent/upload"), 1); // the server refuses it
    EXPECT_EQ(form->TorrentList->count(), 0);
    EXPECT_FALSE(QFile::exists(appDir() + u"tmp.torrent"_s));
}

TEST_F(Adding, DropIsRefusedWhileNotConnected) {
    server.stop();
    form->connection().Timer1Timer(); // the alive check notices
    form->playback().DropURLDrop({},
                                 u"magnet:?xt=urn:btih:5555555555555555555555555555555555555555"_s);
    ASSERT_FALSE(messages->calls.empty());
    EXPECT_EQ(messages->calls.back().text, u"Необходимо подключиться к серверу!"_s);
    EXPECT_EQ(messages->calls.back().title, u"Инфо"_s);
    EXPECT_FALSE(form->addThread()->isRunning());
}

TEST_F(Adding, HandedOverTextWithoutLinkOrFileSendsNothingAndFreesTheField) {
    form->Edit2->setText(u"just words"_s);
    EXPECT_EQ(form->Edit2->text(), u"insmag"_s);
    EXPECT_EQ(form->core().pendingHandOff(), u"insmag"_s);
    EXPECT_EQ(server.requestsTo("/torrent/add") + server.requestsTo("/torrent/upload"), 0);
}

TEST_F(Adding, HandOffArrivingDuringAnAddIsQueuedNotLost) {
    const QString first = u"magnet:?xt=urn:btih:6666666666666666666666666666666666666666"_s;
    const QString second = u"magnet:?xt=urn:btih:7777777777777777777777777777777777777777"_s;
    form->core().receiveHandOff(first); // runs the whole add, with its waits
    EXPECT_EQ(server.requestsTo("/torrent/add"), 1);
    form->Edit2->blockSignals(true);
    form->Edit2->setText(u"busy"_s);
    form->Edit2->blockSignals(false);
    form->core().receiveHandOff(second);
    EXPECT_EQ(form->core().handOffQueue(), QStringList{second});
    form->Edit2->setText(u"insmag"_s);
    form->Edit2->setText(u"nothing to add"_s); // ends with the field idle and the queue served
    ASSERT_TRUE(waitUntil([this] { return server.requestsTo("/torrent/add") == 2; }));
}

TEST_F(Adding, FirstActivationDeliversThePendingArgument) {
    form->core().setPendingHandOffForTest(
        u"magnet:?xt=urn:btih:8888888888888888888888888888888888888888"_s);
    form->core().ApplicationEvents1Activate();
    EXPECT_EQ(server.requestsTo("/torrent/add"), 1);
    EXPECT_EQ(form->core().pendingHandOff(), u"insmag"_s);
    form->core().ApplicationEvents1Activate(); // nothing waits any more
    EXPECT_EQ(server.requestsTo("/torrent/add"), 1);
}

} // namespace
