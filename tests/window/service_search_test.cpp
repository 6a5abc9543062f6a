// A search through the project's own search service, fed by a Torznab indexer and today's
// TorrServer: a text only the sources know is typed, a result is added to the TorrServer and
// its release page is opened from the torrent list.
#include "window_fixture.h"

#include "app/app_core.h"
#include "app/workers/bmd_thread.h"
#include "connection/connection.h"
#include "connection/list/row_colours.h"
#include "releaseinfo/release_info.h"
#include "search/tracker_search.h"
#include "search_service_rig.h"
#include "search_typing.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::test::toQ;

class ServiceSearch : public qb::test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(rig.start()) << rig.error();
        writeSettings(toQ(rig.torrServer->baseUrl()), u"0"_s, toQ(rig.service.baseUrl()));
        ASSERT_TRUE(makeWindow().core().FormCreate());
        ASSERT_EQ(form->status->text(), u"Сервер ОК"_s);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    QStringList rows() const {
        QStringList texts;
        for (int i = 0; i < form->SearchResult->count(); ++i) {
            texts << form->SearchResult->item(i)->text();
        }
        return texts;
    }

    void clickRow(QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    // The "add" actions the TorrServer received.
    std::vector<nlohmann::json> adds() {
        std::vector<nlohmann::json> found;
        for (const auto& request : rig.torrServer->requests()) {
            if (request.value("path", std::string()) != "/torrents") {
                continue;
            }
            const auto body =
                nlohmann::json::parse(request.value("body", std::string()), nullptr, false);
            if (body.is_object() && body.value("action", std::string()) == "add") {
                found.push_back(body);
            }
        }
        return found;
    }

    qb::testing::SearchServiceRig rig;
};

TEST_F(ServiceSearch, ATextOnlyTheSourcesKnowIsFoundAddedAndItsPageOpened) {
    qb::test::searchFor(*form, u"ледяной маяк"_s);

    // The indexer's releases and the one TorrServer's own index knows, merged, most seeders
    // first; the 2160p row in the client's colours comes last.
    EXPECT_EQ(
        rows(),
        (QStringList{u"Ледяной маяк / The Ice Lighthouse (2023) WEB-DL 1080p - 4.37 ГБ [120/14]"_s,
                     u"Ледяной маяк / The Ice Lighthouse (2023) BDRip 1080p - 7.95 ГБ [61/4]"_s,
                     u"Ледяной маяк (1 сезон, серии 1-8 из 10) WEB-DL 720p - 9.00 ГБ [58/20]"_s,
                     u"Ледяной маяк / The Ice Lighthouse (2023) 2160p HDR - 20.00 ГБ [35/6]"_s}))
        << rows().join(u'\n').toStdString();
    EXPECT_EQ(form->LogP->text(), u"Найдено 4 записей"_s);
    EXPECT_TRUE(messages->calls.empty());
    ASSERT_EQ(form->search().results().size(), 4u);

    // A click on the first row shows its release page, with the indexer's poster. The idle page
    // the search put up has come first: its navigation would otherwise count as a page that
    // replaced the release page while it was written.
    const QString id = form->search().results()[0].PagePath.section(u'/', 2, 2);
    ASSERT_FALSE(id.isEmpty());
    ASSERT_TRUE(waitUntil(
        [this] {
            return form->WebBrowser1->url().toString().contains(u"abt.need"_s) &&
                   !form->WebBrowser1->page()->isLoading();
        },
        std::chrono::seconds(30)));
    clickRow(form->SearchResult, 0);
    ASSERT_TRUE(waitUntil([&] { return form->releaseInfo().lastInfoId() == id; }));
    EXPECT_EQ(form->releaseInfo().infoPosterUrl(), toQ(rig.indexerPoster()));
    EXPECT_TRUE(
        form->releaseInfo().infoMagnet().contains(u"a1b2c3d4e5f60718293a4b5c6d7e8f9012345678"_s));
    EXPECT_TRUE(form->releaseInfo().infoMagnet().contains(u"dn=tracker.example_"_s + id));

    // Added with Ctrl+A: the release keeps its id, title and poster.
    rig.torrServer->clearRequests();
    QTest::keyClick(form->SearchResult, Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(
        waitUntil([this] { return !form->srlAdd()->isRunning(); }, std::chrono::seconds(30)));
    const auto added = adds();
    ASSERT_EQ(added.size(), 1u);
    const QString hexId = QString::number(id.toULongLong(), 16).toUpper();
    // Today's TorrServer keeps the client's own data: the release's id and its magnet.
    const std::string data = added[0].value("data", std::string());
    EXPECT_NE(data.find("\"id\":\"" + id.toStdString() + "\""), std::string::npos) << data;
    EXPECT_NE(data.find("&dn=id_" + hexId.toStdString() + "&"), std::string::npos) << data;
    EXPECT_EQ(added[0]["title"], form->search().results()[0].Title.toStdString());
    EXPECT_EQ(added[0]["poster"], rig.indexerPoster());
    ASSERT_EQ(form->TorrentList->count(), 1);

    // Another result's page, then the added torrent's page from the torrent list, once the list
    // shows the torrent with its files (the server has its metadata).
    ASSERT_TRUE(waitUntil([&] {
        QTest::mouseClick(form->ConnectButton, Qt::LeftButton);
        return form->connection().entries().size() == 1 &&
               qb::connection::entryFiles(form->connection().entries()[0]) != nullptr;
    }));
    const QString otherId = form->search().results()[1].PagePath.section(u'/', 2, 2);
    clickRow(form->SearchResult, 1);
    ASSERT_TRUE(waitUntil([&] { return form->releaseInfo().lastInfoId() == otherId; }));
    clickRow(form->TorrentList, 0);
    EXPECT_EQ(form->connection().selectedReleaseId(), id);
    ASSERT_TRUE(waitUntil([&] { return form->releaseInfo().lastInfoId() == id; }));
    EXPECT_EQ(form->releaseInfo().infoPosterUrl(), toQ(rig.indexerPoster()));
}

} // namespace
