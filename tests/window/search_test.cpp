// Searching through the stand-in service: queries, the results list and its actions, and
// adding a result to the stand-in TorrServer.
#include "window_fixture.h"

#include "app/app_core.h"
#include "app/workers/bmd_thread.h"
#include "connection/connection.h"
#include "connection/http/http_client.h"
#include "playback/playback.h"
#include "releaseinfo/release_info.h"
#include "search/tracker_search.h"
#include "search_typing.h"
#include "service_standin.h"
#include "standin_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::test::toQ;
using qb::testing::ServiceStandin;
using qb::testing::TorrServerStandin;

// "северное сияние" as the client encodes it.
const std::string kAurora = "%D1%81%D0%B5%D0%B2%D0%B5%D1%80%D0%BD%D0%BE%D0%B5+%D1%81%D0%B8%D1%8F"
                            "%D0%BD%D0%B8%D0%B5";
const std::string kSearchQuery = "/get.php?secret=bqZanhMLfyKdoe&q=search/";
const QString kNoAnswer = u"Сервер поиска не отвечает\rПопробуйте повторить попытку позже"_s;

class Searching : public qb::test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(server.start()) << server.error();
        writeSettings(toQ(server.baseUrl()), u"0"_s, toQ(service.baseUrl()));
        ASSERT_TRUE(makeWindow().core().FormCreate());
        ASSERT_EQ(form->status->text(), u"Сервер ОК"_s);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        // The idle page of the start has come first: the view asks the service for it whenever
        // the web engine has started, which the tests' own waits would otherwise let happen.
        ASSERT_TRUE(waitUntil(
            [this] {
                return form->WebBrowser1->url().toString().contains(u"abt.need"_s) &&
                       !form->WebBrowser1->page()->isLoading();
            },
            std::chrono::seconds(30)));
        server.clearRequests();
        service.clearRequests();
    }

    void searchFor(const QString& text) { qb::test::searchFor(*form, text); }

    void clickRow(int row, Qt::MouseButton button = Qt::LeftButton) {
        QListWidget* list = form->SearchResult;
        clickList(list->visualItemRect(list->item(row)).center(), button);
    }

    // A click on the list; the right button also asks for the context menu, as the desktop
    // does on a press.
    void clickList(const QPoint& at, Qt::MouseButton button) {
        QWidget* viewport = form->SearchResult->viewport();
        QTest::mouseClick(viewport, button, {}, at);
        if (button == Qt::RightButton) {
            QContextMenuEvent menu(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
            QApplication::sendEvent(viewport, &menu);
        }
    }

    std::vector<std::string> serviceTargets() const {
        std::vector<std::string> targets;
        for (const auto& request : service.requests()) {
            targets.push_back(request.target);
        }
        return targets;
    }

    int searchRequests() const {
        int n = 0;
        for (const auto& target : serviceTargets()) {
            n += target.starts_with("/get.php");
        }
        return n;
    }

    QStringList rows() const {
        QStringList texts;
        for (int i = 0; i < form->SearchResult->count(); ++i) {
            texts << form->SearchResult->item(i)->text();
        }
        return texts;
    }

    std::vector<nlohmann::json> serverRequestsTo(const std::string& path) {
        std::vector<nlohmann::json> found;
        for (const auto& request : server.requests()) {
            if (request["path"] == path) {
                found.push_back(request);
            }
        }
        return found;
    }

    // The body of the one add the worker sent, once it has ended.
    std::string onlyAddBody() {
        EXPECT_TRUE(
            waitUntil([this] { return !form->srlAdd()->isRunning(); }, std::chrono::seconds(30)));
        const auto adds = serverRequestsTo("/torrent/add");
        EXPECT_EQ(adds.size(), 1u);
        return adds.size() == 1 ? adds[0]["body"].get<std::string>() : std::string();
    }

    static std::string addBody(const std::string& link, const std::string& poster) {
        return "{\"link\":\"" + link + "\",\"Info\":\"{\\\"id\\\":\\\"98214\\\", " +
               "\\\"poster_path\\\":\\\"" + poster + "\\\"}\"}";
    }

    TorrServerStandin server;
    ServiceStandin service;
};

