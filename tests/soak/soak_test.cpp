// The soak run: the real window against the stand-in TorrServer for many refreshes, adds and
// removals, with the program's resident memory read after a warm-up and at the end.
//
// Every refresh goes the user's way, a click on "Подключиться / Обновить", with its half-second
// hold; adds and removals go through a drop on the torrent list, Ctrl+D on a clicked row and the
// replacing import of a magnet-list file. How much runs: soak_plan.h (QB_SOAK=long for the full
// run, see scripts/soak-long.sh).
#include "../window/window_fixture.h"

#include "resident_memory.h"
#include "service_standin.h"
#include "soak_plan.h"
#include "standin_fixture.h"

#include "app/app_core.h"
#include "app/workers/bmd_thread.h"
#include "playback/playback.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::test::toQ;
using qb::testing::ServiceStandin;
using qb::testing::TorrServerStandin;

// Torrents the replacing import brings in each cycle; with the dropped one that the cycle
// removes again, a cycle adds and removes this many plus one.
constexpr int kImported = 9;
constexpr int kChangesPerCycle = kImported + 1;
constexpr double kAllowedGrowthPercent = 5.0;

// A magnet link of its own for every number.
std::string soakMagnet(int number) {
    // Built by joining: the link's escapes would read as placeholders of QString::arg.
    return "magnet:?xt=urn:btih:" +
           QString::number(number, 16).rightJustified(40, u'0').toStdString() + "&dn=Soak%20" +
           std::to_string(number) + "&tr=http%3A%2F%2Fbt.example%2Fann";
}

QString soakName(int number) {
    return u"Soak %1 - "_s.arg(number);
}

class Soak : public qb::test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(server.start()) << server.error();
        // The torrents the first import replaces.
        for (int k = 0; k < kImported; ++k) {
            ASSERT_FALSE(server.addMagnet(soakMagnet(nextNumber++)).empty());
        }
        writeSettings(toQ(server.baseUrl()), u"0"_s, toQ(service.baseUrl()));
        makeWindow();
        ASSERT_TRUE(form->core().FormCreate());
        form->core().skipFirstShowCheckForTest(); // the series check is not part of the run
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        ASSERT_EQ(form->TorrentList->count(), kImported);
    }

    int rowOf(const QString& name) const {
        for (int i = 0; i < form->TorrentList->count(); ++i) {
            if (form->TorrentList->item(i)->text().startsWith(name)) {
                return i;
            }
        }
        return -1;
    }

    void clickRow(int row) {
        QListWidget* list = form->TorrentList;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    // One click on the connect button; the handler returns once the list is shown.
    void refresh() {
        QTest::mouseClick(form->ConnectButton, Qt::LeftButton);
        ASSERT_EQ(form->status->text(), u"Сервер ОК"_s);
        ASSERT_TRUE(form->ConnectButton->isEnabled());
        ASSERT_EQ(form->TorrentList->count(), kImported);
    }

    // `count` refreshes, each of which the server must have seen, with a row selected before
    // the first so that the refresh also brings back the idle page.
    void refreshes(int count) {
        if (count == 0) {
            return;
        }
        clickRow(0);
        server.clearRequests();
        for (int k = 0; k < count; ++k) {
            ASSERT_NO_FATAL_FAILURE(refresh());
        }
        ASSERT_EQ(server.requestsTo("/torrent/list"), count);
    }

    // A magnet link dropped on the list, added by the adding job; then the same row removed
    // with Ctrl+D; then the listed torrents replaced by an import of new ones.
    void changeCycle() {
        const int dropped = nextNumber++;
        form->playback().DropURLDrop({}, toQ(soakMagnet(dropped)));
        ASSERT_TRUE(waitUntil([this] { return !form->addThread()->isRunning(); },
                              std::chrono::seconds(60)));
        ASSERT_EQ(form->TorrentList->count(), kImported + 1);
        const int row = rowOf(soakName(dropped));
        ASSERT_GE(row, 0);

        clickRow(row);
        ASSERT_EQ(form->TorrentList->currentRow(), row);
        // The row's click hands the focus away; the list's shortcuts act while it has it.
        form->TorrentList->setFocus();
        QTest::keyClick(form->windowHandle(), Qt::Key_D, Qt::ControlModifier); // mDel's shortcut
        ASSERT_TRUE(waitUntil([this] { return form->TorrentList->count() == kImported; }));
        ASSERT_EQ(rowOf(soakName(dropped)), -1);

        QByteArray list = ":: Soak\r\n";
        const int first = nextNumber;
        for (int k = 0; k < kImported; ++k) {
            list += soakMagnet(nextNumber++) + "\r\n";
        }
        const QString path = appDir() + u"soak.txt"_s;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(list);
        file.close();
        messages->answerNext(u"Да"_s);
        dialogs->answerNext(path);
        form->N23->trigger();
        ASSERT_EQ(messages->calls.back().text, u"Импорт пользовательского списка завершен"_s);
        ASSERT_EQ(form->TorrentList->count(), kImported);
        for (int k = 0; k < kImported; ++k) {
            ASSERT_GE(rowOf(soakName(first + k)), 0) << k;
        }
        adds += kChangesPerCycle;
        removals += kChangesPerCycle;

        // What the recording fakes and the stand-in's log keep is the test's, not the window's.
        messages->calls.clear();
        dialogs->calls.clear();
        browser->requested.clear();
        browser->opened.clear();
        server.clearRequests();
    }

    // `changes` adds and removals with `count` refreshes spread between them.
    void run(int count, int changes) {
        const int cycles = (changes + kChangesPerCycle - 1) / kChangesPerCycle;
        int done = 0;
        for (int cycle = 0; cycle < cycles; ++cycle) {
            const int share = count * (cycle + 1) / cycles - done;
            ASSERT_NO_FATAL_FAILURE(refreshes(share));
            done += share;
            ASSERT_NO_FATAL_FAILURE(changeCycle());
        }
        ASSERT_NO_FATAL_FAILURE(refreshes(count - done));
        refreshed += count;
    }

    TorrServerStandin server;
    ServiceStandin service;
    int nextNumber = 1;
    int refreshed = 0;
    int adds = 0;
    int removals = 0;
};

