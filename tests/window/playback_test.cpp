// Playing from the torrent list, the search results and the file list: the preload with its
// progress, Esc, the player start, and the play commands that must do nothing.
#include "playback_fixture.h"

#include "app/app_core.h"
#include "connection/connection.h"
#include "playback/playback.h"
#include "search/text/url_encoding.h"
#include "search/tracker_search.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>

#include <httplib.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::test::toQ;

class Playback : public qb::test::PlaybackTest {
protected:
    // Plays the film by a double click on its row.
    void playFilm() {
        const int row = rowOf(form->TorrentList, u"Film"_s);
        ASSERT_GE(row, 0);
        doubleClickRow(form->TorrentList, row);
    }

    std::string playlistOf(const std::string& hash) {
        for (const auto& entry : form->connection().entries()) {
            if (entry.value("Hash", std::string()) == hash) {
                return entry.value("Playlist", std::string());
            }
        }
        return {};
    }

    void slowDown() { ASSERT_TRUE(server->setFaults({{"preloadSpeed", 64 * 1024}})); }
};

TEST_F(Playback, DoubleClickPreloadsWithProgressThenStartsThePlayerOnThePlaylist) {
    QStringList shown;
    playFilm();
    ASSERT_TRUE(waitUntil([&] {
        if (!form->Label2->text().isEmpty() && !shown.contains(form->Label2->text())) {
            shown << form->Label2->text();
        }
        return !processes->starts.empty();
    })) << shown.join(u'\n').toStdString();
    ASSERT_TRUE(preloadEnded());

    // The progress went through the sizes of a 20 MB preload and invited to cancel.
    bool sawProgress = false;
    for (const QString& text : shown) {
        EXPECT_TRUE(text.startsWith(u"Сиды: "_s) && text.endsWith(u"% [ESC - отменить]"_s))
            << text.toStdString();
        sawProgress |= text.contains(u"/20МБ]: "_s);
    }
    EXPECT_TRUE(sawProgress) << shown.join(u'\n').toStdString();

    ASSERT_EQ(processes->starts.size(), 1u);
    EXPECT_EQ(processes->starts[0].program, u"/usr/bin/player"_s);
    EXPECT_EQ(processes->starts[0].arguments, QStringList{appDir() + u"server/tmp.m3u"_s});
    // The playlist is the server's answer, byte for byte.
    const auto answer = server->client().Get(playlistOf(filmHash));
    ASSERT_TRUE(answer);
    EXPECT_EQ(playerPlaylist(), QByteArray::fromStdString(answer->body));

    const auto preloads = requestsOf("/torrent/play");
    ASSERT_GE(preloads.size(), 2u); // the playlist, then the preload
    // The playlist address of a 1.1.76 carries the torrent's magnet with its trackers.
    EXPECT_EQ(preloads[1]["target"], "/torrent/play?link=magnet:?xt=urn:btih:" + filmHash +
                                         "&dn=Film.mkv&tr=http%3A%2F%2Ftracker.example%2Fannounce"
                                         "&file=0&preload=true&fname=Film.mkv.m3u");
    const auto stats = requestsOf("/torrent/stat");
    ASSERT_GE(stats.size(), 2u);
    EXPECT_EQ(stats[0]["body"], "{\"Hash\": \"" + filmHash + "\"}");
    EXPECT_EQ(stats[0]["version"], "HTTP/1.0");

    EXPECT_FALSE(form->Gauge1->isVisible());
    EXPECT_EQ(form->Label2->text(), QString());
    EXPECT_FALSE(form->playback().preloadCancelled());
}

TEST_F(Playback, SecondPlayCommandWhileThePreloadRunsDoesNothing) {
    slowDown();
    playFilm();
    ASSERT_TRUE(waitUntil([this] { return form->Gauge1->isVisible(); }));
    const size_t playlists = requestsOf("/torrent/play").size();
    form->TorrentList->setFocus();
    QTest::keyClick(form->windowHandle(), Qt::Key_P, Qt::ControlModifier); // mPlay's shortcut
    doubleClickRow(form->TorrentList, rowOf(form->TorrentList, u"Show"_s));
    form->AddList->setCurrentRow(0);
    form->playback().MenuItem1Click();
    EXPECT_EQ(requestsOf("/torrent/play").size(), playlists);
    EXPECT_TRUE(requestsOf("/torrent/preload/" + showHash + "/Show_e01.mkv").empty());

    QTest::keyClick(form->windowHandle(), Qt::Key_Escape);
    ASSERT_TRUE(preloadEnded());
    EXPECT_TRUE(processes->starts.empty());
}

