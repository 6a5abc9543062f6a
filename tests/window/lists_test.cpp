// Saving the server's list as a magnet-list file and bringing such a file back, adding to the
// torrents on the server or replacing them, against the stand-in TorrServer.
#include "window_fixture.h"

#include "app/app_core.h"
#include "connection/connection.h"
#include "service_standin.h"
#include "standin_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::platform::MessageIcon;
using qb::testing::ServiceStandin;
using qb::testing::TorrServerStandin;

using qb::test::toQ;

const std::string kHashA = "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa";
const std::string kHashB = "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb";
const std::string kHashC = "cccccccccccccccccccccccccccccccccccccccc";
const std::string kHashD = "dddddddddddddddddddddddddddddddddddddddd";

std::string magnet(const std::string& hash, const std::string& name) {
    return "magnet:?xt=urn:btih:" + hash + "&dn=" + name + "&tr=http%3A%2F%2Fbt.example%2Fann";
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class Lists : public qb::test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(server.start()) << server.error();
        writeSettings(toQ(server.baseUrl()), u"0"_s, toQ(service.baseUrl()));
        makeWindow();
        system->tray = false; // the tray menu then opens from the window
        ASSERT_TRUE(form->core().FormCreate());
        form->core().skipFirstShowCheckForTest(); // the series check has tests of its own
        form->show();
    }

    // Adds a torrent as the client does, with a poster in its Info when one is given.
    void addTorrent(const std::string& link, const std::string& poster = {}) {
        nlohmann::json body = {{"link", link}};
        if (!poster.empty()) {
            body["Info"] = nlohmann::json({{"poster_path", poster}}).dump();
        }
        const auto answer = server.client().Post("/torrent/add", body.dump(), "application/json");
        ASSERT_TRUE(answer && answer->status == 200);
    }

    void refresh() {
        QTest::mouseClick(form->ConnectButton, Qt::LeftButton);
        ASSERT_EQ(form->status->text(), u"Сервер ОК"_s);
    }

    // Opens the tray menu the way a user without a tray does, and clicks one of its items.
    void chooseFromTrayMenu(QAction* item, bool fromButton = true) {
        ASSERT_TRUE(form->TrayMenuButton != nullptr && form->TrayMenuButton->isVisible());
        if (fromButton) {
            QTest::mouseClick(form->TrayMenuButton, Qt::LeftButton);
        } else {
            QTest::mouseClick(form->status, Qt::RightButton);
        }
        ASSERT_TRUE(waitUntil([this] { return form->TrayMenu->isVisible(); }));
        QTest::mouseClick(form->TrayMenu, Qt::LeftButton, {},
                          form->TrayMenu->actionGeometry(item).center());
    }

    std::vector<std::string> bodiesTo(const std::string& path) {
        std::vector<std::string> bodies;
        for (const auto& request : server.requests()) {
            if (request["path"] == path) {
                bodies.push_back(request["body"]);
            }
        }
        return bodies;
    }

    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = appDir() + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QString exportedFile() {
        const QString path = appDir() + u"list.txt"_s;
        dialogs->answerNext(path);
        chooseFromTrayMenu(form->N24, false);
        return path;
    }

    const qb::test::MessageCall& lastMessage() const { return messages->calls.back(); }

    TorrServerStandin server;
    ServiceStandin service;
};

