// Handlers run inside other handlers' waits, requests and dialogs. Here, at every nested event
// loop the window's thread enters, the server's list changes length and order and the window
// runs the hourly refresh with its series check, while the main flows are driven as the user
// drives them. Built with AddressSanitizer as well (label "reentrancy"), where a handler that
// reads state freed under it fails the run.
#include "playback_fixture.h"

#include "app/workers/nested_loops.h"
#include "connection/http/request_bodies.h"
#include "job_log.h"
#include "lists/lists_and_series.h"
#include "releaseinfo/page/info_cache.h"
#include "releaseinfo/release_info.h"
#include "releaseinfo/view_scripts.h"
#include "search_typing.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <cctype>
#include <map>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::app::NestedLoop;
using qb::test::toQ;

// Tracker releases the stand-in service knows: 107187 and 215640.
const std::string kRelease =
    "magnet:?xt=urn:btih:6E38DD076E2E61C511669A7B3628C2DE7111A92D&dn=id_1A2B3&tr=udp%3A%2F%2Fx";
const std::string kOtherRelease =
    "magnet:?xt=urn:btih:1111111111111111111111111111111111111111&dn=id_34A58&tr=udp%3A%2F%2Fx";
// Torrents that come and go under the flows; their names sort before every other.
const std::array<std::string, 2> kChurnHashes = {"0000000000000000000000000000000000000001",
                                                 "0000000000000000000000000000000000000002"};

std::string nameOf(NestedLoop kind) {
    switch (kind) {
    case NestedLoop::Wait:
        return "wait";
    case NestedLoop::Request:
        return "request";
    case NestedLoop::Events:
        return "events";
    case NestedLoop::ViewScript:
        return "view script";
    case NestedLoop::Dialog:
        return "dialog";
    }
    return "?";
}

class Reentrancy : public qb::test::PlaybackTest {
protected:
    void SetUp() override {
        PlaybackTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        ASSERT_TRUE(QDir(appDir()).mkpath(u"cache"_s));
        ASSERT_FALSE(server->addMagnet(kRelease).empty());
        ASSERT_FALSE(server->addMagnet(kOtherRelease).empty());
        // The tray menu then opens from the window, where a click can reach it.
        system->tray = false;
        form->hide();
        form->show();
        QTest::mouseClick(form->ConnectButton, Qt::LeftButton);
        ASSERT_EQ(form->status->text(), u"Сервер ОК"_s);
        ASSERT_TRUE(waitUntil([this] { return !form->checkSerialsTH()->isRunning(); }));
        qb::app::setNestedLoopObserver([this](NestedLoop kind) { refreshInside(kind); });
    }

    void TearDown() override {
        qb::app::setNestedLoopObserver({});
        PlaybackTest::TearDown();
    }

    // What a handler that runs inside the loop does: the list changes on the server, and the
    // hourly timer refreshes it and starts the series check.
    void refreshInside(NestedLoop kind) {
        if (!form || !injecting) {
            return;
        }
        ++seen[kind];
        churned = !churned;
        for (const std::string& hash : kChurnHashes) {
            if (churned) {
                server->addMagnet("magnet:?xt=urn:btih:" + hash + "&dn=!churn" + hash.back());
            } else {
                server->client().Post("/torrent/rem",
                                      qb::connection::removeBody(toQ(hash)).toStdString(),
                                      "application/json");
            }
        }
        form->lists().UpdateTimer1Timer();
    }

    // Runs one flow with refreshes inside its nested loops; `done` tells when it has ended.
    void drive(const std::function<void()>& flow, const std::function<bool()>& done) {
        injecting = true;
        flow();
        const bool ended = waitUntil(done, std::chrono::seconds(60));
        injecting = false;
        ASSERT_TRUE(ended);
        // Whatever ran inside, the window still handles its events and reaches a calm state.
        ASSERT_TRUE(waitUntil([this] { return workersIdle(); }, std::chrono::seconds(60)));
    }

    bool workersIdle() const {
        return !form->bmdThread1()->isRunning() && !form->bmdThread2()->isRunning() &&
               !form->addThread()->isRunning() && !form->srlAdd()->isRunning() &&
               !form->checkSerialsTH()->isRunning();
    }

    std::string loopsSeen() const {
        std::string text;
        for (const auto& [kind, count] : seen) {
            text += nameOf(kind) + ": " + std::to_string(count) + "; ";
        }
        return text;
    }

