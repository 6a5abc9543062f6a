// The desktop's link handlers, through xdg-utils as a desktop without a desktop environment
// runs them: the package's desktop entry is the default for magnet links and .torrent files,
// and xdg-open hands each to the running installed program, which adds it to the stand-in
// TorrServer. Runs inside a Wayland session (in-wayland-session.sh), so xdg-open sees a display.
#include "installed_user.h"
#include "service_standin.h"
#include "standin_fixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::test::InstalledUser;
using qb::test::waitUntil;

// What xdg-open and xdg-mime see: the package's files among the system's data folders, the
// system's MIME database, and no one else's defaults.
class LinkHandlers : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(user.isValid() && isolated.isValid() && files.isValid());
        ASSERT_TRUE(
            QFile::exists(InstalledUser::root() + u"/usr/share/applications/mimeinfo.cache"_s))
            << "stage-package-files.sh makes the desktop database, as the system's trigger does";
        ASSERT_TRUE(QDir(isolated.path()).mkpath(u"share"_s) &&
                    QDir(isolated.path()).mkpath(u"config"_s));
        ASSERT_TRUE(QFile::link(u"/usr/share/mime"_s, isolated.filePath(u"share/mime"_s)));

        environment = user.environment();
        environment.insert(u"XDG_DATA_DIRS"_s, InstalledUser::root() + u"/usr/share:"_s +
                                                   isolated.filePath(u"share"_s));
        environment.insert(u"XDG_CONFIG_DIRS"_s, isolated.filePath(u"config"_s));
        environment.insert(u"PATH"_s,
                           InstalledUser::root() + u"/usr/bin:"_s + environment.value(u"PATH"_s));
        // xdg-utils' own lookups, not a desktop environment's or a browser's.
        for (const QString& name :
             {u"XDG_CURRENT_DESKTOP"_s, u"DESKTOP_SESSION"_s, u"KDE_FULL_SESSION"_s,
              u"GNOME_DESKTOP_SESSION_ID"_s, u"BROWSER"_s, u"DBUS_SESSION_BUS_ADDRESS"_s}) {
            environment.remove(name);
        }
        ASSERT_TRUE(environment.contains(u"WAYLAND_DISPLAY"_s)) << "run in a Wayland session";
    }

    // Runs an xdg-utils command to its end; answers its output.
    QString run(const QString& program, const QStringList& arguments) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString();
        EXPECT_EQ(process.exitCode(), 0)
            << program.toStdString() << ": " << process.readAllStandardError().toStdString();
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    // The installed program, running and connected to the stand-ins.
    void startRunningCopy() {
        ASSERT_TRUE(server.start()) << server.error();
        ASSERT_TRUE(user.writeSettings(server.baseUrl(), service.baseUrl()));
        running.setProcessEnvironment(environment);
        running.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        running.start(InstalledUser::executable(), {});
        ASSERT_TRUE(waitUntil([this] { return server.requestsTo("/torrent/list") > 0; }));
    }

    void TearDown() override {
        if (running.state() != QProcess::NotRunning) {
            running.terminate();
            if (!running.waitForFinished(10000)) {
                running.kill();
                running.waitForFinished();
            }
        }
    }

    InstalledUser user;
    QTemporaryDir isolated;
    QTemporaryDir files;
    QProcessEnvironment environment;
    qb::testing::TorrServerStandin server;
    qb::testing::ServiceStandin service;
    QProcess running;
};

TEST_F(LinkHandlers, PackageEntryIsTheDefaultForMagnetLinksAndTorrentFiles) {
    EXPECT_EQ(run(u"xdg-mime"_s, {u"query"_s, u"default"_s, u"x-scheme-handler/magnet"_s}),
              u"quillbrook.desktop"_s);
    EXPECT_EQ(run(u"xdg-mime"_s, {u"query"_s, u"default"_s, u"application/x-bittorrent"_s}),
              u"quillbrook.desktop"_s);
}

TEST_F(LinkHandlers, OpenedMagnetLinkIsAddedByTheRunningCopy) {
    startRunningCopy();
    const std::string magnet =
        "magnet:?xt=urn:btih:4444444444444444444444444444444444444444&dn=Opened&tr=udp://t:1";
    run(u"xdg-open"_s, {QString::fromStdString(magnet)});

    ASSERT_TRUE(waitUntil([this] { return server.requestsTo("/torrent/add") == 1; }));
    EXPECT_EQ(server.lastRequestTo("/torrent/add")["body"], "{\"link\": \"" + magnet + "\"}");
    EXPECT_EQ(running.state(), QProcess::Running); // the copy xdg-open started has handed over
}

TEST_F(LinkHandlers, OpenedTorrentFileIsUploadedByTheRunningCopy) {
    const std::string torrent = qb::testing::TorrServerStandin::makeTorrentFile(
        files.path().toStdString(), "film.mkv", 90000);
    ASSERT_FALSE(torrent.empty());
    EXPECT_EQ(run(u"xdg-mime"_s, {u"query"_s, u"filetype"_s, QString::fromStdString(torrent)}),
              u"application/x-bittorrent"_s);
    startRunningCopy();
    run(u"xdg-open"_s, {QString::fromStdString(torrent)});

    ASSERT_TRUE(waitUntil([this] { return server.requestsTo("/torrent/upload") == 1; }));
    EXPECT_EQ(server.requestsTo("/torrent/add"), 0);
    auto list = server.client().Post("/torrent/list", "", "application/json");
    ASSERT_TRUE(list);
    EXPECT_NE(list->body.find("\"Name\":\"film.mkv\""), std::string::npos) << list->body;
}

} // namespace
