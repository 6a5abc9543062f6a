// Every request kind of the client against every fault the stand-ins can make: the outcome the
// user sees, a window that still answers input at once, and a close that ends everything fast.
#include "window_fixture.h"

#include "app/app_core.h"
#include "app/workers/bmd_thread.h"
#include "connection/connection.h"
#include "fault_matrix.h"
#include "lists/lists_and_series.h"
#include "playback/playback.h"
#include "releaseinfo/release_info.h"
#include "releaseinfo/view_scripts.h"
#include "search/tracker_search.h"
#include "search_typing.h"
#include "series_fixture.h"
#include "service_standin.h"
#include "standin_fixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>

#include <csignal>

using namespace Qt::Literals::StringLiterals;
using namespace std::chrono_literals;

// Readable texts in failure reports.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

using qb::test::toQ;
using qb::testing::ServiceStandin;
using qb::testing::TorrServerStandin;
using namespace qb::test::faults;

const char kMagnetA[] = "magnet:?xt=urn:btih:1111111111111111111111111111111111111111&dn=Alpha";
const char kMagnetB[] = "magnet:?xt=urn:btih:2222222222222222222222222222222222222222&dn=Beta";
const char kNewMagnet[] = "magnet:?xt=urn:btih:4444444444444444444444444444444444444444";

class FaultMatrix : public qb::test::WindowTest, public ::testing::WithParamInterface<Row> {
protected:
    static void SetUpTestSuite() {
        if (!sharedService) {
            sharedService = std::make_unique<ServiceStandin>();
        }
    }
    static void TearDownTestSuite() { sharedService.reset(); }

    void SetUp() override {
        WindowTest::SetUp();
        service.resetFaults();
        ASSERT_TRUE(server.start()) << server.error();
        ASSERT_FALSE(server.addMagnet(kMagnetA).empty());
        ASSERT_FALSE(server.addMagnet(kMagnetB).empty());
        // A preload is done at once: the rows are about what the faults do, not its speed.
        ASSERT_TRUE(server.setFaults({{"preloadSpeed", std::int64_t{1} << 40}}));
        writeSettings(toQ(server.baseUrl()), u"0"_s, toQ(service.baseUrl()));
        ASSERT_TRUE(QDir(appDir()).mkpath(u"server"_s)); // where the player's playlist goes
    }

    void TearDown() override {
        if (form) {
            // Closing ends every request in flight and the window's jobs at once.
            QElapsedTimer clock;
            clock.start();
            form->close();
            form.reset();
            EXPECT_LT(clock.elapsed(), 3000) << "closing took " << clock.elapsed() << " ms";
        }
        service.resetFaults();
    }

    // Starts the window as the program does and waits for its first page.
    bool startWindow() {
        if (!makeWindow().core().FormCreate()) {
            return false;
        }
        form->show();
        form->activateWindow();
        return QTest::qWaitForWindowActive(form.get()) && form->status->text() == u"Сервер ОК"_s;
    }

    void switchFaultOn(const Row& row) {
        const Target target = targetOf(row.kind, row.today);
        if (row.fault == Fault::Refused) {
            if (target.service) {
                form->core().setServiceBaseUrlForTest(deadAddress());
            } else {
                server.stop();
            }
            return;
        }
        if (target.service) {
            service.addFault(serviceFault(row.fault, target.path, slowMs(row.kind)));
        } else {
            // The 1.1 preload goes to the playlist's own path, as its second request there.
            const int skip = row.kind == Kind::Preload && !row.today ? 1 : 0;
            ASSERT_TRUE(
                server.setFaults(torrServerFault(row.fault, target.path, slowMs(row.kind), skip)));
        }
    }

    // What must be there before the fault: a release to add needs a search and a chosen row.
    void prepare(Kind kind) {
        if (kind == Kind::Play) {
            qb::test::searchFor(*form, u"северное сияние"_s);
            ASSERT_EQ(form->SearchResult->count(), 9);
            form->SearchResult->setCurrentRow(0); // 125 seeders: no question first
        }
        if (kind == Kind::PosterCheck) {
            qb::test::searchFor(*form, u"северное сияние"_s);
            ASSERT_EQ(form->SearchResult->count(), 9);
            form->SearchResult->setCurrentRow(0);
            form->releaseInfo().setInfoPosterUrl(givenPoster());
            server.clearRequests(); // the adds of the set-up
        }
        if (kind == Kind::SeriesCheck) {
            // The check the first show starts has ended; then a series whose release page
            // announces more files than it has (a check that got the page would mark it).
            ASSERT_TRUE(waitUntil([this] { return !form->checkSerialsTH()->isRunning(); }, 30s));
            ASSERT_FALSE(server
                             .addTorrentFile(qb::test::makeMultiFileTorrent(
                                 dir.path().toStdString(), "id_4BCB7", 8))
                             .empty());
        }
    }