    bool serverHolds(std::string hash) {
        const auto answer = server->client().Post("/torrent/list", "{}", "application/json");
        std::transform(hash.begin(), hash.end(), hash.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return answer && answer->body.find(hash) != std::string::npos;
    }

    void chooseFromTrayMenu(QAction* item) {
        QTest::mouseClick(form->TrayMenuButton, Qt::LeftButton);
        chooseFrom(form->TrayMenu, item);
    }

    QString writeList(const QString& name, const QStringList& magnets) {
        const QString path = appDir() + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        for (const QString& magnet : magnets) {
            file.write((u":: "_s + magnet.right(8) + u"\r\n"_s + magnet + u"\r\n"_s).toUtf8());
        }
        return path;
    }

    std::map<NestedLoop, int> seen;
    bool injecting = false;
    bool churned = false;
    bool clickedInside = false;
};

// The preload reads the selected row when it starts; a refresh inside the play command's
// request has emptied the selection by then, and nothing else may be played instead.
TEST_F(Reentrancy, PlayFromTheList) {
    clickRowOf(u"Film"_s);
    drive(
        [this] {
            form->TorrentList->setFocus();
            QTest::keyClick(form->windowHandle(), Qt::Key_P, Qt::ControlModifier); // mPlay
        },
        [this] { return preloadEnded(); });
    EXPECT_GE(seen[NestedLoop::Request], 1) << loopsSeen();
    const auto plays = requestsOf("/torrent/play");
    ASSERT_FALSE(plays.empty());
    for (const auto& request : plays) {
        EXPECT_NE(request["target"].get<std::string>().find("Film.mkv"), std::string::npos)
            << request["target"];
    }
    EXPECT_LE(processes->starts.size(), 1U);
}

TEST_F(Reentrancy, PlaylistSaveKeepsTheChosenTorrent) {
    const QString path = appDir() + u"film.m3u"_s;
    dialogs->answerNext(path);
    drive([this] { chooseFromRowMenu(u"Film"_s, form->m3u2); },
          [&] { return form->LogP->text().startsWith(u"Всего торрентов"_s); });
    EXPECT_GE(seen[NestedLoop::Dialog], 1) << loopsSeen();
    EXPECT_GE(seen[NestedLoop::Request], 1) << loopsSeen();
    EXPECT_GE(seen[NestedLoop::Wait], 1) << loopsSeen();
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly)) << loopsSeen();
    EXPECT_TRUE(saved.readAll().contains(QByteArray::fromStdString(filmHash)));
}

TEST_F(Reentrancy, RemovalRemovesTheChosenTorrent) {
    drive([this] { chooseFromRowMenu(u"Show"_s, form->mDel); },
          [this] { return form->LogP->text().startsWith(u"Всего торрентов"_s); });
    EXPECT_GE(seen[NestedLoop::Request], 1) << loopsSeen();
    EXPECT_FALSE(serverHolds(showHash));
    EXPECT_TRUE(serverHolds(filmHash));
}

TEST_F(Reentrancy, DroppedMagnetIsAdded) {
    const std::string hash = "3333333333333333333333333333333333333333";
    drive(
        [&] {
            QMimeData data;
            data.setText(toQ("magnet:?xt=urn:btih:" + hash + "&dn=Dropped"));
            QWidget* viewport = form->TorrentList->viewport();
            const QPoint at(20, 20);
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(viewport, &enter);
            QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(viewport, &drop);
        },
        [this] { return !form->addThread()->isRunning(); });
    EXPECT_GE(seen[NestedLoop::Wait], 1) << loopsSeen();
    EXPECT_TRUE(serverHolds(hash));
}

TEST_F(Reentrancy, SearchResultIsAdded) {
    drive(
        [this] {
            qb::test::searchFor(*form, u"северное сияние"_s);
            QListWidget* list = form->SearchResult;
            ASSERT_GT(list->count(), 3);
            rightClickAt(list, list->visualItemRect(list->item(3)).center());
            chooseFrom(form->PopupMenu1, form->N2);
        },
        [this] { return !form->srlAdd()->isRunning(); });
    EXPECT_GE(seen[NestedLoop::Wait], 1) << loopsSeen();
    EXPECT_TRUE(serverHolds("F5DF4B7E9F558698EC00DD9D8C70240D4013780F"));
}

