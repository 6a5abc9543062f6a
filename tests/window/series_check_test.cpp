// The series check against the stand-in TorrServer and service: what it looks at, what it
// marks, how it announces the marks, that it never holds the window, and the update command's
// own part of replacing a marked torrent.
#include "app/app_core.h"
#include "connection/connection.h"
#include "lists/lists_and_series.h"
#include "releaseinfo/release_info.h"
#include "search/tracker_search.h"
#include "series_fixture.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::test::toQ;

class SeriesCheck : public qb::test::SeriesWindowTest {
protected:
    void SetUp() override {
        SeriesWindowTest::SetUp();
        ASSERT_TRUE(form->core().FormCreate());
        QObject::connect(form.get(), &TForm1::UpdateBalloonShown,
                         [this](const QString& text) { balloons << text; });
        service.clearRequests();
    }

    QString grownMark() const { return u"id_4BCB7^"_s + toQ(grown); }

    QStringList balloons;
};

TEST_F(SeriesCheck, FirstShowMarksTheTorrentWhoseReleaseAnnouncesMoreFiles) {
    QElapsedTimer clock;
    clock.start();
    form->show();
    ASSERT_TRUE(waitUntil([this] { return !form->mDel->isEnabled(); }));
    EXPECT_GE(clock.elapsed(), 1900); // the check begins about 2000 ms after the first show
    awaitTheCheck();

    // Single-file torrents and another client's torrents are never looked at.
    EXPECT_EQ(requestedReleaseIds().size(), 2U);
    EXPECT_TRUE(std::ranges::count(requestedReleaseIds(), "310455") == 1 &&
                std::ranges::count(requestedReleaseIds(), "310877") == 1);
    EXPECT_TRUE(rowText(grown).startsWith(u"[update] id_4BCB7 - Размер: "_s))
        << rowText(grown).toStdString();
    for (const auto& hash : {same, single, foreign}) {
        EXPECT_FALSE(rowText(hash).contains(u"[update]"_s)) << rowText(hash).toStdString();
    }
    EXPECT_EQ(form->connection().updateRows(), QStringList{grownMark()});
    EXPECT_EQ(form->LogP->text(), u"Найдены обновленные торренты (1)"_s);
    EXPECT_TRUE(form->mDel->isEnabled());
    EXPECT_TRUE(form->UpdateTimer1->isActive());
    EXPECT_EQ(form->UpdateTimer1->interval(), 3600000);
    EXPECT_EQ(balloons, QStringList{u"Найдены обновленные торренты (1)"_s});
}

TEST_F(SeriesCheck, RefreshKeepsTheMarkAndTheHourlyCheckNeverMarksTwice) {
    showAndAwaitTheCheck();
    QTest::mouseClick(form->ConnectButton, Qt::LeftButton);
    EXPECT_TRUE(rowText(grown).startsWith(u"[update] id_4BCB7 - "_s));

    form->lists().UpdateTimer1Timer();
    awaitTheCheck();
    EXPECT_EQ(rowText(grown).count(u"[update]"_s), 1) << rowText(grown).toStdString();
    EXPECT_EQ(form->connection().updateRows(), QStringList{grownMark()});
    QTest::mouseClick(form->ConnectButton, Qt::LeftButton);
    EXPECT_EQ(rowText(grown).count(u"[update]"_s), 1);
}

TEST_F(SeriesCheck, UnreadableAnswersSkipTheTorrentAndTheCheckStillEnds) {
    form->core().skipFirstShowCheckForTest();
    form->show();
    const std::string grownPage = "/get_info.php?secret=bqZanhMLfyKdoe&id=310455";
    const struct {
        const char* what;
        std::function<void()> fault;
    } cases[] = {
        {"count not a number",
         [&] { service.answerWith(grownPage, 200, "<span id=\"displayfiles\">(много)</span>"); }},
        {"empty count", [&] { service.answerWith(grownPage, 200, "displayfiles ()"); }},
        {"no bracket at all", [&] { service.answerWith(grownPage, 200, "displayfiles"); }},
        {"dropped connection", [&] { service.dropConnections("/get_info.php"); }},
        {"error page", [&] { service.failWithStatus("/get_info.php", 500); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        service.resetFaults();
        c.fault();
        form->UpdateTimer1->stop();
        form->checkSerialsTH()->Start();
        awaitTheCheck();
        EXPECT_EQ(form->UpdateList1->count(), 0);
        EXPECT_FALSE(rowText(grown).contains(u"[update]"_s));
        EXPECT_TRUE(form->mDel->isEnabled());
        EXPECT_TRUE(form->UpdateTimer1->isActive());
    }
    EXPECT_TRUE(balloons.isEmpty()); // nothing marked, nothing announced
}

TEST_F(SeriesCheck, ASlowServiceHoldsNeitherTheWindowNorTheMarks) {
    service.delay("/get_info.php", 2500);
    form->show();
    ASSERT_TRUE(waitUntil([this] { return !form->mDel->isEnabled(); }));
    // While the check waits for the service, the user refreshes the list, and the refresh is
    // done long before the check.
    QTest::mouseClick(form->ConnectButton, Qt::LeftButton);
    EXPECT_EQ(form->status->text(), u"Сервер ОК"_s);
    EXPECT_TRUE(form->checkSerialsTH()->isRunning());
    EXPECT_FALSE(form->mDel->isEnabled()); // nothing is removed while the check runs
    awaitTheCheck();
    EXPECT_TRUE(form->mDel->isEnabled());
    // The refresh rebuilt the rows meanwhile; the mark still lands on the right one.
    EXPECT_TRUE(rowText(grown).startsWith(u"[update] "_s));
    EXPECT_EQ(form->TorrentList->count(), 4);
}

class SeriesDesktop : public qb::test::SeriesWindowTest,
                      public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        SeriesWindowTest::SetUp();
        system->tray = GetParam();
        ASSERT_TRUE(form->core().FormCreate());
        QObject::connect(form.get(), &TForm1::UpdateBalloonShown,
                         [this](const QString& text) { balloons << text; });
    }
    QStringList balloons;
};