    QString givenPoster() const { return toQ(service.baseUrl()) + u"/img/posters/98214.jpg"_s; }

    // The request itself, made the way the user makes it.
    void makeRequest(Kind kind) {
        switch (kind) {
        case Kind::List:
            QTest::mouseClick(form->ConnectButton, Qt::LeftButton);
            break;
        case Kind::Echo:
            form->connection().Timer1Timer(); // what the 5-second timer runs
            break;
        case Kind::Remove:
            QTest::mouseClick(
                form->TorrentList->viewport(), Qt::LeftButton, {},
                form->TorrentList->visualItemRect(form->TorrentList->item(0)).center());
            form->connection().mDelClick();
            break;
        case Kind::AddLink:
            form->core().receiveHandOff(toQ(kNewMagnet));
            waitUntil([this] { return form->Edit2->text() == u"insmag"_s; }, 30s);
            break;
        case Kind::SearchPages:
            qb::test::searchFor(*form, u"северное сияние"_s);
            break;
        case Kind::ReleasePage:
            // The idle page of the start has come first: on a busy machine its navigation can
            // otherwise arrive while the release page is written, which then counts as replaced.
            waitUntil(
                [this] {
                    return form->WebBrowser1->url().toString().contains(u"abt.need"_s) &&
                           !form->WebBrowser1->page()->isLoading();
                },
                30s);
            form->releaseInfo().ShowReleaseInfo(u"107187"_s);
            break;
        case Kind::Playlist:
        case Kind::Stat:
        case Kind::Play:
            form->playback().setPlayerPath(u"/usr/bin/player"_s);
            if (kind == Kind::Play) {
                form->search().SearchResultDblClick();
            } else {
                form->TorrentList->setCurrentRow(0);
                form->playback().mPlayClick();
            }
            // The preload and its polling run to their end, however they end; the player starts
            // a second after the polling has ended.
            waitUntil(
                [this] {
                    return !processes->starts.empty() ||
                           (!form->bmdThread1()->isRunning() && !form->bmdThread2()->isRunning());
                },
                30s);
            break;
        case Kind::Preload:
            form->playback().setPlayerPath(u"/usr/bin/player"_s);
            form->TorrentList->setCurrentRow(0);
            {
                // Today's server answers its status questions at "/torrents", where the list
                // went before: only the questions asked during this preload count.
                const bool today = GetParam().today;
                const char* statRoute = today ? "/torrents" : "/torrent/stat";
                const int asked = server.requestsTo(statRoute);
                form->playback().mPlayClick();
                // A preload the server never began shows no progress, and the gauge goes on
                // asking (a late preload answer has long come by the fifth question): the user
                // ends the wait with Esc, and no player starts.
                waitUntil(
                    [&] {
                        return !processes->starts.empty() ||
                               (server.requestsTo(today ? "/stream" : "/torrent/play") >=
                                    (today ? 1 : 2) &&
                                server.requestsTo(statRoute) >= asked + 5);
                    },
                    30s);
            }
            if (processes->starts.empty()) {
                QTest::keyClick(form->windowHandle(), Qt::Key_Escape);
            }
            EXPECT_TRUE(waitUntil(
                [this] {
                    return !form->bmdThread1()->isRunning() && !form->bmdThread2()->isRunning();
                },
                30s));
            break;
        case Kind::WebLink:
            form->playback().DropURLDrop({}, (form->core().serviceBaseUrl() == deadAddress()
                                                  ? deadAddress()
                                                  : toQ(service.baseUrl())) +
                                                 u"/ts/Quillbrook_x86_v1.8.4.zip"_s);
            EXPECT_TRUE(waitUntil([this] { return !form->addThread()->isRunning(); }, 60s));
            break;
        case Kind::Upload: {
            const std::string torrent =
                TorrServerStandin::makeTorrentFile(dir.path().toStdString(), "one.mkv", 50000);
            ASSERT_FALSE(torrent.empty());
            form->playback().DropURLDrop({toQ(torrent)}, QString());
            EXPECT_TRUE(waitUntil([this] { return !form->addThread()->isRunning(); }, 60s));
            break;
        }
        case Kind::PosterCheck:
            form->search().N2Click(); // "Добавить на сервер"
            EXPECT_TRUE(waitUntil([this] { return !form->srlAdd()->isRunning(); }, 60s));
            break;
        case Kind::SeriesCheck:
            form->lists()
                .UpdateTimer1Timer(); // what the hourly timer runs: a refresh, then the check
            EXPECT_TRUE(waitUntil([this] { return !form->checkSerialsTH()->isRunning(); }, 60s));
            break;
        case Kind::Version:
            break; // made by the start
        }
    }

