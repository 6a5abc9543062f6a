// Downloads carried out by the information view: the update archive, for one.
#include "window_fixture.h"

#include "releaseinfo/release_info.h"
#include "service_standin.h"

#include <QFile>
#include <QLabel>
#include <QWebEngineView>

using namespace Qt::Literals::StringLiterals;

namespace {

class ViewDownload : public qb::test::WindowTest {};

TEST_F(ViewDownload, AsksWhereToSaveAndSaysWhenTheFileIsThere) {
    qb::testing::ServiceStandin service({"--version", "1.8.5"});
    TForm1& window = makeWindow();
    const QString target = appDir() + u"update.zip"_s;
    dialogs->answerNext(target);
    // As everything that loads into the view does first.
    window.releaseInfo().connectInfoViewEvents();

    window.WebBrowser1->load(
        QUrl(QString::fromStdString(service.baseUrl()) + u"/ts/Quillbrook_x86_v1.8.5.zip"_s));

    ASSERT_TRUE(waitUntil([&] { return window.LogP->text().startsWith(u"Загрузка завершена"_s); }))
        << window.LogP->text().toStdString();
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].presetName, u"Quillbrook_x86_v1.8.5.zip"_s);
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("PK")); // a zip archive
    EXPECT_TRUE(window.transientStatus());
}

TEST_F(ViewDownload, CancelledSaveDialogDownloadsNothing) {
    qb::testing::ServiceStandin service({"--version", "1.8.5"});
    TForm1& window = makeWindow();
    window.releaseInfo().connectInfoViewEvents();
    window.WebBrowser1->load(
        QUrl(QString::fromStdString(service.baseUrl()) + u"/ts/Quillbrook_x86_v1.8.5.zip"_s));
    ASSERT_TRUE(waitUntil([&] { return !dialogs->calls.empty(); }));
    EXPECT_FALSE(window.LogP->text().startsWith(u"Загрузка"_s));
}

} // namespace