TEST_F(Searching, TextSearchListsBothPagesAndAddsTheThirdResult) {
    searchFor(u"северное сияние"_s);

    EXPECT_EQ(serviceTargets(), (std::vector<std::string>{kSearchQuery + "0/0/000/2/" + kAurora,
                                                          kSearchQuery + "1/0/000/2/" + kAurora}));
    const QStringList listed = rows();
    ASSERT_EQ(listed.size(), 9);
    EXPECT_EQ(
        listed[0],
        u"Северное сияние / Northern Lights (2019) BDRip 1080p | Лицензия - 10.23 ГБ [125/7]"_s);
    EXPECT_EQ(listed[2], u"Северное сияние 2: Полярная ночь / Northern Lights 2: Polar Night "
                         u"(2021) HDTV 1080i - 12.90 ГБ [33/4]"_s);
    EXPECT_TRUE(listed.contains(u"Северное сияние (2019) Telesync 1080P - 1.10 ГБ [2/1]"_s));
    EXPECT_TRUE(listed.contains(
        u"Лис & Барсук / Fox & Badger (2020) WEB-DLRip 1080p - 1.46 ГБ [230/40]"_s));
    EXPECT_EQ(form->search().results().size(), 9u);
    EXPECT_EQ(form->LogP->text(), u"Найдено 9 записей"_s);
    EXPECT_TRUE(form->SearchT->isEnabled() && form->Search->isEnabled() &&
                form->Top1->isEnabled() && form->Button1->isEnabled());
    EXPECT_TRUE(messages->calls.empty());

    clickRow(2);
    ASSERT_EQ(form->SearchResult->currentRow(), 2);
    ASSERT_TRUE(form->SearchResult->hasFocus());
    // The poster the release page of this row shows.
    const QString poster = toQ(service.baseUrl()) + u"/img/posters/98214.jpg"_s;
    form->releaseInfo().setInfoPosterUrl(poster);
    QTest::keyClick(form->SearchResult, Qt::Key_A, Qt::ControlModifier);

    EXPECT_EQ(onlyAddBody(),
              addBody("magnet:?xt=urn:btih:5C0A19F2318A69823D40965534B6EA9CD50861A5"
                      "&dn=id_17FA6&tr=http%3A%2F%2Fbt.tracker.example%2Fann%3Fmagnet",
                      poster.toStdString()));
    const auto targets = serviceTargets();
    EXPECT_NE(std::ranges::find(targets, "/check_poster.php?url=" + poster.toStdString()),
              targets.end());
    EXPECT_EQ(form->TorrentList->count(), 1);
    EXPECT_EQ(form->LogP->text(), u"Всего торрентов: на сервере - 1, в поиске - 9"_s);
    EXPECT_EQ(form->search().addingMode(), QString());
    EXPECT_EQ(form->releaseInfo().infoPosterUrl(), poster);
}

TEST_F(Searching, UncheckedPosterFallsBackToThePlaceholder) {
    searchFor(u"северное сияние"_s);
    clickRow(0);
    form->releaseInfo().setInfoPosterUrl(u"http://elsewhere.example/p.jpg"_s);
    form->search().N2Click();
    ASSERT_TRUE(waitUntil([this] { return form->LogP->text() == u"Торрент успешно добавлен"_s; },
                          std::chrono::seconds(30)));
    EXPECT_EQ(form->releaseInfo().infoPosterUrl(), toQ(service.baseUrl()) + u"/no-poster.jpg"_s);
    // A second add while the first runs adds nothing more.
    clickRow(1);
    form->search().N2Click();
    ASSERT_TRUE(
        waitUntil([this] { return !form->srlAdd()->isRunning(); }, std::chrono::seconds(30)));
    const auto adds = serverRequestsTo("/torrent/add");
    ASSERT_EQ(adds.size(), 1u);
    const std::string body = adds[0]["body"];
    EXPECT_NE(body.find("dn=id_1A2B3&"), std::string::npos);
    EXPECT_NE(body.find("\\\"poster_path\\\":\\\"" + service.baseUrl() + "/no-poster.jpg\\\""),
              std::string::npos);
}

