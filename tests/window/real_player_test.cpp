// A real player end to end: a short video made with ffmpeg, served by the stand-in TorrServer
// from its content folder, played from the window by mpv (no picture, no sound).
#include "app/app_core.h"
#include "playback/playback.h"
#include "playback_fixture.h"

#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::test::toQ;

enum class Generation { Api11, Today };

// Against a server of each generation of TorrServer's interface.
class RealPlayer : public qb::test::PlaybackTest, public ::testing::WithParamInterface<Generation> {
protected:
    void configureServer(qb::testing::TorrServerStandinOptions& options) const override {
        if (GetParam() == Generation::Today) {
            options.api = "matrix";
            options.version.clear();
        }
    }

    void prepareContent(const std::string& content) override {
        if (QStandardPaths::findExecutable(u"ffmpeg"_s).isEmpty() ||
            QStandardPaths::findExecutable(u"mpv"_s).isEmpty()) {
            return; // the test skips itself below
        }
        // Three seconds of picture and sound, with the index at the end, so the player has to
        // ask for ranges of the stream. Extras beside it give the torrent a size the list shows.
        const std::string folder = content + "/Clip";
        ASSERT_TRUE(QDir().mkpath(toQ(folder)));
        const std::string clip = folder + "/Clip.mp4";
        ASSERT_EQ(
            std::system(("ffmpeg -loglevel error -y -f lavfi -i testsrc=duration=3:size=160x120:"
                         "rate=10 -f lavfi -i sine=duration=3 -c:v mpeg4 -c:a aac -shortest '" +
                         clip + "'")
                            .c_str()),
            0);
        writeFile(folder + "/extras.bin", 8 * 1024 * 1024);
        ASSERT_EQ(std::system(("mktorrent -l 15 -o '" + folder + ".torrent' '" + folder +
                               "' >/dev/null 2>&1")
                                  .c_str()),
                  0);
        clipTorrent = folder + ".torrent";
    }

    std::string clipTorrent;
};

TEST_P(RealPlayer, MpvPlaysTheStreamThroughThePlaylist) {
    if (clipTorrent.empty()) {
        GTEST_SKIP() << "ffmpeg and mpv are needed (scripts/install-deps.sh installs them)";
    }
    const std::string clipHash = server->addTorrentFile(clipTorrent);
    ASSERT_FALSE(clipHash.empty());

    // The player: mpv without picture and sound, one second of each entry, bounded in time.
    const QString player = appDir() + u"player.sh"_s;
    {
        QFile script(player);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n"
                     "timeout 60 mpv --no-config --vo=null --ao=null --ytdl=no --length=1 "
                     "--log-file=\"$0.log\" \"$@\"\n"
                     "echo $? > \"$0.rc.tmp\" && mv \"$0.rc.tmp\" \"$0.rc\"\n");
        script.close();
        ASSERT_TRUE(script.setPermissions(script.permissions() | QFile::ExeOwner));
    }
    // Real processes underneath the recording fake.
    qb::test::FakePlatform fakes = qb::test::makeFakePlatform(appDir(), {}, true);
    processes = fakes.processes;
    form->close();
    form = std::make_unique<TForm1>(std::move(fakes.platform));
    ASSERT_TRUE(form->core().FormCreate());
    form->show();
    form->playback().setPlayerPath(player);
    server->clearRequests();

    const int row = rowOf(form->TorrentList, u"Clip - "_s);
    ASSERT_GE(row, 0);
    doubleClickRow(form->TorrentList, row);
    ASSERT_TRUE(waitUntil([this] { return !processes->starts.empty(); }, std::chrono::seconds(60)));
    EXPECT_EQ(processes->starts[0].arguments, QStringList{appDir() + u"server/tmp.m3u"_s});
    ASSERT_TRUE(
        waitUntil([&] { return QFileInfo::exists(player + u".rc"_s); }, std::chrono::seconds(90)));

    QFile rc(player + u".rc"_s);
    ASSERT_TRUE(rc.open(QIODevice::ReadOnly));
    EXPECT_EQ(rc.readAll().trimmed(), "0");
    QFile log(player + u".log"_s);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray mpvLog = log.readAll();
    EXPECT_TRUE(mpvLog.contains("server/tmp.m3u")) << "mpv did not open the playlist";

    // mpv read the stream from the stand-in, asking for ranges.
    const bool today = GetParam() == Generation::Today;
    const std::string stream =
        today ? "/stream/Clip.mp4" : "/torrent/view/" + clipHash + "/Clip_Clip.mp4";
    int ranges = 0;
    for (const auto& request : server->requests()) {
        if (request.value("path", std::string()).rfind(stream, 0) != 0 ||
            (today && request.value("target", std::string()).find("link=" + clipHash) ==
                          std::string::npos)) {
            continue;
        }
        for (const auto& header : request["headers"]) {
            ranges += QString::fromStdString(header[0].get<std::string>())
                          .compare(u"Range"_s, Qt::CaseInsensitive) == 0;
        }
    }
    EXPECT_GE(ranges, 1) << server->requests().dump(1);
    ASSERT_TRUE(preloadEnded());
}

INSTANTIATE_TEST_SUITE_P(BothGenerations, RealPlayer,
                         ::testing::Values(Generation::Api11, Generation::Today),
                         [](const ::testing::TestParamInfo<Generation>& info) {
                             return info.param == Generation::Today ? "Today" : "Api11";
                         });

} // namespace
