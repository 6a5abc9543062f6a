// The real program, twice: a second copy hands its argument to the running copy, which adds it
// to the stand-in TorrServer.
#include "service_standin.h"
#include "standin_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

bool waitUntil(const std::function<bool()>& done, int limitMs = 30000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
    return true;
}

// The client in a program folder of its own, pointed at the stand-ins.
class ClientHandOff : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program.isValid() && runtime.isValid());
        QFile::setPermissions(runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ASSERT_TRUE(server.start()) << server.error();
        const QString executable = program.filePath(u"quillbrook"_s);
        ASSERT_TRUE(QFile::copy(QStringLiteral(QB_CLIENT_BINARY), executable));
        QDir(program.path()).mkdir(u"server"_s);
        QFile settings(program.filePath(u"app.json"_s));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write(("[{\"LocalServer\":\"0\",\"Server\":\"" + server.baseUrl() +
                        "\",\"Tor\":\"" + service.baseUrl() + "\",\"KeepLocalServer\":\"1\"}]")
                           .c_str());
        settings.close();

        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        environment.insert(u"QTWEBENGINE_DISABLE_SANDBOX"_s, u"1"_s);
        environment.insert(u"QTWEBENGINE_CHROMIUM_FLAGS"_s, u"--disable-gpu --no-sandbox"_s);
        environment.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());

        first.setProcessEnvironment(environment);
        first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        first.start(executable, {});
        ASSERT_TRUE(first.waitForStarted());
        // The first copy is up once its start-up refresh has reached the server.
        ASSERT_TRUE(waitUntil([this] { return server.requestsTo("/torrent/list") > 0; }));
        ASSERT_TRUE(waitUntil([this] {
            return QDir(runtime.path()).entryList(QDir::System | QDir::Files).size() >= 2;
        }));
    }

    void TearDown() override {
        first.kill();
        first.waitForFinished();
    }

    // Starts a second copy with `argument` and waits for it to end without a window.
    void handOver(const QString& argument) {
        QProcess second;
        second.setProcessEnvironment(environment);
        second.start(program.filePath(u"quillbrook"_s), {argument});
        ASSERT_TRUE(second.waitForFinished(20000));
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), 0);
    }

    QTemporaryDir program;
    QTemporaryDir runtime;
    qb::testing::TorrServerStandin server;
    qb::testing::ServiceStandin service;
    QProcessEnvironment environment;
    QProcess first;
};

TEST_F(ClientHandOff, MagnetLinkOfASecondCopyIsAddedByTheRunningCopy) {
    const std::string magnet =
        "magnet:?xt=urn:btih:3333333333333333333333333333333333333333&dn=Handed";
    handOver(u"no link at all"_s); // sends nothing
    handOver(QString::fromStdString(magnet));

    ASSERT_TRUE(waitUntil([this] { return server.requestsTo("/torrent/add") == 1; }));
    const nlohmann::json add = server.lastRequestTo("/torrent/add");
    EXPECT_EQ(add["body"], "{\"link\": \"" + magnet + "\"}");
    EXPECT_EQ(add["method"], "POST");
    EXPECT_EQ(server.requestsTo("/torrent/upload"), 0);
    // The running copy refreshes its list after adding.
    const int lists = server.requestsTo("/torrent/list");
    EXPECT_TRUE(waitUntil([&] { return server.requestsTo("/torrent/list") > lists; }));
}

TEST_F(ClientHandOff, TorrentFileOfASecondCopyIsUploaded) {
    const std::string torrent = qb::testing::TorrServerStandin::makeTorrentFile(
        program.path().toStdString(), "clip.mkv", 70000);
    ASSERT_FALSE(torrent.empty());
    handOver(QString::fromStdString(torrent));

    ASSERT_TRUE(waitUntil([this] { return server.requestsTo("/torrent/upload") == 1; }));
    EXPECT_EQ(server.requestsTo("/torrent/add"), 0);
    // The server parsed the uploaded file: it now holds the torrent of clip.mkv.
    auto list = server.client().Post("/torrent/list", "", "application/json");
    ASSERT_TRUE(list);
    EXPECT_NE(list->body.find("\"Name\":\"clip.mkv\""), std::string::npos) << list->body;
}

} // namespace