TEST_F(Searching, UpdateModeSendsTheNewerReleaseUnderItsHexId) {
    form->releaseInfo().setInfoMagnetForTest(
        u"magnet:?xt=urn:btih:5C0A19F2318A69823D40965534B6EA9CD50861A5&amp;"
        u"dn=tracker.example_98214&amp;tr=http%3A%2F%2Fbt.tracker.example"_s);
    form->releaseInfo().setInfoPosterUrl(toQ(service.baseUrl()) + u"/img/posters/98214.jpg"_s);
    form->connection().setSelectedReleaseIdForTest(u"98214"_s);
    form->search().setAddingModeForTest(u"update"_s);
    form->srlAdd()->Start();
    ASSERT_TRUE(waitUntil([this] { return form->LogP->text() == u"Торрент успешно обновлен"_s; },
                          std::chrono::seconds(30)));
    EXPECT_EQ(onlyAddBody(),
              addBody("magnet:?xt=urn:btih:5C0A19F2318A69823D40965534B6EA9CD50861A5&dn=id_17FA6"
                      "&tr=http%3A%2F%2Fbt.tracker.example",
                      service.baseUrl() + "/img/posters/98214.jpg"));
    EXPECT_EQ(form->TorrentList->count(), 1);
    EXPECT_EQ(form->search().addingMode(), QString());
}

TEST_F(Searching, OneFailedPageFailsTheWholeSearch) {
    service.dropConnections(kSearchQuery + "1/", 1);
    searchFor(u"северное сияние"_s);
    EXPECT_EQ(searchRequests(), 2);
    ASSERT_EQ(messages->calls.size(), 1u);
    EXPECT_EQ(messages->calls[0].text, kNoAnswer);
    EXPECT_EQ(messages->calls[0].title, u"Результат"_s);
    EXPECT_EQ(form->SearchResult->count(), 0);
    EXPECT_TRUE(form->search().searchLines().isEmpty());
    EXPECT_TRUE(form->Search->isEnabled() && form->Button1->isEnabled());
}

TEST_F(Searching, EmptyTextAsksForOneAndUnknownTextFindsNothing) {
    form->Search->click();
    ASSERT_EQ(messages->calls.size(), 1u);
    EXPECT_EQ(messages->calls[0].text, u"Введите текст для поиска!"_s);
    EXPECT_EQ(messages->calls[0].title, u"Ошибка"_s);
    EXPECT_EQ(searchRequests(), 0);

    form->LogP->setText(u"previous"_s);
    searchFor(u"  "_s); // only blanks: sent, each as "+"
    EXPECT_EQ(serviceTargets().front(), kSearchQuery + "0/0/000/2/++");
    ASSERT_EQ(messages->calls.size(), 2u);
    EXPECT_EQ(messages->calls[1].text, u"Ничего не удалось найти!"_s);
    EXPECT_EQ(form->LogP->text(), u"previous"_s);
    EXPECT_TRUE(form->SearchT->hasFocus());
}

TEST_F(Searching, EnterDoesNothingWhileTheServiceIsUnavailable) {
    form->LogP->setText(u"Сервис поиска недоступен"_s);
    searchFor(u"сияние"_s);
    EXPECT_EQ(searchRequests(), 0);
}

TEST_F(Searching, CategoryKeepsItsCaptionUntilTheTopList) {
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([this] { return form->CatMenu1->isVisible(); }));
    // Just below the button (the screen's edge may push it to the left).
    EXPECT_EQ(form->CatMenu1->pos().y(),
              form->Button1->mapToGlobal(QPoint(0, form->Button1->height())).y());
    QTest::mouseClick(form->CatMenu1, Qt::LeftButton, {},
                      form->CatMenu1->actionGeometry(form->N9).center());
    ASSERT_TRUE(waitUntil([this] { return form->SearchResult->count() == 3; }));
    EXPECT_EQ(form->Button1->text(), u"Зарубежные сериалы"_s);
    // One request per category.
    EXPECT_EQ(serviceTargets(),
              std::vector<std::string>{"/get.php?secret=bqZanhMLfyKdoe&q=seriali"});
    EXPECT_EQ(form->SearchResult->count(), 3);

    searchFor(u"сияние"_s);
    EXPECT_EQ(form->Button1->text(), u"Зарубежные сериалы"_s);
    QTest::mouseClick(form->Top1, Qt::LeftButton);
    EXPECT_EQ(form->Button1->text(), u"Категории"_s);
    EXPECT_EQ(serviceTargets().back(), "/get.php?secret=bqZanhMLfyKdoe&q=top");
    EXPECT_EQ(form->SearchResult->count(), 8);
    EXPECT_TRUE(form->SearchT->text().isEmpty());
}

