#include "platform/text/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using qb::platform::readTextFile;
using qb::platform::writeFileAtomically;
using qb::platform::writeLegacyTextFile;
using qb::platform::writeUtf8BomTextFile;

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QByteArrayLiteral("<unreadable>");
    }
    return file.readAll();
}

class TextFile : public ::testing::Test {
protected:
    QString path(const char* name) const { return Dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir Dir;
};

TEST_F(TextFile, WritesBothEncodingsAndReadsThemBack) {
    const QString text = QStringLiteral("magnet:?xt=urn:btih:1&dn=Фильм\r\n");
    ASSERT_TRUE(writeLegacyTextFile(path("legacy.txt"), text));
    ASSERT_TRUE(writeUtf8BomTextFile(path("bom.txt"), text));
    EXPECT_EQ(fileBytes(path("legacy.txt")), text.toUtf8());
    EXPECT_EQ(fileBytes(path("bom.txt")), QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8());
    EXPECT_EQ(readTextFile(path("legacy.txt")), text);
    EXPECT_EQ(readTextFile(path("bom.txt")), text);
}

TEST_F(TextFile, ReadsAWindows1251File) {
    ASSERT_TRUE(
        writeFileAtomically(path("list.txt"), QByteArrayLiteral("\xD1\xE5\xF0\xE8\xE0\xEB")));
    EXPECT_EQ(readTextFile(path("list.txt")), QStringLiteral("Сериал"));
}

TEST_F(TextFile, ReplacingALongerFileLeavesNoTailAndNoTemporaryFile) {
    ASSERT_TRUE(writeFileAtomically(path("a.txt"), QByteArray(4096, 'x')));
    ASSERT_TRUE(writeFileAtomically(path("a.txt"), QByteArrayLiteral("short")));
    EXPECT_EQ(fileBytes(path("a.txt")), QByteArrayLiteral("short"));
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("a.txt")});
}

TEST_F(TextFile, FailuresAreReportedNotHidden) {
    EXPECT_EQ(readTextFile(path("missing.txt")), std::nullopt);
    EXPECT_EQ(readTextFile(Dir.path()), std::nullopt);
    EXPECT_FALSE(writeLegacyTextFile(path("no-such-folder/a.txt"), QStringLiteral("x")));
    // A folder in the way is never replaced.
    ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("taken")));
    EXPECT_FALSE(writeLegacyTextFile(path("taken"), QStringLiteral("x")));
    EXPECT_TRUE(QFileInfo(path("taken")).isDir());
}

} // namespace
