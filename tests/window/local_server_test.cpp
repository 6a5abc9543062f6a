// The local-server switch with a real TorrServer (the stand-in, under the release name) in the
// program's server folder: started by the switch, stopped by name.
#include "window_fixture.h"

#include "app/app_core.h"
#include "connection/connection.h"
#include "platform/local_server.h"
#include "platform/proc_processes.h"
#include "service_standin.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

using namespace Qt::Literals::StringLiterals;

namespace {

class LocalServer : public qb::test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        QDir(dir.path()).mkdir(u"server"_s);
        ASSERT_TRUE(QFile::copy(QStringLiteral(QB_TORRSERVER_STANDIN), serverExecutable()));
        writeSettings(u"http://127.0.0.1:1"_s, u"0"_s, QString::fromStdString(service.baseUrl()));
        qb::test::FakePlatform fakes = qb::test::makeFakePlatform(appDir(), {}, true);
        processes = fakes.processes;
        form = std::make_unique<TForm1>(std::move(fakes.platform));
        ASSERT_TRUE(form->core().FormCreate());
    }

    void TearDown() override {
        // Whatever happened, no server of this test outlives it.
        for (const auto& entry : system.list()) {
            if (entry.executableName == qb::platform::localServerExecutableName()) {
                system.terminate(entry.pid);
            }
        }
    }

    QString serverExecutable() const {
        return appDir() + u"server/"_s + qb::platform::localServerExecutableName();
    }

    // Counted from the system itself, independently of any window's platform.
    int localServers() {
        int count = 0;
        for (const auto& entry : system.list()) {
            count += entry.executableName == qb::platform::localServerExecutableName() ? 1 : 0;
        }
        return count;
    }

    // The refresh right after a start may come before the server listens; the user refreshes
    // again, as the test does.
    bool connectedAfterRefreshes() {
        return waitUntil([this] {
            form->connection().ConnectButtonClick();
            return form->status->text() == u"Сервер ОК"_s;
        });
    }

    qb::testing::ServiceStandin service;
    qb::platform::ProcProcesses system;
};

TEST_F(LocalServer, SwitchStartsTheServerFolderProgramAndStopsItByName) {
    form->UpdateList1->addItem(u"Old^1111"_s);
    form->Local1->setChecked(true);

    EXPECT_EQ(form->UpdateList1->count(), 0);
    EXPECT_EQ(form->SrvAdress->text(), u"http://127.0.0.1:8090"_s);
    ASSERT_EQ(processes->starts.size(), 1u);
    EXPECT_EQ(processes->starts[0].arguments, QStringList({u"--path"_s, appDir() + u"server"_s}));
    ASSERT_TRUE(connectedAfterRefreshes());
    EXPECT_EQ(localServers(), 1);

    form->Local1->setChecked(false);
    EXPECT_TRUE(waitUntil([this] { return localServers() == 0; }));
    EXPECT_EQ(form->SrvAdress->text(), u"http://127.0.0.1:1"_s);
    EXPECT_TRUE(form->SrvAdress->isEnabled());
    EXPECT_EQ(form->status->text(), u"Сервер не отвечает"_s);
}

TEST_F(LocalServer, ExitStopsTheServerUnlessItIsToBeKept) {
    form->Local1->setChecked(true);
    ASSERT_TRUE(connectedAfterRefreshes());
    form->core().setKeepLocalServerForTest(u"1"_s);
    form->core().FormDestroy();
    EXPECT_EQ(localServers(), 1);

    // A second window that does not keep it stops it at its exit.
    form.reset();
    qb::test::FakePlatform fakes = qb::test::makeFakePlatform(appDir(), {}, true);
    processes = nullptr; // the second window's fakes go with it
    auto second = std::make_unique<TForm1>(std::move(fakes.platform));
    second->core().setKeepLocalServerForTest(u"0"_s);
    second.reset();
    EXPECT_TRUE(waitUntil([this] { return localServers() == 0; }));
}

} // namespace
