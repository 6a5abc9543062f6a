#pragma once

// A window connected to a stand-in TorrServer holding torrents of tracker series, and the
// stand-in service that answers their release pages: "id_4BCB7" (release 310455, whose page
// announces 10 files) and "id_4BE5D" (release 310877, 8 files) both have 8 files; a single-file
// torrent of the tracker and a multi-file torrent of another client complete the list.
#include "window_fixture.h"

#include "app/workers/bmd_thread.h"
#include "connection/connection.h"
#include "service_standin.h"
#include "standin_fixture.h"

#include <QListWidget>
#include <QMenu>
#include <QTest>

#include <filesystem>
#include <fstream>

namespace qb::test {

// A .torrent of a folder `name` under `parent` with `files` small files, announced to a tracker
// so that its magnet has an "&" after the display name; empty when it could not be made.
inline std::string makeMultiFileTorrent(const std::string& parent, const std::string& name,
                                        int files) {
    const std::filesystem::path folder = parent + "/" + name;
    std::filesystem::create_directories(folder);
    for (int i = 1; i <= files; ++i) {
        std::ofstream out(folder / ("e" + std::to_string(i) + ".mkv"), std::ios::binary);
        out << std::string(3000 + i, static_cast<char>('a' + i)) << name;
    }
    const std::string torrent = folder.string() + ".torrent";
    const std::string command = "mktorrent -l 15 -a http://bt.tracker.example/ann -o '" + torrent +
                                "' '" + folder.string() + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 ? torrent : std::string();
}

class SeriesWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(server.start()) << server.error();
        grown = server.addTorrentFile(multiFileTorrent("id_4BCB7", 8));
        same = server.addTorrentFile(multiFileTorrent("id_4BE5D", 8));
        single = server.addTorrentFile(testing::TorrServerStandin::makeTorrentFile(
            dir.path().toStdString(), "id_1A2B3", 4000));
        foreign = server.addTorrentFile(multiFileTorrent("Foreign", 3));
        ASSERT_FALSE(grown.empty() || same.empty() || single.empty() || foreign.empty());
        writeSettings(toQ(server.baseUrl()), QStringLiteral("0"), toQ(service.baseUrl()));
        makeWindow();
    }

    std::string multiFileTorrent(const std::string& name, int files) {
        return makeMultiFileTorrent(dir.path().toStdString(), name, files);
    }

    // Shows the window, which starts the first check, and waits for its end.
    void showAndAwaitTheCheck() {
        form->show();
        awaitTheCheck();
    }

    void awaitTheCheck() {
        ASSERT_TRUE(waitUntil([this] { return !form->checkSerialsTH()->isRunning(); },
                              std::chrono::seconds(30)));
    }

    int rowOf(const std::string& hash) const {
        for (size_t i = 0; i < form->connection().entries().size(); ++i) {
            if (form->connection().entries()[i].value("Hash", std::string()) == hash) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    QString rowText(const std::string& hash) const {
        const int row = rowOf(hash);
        return row < 0 ? QString() : form->TorrentList->item(row)->text();
    }

    // Selects the torrent's row with a click, then opens the row's menu with a right click and
    // chooses `item` from it.
    void chooseFromRowMenu(const std::string& hash, QAction* item) {
        QListWidgetItem* row = form->TorrentList->item(rowOf(hash));
        ASSERT_NE(row, nullptr);
        const QPoint at = form->TorrentList->visualItemRect(row).center();
        QTest::mouseClick(form->TorrentList->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseClick(form->TorrentList->viewport(), Qt::RightButton, {}, at);
        ASSERT_TRUE(waitUntil([this] { return form->TorListPopup->isVisible(); }));
        ASSERT_TRUE(item->isEnabled());
        QTest::mouseClick(form->TorListPopup, Qt::LeftButton, {},
                          form->TorListPopup->actionGeometry(item).center());
    }

    std::vector<std::string> requestedReleaseIds() const {
        std::vector<std::string> ids;
        for (const auto& request : service.requests()) {
            const std::string prefix = "/get_info.php?secret=bqZanhMLfyKdoe&id=";
            if (request.target.rfind(prefix, 0) == 0) {
                ids.push_back(request.target.substr(prefix.size()));
            }
        }
        return ids;
    }

    testing::TorrServerStandin server;
    testing::ServiceStandin service;
    std::string grown, same, single, foreign;
};

} // namespace qb::test
