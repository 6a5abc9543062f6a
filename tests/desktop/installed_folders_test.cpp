// The real window of an installed program: its settings, release pages, local server and
// playlist in the user's folders, and nothing in a program folder.
#include "window_fixture.h"

#include "app/app_core.h"
#include "platform/folders/folder_setup.h"
#include "platform/local_server.h"
#include "playback/playback.h"
#include "service_standin.h"
#include "standin_fixture.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::test::toQ;

const char kFilm[] =
    "magnet:?xt=urn:btih:6E38DD076E2E61C511669A7B3628C2DE7111A92D&dn=id_1A2B3&tr=udp%3A%2F%2Fx";

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The window with the folders an installed program finds in a user's home folder. The
// fixture's own program folder (appDir()) is there to show that nothing lands in one.
class InstalledFolders : public qb::test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(home.isValid());
        folders = {home.path() + u"/.config/quillbrook/"_s,
                   home.path() + u"/.local/share/quillbrook/"_s,
                   home.path() + u"/.cache/quillbrook/"_s};
        ASSERT_TRUE(qb::platform::makeUserFolders(folders));
    }

    void writeUserSettings(const QString& server, const QString& service) {
        QFile file(folders.settings + u"app.json"_s);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write((u"[{\"LocalServer\":\"0\",\"Server\":\""_s + server + u"\",\"Tor\":\""_s +
                    service + u"\",\"KeepLocalServer\":\"1\"}]"_s)
                       .toUtf8());
    }

    TForm1& makeInstalledWindow() {
        qb::test::FakePlatform fakes = qb::test::makeFakePlatform(folders.data);
        fakes.platform.userFolders = folders;
        messages = fakes.messages;
        dialogs = fakes.dialogs;
        processes = fakes.processes;
        system = fakes.system;
        form = std::make_unique<TForm1>(std::move(fakes.platform));
        return *form;
    }

    QTemporaryDir home;
    qb::platform::UserFolders folders;
};

TEST_F(InstalledFolders, SettingsAndReleasePagesLiveInTheUserFolders) {
    qb::testing::TorrServerStandin server;
    qb::testing::ServiceStandin service;
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_FALSE(server.addMagnet(kFilm).empty());
    writeUserSettings(toQ(server.baseUrl()), toQ(service.baseUrl()));

    ASSERT_TRUE(makeInstalledWindow().core().FormCreate());
    EXPECT_EQ(form->SrvAdress->text(), toQ(server.baseUrl()));
    form->core().skipFirstShowCheckForTest();
    form->show();
    ASSERT_EQ(form->TorrentList->count(), 1);
    const QRect row = form->TorrentList->visualItemRect(form->TorrentList->item(0));
    QTest::mouseClick(form->TorrentList->viewport(), Qt::LeftButton, {}, row.center());
    const QString page = folders.cache + u"107187.html"_s;
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(page); }));
    EXPECT_TRUE(QString::fromUtf8(fileBytes(page)).contains(u"Северное сияние"_s));

    form->close();
    EXPECT_TRUE(fileBytes(folders.settings + u"app.json"_s)
                    .startsWith("[{\"Title\":\"Quillbrook FHD v1.8.4\",\"LocalServer\":\"0\""));
    EXPECT_TRUE(QDir(appDir()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

TEST_F(InstalledFolders, LocalServerAndPlaylistLiveInTheDataFolder) {
    qb::testing::ServiceStandin service;
    writeUserSettings(u"http://127.0.0.1:1"_s, toQ(service.baseUrl()));
    ASSERT_TRUE(makeInstalledWindow().core().FormCreate());

    EXPECT_EQ(form->playback().PlayerPlaylist(), folders.data + u"server/tmp.m3u"_s);
    form->Local1->setChecked(true);
    ASSERT_EQ(processes->starts.size(), 1u);
    EXPECT_EQ(processes->starts[0].program,
              folders.data + u"server/"_s + qb::platform::localServerExecutableName());
    EXPECT_EQ(processes->starts[0].arguments,
              QStringList({u"--path"_s, folders.data + u"server"_s}));
    EXPECT_TRUE(QDir(appDir()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

} // namespace
