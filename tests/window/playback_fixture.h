#pragma once

#include "window_fixture.h"

#include "app/app_core.h"
#include "app/workers/bmd_thread.h"
#include "playback/playback.h"
#include "service_standin.h"
#include "standin_fixture.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QTest>

#include <cstdlib>
#include <memory>
#include <string>

namespace qb::test {

// A started, shown window connected to a stand-in TorrServer whose content folder holds
// real data: a single-file film and a series whose subtitle file comes before its episodes.
// Both are large enough for the list to show a size (a row showing "0.00" cannot be played).
// The film is larger than the server's 20 MB preload: of a single-file torrent the server
// never counts more bytes than the file has, and the monitor waits for more than the size.
// The server is a 1.1.76: the list's addresses these tests follow are of that version.
class PlaybackTest : public WindowTest {
protected:
    static constexpr std::int64_t kFilmSize = 24 * 1024 * 1024;
    static constexpr std::size_t kEpisodeSize = 3 * 1024 * 1024;

    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("server")));
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("content/Show")));
        const std::string content = dir.path().toStdString() + "/content";
        prepareContent(content);
        film = testing::TorrServerStandin::makeTorrentFile(content, "Film.mkv", kFilmSize);
        ASSERT_FALSE(film.empty());
        writeFile(content + "/Show/a.srt", 300);
        writeFile(content + "/Show/e01.mkv", kEpisodeSize);
        writeFile(content + "/Show/e02.mkv", kEpisodeSize);
        ASSERT_EQ(std::system(("mktorrent -l 15 -o '" + content + "/Show.torrent' '" + content +
                               "/Show' >/dev/null 2>&1")
                                  .c_str()),
                  0);
        auto options = testing::torrServerOptions(0, preloadSpeed(), content);
        options.version = "1.1.76";
        configureServer(options);
        server = std::make_unique<testing::TorrServerStandin>(options);
        ASSERT_TRUE(server->start()) << server->error();
        filmHash = server->addTorrentFile(film);
        showHash = server->addTorrentFile(content + "/Show.torrent");
        ASSERT_FALSE(filmHash.empty());
        ASSERT_FALSE(showHash.empty());
        writeSettings(toQ(server->baseUrl()), QStringLiteral("0"), toQ(service.baseUrl()));
        ASSERT_TRUE(makeWindow().core().FormCreate());
        form->show();
        form->playback().setPlayerPath(QStringLiteral("/usr/bin/player"));
        server->clearRequests();
    }

    // Bytes per second of the server's preload.
    virtual std::int64_t preloadSpeed() const { return 6 * 1024 * 1024; }
    // More content for a test's own use.
    virtual void prepareContent(const std::string&) {}
    // The stand-in TorrServer as a test wants it (its interface's generation, for one).
    virtual void configureServer(testing::TorrServerStandinOptions&) const {}

    static void writeFile(const std::string& path, std::size_t size) {
        QFile file(toQ(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(static_cast<qsizetype>(size), 'x'));
    }

    int rowOf(QListWidget* list, const QString& text) const {
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->text().contains(text)) {
                return i;
            }
        }
        return -1;
    }

    QPoint rowCentre(QListWidget* list, int row) const {
        return list->visualItemRect(list->item(row)).center();
    }

    // A double click of the mouse on a row, as the user gives it.
    void doubleClickRow(QListWidget* list, int row) {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, row));
    }

    // A press of the right button through the window system, so that the context menu event
    // follows as it does on the desktop.
    void rightClickAt(QListWidget* list, const QPoint& at) {
        const QPoint inWindow = list->viewport()->mapTo(form.get(), at);
        QTest::mouseClick(form->windowHandle(), Qt::RightButton, {}, inWindow);
    }

    // A click on the torrent list's row that shows `name`.
    void clickRowOf(const QString& name) {
        const int row = rowOf(form->TorrentList, name);
        ASSERT_GE(row, 0) << name.toStdString();
        QTest::mouseClick(form->TorrentList->viewport(), Qt::LeftButton, {},
                          rowCentre(form->TorrentList, row));
    }

    // Chooses `item` of an open menu with the mouse.
    void chooseFrom(QMenu* menu, QAction* item) {
        ASSERT_TRUE(waitUntil([menu] { return menu->isVisible(); }));
        ASSERT_TRUE(item->isEnabled());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }

    // Selects the row with a click, opens its menu with a right click and chooses `item`.
    void chooseFromRowMenu(const QString& name, QAction* item) {
        clickRowOf(name);
        rightClickAt(form->TorrentList,
                     rowCentre(form->TorrentList, rowOf(form->TorrentList, name)));
        chooseFrom(form->TorListPopup, item);
    }

    bool preloadEnded(std::chrono::milliseconds limit = std::chrono::seconds(30)) {
        return waitUntil(
            [this] {
                return !form->Gauge1->isVisible() && !form->bmdThread1()->isRunning() &&
                       !form->bmdThread2()->isRunning();
            },
            limit);
    }

    // The logged requests to a path, in order.
    std::vector<nlohmann::json> requestsOf(const std::string& path) {
        std::vector<nlohmann::json> found;
        for (const auto& request : server->requests()) {
            if (request.value("path", std::string()) == path) {
                found.push_back(request);
            }
        }
        return found;
    }

    QByteArray playerPlaylist() const {
        QFile file(form->playback().PlayerPlaylist());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    testing::ServiceStandin service;
    std::unique_ptr<testing::TorrServerStandin> server;
    std::string film, filmHash, showHash;
};

} // namespace qb::test