TEST_F(Searching, ResolutionFilterReadsTheKeptAnswerAgain) {
    searchFor(u"северное сияние"_s);
    ASSERT_EQ(form->SearchResult->count(), 9);
    QTest::mouseClick(form->FHD1, Qt::LeftButton);
    ASSERT_TRUE(form->FHD1->isChecked());
    EXPECT_EQ(searchRequests(), 2);
    const QStringList fhd = rows();
    ASSERT_EQ(fhd.size(), 6);
    for (const QString& row : fhd) {
        EXPECT_TRUE(row.contains(u" Пиры: ["_s)) << row.toStdString();
    }
    QTest::mouseClick(form->FHD1, Qt::LeftButton);
    EXPECT_EQ(form->SearchResult->count(), 9);
    EXPECT_EQ(searchRequests(), 2);
}

TEST_F(Searching, RowActionsCopyOpenAndSearchForSimilarReleases) {
    searchFor(u"северное сияние"_s);
    clickRow(3, Qt::RightButton);
    ASSERT_TRUE(waitUntil([this] { return form->PopupMenu1->isVisible(); }));
    EXPECT_EQ(form->SearchResult->currentRow(), 3);
    EXPECT_TRUE(form->N2->isEnabled());
    form->PopupMenu1->hide();

    // Beside the rows: no menu, the selection stays.
    QListWidget* list = form->SearchResult;
    clickList(QPoint(20, list->viewport()->height() - 2), Qt::RightButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(form->PopupMenu1->isVisible());
    EXPECT_EQ(form->SearchResult->currentRow(), 3);

    form->C2->trigger();
    ASSERT_EQ(clipboard->sets.size(), 1u);
    EXPECT_EQ(clipboard->sets[0], u"magnet:?xt=urn:btih:F5DF4B7E9F558698EC00DD9D8C70240D4013780F"
                                  u"&amp;dn=tracker.example&amp;tr=http%3A%2F%2Fbt.tracker.example"
                                  u"%2Fann%3Fmagnet"_s);
    form->N1->trigger();
    ASSERT_EQ(browser->opened.size(), 1u);
    EXPECT_EQ(browser->opened[0], QUrl(u"http://tracker.example/torrent/98215/release-98215"_s));

    form->activateWindow(); // the menu had taken the activation
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    clickRow(3);
    ASSERT_TRUE(form->SearchResult->hasFocus());
    QTest::keyClick(form->SearchResult, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(form->SearchT->text(), u"Северное сияние 2: Полярная ночь"_s);
    EXPECT_EQ(serviceTargets().back(),
              kSearchQuery +
                  "1/0/000/2/"
                  "%D0%A1%D0%B5%D0%B2%D0%B5%D1%80%D0%BD%D0%BE%D0%B5+%D1%81%D0%B8%D1%8F"
                  "%D0%BD%D0%B8%D0%B5+2%3A+%D0%9F%D0%BE%D0%BB%D1%8F%D1%80%D0%BD%D0%B0%D1%8F"
                  "+%D0%BD%D0%BE%D1%87%D1%8C");
}

TEST_F(Searching, LongRowsAreHinted) {
    const QString title = u"Очень длинное название / Very Long Title "_s + QString(80, u'x');
    form->search().setSearchLinesForTest(
        {u"<a href=\"magnet:?xt=1\"><a href=\"/torrent/5/a\">"_s + title +
             u" </a>ht\">1 GB</t S\">7</sp red\">1</span></td></tr>"_s,
         u"<a href=\"magnet:?xt=2\"><a href=\"/torrent/6/b\">Short </a>ht\">1 "
         u"GB</t S\">7</sp red\">1</span></td></tr>"_s});
    form->search().showSR(u"normal"_s);
    ASSERT_EQ(form->SearchResult->count(), 2);
    QListWidget* list = form->SearchResult;
    QTest::mouseMove(list->viewport(), list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(form->search().lastHoverRow(), 0);
    // From the blank after the first dash: the size and the counts.
    EXPECT_EQ(list->toolTip(), u" 1  ГБ [7/1]"_s);
    // The pointer resting on the row shows it.
    const QPoint onRow = list->visualItemRect(list->item(0)).center();
    QHelpEvent help(QEvent::ToolTip, onRow, list->viewport()->mapToGlobal(onRow));
    QApplication::sendEvent(list->viewport(), &help);
    EXPECT_EQ(QToolTip::text(), u" 1  ГБ [7/1]"_s);
    QTest::mouseMove(list->viewport(), list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(form->search().lastHoverRow(), 1);
    EXPECT_EQ(list->toolTip(), QString());
}

class PlayingResults : public Searching {
protected:
    void SetUp() override {
        Searching::SetUp();
        form->playback().setPlayerPath(u"/usr/bin/true"_s);
        searchFor(u"северное сияние"_s);
        ASSERT_EQ(form->SearchResult->count(), 9);
        server.clearRequests();
    }

    int rowOf(const QString& start) const {
        const QStringList listed = rows();
        for (int i = 0; i < listed.size(); ++i) {
            if (listed[i].startsWith(start)) {
                return i;
            }
        }
        return -1;
    }

    QString playlist() const { return appDir() + u"server/tmp.m3u"_s; }
};

TEST_F(PlayingResults, ManySeedersPlayAtOnce) {
    const int row = rowOf(u"Северное сияние 2: Полярная ночь / Northern Lights 2: Polar Night "
                          u"(2021) DVDRip"_s); // 9 seeders
    ASSERT_GE(row, 0);
    clickRow(row);
    QTest::mouseDClick(form->SearchResult->viewport(), Qt::LeftButton, {},
                       form->SearchResult->visualItemRect(form->SearchResult->item(row)).center());
    EXPECT_TRUE(messages->calls.empty());
    const auto plays = serverRequestsTo("/torrent/play");
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(plays[0]["target"],
              "/torrent/play?link=magnet%3A%3Fxt%3Durn%3Abtih%3AF5DF4B7E9F558698EC00DD9D8C70240D40"
              "13780F%26amp%3Bdn%3Dtracker.example%26amp%3Btr%3Dhttp%253A%252F%252Fbt.tracker."
              "example%252Fann%253Fmagnet&m3u=true&save=false");
    QFile file(playlist());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("#EXTM3U"));
    EXPECT_TRUE(form->playback().playsFromSearch());
    EXPECT_TRUE(form->Gauge1->isVisible());
    EXPECT_EQ(form->Gauge1->value(), 0);
    EXPECT_EQ(form->ChosePlayerBut->text(), u"Сменить плеер"_s);
}

TEST_F(PlayingResults, FewSeedersAskFirstAndKeepTheLongerReadTimeOut) {
    const int row = rowOf(u"Северное сияние (2019) Telesync 1080P"_s); // 2 seeders
    ASSERT_GE(row, 0);
    clickRow(row);
    form->N4->trigger(); // no answer queued: "Нет"
    ASSERT_EQ(messages->calls.size(), 1u);
    EXPECT_EQ(messages->calls[0].title, u"Вопрос"_s);
    EXPECT_EQ(messages->calls[0].buttons, qb::platform::MessageButtons::YesNo);
    EXPECT_TRUE(serverRequestsTo("/torrent/play").empty());
    EXPECT_FALSE(QFile::exists(playlist()));

    messages->answerNext(u"Да"_s);
    form->N4->trigger();
    EXPECT_EQ(serverRequestsTo("/torrent/play").size(), 1u);
    EXPECT_EQ(form->idHttp1()->readTimeoutMs(), 8000);
    EXPECT_TRUE(QFile::exists(playlist()));
    EXPECT_TRUE(form->Gauge1->isVisible());
}

TEST_F(PlayingResults, SeederTextThatIsNoNumberEndsInTheErrorReport) {
    form->search().setSearchLinesForTest(
        {u"<a href=\"magnet:?xt=1\"><a href=\"/torrent/5/a\">A [x] [y] </a>ht\">1 "
         u"GB</t S\">7</sp red\">1</span></td></tr>"_s});
    form->search().showSR(u"normal"_s);
    clickRow(0);
    form->search().SearchResultDblClick();
    ASSERT_EQ(messages->calls.size(), 1u);
    EXPECT_EQ(messages->calls[0].icon, qb::platform::MessageIcon::Error);
    EXPECT_TRUE(serverRequestsTo("/torrent/play").empty());
    EXPECT_FALSE(form->Gauge1->isVisible());
}

TEST_F(PlayingResults, NoPlayerChosenAsksForOne) {
    form->playback().setPlayerPath(QString());
    clickRow(0);
    form->search().SearchResultDblClick();
    ASSERT_EQ(messages->calls.size(), 1u);
    EXPECT_EQ(messages->calls[0].text, u"Выберите предпочитаемый плеер!"_s);
    EXPECT_EQ(form->LogP->text(), u"Необходимо выбрать видеоплеер..."_s);
    EXPECT_TRUE(serverRequestsTo("/torrent/play").empty());
}

} // namespace
