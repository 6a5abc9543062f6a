// Start-up: the version fetch and the update offer, the choice of server, the first show.
#include "window_fixture.h"

#include "app/app_core.h"
#include "connection/connection.h"
#include "releaseinfo/release_info.h"
#include "service_standin.h"

#include <QCheckBox>
#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpSocket>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::platform::MessageButtons;
using qb::platform::MessageIcon;
using qb::test::WindowTest;

using qb::test::toQ;

// Some start-up paths use the fixed local addresses (the local server on 8090, the built-in
// service on 8091); a program of the machine's own listening there would answer instead.
bool somethingListensOn(quint16 port) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(300);
}

class StartUp : public WindowTest {};

TEST_F(StartUp, ServiceThatDoesNotAnswerEndsTheStart) {
    // Nothing listens on a port that a stand-in has just given up.
    QString deadService;
    {
        qb::testing::ServiceStandin service;
        deadService = toQ(service.baseUrl());
    }
    writeSettings(u"127.0.0.1:1"_s, u"0"_s, deadService);
    const QByteArray before = settingsBytes();
    TForm1& window = makeWindow();

    EXPECT_FALSE(window.core().FormCreate());
    ASSERT_EQ(messages->calls.size(), 1u);
    EXPECT_EQ(messages->calls[0].text,
              u"Сервер вовремя не ответил на запрос\rПопробуйте повторить попытку позже"_s);
    EXPECT_EQ(messages->calls[0].title, u"Нет соединения"_s);
    EXPECT_EQ(messages->calls[0].icon, MessageIcon::Error);
    EXPECT_EQ(settingsBytes(), before); // the settings file is not rewritten
}

struct OfferCase {
    const char* remote;
    bool asked;
};

class UpdateOffer : public WindowTest, public ::testing::WithParamInterface<OfferCase> {};