TEST_F(Lists, ExportWritesTheListAndTheAddImportBringsItBack) {
    addTorrent(magnet(kHashA, "Alpha"), "http://127.0.0.1:8091/img/a.jpg");
    addTorrent(magnet(kHashB, "Beta%20Two"));
    addTorrent(magnet(kHashC, "Gamma"), "http://127.0.0.1:8091/img/c.jpg");
    refresh();
    ASSERT_EQ(form->TorrentList->count(), 3);

    const QString path = exportedFile();
    ASSERT_FALSE(dialogs->calls.empty());
    EXPECT_EQ(dialogs->calls.back().kind, qb::test::FileDialogCall::Kind::Save);
    EXPECT_EQ(dialogs->calls.back().filter, u"Текстовый файл (*.txt)"_s);
    EXPECT_EQ(dialogs->calls.back().presetName, QString());
    EXPECT_EQ(lastMessage().text,
              u"Произведен экспорт с сервера\rСписок сохранен в файле \"list.txt\""_s);
    EXPECT_EQ(lastMessage().title, u"Результат"_s);
    EXPECT_EQ(lastMessage().icon, MessageIcon::Information);

    const QByteArray bytes = fileBytes(path);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(u"\r\n"_s);
    ASSERT_EQ(lines.size(), 7); // six lines, each ended by CR LF
    for (int k = 0; k < 3; ++k) {
        const QString row = form->TorrentList->item(k)->text();
        EXPECT_TRUE(row.startsWith(lines[2 * k].mid(3) + u" - Размер: "_s)) << row.toStdString();
        EXPECT_TRUE(lines[2 * k + 1].startsWith(u"magnet:?xt=urn:btih:"_s));
    }
    EXPECT_TRUE(lines.contains(
        toQ(magnet(kHashA, "Alpha")).replace(u"%3A%2F%2F"_s, u"://"_s).replace(u"%2F"_s, u"/"_s) +
        u"&as=http://127.0.0.1:8091/img/a.jpg"_s));
    EXPECT_TRUE(lines.contains(u":: Beta Two"_s));
    EXPECT_TRUE(lines.contains(u"magnet:?xt=urn:btih:"_s + toQ(kHashB) +
                               u"&dn=Beta Two&tr=http://bt.example/ann"_s));

    // The server loses its torrents; the add import brings them back with their posters.
    for (const auto& hash : {kHashA, kHashB, kHashC}) {
        server.client().Post("/torrent/rem", "{\"hash\":\"" + hash + "\"}", "application/json");
    }
    refresh();
    ASSERT_EQ(form->TorrentList->count(), 0);
    server.clearRequests();
    int gaugeMaximum = -1;
    bool gaugeHidden = false;
    messages->onShow = [&](const qb::test::MessageCall&) {
        gaugeMaximum = form->Gauge1->maximum();
        gaugeHidden = !form->Gauge1->isVisible();
    };
    dialogs->answerNext(path);
    chooseFromTrayMenu(form->N25);

    EXPECT_EQ(gaugeMaximum, 3);
    EXPECT_TRUE(gaugeHidden);
    EXPECT_EQ(lastMessage().text, u"Импорт пользовательского списка завершен"_s);
    EXPECT_EQ(lastMessage().title, u"Результат"_s);
    std::vector<std::string> expected;
    for (int k = 0; k < 3; ++k) {
        const QString line = lines[2 * k + 1];
        const qsizetype as = line.indexOf(u"&as="_s);
        std::string body = "{\"link\":\"" + line.toStdString() + "\"";
        if (as >= 0) {
            body += ",\"Info\":\"{\\\"poster_path\\\":\\\"" + line.mid(as + 4).toStdString() +
                    "\\\"}\"";
        }
        expected.push_back(body + "}");
    }
    EXPECT_EQ(bodiesTo("/torrent/add"), expected);
    EXPECT_EQ(form->TorrentList->count(), 3);
    EXPECT_EQ(form->LogP->text(), u"Всего торрентов: на сервере - 3, в поиске - 0"_s);
    EXPECT_TRUE(form->Label2->text().isEmpty());
    EXPECT_TRUE(form->Memo2->toPlainText().isEmpty());

    // Exported again, the list holds the same posters: they went into the torrents' Info.
    const QByteArray again = fileBytes(exportedFile());
    EXPECT_EQ(again.count("&as=http://127.0.0.1:8091/img/"), 2);
}

TEST_F(Lists, AnEmptyLineIsSentAndListedUnderTheLineBefore) {
    const QString path = writeFile(
        u"gap.txt"_s, QByteArray(":: First\r\n") + magnet(kHashA, "A").c_str() +
                          "\r\n:: Second\r\n\r\n:: Third\n" + magnet(kHashB, "B").c_str() + "\n");
    server.clearRequests();
    dialogs->answerNext(path);
    chooseFromTrayMenu(form->N25);
    EXPECT_EQ(bodiesTo("/torrent/add").size(), 3U);
    EXPECT_EQ(bodiesTo("/torrent/add")[1], "{\"link\":\"\"}");
    EXPECT_EQ(lastMessage().text, u"Импорт пользовательского списка завершен\r\n\r\nОшибки "
                                  u"импорта: \r\n:: Second\r\n"_s);
    EXPECT_EQ(form->TorrentList->count(), 2);
    EXPECT_FALSE(form->Gauge1->isVisible());
}