    // Milliseconds from posting an event to the window's thread until it is handled.
    static qint64 inputLatencyMs() {
        QElapsedTimer clock;
        clock.start();
        qint64 handledAfter = -1;
        QTimer::singleShot(0, [&] { handledAfter = clock.elapsed(); });
        waitUntil([&] { return handledAfter >= 0; }, 5s);
        return handledAfter < 0 ? clock.elapsed() : handledAfter;
    }

    void checkOutcome(const Expect& expect) {
        if (expect.message == nullptr) {
            EXPECT_TRUE(messages->calls.empty())
                << "message: " << messages->calls.front().text.toStdString();
        } else {
            ASSERT_FALSE(messages->calls.empty());
            const QString& shown = messages->calls.back().text;
            const QString wanted = QString::fromUtf16(expect.message);
            if (expect.messageStartsSo) {
                EXPECT_TRUE(shown.startsWith(wanted)) << shown.toStdString();
            } else {
                EXPECT_EQ(shown, wanted);
            }
        }
        if (expect.status != nullptr) {
            EXPECT_EQ(form->status->text(), QString::fromUtf16(expect.status));
        }
        if (expect.torrentRows >= 0) {
            EXPECT_EQ(form->TorrentList->count(), expect.torrentRows);
        }
        if (expect.searchRows >= 0) {
            EXPECT_EQ(form->SearchResult->count(), expect.searchRows);
        }
        if (expect.log != nullptr) {
            EXPECT_EQ(form->LogP->text(), QString::fromUtf16(expect.log));
        }
        if (expect.playerStarts >= 0) {
            EXPECT_EQ(static_cast<int>(processes->starts.size()), expect.playerStarts);
        }
        if (expect.uploads >= 0) {
            EXPECT_EQ(server.requestsTo("/torrent/upload"), expect.uploads);
        }
        if (expect.page != Page::Any) {
            checkPage(expect.page);
        }
        if (expect.updateMarks >= 0) {
            int marked = 0;
            for (int i = 0; i < form->TorrentList->count(); ++i) {
                marked += form->TorrentList->item(i)->text().startsWith(u"[update] "_s);
            }
            EXPECT_EQ(marked, expect.updateMarks);
            EXPECT_TRUE(form->mDel->isEnabled()); // the check has ended properly
        }
        if (expect.poster != Poster::Any) {
            // Whatever the check met, the release went to the server with a poster.
            const QString wanted = expect.poster == Poster::Given
                                       ? givenPoster()
                                       : form->core().serviceBaseUrl() + u"/no-poster.jpg"_s;
            EXPECT_EQ(form->releaseInfo().infoPosterUrl(), wanted);
            std::vector<std::string> addBodies;
            for (const auto& request : server.requests()) {
                if (request["path"] == "/torrent/add") {
                    addBodies.push_back(request["body"].get<std::string>());
                }
            }
            ASSERT_EQ(addBodies.size(), 1u);
            EXPECT_NE(addBodies[0].find("\\\"poster_path\\\":\\\"" + wanted.toStdString() + "\\\""),
                      std::string::npos)
                << addBodies[0];
        }
    }

    void checkPage(Page page) {
        const bool error = page == Page::Error;
        EXPECT_EQ(form->releaseInfo().lastInfoId(), error ? u""_s : u"107187"_s);
        EXPECT_EQ(form->releaseInfo().infoMagnet(), u""_s); // no release magnet reached the page
        const auto shown = [this] {
            return qb::releaseinfo::runViewScript(
                form->WebBrowser1, u"document.body.innerHTML.indexOf('error_404.png')>0?'y':'n'"_s);
        };
        EXPECT_EQ(shown(), error ? u"y"_s : u"n"_s);
    }