TEST_F(Soak, ResidentMemoryStaysWithinFivePerCentOfTheWarmedUpFigure) {
    const qb::test::SoakPlan plan = qb::test::soakPlanFromEnvironment();
    QElapsedTimer wall;
    wall.start();

    // The warm-up fills the caches a long run settles on: fonts, the web view, the connections.
    ASSERT_NO_FATAL_FAILURE(run(10, kChangesPerCycle));
    const auto warm = qb::test::ownResidentKilobytes();
    const auto warmTrimmed = qb::test::ownResidentKilobytesTrimmed();
    ASSERT_TRUE(warm.has_value() && warmTrimmed.has_value());
    const qint64 warmUpMs = wall.elapsed();
    refreshed = adds = removals = 0;

    ASSERT_NO_FATAL_FAILURE(run(plan.refreshes, plan.changes));
    const auto end = qb::test::ownResidentKilobytes();
    const auto endTrimmed = qb::test::ownResidentKilobytesTrimmed();
    ASSERT_TRUE(end.has_value() && endTrimmed.has_value());

    const double growth = qb::test::growthPercent(*warm, *end);
    const double seconds = static_cast<double>(wall.elapsed() - warmUpMs) / 1000.0;
    std::printf("soak: %d refreshes, %d adds, %d removals in %.1f s (warm-up %.1f s)\n", refreshed,
                adds, removals, seconds, static_cast<double>(warmUpMs) / 1000.0);
    std::printf("soak: resident memory after the warm-up %lld kB, at the end %lld kB, growth "
                "%.2f %%\n",
                static_cast<long long>(*warm), static_cast<long long>(*end), growth);
    // With the heap's free pages handed back: what a leak would keep.
    std::printf("soak: in use after the warm-up %lld kB, at the end %lld kB, growth %.2f %%\n",
                static_cast<long long>(*warmTrimmed), static_cast<long long>(*endTrimmed),
                qb::test::growthPercent(*warmTrimmed, *endTrimmed));
    std::fflush(stdout);
    RecordProperty("rss_warm_kb", std::to_string(*warm));
    RecordProperty("rss_end_kb", std::to_string(*end));

    EXPECT_EQ(refreshed, plan.refreshes);
    EXPECT_GE(adds, plan.changes);
    EXPECT_GE(removals, plan.changes);
    EXPECT_LE(growth, kAllowedGrowthPercent);
}

} // namespace