TEST_F(Lists, ReplaceRemovesTheServersTorrentsAndAddsTheFilesOnly) {
    addTorrent(magnet(kHashA, "Old1"));
    addTorrent(magnet(kHashB, "Old2"));
    refresh();
    form->UpdateList1->addItem(u"Old1^"_s + toQ(kHashA));
    const QString path =
        writeFile(u"new.txt"_s, QByteArray(":: New\r\n") + magnet(kHashD, "New").c_str() + "\r\n");
    server.clearRequests();
    messages->answerNext(u"Да"_s);
    dialogs->answerNext(path);
    chooseFromTrayMenu(form->N23);

    EXPECT_EQ(messages->calls.front().text,
              u"Импортирование пользовательского списка приведёт к удалению всех торрентов на "
              u"сервере.\n\r\n\rПродолжить?"_s);
    EXPECT_EQ(messages->calls.front().title, u"Внимание!"_s);
    EXPECT_EQ(messages->calls.front().icon, MessageIcon::Question);
    std::vector<std::string> removed = bodiesTo("/torrent/rem");
    std::sort(removed.begin(), removed.end());
    EXPECT_EQ(removed, (std::vector<std::string>{"{\"hash\": \"" + kHashA + "\"}",
                                                 "{\"hash\": \"" + kHashB + "\"}"}));
    EXPECT_EQ(bodiesTo("/torrent/add").size(), 1U);
    ASSERT_EQ(form->TorrentList->count(), 1);
    EXPECT_TRUE(form->TorrentList->item(0)->text().startsWith(u"New - "_s));
    EXPECT_EQ(form->UpdateList1->count(), 0);
    EXPECT_EQ(lastMessage().text, u"Импорт пользовательского списка завершен"_s);
}

TEST_F(Lists, ReplaceRemovesOnlyWhatWasThereWhenItBegan) {
    const std::string kHashE = std::string(40, 'e');
    addTorrent(magnet(kHashA, "Old1"));
    addTorrent(magnet(kHashB, "Old2"));
    addTorrent(magnet(kHashE, "Old3"));
    refresh();
    const QString path =
        writeFile(u"new.txt"_s, QByteArray(":: New\r\n") + magnet(kHashD, "New").c_str() + "\r\n");
    server.clearRequests();
    // During the first removal's wait someone else removes the last torrent and adds another,
    // and the list is refreshed: the rows no longer stand where they stood.
    QTimer::singleShot(100, form.get(), [this] {
        const std::string last =
            form->connection().entries()[form->connection().entries().size() - 1].value(
                "Hash", std::string());
        server.client().Post("/torrent/rem", "{\"hash\":\"" + last + "\"}", "application/json");
        server.addMagnet(magnet(kHashC, "Arrived"));
        form->connection().ConnectButtonClick();
    });
    messages->answerNext(u"Да"_s);
    dialogs->answerNext(path);
    form->N23->trigger();
    std::vector<std::string> removed = bodiesTo("/torrent/rem");
    std::erase_if(removed, [](const std::string& body) { // the other remover's request
        return body.rfind("{\"hash\":\"", 0) == 0;
    });
    std::sort(removed.begin(), removed.end());
    std::vector<std::string> expected;
    for (const auto& hash : {kHashA, kHashB, kHashE}) {
        expected.push_back("{\"hash\": \"" + hash + "\"}");
    }
    EXPECT_EQ(removed, expected);
    EXPECT_EQ(form->TorrentList->count(), 2); // the one that arrived and the file's
}