    // The real program started into the fault: a termination request closes its window and the
    // process ends within 3 s, also while the request still waits for a slow server.
    void endRealProgramInFault(const Row& row) {
        const Target target = targetOf(row.kind, row.today);
        ASSERT_FALSE(target.service);
        nlohmann::json fault = torrServerFault(row.fault, target.path, 120000);
        for (auto& [kind, rule] : fault.items()) {
            if (rule.is_object()) {
                rule.erase("times"); // every request meets it
            }
        }
        ASSERT_TRUE(server.setFaults(fault));
        server.clearRequests();
        QTemporaryDir program;
        QTemporaryDir runtime;
        ASSERT_TRUE(program.isValid() && runtime.isValid());
        QFile::setPermissions(runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString executable = program.filePath(u"quillbrook"_s);
        ASSERT_TRUE(QFile::copy(QStringLiteral(QB_CLIENT_BINARY), executable));
        QFile::remove(program.filePath(u"app.json"_s));
        ASSERT_TRUE(QFile::copy(appDir() + u"app.json"_s, program.filePath(u"app.json"_s)));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        environment.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
        QProcess client;
        client.setProcessEnvironment(environment);
        client.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        client.start(executable, {});
        ASSERT_TRUE(client.waitForStarted());
        const bool reached = waitUntil([&] { return server.requestsTo(target.path) > 0; }, 30s);
        EXPECT_TRUE(reached);
        QElapsedTimer clock;
        clock.start();
        ::kill(static_cast<pid_t>(client.processId()), SIGTERM);
        const bool ended = client.waitForFinished(3000);
        if (!ended) {
            client.kill();
            client.waitForFinished();
        }
        EXPECT_TRUE(ended) << "the program still ran " << clock.elapsed() << " ms after the close";
        EXPECT_EQ(client.exitStatus(), QProcess::NormalExit);
    }

    // The stand-in speaks the row's generation.
    static qb::testing::TorrServerStandinOptions serverOptions(const Row& row) {
        qb::testing::TorrServerStandinOptions options;
        options.api = row.today ? "matrix" : "1.1";
        return options;
    }

    static inline std::unique_ptr<ServiceStandin> sharedService;
    TorrServerStandin server{serverOptions(GetParam())};
    ServiceStandin& service = *sharedService;
};

TEST_P(FaultMatrix, OutcomeThenAnsweringWindowThenFastClose) {
    const Row& row = GetParam();
    if (row.kind == Kind::Version) {
        if (row.fault == Fault::Refused) {
            writeSettings(toQ(server.baseUrl()), u"0"_s, deadAddress());
        } else {
            service.addFault(serviceFault(row.fault, targetOf(row.kind).path, slowMs(row.kind)));
        }
        EXPECT_EQ(makeWindow().core().FormCreate(), row.expect.started);
    } else {
        ASSERT_TRUE(startWindow());
        prepare(row.kind);
        messages->calls.clear();
        switchFaultOn(row);
        makeRequest(row.kind);
    }
    checkOutcome(row.expect);
    EXPECT_LT(inputLatencyMs(), 100);
    if (row.inProgram) {
        endRealProgramInFault(row);
    }
}

const char* kindName(Kind kind) {
    static const char* const kNames[] = {"List",        "Echo",        "Version",     "Remove",
                                         "AddLink",     "SearchPages", "ReleasePage", "Playlist",
                                         "Stat",        "WebLink",     "Upload",      "PosterCheck",
                                         "SeriesCheck", "Play",        "Preload"};
    static_assert(std::size(kNames) == static_cast<std::size_t>(Kind::Preload) + 1);
    return kNames[static_cast<int>(kind)];
}

const char* faultName(Fault fault) {
    static const char* const kNames[] = {"Refused", "Reset",     "Slow",     "Status",
                                         "NotHttp", "Malformed", "NotArray", "Huge"};
    return kNames[static_cast<int>(fault)];
}

std::string rowName(const ::testing::TestParamInfo<Row>& info) {
    return std::string(info.param.today ? "Today_" : "") + kindName(info.param.kind) + "_" +
           faultName(info.param.fault);
}

const char16_t kDown[] = u"Сервер не отвечает";
const char16_t kUp[] = u"Сервер ОК";
const char16_t kNotJson[] = u"Сервер вернул неверные данные";
const char16_t kNotArray[] = u"Не удается разобрать ответ сервера";
const char16_t kNoVersion[] =
    u"Сервер вовремя не ответил на запрос\rПопробуйте повторить попытку позже";
const char16_t kOops[] = u"Ой-ой!\rЧто-то пошло не так!";
const char16_t kServerError[] = u"HTTP/1.0 500 Internal Server Error";
const char16_t kGetServerError[] = u"HTTP/1.1 500 Internal Server Error";
// The transport's own words, as the window's error report shows them.
const char16_t kNoConnection[] = u"Failed to connect to 127.0.0.1 port ";
const char16_t kNotHttp[] = u"Received HTTP/0.9 when not allowed";
const char16_t kReset[] = u"Recv failure: Connection reset by peer";
const char16_t kNoSearch[] = u"Сервер поиска не отвечает\rПопробуйте повторить попытку позже";
const char16_t kCounts[] = u"Всего торрентов: на сервере - 2, в поиске - 0";
const char16_t kNothingFound[] = u"Ничего не удалось найти!";
const char16_t kCountsAdded[] = u"Всего торрентов: на сервере - 3, в поиске - 9";
// Today's server refuses without a text: the message says what it refused.
const char16_t kTodayRemoveRefused[] =
    u"HTTP/1.0 500 Internal Server Error\rСервер не удалил торрент";
const char16_t kTodayAddRefused[] =
    u"HTTP/1.0 500 Internal Server Error\rСервер не добавил торрент";
const char16_t kTodayPlaylistRefused[] =
    u"HTTP/1.1 500 Internal Server Error\rСервер не выдал плейлист торрента";
const char16_t kTodayPlayRefused[] =
    u"HTTP/1.1 500 Internal Server Error\rСервер не выдал плейлист раздачи";

// What the user sees after each request kind meets each fault. Faults a kind cannot meet
// (broken JSON where the answer is no JSON) have no row.
const Row kRows[] = {
    // The refresh: a failed request empties the rows and reports the server down; an answer
    // that is not JSON as well, with a message; JSON of the wrong shape keeps the server up.
    {Kind::List, Fault::Refused, {.status = kDown, .torrentRows = 0}},
    {Kind::List, Fault::Reset, {.status = kDown, .torrentRows = 0}, true},
    // In the program the slow answer is two minutes late: the close must not wait for it.
    {Kind::List, Fault::Slow, {.status = kUp, .torrentRows = 2}, true},
    {Kind::List, Fault::Status, {.status = kDown, .torrentRows = 0}},
    {Kind::List, Fault::NotHttp, {.status = kDown, .torrentRows = 0}},
    {Kind::List, Fault::Malformed, {.message = kNotJson, .status = kDown, .torrentRows = 0}, true},
    {Kind::List, Fault::NotArray, {.message = kNotArray, .status = kUp, .torrentRows = 0}},
    {Kind::List, Fault::Huge, {.message = kNotJson, .status = kDown, .torrentRows = 0}, true},
    // The alive check: no connection or a long answer means the server is gone; a time-out or
    // an answer that is not HTTP changes nothing.
    {Kind::Echo, Fault::Refused, {.status = kDown, .torrentRows = 0}},
    {Kind::Echo, Fault::Reset, {.status = kUp, .torrentRows = 2}},
    {Kind::Echo, Fault::Slow, {.status = kUp, .torrentRows = 2}},
    {Kind::Echo, Fault::Status, {.status = kDown, .torrentRows = 0}},
    {Kind::Echo, Fault::NotHttp, {.status = kUp, .torrentRows = 2}},
    {Kind::Echo, Fault::Huge, {.status = kDown, .torrentRows = 0}},
    // The version at start: no answer ends the program before the window shows; any answer,
    // an error page or a flood included, is no newer version.
    {Kind::Version, Fault::Refused, {.message = kNoVersion, .started = false}},
    {Kind::Version, Fault::Reset, {.message = kNoVersion, .started = false}},
    {Kind::Version, Fault::Slow, {.message = kNoVersion, .started = false}},
    {Kind::Version, Fault::Status, {.status = kUp, .torrentRows = 2}},
    {Kind::Version, Fault::NotHttp, {.message = kNoVersion, .started = false}},
    {Kind::Version, Fault::Huge, {.status = kUp, .torrentRows = 2}},
    // Removing: a broken connection says so; an error status goes to the window's error
    // report; the answer is not read, so a late or huge one still removes.
    {Kind::Remove, Fault::Refused, {.message = kOops, .torrentRows = 2}},
    {Kind::Remove, Fault::Reset, {.message = kOops, .torrentRows = 2}},
    {Kind::Remove, Fault::Slow, {.torrentRows = 1}},
    {Kind::Remove, Fault::Status, {.message = kServerError, .torrentRows = 2}},
    {Kind::Remove, Fault::NotHttp, {.message = kOops, .torrentRows = 2}},
    {Kind::Remove, Fault::Huge, {.torrentRows = 2}}, // the flood came instead of the removal
    // A link handed over by a second copy: a failure reaches the window's error report and the
    // list stays; a late answer adds.
    {Kind::AddLink,
     Fault::Refused,
     {.message = kNoConnection, .messageStartsSo = true, .torrentRows = 2}},
    {Kind::AddLink, Fault::Reset, {.message = kReset, .torrentRows = 2}},
    {Kind::AddLink, Fault::Slow, {.torrentRows = 3}},
    {Kind::AddLink, Fault::Status, {.message = kServerError, .torrentRows = 2}},
    {Kind::AddLink, Fault::NotHttp, {.message = kNotHttp, .torrentRows = 2}},
    {Kind::AddLink, Fault::Huge, {.torrentRows = 2}}, // taken as added: the flood was a 200
    // Search pages: no answer is reported; an error page or a flood is a page without rows.
    {Kind::SearchPages, Fault::Refused, {.message = kNoSearch, .searchRows = 0}},
    {Kind::SearchPages, Fault::Reset, {.message = kNoSearch, .searchRows = 0}},
    {Kind::SearchPages, Fault::Slow, {.message = kNoSearch, .searchRows = 0}},
    {Kind::SearchPages, Fault::Status, {.message = kNothingFound, .searchRows = 0}},
    {Kind::SearchPages, Fault::NotHttp, {.message = kNoSearch, .searchRows = 0}},
    {Kind::SearchPages, Fault::Huge, {.message = kNothingFound, .searchRows = 0}},
    // The release page: no answer shows the error page; any answer is built into a page.
    {Kind::ReleasePage, Fault::Refused, {.page = Page::Error}},
    {Kind::ReleasePage, Fault::Reset, {.page = Page::Error}},
    {Kind::ReleasePage, Fault::Slow, {.page = Page::Error}},
    {Kind::ReleasePage, Fault::Status, {.page = Page::Built}},
    {Kind::ReleasePage, Fault::NotHttp, {.page = Page::Error}},
    {Kind::ReleasePage, Fault::Huge, {.page = Page::Built}},
    // The playlist of a torrent: a failure goes to the window's error report and nothing plays;
    // a late playlist plays; a flood is written as the playlist and played.
    {Kind::Playlist,
     Fault::Refused,
     {.message = kNoConnection, .messageStartsSo = true, .playerStarts = 0}},
    {Kind::Playlist, Fault::Reset, {.message = kReset, .playerStarts = 0}},
    {Kind::Playlist, Fault::Slow, {.playerStarts = 1}},
    {Kind::Playlist, Fault::Status, {.message = kGetServerError, .playerStarts = 0}},
    {Kind::Playlist, Fault::NotHttp, {.message = kNotHttp, .playerStarts = 0}},
    {Kind::Playlist, Fault::Huge, {.playerStarts = 1}},
    // The preload's state polling: any failure ends the polling like a finished preload, and
    // the player starts.
    {Kind::Stat, Fault::Reset, {.playerStarts = 1}},
    {Kind::Stat, Fault::Slow, {.playerStarts = 1}},
    {Kind::Stat, Fault::Status, {.playerStarts = 1}},
    {Kind::Stat, Fault::NotHttp, {.playerStarts = 1}},
    {Kind::Stat, Fault::Huge, {.playerStarts = 1}},
    // A dropped web address: a failed download ends the adding quietly, before any upload;
    // whatever arrives is uploaded, and the server refuses what is no torrent.
    {Kind::WebLink, Fault::Refused, {.torrentRows = 2, .uploads = 0}},
    {Kind::WebLink, Fault::Reset, {.torrentRows = 2, .uploads = 0}},
    {Kind::WebLink, Fault::Slow, {.torrentRows = 2, .uploads = 1}},
    {Kind::WebLink, Fault::Status, {.torrentRows = 2, .uploads = 0}},
    {Kind::WebLink, Fault::NotHttp, {.torrentRows = 2, .uploads = 0}},
    {Kind::WebLink, Fault::Huge, {.torrentRows = 2, .uploads = 1}},
    // A dropped torrent file: a failed upload is not reported; the list is refreshed and the
    // counts line follows all the same.
    {Kind::Upload, Fault::Reset, {.torrentRows = 2, .log = kCounts, .uploads = 1}},
    {Kind::Upload, Fault::Status, {.torrentRows = 2, .log = kCounts, .uploads = 1}},
    {Kind::Upload, Fault::Huge, {.torrentRows = 2, .log = kCounts, .uploads = 1}},
    // The poster check of a release being added: without an answer the release goes with the
    // service's placeholder; any answer with a body, an error page or a flood, keeps the
    // poster. The release is added and listed either way.
    {Kind::PosterCheck,
     Fault::Refused,
     {.torrentRows = 3, .log = kCountsAdded, .poster = Poster::Placeholder}},
    {Kind::PosterCheck,
     Fault::Reset,
     {.torrentRows = 3, .log = kCountsAdded, .poster = Poster::Placeholder}},
    {Kind::PosterCheck,
     Fault::Slow,
     {.torrentRows = 3, .log = kCountsAdded, .poster = Poster::Placeholder}},
    {Kind::PosterCheck,
     Fault::Status,
     {.torrentRows = 3, .log = kCountsAdded, .poster = Poster::Given}},
    {Kind::PosterCheck,
     Fault::NotHttp,
     {.torrentRows = 3, .log = kCountsAdded, .poster = Poster::Placeholder}},
    {Kind::PosterCheck,
     Fault::Huge,
     {.torrentRows = 3, .log = kCountsAdded, .poster = Poster::Given}},
    // The series check: a release page it cannot get, or one without a count of files, marks
    // nothing, and the check ends as it always does.
    {Kind::SeriesCheck, Fault::Refused, {.torrentRows = 3, .updateMarks = 0}},
    {Kind::SeriesCheck, Fault::Reset, {.torrentRows = 3, .updateMarks = 0}},
    {Kind::SeriesCheck, Fault::Slow, {.torrentRows = 3, .updateMarks = 0}},
    {Kind::SeriesCheck, Fault::Status, {.torrentRows = 3, .updateMarks = 0}},
    {Kind::SeriesCheck, Fault::NotHttp, {.torrentRows = 3, .updateMarks = 0}},
    {Kind::SeriesCheck, Fault::Huge, {.torrentRows = 3, .updateMarks = 0}},
    // A search result played without adding it: the playlist request is the same as a
    // torrent's, and so are the outcomes.
    {Kind::Play,
     Fault::Refused,
     {.message = kNoConnection, .messageStartsSo = true, .playerStarts = 0}},
    {Kind::Play, Fault::Reset, {.message = kReset, .playerStarts = 0}},
    {Kind::Play, Fault::Slow, {.playerStarts = 1}},
    {Kind::Play, Fault::Status, {.message = kGetServerError, .playerStarts = 0}},
    {Kind::Play, Fault::NotHttp, {.message = kNotHttp, .playerStarts = 0}},
    {Kind::Play, Fault::Huge, {.playerStarts = 1}},
    // The preload after the playlist: an answer, a late one or a flood taken for one, is a
    // finished preload and the player starts; any failure leaves a preload that never began,
    // whose gauge waits until Esc.
    {Kind::Preload, Fault::Reset, {.playerStarts = 0}},
    {Kind::Preload, Fault::Slow, {.playerStarts = 1}},
    {Kind::Preload, Fault::Status, {.playerStarts = 0}},
    {Kind::Preload, Fault::NotHttp, {.playerStarts = 0}},
    {Kind::Preload, Fault::Huge, {.playerStarts = 1}},

    // The same requests to a server of today's generation, which the window has learned at its
    // start. The user sees what a 1.1 server's faults show; an error answer, which that server
    // sends without a text, is explained after its status line.
    {Kind::List, Fault::Refused, {.status = kDown, .torrentRows = 0}, false, true},
    {Kind::List, Fault::Reset, {.status = kDown, .torrentRows = 0}, true, true},
    {Kind::List, Fault::Slow, {.status = kUp, .torrentRows = 2}, true, true},
    {Kind::List, Fault::Status, {.status = kDown, .torrentRows = 0}, false, true},
    {Kind::List, Fault::NotHttp, {.status = kDown, .torrentRows = 0}, false, true},
    {Kind::List,
     Fault::Malformed,
     {.message = kNotJson, .status = kDown, .torrentRows = 0},
     true,
     true},
    {Kind::List,
     Fault::NotArray,
     {.message = kNotArray, .status = kUp, .torrentRows = 0},
     false,
     true},
    {Kind::List, Fault::Huge, {.message = kNotJson, .status = kDown, .torrentRows = 0}, true, true},
    {Kind::Echo, Fault::Refused, {.status = kDown, .torrentRows = 0}, false, true},
    {Kind::Echo, Fault::Reset, {.status = kUp, .torrentRows = 2}, false, true},
    {Kind::Echo, Fault::Slow, {.status = kUp, .torrentRows = 2}, false, true},
    {Kind::Echo, Fault::Status, {.status = kDown, .torrentRows = 0}, false, true},
    {Kind::Echo, Fault::NotHttp, {.status = kUp, .torrentRows = 2}, false, true},
    {Kind::Echo, Fault::Huge, {.status = kDown, .torrentRows = 0}, false, true},
    {Kind::Remove, Fault::Refused, {.message = kOops, .torrentRows = 2}, false, true},
    {Kind::Remove, Fault::Reset, {.message = kOops, .torrentRows = 2}, false, true},
    {Kind::Remove, Fault::Slow, {.torrentRows = 1}, false, true},
    {Kind::Remove, Fault::Status, {.message = kTodayRemoveRefused, .torrentRows = 2}, false, true},
    {Kind::Remove, Fault::NotHttp, {.message = kOops, .torrentRows = 2}, false, true},
    {Kind::Remove, Fault::Huge, {.torrentRows = 2}, false, true},
    {Kind::AddLink,
     Fault::Refused,
     {.message = kNoConnection, .messageStartsSo = true, .torrentRows = 2},
     false,
     true},
    {Kind::AddLink, Fault::Reset, {.message = kReset, .torrentRows = 2}, false, true},
    {Kind::AddLink, Fault::Slow, {.torrentRows = 3}, false, true},
    {Kind::AddLink, Fault::Status, {.message = kTodayAddRefused, .torrentRows = 2}, false, true},
    {Kind::AddLink, Fault::NotHttp, {.message = kNotHttp, .torrentRows = 2}, false, true},
    {Kind::AddLink, Fault::Huge, {.torrentRows = 2}, false, true},
    {Kind::Playlist,
     Fault::Refused,
     {.message = kNoConnection, .messageStartsSo = true, .playerStarts = 0},
     false,
     true},
    {Kind::Playlist, Fault::Reset, {.message = kReset, .playerStarts = 0}, false, true},
    {Kind::Playlist, Fault::Slow, {.playerStarts = 1}, false, true},
    {Kind::Playlist,
     Fault::Status,
     {.message = kTodayPlaylistRefused, .playerStarts = 0},
     false,
     true},
    {Kind::Playlist, Fault::NotHttp, {.message = kNotHttp, .playerStarts = 0}, false, true},
    {Kind::Playlist, Fault::Huge, {.playerStarts = 1}, false, true},
    {Kind::Stat, Fault::Reset, {.playerStarts = 1}, false, true},
    {Kind::Stat, Fault::Slow, {.playerStarts = 1}, false, true},
    {Kind::Stat, Fault::Status, {.playerStarts = 1}, false, true},
    {Kind::Stat, Fault::NotHttp, {.playerStarts = 1}, false, true},
    {Kind::Stat, Fault::Huge, {.playerStarts = 1}, false, true},
    {Kind::Upload, Fault::Reset, {.torrentRows = 2, .log = kCounts, .uploads = 1}, false, true},
    {Kind::Upload, Fault::Status, {.torrentRows = 2, .log = kCounts, .uploads = 1}, false, true},
    {Kind::Upload, Fault::Huge, {.torrentRows = 2, .log = kCounts, .uploads = 1}, false, true},
    {Kind::Play,
     Fault::Refused,
     {.message = kNoConnection, .messageStartsSo = true, .playerStarts = 0},
     false,
     true},
    {Kind::Play, Fault::Reset, {.message = kReset, .playerStarts = 0}, false, true},
    {Kind::Play, Fault::Slow, {.playerStarts = 1}, false, true},
    {Kind::Play, Fault::Status, {.message = kTodayPlayRefused, .playerStarts = 0}, false, true},
    {Kind::Play, Fault::NotHttp, {.message = kNotHttp, .playerStarts = 0}, false, true},
    {Kind::Play, Fault::Huge, {.playerStarts = 1}, false, true},
    {Kind::Preload, Fault::Reset, {.playerStarts = 0}, false, true},
    {Kind::Preload, Fault::Slow, {.playerStarts = 1}, false, true},
    {Kind::Preload, Fault::Status, {.playerStarts = 0}, false, true},
    {Kind::Preload, Fault::NotHttp, {.playerStarts = 0}, false, true},
    {Kind::Preload, Fault::Huge, {.playerStarts = 1}, false, true},
};

INSTANTIATE_TEST_SUITE_P(Rows, FaultMatrix, ::testing::ValuesIn(kRows), rowName);

} // namespace
