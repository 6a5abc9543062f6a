// A Wayland session without a tray (weston's headless backend, started by
// in-wayland-session.sh): the installed program is a native Wayland client whose window the
// compositor maps, and the real window refreshes its list and opens the tray's menu from its
// own button there, driven by clicks.
#include "connected_window.h"
#include "installed_user.h"

#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSystemTrayIcon>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// What the compositor and the program said to each other, from libwayland's own trace of the
// client's side (WAYLAND_DEBUG=client): requests are marked " -> ", events are not.
struct WaylandTrace {
    QString text;

    // The object of the xdg_toplevel that got `request`, e.g. xdg_toplevel@21; empty if none.
    QString toplevelWith(const QString& request) const {
        const QRegularExpression line(u"-> (xdg_toplevel@\\d+)\\."_s +
                                      QRegularExpression::escape(request));
        const QRegularExpressionMatch found = line.match(text);
        return found.hasMatch() ? found.captured(1) : QString();
    }
    bool has(const QString& pattern) const {
        return QRegularExpression(pattern).match(text).hasMatch();
    }
    // The largest buffer the program made for drawing, width times height.
    QSize largestBuffer() const {
        QSize largest;
        auto buffers =
            QRegularExpression(u"-> wl_shm_pool@\\d+\\.create_buffer\\(new id wl_buffer@\\d+, "
                               u"\\d+, (\\d+), (\\d+),"_s)
                .globalMatch(text);
        while (buffers.hasNext()) {
            const QRegularExpressionMatch buffer = buffers.next();
            const QSize size(buffer.captured(1).toInt(), buffer.captured(2).toInt());
            if (size.width() * size.height() > largest.width() * largest.height()) {
                largest = size;
            }
        }
        return largest;
    }
};

TEST(WaylandSession, InstalledProgramIsAWaylandClientWhoseWindowIsMapped) {
    ASSERT_EQ(qEnvironmentVariable("QT_QPA_PLATFORM"), u"wayland"_s);
    qb::test::InstalledUser user;
    qb::testing::TorrServerStandin server;
    qb::testing::ServiceStandin service;
    ASSERT_TRUE(user.isValid());
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_TRUE(user.writeSettings(server.baseUrl(), service.baseUrl()));

    QProcess program;
    QProcessEnvironment environment = user.environment();
    environment.insert(u"WAYLAND_DEBUG"_s, u"client"_s);
    program.setProcessEnvironment(environment);
    WaylandTrace trace;
    QObject::connect(&program, &QProcess::readyReadStandardError, &program,
                     [&] { trace.text += QString::fromUtf8(program.readAllStandardError()); });
    program.start(qb::test::InstalledUser::executable(), {});

    // The window is mapped once the compositor has configured its toplevel, the program has
    // acknowledged that and committed a drawn buffer of the window's size.
    QString toplevel;
    ASSERT_TRUE(qb::test::waitUntil([&] {
        toplevel = trace.toplevelWith(u"set_title(\"Quillbrook FHD v1.8.4\")"_s);
        return !toplevel.isEmpty() && trace.has(u"-> xdg_surface@\\d+\\.ack_configure"_s) &&
               trace.largestBuffer().width() >= 1264 && trace.largestBuffer().height() >= 561 &&
               trace.has(u"-> wl_surface@\\d+\\.attach\\(wl_buffer"_s);
    })) << trace.text.right(4000).toStdString();
    // The desktop finds the program's entry and icon by the window's application id.
    EXPECT_TRUE(
        trace.has(QRegularExpression::escape(toplevel) + u"\\.set_app_id\\(\"quillbrook\"\\)"_s));
    EXPECT_TRUE(trace.has(QRegularExpression::escape(toplevel) + u"\\.configure\\("_s));
    // Its start-up refresh reached the server.
    EXPECT_TRUE(qb::test::waitUntil([&] { return server.requestsTo("/torrent/list") > 0; }));

    program.terminate();
    ASSERT_TRUE(program.waitForFinished(15000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

// The real window in this test program, itself a client of the session.
class WaylandWindow : public qb::test::ConnectedWindow {
protected:
    void SetUp() override {
        ConnectedWindow::SetUp();
        ASSERT_EQ(QGuiApplication::platformName(), u"wayland"_s);
        // The session's own answer, as the program's platform gives it.
        startWindow(QSystemTrayIcon::isSystemTrayAvailable(),
                    {"magnet:?xt=urn:btih:" + std::string(40, 'a') + "&dn=First"});
    }
};

TEST_F(WaylandWindow, ConnectButtonRefreshesTheList) {
    ASSERT_EQ(form->TorrentList->count(), 1);
    ASSERT_TRUE(server.addMagnet("magnet:?xt=urn:btih:" + std::string(40, 'b') + "&dn=Second") !=
                "");
    const int lists = server.requestsTo("/torrent/list");

    QTest::mouseClick(form->ConnectButton, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([this] { return form->TorrentList->count() == 2; }));
    EXPECT_GT(server.requestsTo("/torrent/list"), lists);
    EXPECT_EQ(form->status->text(), u"Сервер ОК"_s);
}

TEST_F(WaylandWindow, TrayMenuOpensFromTheWindowWhereTheSessionHasNoTray) {
    ASSERT_FALSE(system->tray) << "this session has no tray";
    ASSERT_TRUE(form->TrayMenuButton != nullptr && form->TrayMenuButton->isVisible());
    const QString target = appDir() + u"list.txt"_s;
    dialogs->answerNext(target);

    QTest::mouseClick(form->TrayMenuButton, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([this] { return form->TrayMenu->isVisible(); }));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->TrayMenu));
    ASSERT_EQ(form->N24->text(), u"Сохранить список торрентов в файл"_s);
    QTest::mouseClick(form->TrayMenu, Qt::LeftButton, {},
                      form->TrayMenu->actionGeometry(form->N24).center());

    ASSERT_TRUE(waitUntil([&] { return QFile::exists(target); }));
    QFile saved(target);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray hash = "urn:btih:" + QByteArray(40, 'a');
    EXPECT_TRUE(saved.readAll().contains(hash));
}

} // namespace