TEST_F(Playback, EscCancelsThePreloadAndThePlayerNeverStarts) {
    slowDown();
    // Esc before any preload changes nothing for the next one.
    QTest::keyClick(form->windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(form->playback().preloadCancelled());

    playFilm();
    ASSERT_TRUE(waitUntil([this] { return form->Gauge1->isVisible(); }));
    EXPECT_EQ(QApplication::focusWidget(), nullptr); // the list gave the focus away
    QTest::keyClick(form->windowHandle(), Qt::Key_Escape);
    EXPECT_TRUE(form->playback().preloadCancelled());
    ASSERT_TRUE(preloadEnded());
    EXPECT_TRUE(processes->starts.empty());
    EXPECT_FALSE(form->playback().preloadCancelled());
    EXPECT_EQ(form->Label2->text(), QString());

    // Esc while no preload runs, then the next playback (of another torrent, whose preload is
    // short): it is not cancelled and ends in the player.
    QTest::keyClick(form->windowHandle(), Qt::Key_Escape);
    doubleClickRow(form->TorrentList, rowOf(form->TorrentList, u"Show"_s));
    ASSERT_TRUE(waitUntil([this] { return !processes->starts.empty(); }));
    ASSERT_TRUE(preloadEnded());
}

TEST_F(Playback, FailedFirstStatusStillStartsThePlayerOnTheNewPlaylist) {
    ASSERT_TRUE(server->setFaults({{"status", {{"path", "/torrent/stat"}, {"code", 404}}}}));
    QFile::remove(form->playback().PlayerPlaylist());
    playFilm();
    ASSERT_TRUE(waitUntil([this] { return !processes->starts.empty(); }));
    EXPECT_FALSE(playerPlaylist().isEmpty());
    EXPECT_EQ(requestsOf("/torrent/stat").size(), 1u);
    ASSERT_TRUE(preloadEnded());
}

TEST_F(Playback, BrokenStatusAnswerEndsThePollingAndStartsThePlayer) {
    ASSERT_TRUE(server->setFaults({{"garbage", {{"path", "/torrent/stat"}, {"times", 1}}}}));
    playFilm();
    ASSERT_TRUE(waitUntil([this] { return !processes->starts.empty(); }));
    EXPECT_EQ(requestsOf("/torrent/stat").size(), 1u);
    ASSERT_TRUE(preloadEnded());
}

TEST_F(Playback, SearchResultSourcePreloadsThroughThePlayAddress) {
    const QString magnet = u"magnet:?xt=urn:btih:"_s + toQ(filmHash) + u"&amp;dn=Film"_s;
    form->search().setResultsForTest({{magnet, u"/t/1"_s, u"Film"_s, u"12 MB"_s, u"1"_s, u"0"_s}});
    form->SearchResult->addItem(u"Film"_s);
    form->SearchResult->setCurrentRow(0);
    // A playback started from the search results, as that part of the window starts one.
    ASSERT_TRUE(form->playback().writePlayerPlaylist("#EXTM3U\r\n"));
    form->playback().setPlaysFromSearchForTest(true);
    form->playback().setPlaysFromFilesForTest(false);
    form->Gauge1->setValue(0);
    form->bmdThread1()->Start();

    ASSERT_TRUE(waitUntil([this] { return !processes->starts.empty(); }));
    ASSERT_TRUE(preloadEnded());
    const auto plays = requestsOf("/torrent/play");
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(toQ(plays[0]["target"].get<std::string>()),
              u"/torrent/play?link="_s + qb::search::urlEncode(magnet) + u"&file=0&preload=true"_s);
    const auto stats = requestsOf("/torrent/stat");
    ASSERT_FALSE(stats.empty());
    EXPECT_EQ(stats[0]["body"], "{\"Hash\": \"" + filmHash + "\"}");
}

TEST_F(Playback, FileListPlaysTheChosenRowsOfATorrentWithASubtitleFirst) {
    QTest::mouseClick(form->TorrentList->viewport(), Qt::LeftButton, {},
                      rowCentre(form->TorrentList, rowOf(form->TorrentList, u"Show"_s)));
    ASSERT_EQ(form->AddList->count(), 2); // the subtitle file has no row
    ASSERT_EQ(form->AddList->item(1)->text(), u"e02.mkv"_s);

    // A double click plays its row alone.
    doubleClickRow(form->AddList, 0);
    ASSERT_TRUE(waitUntil([this] { return !processes->starts.empty(); }));
    ASSERT_TRUE(preloadEnded());
    const QString view = toQ(server->baseUrl()) + u"/torrent/view/"_s + toQ(showHash);
    const QByteArray first = "#EXTINF:0, e01.mkv\r\n" + (view + u"/Show_e01.mkv\r\n"_s).toUtf8();
    const QByteArray second = "#EXTINF:0, e02.mkv\r\n" + (view + u"/Show_e02.mkv\r\n"_s).toUtf8();
    const QByteArray head = "\xEF\xBB\xBF#EXTM3U\r\n";
    EXPECT_EQ(playerPlaylist(), QByteArray(head + first));

    // Both rows chosen with the mouse, played with the menu's shortcut. Each row names the
    // file it shows: rows 0 and 1 are files 1 and 2.
    QTest::mouseClick(form->AddList->viewport(), Qt::LeftButton, {}, rowCentre(form->AddList, 0));
    QTest::mouseClick(form->AddList->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      rowCentre(form->AddList, 1));
    server->clearRequests();
    form->AddList->setFocus();
    QTest::keyClick(form->windowHandle(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([this] { return processes->starts.size() == 2; }));
    ASSERT_TRUE(preloadEnded());
    EXPECT_EQ(playerPlaylist(), QByteArray(head + first + second));
    // The focused row's file is preloaded; the torrent's playlist names the hash.
    EXPECT_EQ(requestsOf("/torrent/preload/" + showHash + "/Show_e02.mkv").size(), 1u);
    const auto stats = requestsOf("/torrent/stat");
    ASSERT_FALSE(stats.empty());
    EXPECT_EQ(stats[0]["body"], "{\"Hash\": \"" + showHash + "\"}");
}

// Counts player starts in a record that outlives the window.
class CountingProcesses final : public qb::platform::Processes {
public:
    explicit CountingProcesses(std::shared_ptr<int> starts)
        : Starts_(std::move(starts)) {}
    bool startDetached(const QString&, const QStringList&) override {
        ++*Starts_;
        return true;
    }
    std::vector<qb::platform::ProcessEntry> list() override { return {}; }
    void terminate(qint64) override {}

private:
    std::shared_ptr<int> Starts_;
};

TEST_F(Playback, ClosingTheWindowDuringAPreloadEndsWithinSecondsWithoutThePlayer) {
    auto starts = std::make_shared<int>(0);
    qb::test::FakePlatform fakes = qb::test::makeFakePlatform(appDir());
    fakes.platform.processes = std::make_unique<CountingProcesses>(starts);
    form = std::make_unique<TForm1>(std::move(fakes.platform));
    ASSERT_TRUE(form->core().FormCreate());
    form->show();
    form->playback().setPlayerPath(u"/usr/bin/player"_s);
    slowDown();
    playFilm();
    ASSERT_TRUE(waitUntil([this] { return form->Gauge1->isVisible(); }));
    QElapsedTimer clock;
    clock.start();
    form->close();
    form.reset();
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(*starts, 0);
}

TEST_F(Playback, WithoutAPlayerTheCommandsOnlyAskForOne) {
    form->playback().setPlayerPath(QString());
    playFilm();
    ASSERT_EQ(messages->calls.size(), 1u);
    EXPECT_EQ(messages->calls[0].text, u"Выберите предпочитаемый плеер!"_s);
    EXPECT_EQ(messages->calls[0].title, u"Инфо"_s);
    EXPECT_EQ(messages->calls[0].icon, qb::platform::MessageIcon::Information);
    EXPECT_EQ(form->LogP->text(), u"Необходимо выбрать видеоплеер..."_s);
    EXPECT_TRUE(requestsOf("/torrent/play").empty());
    EXPECT_FALSE(form->bmdThread1()->isRunning());
}

TEST_F(Playback, ChoosingThePlayerKeepsItInTheSettings) {
    dialogs->answerNext(u"/opt/players/mpv"_s);
    QTest::mouseClick(form->ChosePlayerBut, Qt::LeftButton);
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].title, u"Выбор плеера"_s);
    EXPECT_EQ(form->playback().playerPath(), u"/opt/players/mpv"_s);
    EXPECT_EQ(form->ChosePlayerBut->text(), u"Сменить плеер"_s);
    EXPECT_EQ(form->ChosePlayerBut->toolTip(), u"/opt/players/mpv"_s);
    EXPECT_EQ(form->LogP->text(), u"Видеоплеер выбран и будет использоваться по умолчанию"_s);
    EXPECT_TRUE(settingsBytes().contains("\"Player\":\"/opt/players/mpv\""));
    EXPECT_EQ(QApplication::focusWidget(), nullptr);

    // A cancelled dialog keeps the player.
    QTest::mouseClick(form->ChosePlayerBut, Qt::LeftButton);
    EXPECT_EQ(form->playback().playerPath(), u"/opt/players/mpv"_s);
}

TEST_F(Playback, RowsThatStillShowNoSizeCannotBePlayed) {
    const int row = rowOf(form->TorrentList, u"Film"_s);
    form->TorrentList->item(row)->setText(form->TorrentList->item(row)->text() + u" 0.00"_s);
    doubleClickRow(form->TorrentList, row);
    EXPECT_TRUE(requestsOf("/torrent/play").empty());
    EXPECT_FALSE(form->bmdThread1()->isRunning());
}

} // namespace
