// File dialogs: title, folder, filter, preset name, default suffix, cancel.
#include "modal_helper.h"
#include "platform/qt_file_dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct SuffixCase {
    QString defaultSuffix;
    QString typedName;
    QString savedName;
};

class SaveDialogTest : public testing::TestWithParam<SuffixCase> {};

TEST_P(SaveDialogTest, AddsTheDefaultSuffixToANameWithoutOne) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QString title;
    QStringList filters;
    QStringList preset;
    whenModalOpens<QFileDialog>([&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        preset = dialog->selectedFiles();
        dialog->setDirectory(folder.path());
        dialog->selectFile(GetParam().typedName);
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides it
    });
    const QString chosen = qb::platform::QtFileDialogs().saveFile(
        nullptr, u"Сохранить плейлист как..."_s, u"Фильм.1080p"_s, u"Playlist (*.m3u)"_s,
        GetParam().defaultSuffix);
    EXPECT_EQ(chosen, folder.filePath(GetParam().savedName));
    EXPECT_EQ(title, u"Сохранить плейлист как..."_s);
    EXPECT_EQ(filters, QStringList{u"Playlist (*.m3u)"_s});
    ASSERT_EQ(preset.size(), 1);
    EXPECT_TRUE(preset.first().endsWith(u"/Фильм.1080p"_s)) << preset.first().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Suffixes, SaveDialogTest,
                         testing::Values(SuffixCase{u".m3u"_s, u"list"_s, u"list.m3u"_s},
                                         SuffixCase{u"*.m3u"_s, u"list"_s, u"list.m3u"_s},
                                         SuffixCase{u"m3u"_s, u"list"_s, u"list.m3u"_s},
                                         SuffixCase{u".m3u"_s, u"list.m3u8"_s, u"list.m3u8"_s}));

TEST(OpenDialog, StartsInTheFolderAndReturnsTheChosenFile) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString player = folder.filePath(u"mpv"_s);
    QFile file(player);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QString shownFolder;
    whenModalOpens<QFileDialog>([&](QFileDialog* dialog) {
        shownFolder = dialog->directory().absolutePath();
        dialog->selectFile(player);
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides it
    });
    const QString chosen = qb::platform::QtFileDialogs().openFile(
        nullptr, u"Выбор плеера"_s, folder.path(), u"Исполняемый файл (*)"_s);
    EXPECT_EQ(shownFolder, folder.path());
    EXPECT_EQ(chosen, player);
}

TEST(OpenDialog, CancelGivesTheEmptyText) {
    whenModalOpens<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_TRUE(qb::platform::QtFileDialogs()
                    .openFile(nullptr, u"Выбор плеера"_s, u"/usr/bin"_s, u"Исполняемый файл (*)"_s)
                    .isEmpty());
}

} // namespace
