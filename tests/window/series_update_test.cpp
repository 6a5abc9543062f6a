// "Обновить торрент" end to end: a marked torrent is replaced by the current release of its
// series, through the release page and the adding worker, against the stand-ins.
#include "app/app_core.h"
#include "search/tracker_search.h"
#include "series_fixture.h"

#include <QAction>
#include <QLabel>

using namespace Qt::Literals::StringLiterals;

namespace {

// The release 310455 on the stand-in service: its page's magnet link.
const std::string kCurrentRelease = "b9c3c859e7fcb058be4fe08031466b438c73feb5";

class SeriesUpdate : public qb::test::SeriesWindowTest {};

TEST_F(SeriesUpdate, MarkedTorrentIsReplacedByTheCurrentRelease) {
    ASSERT_TRUE(form->core().FormCreate());
    showAndAwaitTheCheck();
    ASSERT_TRUE(rowText(grown).startsWith(u"[update] "_s));
    server.clearRequests();

    chooseFromRowMenu(grown, form->update1);
    ASSERT_TRUE(
        waitUntil([this] { return !form->srlAdd()->isRunning(); }, std::chrono::seconds(60)));

    EXPECT_EQ(server.requestsTo("/torrent/rem"), 1);
    bool addedUnderItsId = false;
    for (const auto& request : server.requests()) {
        if (request["path"] == "/torrent/add") {
            const std::string body = request["body"];
            addedUnderItsId = addedUnderItsId || body.find("dn=id_4BCB7") != std::string::npos;
        }
    }
    EXPECT_TRUE(addedUnderItsId);
    EXPECT_EQ(rowOf(grown), -1);
    EXPECT_GE(rowOf(kCurrentRelease), 0);
    EXPECT_EQ(form->UpdateList1->count(), 0);
    EXPECT_EQ(form->TorrentList->count(), 4);
    EXPECT_TRUE(form->search().addingMode().isEmpty());
}

} // namespace