TEST_F(Reentrancy, ImportsAddAndReplace) {
    const QString added = u"magnet:?xt=urn:btih:4444444444444444444444444444444444444444&dn=Four"_s;
    dialogs->answerNext(writeList(u"add.txt"_s, {added}));
    drive([this] { chooseFromTrayMenu(form->N25); },
          [this] { return !form->lists().importRunning(); });
    EXPECT_TRUE(serverHolds("4444444444444444444444444444444444444444"));

    const QString replacing =
        u"magnet:?xt=urn:btih:5555555555555555555555555555555555555555&dn=Five"_s;
    messages->answerNext(u"Да"_s);
    dialogs->answerNext(writeList(u"replace.txt"_s, {replacing}));
    drive([this] { chooseFromTrayMenu(form->N23); },
          [this] { return !form->lists().importRunning(); });
    EXPECT_GE(seen[NestedLoop::Dialog], 2) << loopsSeen();
    EXPECT_GE(seen[NestedLoop::Request], 2) << loopsSeen();
    EXPECT_TRUE(serverHolds("5555555555555555555555555555555555555555"));
    EXPECT_FALSE(serverHolds(filmHash));
}

TEST_F(Reentrancy, ReleasePageIsShownAndCachedUnderItsOwnId) {
    drive([this] { clickRowOf(u"id_1A2B3"_s); },
          [this] { return QFile::exists(appDir() + u"cache/107187.html"_s); });
    EXPECT_GE(seen[NestedLoop::ViewScript], 1) << loopsSeen();
    QFile cached(appDir() + u"cache/107187.html"_s);
    ASSERT_TRUE(cached.open(QIODevice::ReadOnly));
    EXPECT_TRUE(cached.readAll().contains("6E38DD076E2E61C511669A7B3628C2DE7111A92D"));
}

// The reading of a page's view script lets a click on another release's row build that page
// inside the first one's building: each page is still cached under its own release.
TEST_F(Reentrancy, PageBuiltInsideAnotherIsCachedUnderItsOwnId) {
    qb::app::setNestedLoopObserver([this](NestedLoop kind) {
        if (kind == NestedLoop::ViewScript && !std::exchange(clickedInside, true)) {
            clickRowOf(u"id_34A58"_s);
        }
    });
    clickRowOf(u"id_1A2B3"_s);
    ASSERT_TRUE(clickedInside);
    ASSERT_TRUE(waitUntil([this] {
        return QFile::exists(appDir() + u"cache/107187.html"_s) &&
               QFile::exists(appDir() + u"cache/215640.html"_s);
    }));
    for (const auto& [id, hash] :
         {std::pair{u"107187"_s, "6E38DD076E2E61C511669A7B3628C2DE7111A92D"},
          std::pair{u"215640"_s, "A08B136C14D6CDD1C3CEDB0BCCE88729322F98D1"}}) {
        QFile cached(appDir() + u"cache/"_s + id + u".html"_s);
        ASSERT_TRUE(cached.open(QIODevice::ReadOnly));
        EXPECT_TRUE(cached.readAll().contains(hash)) << id.toStdString();
    }
    // The page on display is the one built inside, and only that one counts as on display.
    EXPECT_EQ(qb::releaseinfo::elementInnerHtml(form->WebBrowser1, u"magnet"_s).value_or(QString()),
              form->releaseInfo().infoMagnet());
    EXPECT_TRUE(
        form->releaseInfo().infoMagnet().contains(u"A08B136C14D6CDD1C3CEDB0BCCE88729322F98D1"_s));
    EXPECT_EQ(form->releaseInfo().lastInfoId(), u"215640"_s);
}

// A dropped ".torrent" that is a pipe holds the adding job in its read past the teardown's
// limit; the window goes, and the job, let go on, must not reach it.
TEST_F(Reentrancy, JobLeftBehindByTheTeardownNeverReachesTheWindow) {
    qb::app::setNestedLoopObserver({});
    const QString pipe = appDir() + u"stuck.torrent"_s;
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const qb::test::JobLog warnings;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(pipe)});
    QWidget* viewport = form->TorrentList->viewport();
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &drop);
    form->addThread()->setTeardownWaitLimit(std::chrono::milliseconds(200));
    // Once the job has the pipe open, it waits in its read for what this end writes.
    int writer = -1;
    ASSERT_TRUE(waitUntil([&] {
        writer = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
        return writer >= 0;
    }));

    form.reset();
    ASSERT_TRUE(warnings.contains(u"AddThread: the job did not end"_s));
    // The job reads the pipe to its end and goes on towards the window.
    ASSERT_EQ(::write(writer, "d8:announce0:e", 14), 14);
    ::close(writer);
    ASSERT_TRUE(waitUntil(
        [&] { return warnings.contains(u"AddThread: the job ended on an error: the window"_s); }));
    EXPECT_EQ(server->requestsTo("/torrent/upload"), 0);
}

} // namespace
