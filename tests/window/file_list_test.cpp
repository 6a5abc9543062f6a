// The file list's menu with its selection rules, the torrent list's menu on a first right
// click, and the downloads of files and playlists.
#include "app/app_core.h"
#include "playback_fixture.h"

#include <QAction>
#include <QMenu>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::test::toQ;

class FileList : public qb::test::PlaybackTest {
protected:
    void SetUp() override {
        PlaybackTest::SetUp();
        if (!HasFatalFailure()) {
            clickRowOf(u"Show"_s);
        }
    }

    void clickRowOf(const QString& name) {
        QTest::mouseClick(form->TorrentList->viewport(), Qt::LeftButton, {},
                          rowCentre(form->TorrentList, rowOf(form->TorrentList, name)));
    }

    QList<int> selectedRows() const {
        QList<int> rows;
        for (int i = 0; i < form->AddList->count(); ++i) {
            if (form->AddList->item(i)->isSelected()) {
                rows << i;
            }
        }
        return rows;
    }

    // Right click on a row of AddList; answers whether the menu opened, and closes it.
    bool rightClickFileRow(int row) {
        rightClickAt(form->AddList, rowCentre(form->AddList, row));
        return closeMenu(form->AddListPopup);
    }

    static bool closeMenu(QMenu* menu) {
        const bool open = menu->isVisible();
        menu->close();
        return open;
    }

    // Chooses an item of an open menu with the mouse.
    static void clickItem(QMenu* menu, QAction* item) {
        ASSERT_TRUE(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }

    QByteArray fileBytes(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(FileList, RightClickSelectionRulesAndTheMenu) {
    ASSERT_EQ(form->AddList->count(), 2);
    ASSERT_FALSE(form->AddListPopup->isVisible());
    // Nothing selected: the clicked row is selected and focused, and the menu opens.
    form->AddList->clearSelection();
    EXPECT_TRUE(rightClickFileRow(1));
    EXPECT_EQ(selectedRows(), QList<int>{1});
    EXPECT_EQ(form->AddList->currentRow(), 1);
    EXPECT_TRUE(form->MenuItem1->isEnabled());
    EXPECT_TRUE(form->MenuItem2->isEnabled());
    // One row selected: the selection moves to the clicked row.
    EXPECT_TRUE(rightClickFileRow(0));
    EXPECT_EQ(selectedRows(), QList<int>{0});
    EXPECT_EQ(form->AddList->currentRow(), 0);
    // Two rows selected: the selection stays and the single download is switched off.
    form->AddList->item(1)->setSelected(true);
    EXPECT_TRUE(rightClickFileRow(0));
    EXPECT_EQ(selectedRows(), (QList<int>{0, 1}));
    EXPECT_FALSE(form->MenuItem2->isEnabled());
    // Below the last row: no menu, no change.
    rightClickAt(form->AddList, QPoint(20, form->AddList->viewport()->height() - 3));
    EXPECT_FALSE(closeMenu(form->AddListPopup));
    EXPECT_EQ(selectedRows(), (QList<int>{0, 1}));
}

TEST_F(FileList, TorrentMenuOpensOnTheFirstRightClickAtATorrentWithoutFiles) {
    // A server that takes its time to find a torrent's files.
    qb::testing::TorrServerStandin slow(qb::testing::torrServerOptions(600000));
    ASSERT_TRUE(slow.start()) << slow.error();
    ASSERT_FALSE(slow.addMagnet("magnet:?xt=urn:btih:5555555555555555555555555555555555555555"
                                "&dn=Seeking")
                     .empty());
    writeSettings(toQ(slow.baseUrl()), u"0"_s, toQ(service.baseUrl()));
    ASSERT_TRUE(makeWindow().core().FormCreate());
    form->show();
    ASSERT_EQ(form->TorrentList->count(), 1);
    ASSERT_TRUE(form->TorrentList->item(0)->text().contains(u"пытаемся найти"_s));
    rightClickAt(form->TorrentList, rowCentre(form->TorrentList, 0));
    EXPECT_TRUE(form->TorListPopup->isVisible());
    EXPECT_FALSE(form->mPlay->isEnabled());
    EXPECT_TRUE(form->mDel->isEnabled());
    closeMenu(form->TorListPopup);
}

TEST_F(FileList, DownloadOfAFileGoesThroughTheViewAndItsNoticeStays) {
    const QString target = appDir() + u"saved-e01.mkv"_s;
    dialogs->answerNext(target);
    rightClickAt(form->AddList, rowCentre(form->AddList, 0));
    clickItem(form->AddListPopup, form->MenuItem2);
    // The command waits while the view downloads; its end leaves the download's notice.
    ASSERT_TRUE(waitUntil([this] {
        return form->LogP->text().startsWith(u"Загрузка завершена"_s);
    })) << form->LogP->text().toStdString();
    EXPECT_TRUE(form->transientStatus());
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].presetName, u"e01.mkv"_s);
    EXPECT_EQ(fileBytes(target), QByteArray(kEpisodeSize, 'x'));
}

TEST_F(FileList, SingleFileTorrentDownloadsItsFile) {
    clickRowOf(u"Film"_s);
    const QString target = appDir() + u"Film-copy.mkv"_s;
    dialogs->answerNext(target);
    rightClickAt(form->TorrentList,
                 rowCentre(form->TorrentList, rowOf(form->TorrentList, u"Film"_s)));
    ASSERT_TRUE(form->N18->isEnabled());
    clickItem(form->TorListPopup, form->N18);
    ASSERT_TRUE(waitUntil([&] { return fileBytes(target).size() == kFilmSize; }));
    EXPECT_EQ(dialogs->calls[0].presetName, u"Film.mkv"_s);
    EXPECT_EQ(fileBytes(target), QByteArray::fromStdString([this] {
                  QFile data(toQ(film).chopped(8)); // the data beside its .torrent
                  return data.open(QIODevice::ReadOnly) ? data.readAll().toStdString()
                                                        : std::string();
              }()));
}

TEST_F(FileList, SavingATorrentsPlaylistProposesItsNameWithoutTheLastDot) {
    clickRowOf(u"Film"_s);
    const QString target = appDir() + u"film.m3u"_s;
    dialogs->answerNext(target);
    form->m3u2->trigger();
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].title, u"Сохранить плейлист как..."_s);
    EXPECT_EQ(dialogs->calls[0].presetName, u"Film"_s);
    EXPECT_EQ(dialogs->calls[0].filter, u"Playlist (*.m3u)"_s);
    const QByteArray saved = fileBytes(target);
    EXPECT_TRUE(saved.startsWith("#EXTM3U\n")) << saved.toStdString();
    EXPECT_TRUE(saved.contains(("urn%3Abtih%3A" + filmHash).c_str())) << saved.toStdString();
    EXPECT_TRUE(form->LogP->text().startsWith(u"Всего торрентов"_s));

    // A cancelled dialog writes nothing and says nothing of a saved playlist.
    QFile::remove(target);
    form->m3u2->trigger();
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_TRUE(form->LogP->text().startsWith(u"Всего торрентов"_s));
}

TEST_F(FileList, PlaylistOfAllTorrentsIsDownloadedByTheView) {
    const QString target = appDir() + u"all.m3u"_s;
    dialogs->answerNext(target);
    form->m3u1->trigger();
    ASSERT_TRUE(waitUntil([&] { return fileBytes(target).startsWith("#EXTM3U"); }));
    EXPECT_EQ(dialogs->calls.size(), 1u);
}

} // namespace