TEST_P(SeriesDesktop, MarksAreAnnouncedByTheBalloonOrANoticeInTheWindow) {
    showAndAwaitTheCheck();
    EXPECT_EQ(balloons, QStringList{u"Найдены обновленные торренты (1)"_s});
    if (GetParam()) {
        EXPECT_TRUE(form->UpdateNotice == nullptr || !form->UpdateNotice->isVisible());
        return;
    }
    ASSERT_NE(form->UpdateNotice, nullptr);
    EXPECT_TRUE(form->UpdateNotice->isVisible());
    EXPECT_EQ(form->UpdateNotice->text(), u"Найдены обновленные торренты (1)"_s);
    EXPECT_TRUE(form->TorrentList->geometry().contains(form->UpdateNotice->geometry()));
    QTest::mouseClick(form->UpdateNotice, Qt::LeftButton);
    EXPECT_FALSE(form->UpdateNotice->isVisible());
    EXPECT_TRUE(form->isVisible());
}

TEST_P(SeriesDesktop, TheTrayMenuOpensFromTheWindowWhereThereIsNoTray) {
    form->core().skipFirstShowCheckForTest();
    form->show();
    ASSERT_NE(form->TrayMenuButton, nullptr);
    EXPECT_EQ(form->TrayMenuButton->isVisible(), !GetParam());
    // The status panel opens the same menu on every desktop.
    QTest::mouseClick(form->status, Qt::RightButton);
    ASSERT_TRUE(waitUntil([this] { return form->TrayMenu->isVisible(); }));
    form->TrayMenu->hide();
    if (GetParam()) {
        return;
    }
    QTest::mouseClick(form->TrayMenuButton, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([this] { return form->TrayMenu->isVisible(); }));
    QTest::mouseClick(form->TrayMenu, Qt::LeftButton, {},
                      form->TrayMenu->actionGeometry(form->N20).center());
    ASSERT_FALSE(browser->requested.empty());
    EXPECT_EQ(browser->requested.back().toString(), toQ(server.baseUrl()) + u"/stat"_s);
}

INSTANTIATE_TEST_SUITE_P(Desktops, SeriesDesktop, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "WithTray" : "WithoutTray"; });

// The update command's own steps; the re-adding is the adding worker's.
class SeriesUpdateSteps : public SeriesCheck {};

TEST_F(SeriesUpdateSteps, RemovesTheMarkedTorrentAndHandsTheReleaseToTheAddingWorker) {
    showAndAwaitTheCheck();
    form->releaseInfo().setInfoMagnetForTest(
        u"magnet:?xt=urn:btih:B9C3C859E7FCB058BE4FE08031466B438C73FEB5"_s);
    server.clearRequests();
    chooseFromRowMenu(grown, form->update1);
    ASSERT_EQ(server.requestsTo("/torrent/rem"), 1);
    EXPECT_EQ(server.requests()[0]["body"], "{\"hash\": \"" + grown + "\"}");
    EXPECT_EQ(form->UpdateList1->count(), 0);
    EXPECT_EQ(form->search().addingMode(), u"update"_s);
    EXPECT_EQ(form->connection().selectedReleaseId(), u"310455"_s);
}

TEST_F(SeriesUpdateSteps, WithoutTheNewReleasesMagnetTheOldTorrentStays) {
    showAndAwaitTheCheck();
    // The release page cannot be had, so no magnet of the current release is known.
    service.addFault({{"kind", "drop"}, {"match", "/get_info.php"}});
    // The magnet of a page shown earlier belongs to another release and must not stand in.
    form->releaseInfo().setInfoMagnetForTest(
        u"magnet:?xt=urn:btih:5C0A19F2318A69823D40965534B6EA9CD50861A5&dn=id_17FA6"_s);
    server.clearRequests();
    chooseFromRowMenu(grown, form->update1);
    EXPECT_EQ(server.requestsTo("/torrent/rem"), 0);
    EXPECT_EQ(form->connection().updateRows(), QStringList{grownMark()});
    ASSERT_FALSE(messages->calls.empty());
    EXPECT_EQ(messages->calls.back().title, u"Ошибка"_s);
}

TEST_F(SeriesUpdateSteps, ABrokenRemovalKeepsTheMarkAndAddsNothing) {
    showAndAwaitTheCheck();
    form->releaseInfo().setInfoMagnetForTest(
        u"magnet:?xt=urn:btih:B9C3C859E7FCB058BE4FE08031466B438C73FEB5"_s);
    ASSERT_TRUE(server.setFaults({{"close", {{"path", "/torrent/rem"}, {"times", 1}}}}));
    chooseFromRowMenu(grown, form->update1);
    ASSERT_FALSE(messages->calls.empty());
    EXPECT_EQ(messages->calls.back().text, u"Что-то пошло не так, попробуйте позже"_s);
    EXPECT_EQ(messages->calls.back().icon, qb::platform::MessageIcon::Error);
    EXPECT_EQ(form->connection().updateRows(), QStringList{grownMark()});
    EXPECT_TRUE(form->search().addingMode().isEmpty());
}

} // namespace