TEST_P(UpdateOffer, IsMadeOnlyForAHigherVersionText) {
    qb::testing::ServiceStandin service({"--version", GetParam().remote});
    writeSettings(u"127.0.0.1:1"_s, u"0"_s, toQ(service.baseUrl()));
    TForm1& window = makeWindow();
    messages->answerNext(u"Да"_s);

    ASSERT_TRUE(window.core().FormCreate());
    const auto question =
        std::find_if(messages->calls.begin(), messages->calls.end(),
                     [](const auto& call) { return call.title == u"Обновление"_s; });
    EXPECT_EQ(question != messages->calls.end(), GetParam().asked);
    if (GetParam().asked) {
        const QString remote = QString::fromLatin1(GetParam().remote);
        EXPECT_EQ(question->text, u"На сервере имеется новая версия "_s + remote +
                                      u"\rХотите скачать обновление?"_s);
        EXPECT_EQ(question->icon, MessageIcon::Question);
        EXPECT_EQ(question->buttons, MessageButtons::YesNo);
        EXPECT_EQ(window.WebBrowser1->page()->requestedUrl().toString(),
                  u"http://127.0.0.1:8091/ts/Quillbrook_x86_v"_s + remote + u".zip"_s);
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, UpdateOffer,
                         ::testing::Values(OfferCase{"1.8.5", true}, OfferCase{"1.8.4", false},
                                           OfferCase{"1.9", true}, OfferCase{"1.10", false},
                                           OfferCase{"10.0.0", false}),
                         [](const auto& info) {
                             QString name = QString::fromLatin1(info.param.remote);
                             return u"v"_s.append(name.replace(u'.', u'_')).toStdString();
                         });

TEST_F(StartUp, RemoteServerIsConnectedBeforeTheWindowShows) {
    qb::testing::ServiceStandin service;
    writeSettings(u"127.0.0.1:1"_s, u"0"_s, toQ(service.baseUrl()));
    TForm1& window = makeWindow();

    ASSERT_TRUE(window.core().FormCreate());
    EXPECT_EQ(window.windowTitle(), u"Quillbrook FHD v1.8.4"_s);
    EXPECT_FALSE(window.Local1->isChecked());
    EXPECT_EQ(window.SrvAdress->text(), u"127.0.0.1:1"_s);
    // An address without a scheme is used as typed; nothing answers there.
    EXPECT_EQ(window.status->text(), u"Сервер не отвечает"_s);
    EXPECT_TRUE(processes->starts.empty());
}

// The web engine is started early with an empty page, during the first refresh's hold; that
// early start must never take the place of a page the window has asked for.
TEST_F(StartUp, ViewShowsTheIdlePageWhicheverStartsFirst) {
    qb::testing::ServiceStandin service;
    writeSettings(u"127.0.0.1:1"_s, u"0"_s, toQ(service.baseUrl()));
    const QString idlePage = toQ(service.baseUrl()) + u"/abt.need"_s;
    for (const bool pageFirst : {false, true}) {
        SCOPED_TRACE(pageFirst ? "idle page asked for before the early start" : "normal start");
        TForm1& window = makeWindow();
        if (pageFirst) {
            window.core().setServiceBaseUrlForTest(toQ(service.baseUrl()));
            window.connection().ShowIdlePage();
            window.releaseInfo().warmUpInfoView();
        } else {
            ASSERT_TRUE(window.core().FormCreate());
        }
        EXPECT_EQ(window.WebBrowser1->page()->requestedUrl().toString(), idlePage);
        ASSERT_TRUE(waitUntil([&window] {
            return window.WebBrowser1->url().isValid() && !window.WebBrowser1->page()->isLoading();
        }));
        EXPECT_EQ(window.WebBrowser1->url().toString(), idlePage);
    }
}

TEST_F(StartUp, LocalServerThatDoesNotAnswerIsStartedFromTheServerFolder) {
    if (somethingListensOn(8090)) {
        GTEST_SKIP() << "a server of this machine listens on 127.0.0.1:8090";
    }
    qb::testing::ServiceStandin service;
    writeSettings(u"http://remote.example:8090"_s, u"1"_s, toQ(service.baseUrl()));
    TForm1& window = makeWindow();

    ASSERT_TRUE(window.core().FormCreate());
    EXPECT_TRUE(window.Local1->isChecked());
    EXPECT_EQ(window.SrvAdress->text(), u"http://127.0.0.1:8090"_s);
    // Nothing was really started, so the refresh failed, which gives the field back.
    EXPECT_EQ(window.status->text(), u"Сервер не отвечает"_s);
    EXPECT_TRUE(window.SrvAdress->isEnabled());
    ASSERT_EQ(processes->starts.size(), 1u);
    EXPECT_EQ(processes->starts[0].program, appDir() + u"server/TorrServer-linux-amd64"_s);
    EXPECT_EQ(processes->starts[0].arguments, QStringList({u"--path"_s, appDir() + u"server"_s}));
}

TEST_F(StartUp, ArgumentWaitsForTheFirstActivation) {
    qb::testing::ServiceStandin service;
    writeSettings(u"127.0.0.1:1"_s, u"0"_s, toQ(service.baseUrl()));
    TForm1& window = makeWindow(u"magnet:?xt=urn:btih:abc"_s);

    ASSERT_TRUE(window.core().FormCreate());
    EXPECT_EQ(window.core().pendingHandOff(), u"magnet:?xt=urn:btih:abc"_s);
    window.core().ApplicationEvents1Deactivate();
    EXPECT_EQ(window.core().pendingHandOff(), u"insmag"_s);
}

TEST_F(StartUp, MissingSettingsFileIsWrittenWithDefaultsBeforeTheVersionFetch) {
    if (somethingListensOn(8091)) {
        GTEST_SKIP() << "a service of this machine listens on 127.0.0.1:8091";
    }
    TForm1& window = makeWindow();
    // With the built-in service address nothing answers in a test: the start ends there, after
    // the default file has been written.
    EXPECT_FALSE(window.core().FormCreate());
    EXPECT_EQ(settingsBytes(),
              QByteArray("[{\"Title\":\"\",\"LocalServer\":\"1\",\"Server\":\"127.0.0.1:8090\","
                         "\"Player\":\"\",\"Info\":\"quillbrook\","
                         "\"4zir\":\"https://quillbrook.example/\",\"Minimize\":\"0\","
                         "\"Tor\":\"http://127.0.0.1:8091\",\"KeepLocalServer\":\"0\"}]"));
}

TEST_F(StartUp, ClosingTheWindowSavesTheCleanedAddress) {
    qb::testing::ServiceStandin service;
    writeSettings(u"127.0.0.1:1"_s, u"0"_s, toQ(service.baseUrl()));
    TForm1& window = makeWindow();
    ASSERT_TRUE(window.core().FormCreate());
    window.show();
    window.SrvAdress->setText(u"  http://10.0.0.5:8090/ "_s);
    const QByteArray before = settingsBytes();

    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible());
    EXPECT_NE(settingsBytes(), before);
    EXPECT_EQ(window.SrvAdress->text(), u"http://10.0.0.5:8090"_s);
    EXPECT_TRUE(
        settingsBytes().contains("\"LocalServer\":\"0\",\"Server\":\"http://10.0.0.5:8090\""));
    EXPECT_TRUE(settingsBytes().contains("\"Title\":\"Quillbrook FHD v1.8.4\""));
}

} // namespace