TEST_F(Lists, ReplaceRemovesNothingUnlessTheFileCanBeAdded) {
    addTorrent(magnet(kHashA, "Keep"));
    refresh();
    const struct {
        const char* what;
        QString answer; // to the question
        QString chosen; // in the file dialog
        QString told;   // the message that ends it, empty for none
        bool marksKept;
    } cases[] = {
        {"answered No", u"Нет"_s, QString(), QString(), true},
        {"dialog cancelled", u"Да"_s, QString(), QString(), false},
        {"unreadable file", u"Да"_s, appDir() + u"missing.txt"_s,
         u"Не удается прочитать файл \"missing.txt\".\rТорренты на сервере не удалены."_s, true},
        {"empty file", u"Да"_s, writeFile(u"empty.txt"_s, {}),
         u"В файле \"empty.txt\" нет магнет-ссылок и веб-адресов.\rТорренты на сервере не "
         u"удалены."_s,
         true},
        {"no links", u"Да"_s, writeFile(u"words.txt"_s, ":: a\r\nsome words\r\n:: b\r\n\r\n"),
         u"В файле \"words.txt\" нет магнет-ссылок и веб-адресов.\rТорренты на сервере не "
         u"удалены."_s,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        form->UpdateList1->clear();
        form->UpdateList1->addItem(u"Keep^"_s + toQ(kHashA));
        messages->calls.clear();
        dialogs->answers.clear();
        server.clearRequests();
        messages->answerNext(c.answer);
        dialogs->answerNext(c.chosen);
        form->N23->trigger();
        EXPECT_EQ(server.requestsTo("/torrent/rem"), 0);
        EXPECT_EQ(server.requestsTo("/torrent/add"), 0);
        ASSERT_FALSE(messages->calls.empty());
        EXPECT_EQ(messages->calls.back().text,
                  c.told.isEmpty() ? messages->calls.front().text : c.told);
        EXPECT_EQ(form->UpdateList1->count(), c.marksKept ? 1 : 0);
        EXPECT_FALSE(form->Gauge1->isVisible());
        EXPECT_TRUE(form->N23->isEnabled());
    }
    refresh();
    EXPECT_EQ(form->TorrentList->count(), 1);
}

TEST_F(Lists, BrokenConnectionWhileRemovingEndsTheReplace) {
    addTorrent(magnet(kHashA, "One"));
    addTorrent(magnet(kHashB, "Two"));
    refresh();
    ASSERT_TRUE(server.setFaults({{"close", {{"path", "/torrent/rem"}, {"times", 1}}}}));
    const QString path =
        writeFile(u"new.txt"_s, QByteArray(":: New\r\n") + magnet(kHashD, "New").c_str());
    server.clearRequests();
    messages->answerNext(u"Да"_s);
    dialogs->answerNext(path);
    form->N23->trigger();
    EXPECT_EQ(lastMessage().text, u"Что-то пошло не так, попробуйте позже"_s);
    EXPECT_EQ(lastMessage().title, u"Ошибка"_s);
    EXPECT_EQ(lastMessage().icon, MessageIcon::Error);
    EXPECT_EQ(server.requestsTo("/torrent/add"), 0);
    EXPECT_FALSE(form->Gauge1->isVisible());
    EXPECT_TRUE(form->Label2->text().isEmpty());
}

TEST_F(Lists, ImportsDoNothingWhileNotConnected) {
    server.stop();
    form->connection().Timer1Timer(); // the alive check notices
    ASSERT_NE(form->status->text(), u"Сервер ОК"_s);
    form->N25->trigger();
    messages->answerNext(u"Да"_s);
    form->N23->trigger();
    EXPECT_TRUE(dialogs->calls.empty());
}

TEST_F(Lists, ExportWithoutAConnectionSaysSoAndWritesNothing) {
    addTorrent(magnet(kHashA, "Alpha"));
    refresh();
    server.stop();
    form->connection().Timer1Timer(); // the alive check notices
    ASSERT_EQ(form->status->text(), u"Сервер не отвечает"_s);
    const QString path = exportedFile();
    EXPECT_TRUE(dialogs->calls.empty()); // nobody is asked where to save nothing
    ASSERT_EQ(messages->calls.size(), 1U);
    EXPECT_EQ(lastMessage().text, u"Необходимо подключиться к серверу!"_s);
    EXPECT_EQ(lastMessage().title, u"Инфо"_s);
    EXPECT_EQ(lastMessage().icon, MessageIcon::Information);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(Lists, ExportWhoseConnectionIsLostWhileItsDialogIsOpenWritesNothing) {
    addTorrent(magnet(kHashA, "Alpha"));
    refresh();
    dialogs->onShow = [this](const qb::test::FileDialogCall&) {
        server.stop();
        form->connection().Timer1Timer();
    };
    const QString path = exportedFile();
    ASSERT_EQ(dialogs->calls.size(), 1U);
    ASSERT_EQ(messages->calls.size(), 1U);
    EXPECT_EQ(lastMessage().text, u"Необходимо подключиться к серверу!"_s);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(Lists, ExportOfAConnectedServerWithoutTorrentsWritesAnEmptyList) {
    refresh();
    ASSERT_EQ(form->TorrentList->count(), 0);
    const QString path = exportedFile();
    EXPECT_EQ(fileBytes(path), QByteArray("\xEF\xBB\xBF"));
    ASSERT_EQ(messages->calls.size(), 1U);
    EXPECT_EQ(lastMessage().text,
              u"Произведен экспорт с сервера\rСписок сохранен в файле \"list.txt\""_s);
}

TEST_F(Lists, AFailedExportLeavesNoResultMessage) {
    dialogs->answerNext(appDir() + u"no/such/folder/list.txt"_s);
    form->N24->trigger();
    ASSERT_EQ(messages->calls.size(), 1U);
    EXPECT_NE(lastMessage().title, u"Результат"_s);
    EXPECT_EQ(lastMessage().icon, MessageIcon::Error);
    dialogs->answerNext(QString());
    form->N24->trigger(); // cancelled: nothing written, nothing said
    EXPECT_EQ(messages->calls.size(), 1U);
}

} // namespace
