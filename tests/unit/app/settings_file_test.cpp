#include "app/settings/settings_file.h"

#include "build_config.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using namespace Qt::StringLiterals;
using qb::app::defaultSettingsText;
using qb::app::loadOrCreateSettings;
using qb::app::writeSettingsFile;

class SettingsFile : public ::testing::Test {
protected:
    QString appDir() const { return Dir.path() + u'/'; }
    QString file(const QString& name = u"app.json"_s) const { return appDir() + name; }
    mode_t mode(const QString& name = u"app.json"_s) const {
        struct stat info {};
        EXPECT_EQ(::stat(QFile::encodeName(file(name)).constData(), &info), 0);
        return info.st_mode & 07777;
    }
    QByteArray bytes(const QString& name = u"app.json"_s) const {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArrayLiteral("<missing>");
    }
    void put(const QByteArray& content) const {
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
    QTemporaryDir Dir;
};

TEST_F(SettingsFile, AMissingFileIsWrittenWithTheDefaultsAndUsed) {
    const auto loaded = loadOrCreateSettings(appDir(), QString());
    EXPECT_FALSE(loaded.writeFailed);
    EXPECT_FALSE(loaded.badFileKeptAside);
    EXPECT_EQ(bytes(), defaultSettingsText(QString()).toUtf8());
    EXPECT_EQ(loaded.localServer, u"1");
    EXPECT_EQ(loaded.server, u"127.0.0.1:8090");
    EXPECT_EQ(loaded.serviceBaseUrl, QString::fromUtf8(qb::build::kDefaultServiceUrl));
    // The next start reads that file as it is.
    const auto again = loadOrCreateSettings(appDir(), u"ignored"_s);
    EXPECT_EQ(bytes(), defaultSettingsText(QString()).toUtf8());
    EXPECT_EQ(again.server, u"127.0.0.1:8090");
}

struct EncodedCase {
    const char* name;
    QByteArray content;
};

class EncodedSettings : public SettingsFile, public ::testing::WithParamInterface<EncodedCase> {};

TEST_P(EncodedSettings, AreReadInTheirEncoding) {
    put(GetParam().content);
    const auto loaded = loadOrCreateSettings(appDir(), QString());
    EXPECT_FALSE(loaded.badFileKeptAside);
    EXPECT_EQ(loaded.player, u"/opt/Плеер/mpv");
    EXPECT_EQ(loaded.server, u"h:1");
}

const QString kPlayerFile = uR"([{"Server":"h:1","Player":"/opt/Плеер/mpv"}])"_s;

INSTANTIATE_TEST_SUITE_P(
    Table, EncodedSettings,
    ::testing::Values(
        EncodedCase{"utf8", kPlayerFile.toUtf8()},
        EncodedCase{"utf8_bom", QByteArrayLiteral("\xEF\xBB\xBF") + kPlayerFile.toUtf8()},
        EncodedCase{"utf16le_bom",
                    QByteArrayLiteral("\xFF\xFE") +
                        QByteArray(reinterpret_cast<const char*>(kPlayerFile.utf16()),
                                   kPlayerFile.size() * 2)},
        EncodedCase{"windows1251",
                    QByteArrayLiteral(
                        "[{\"Server\":\"h:1\",\"Player\":\"/opt/\xCF\xEB\xE5\xE5\xF0/mpv\"}]")}),
    [](const auto& info) { return std::string(info.param.name); });

class BadSettings : public SettingsFile, public ::testing::WithParamInterface<const char*> {};

TEST_P(BadSettings, AreKeptAsideAndReplacedByTheDefaults) {
    const QByteArray content(GetParam());
    put(content);
    QFile stale(file(u"app.json.bad"_s));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("older bad file");
    stale.close();

    const auto loaded = loadOrCreateSettings(appDir(), QString());
    EXPECT_TRUE(loaded.badFileKeptAside);
    EXPECT_FALSE(loaded.writeFailed);
    EXPECT_EQ(bytes(u"app.json.bad"_s), content);
    EXPECT_EQ(bytes(), defaultSettingsText(QString()).toUtf8());
    EXPECT_EQ(loaded.server, u"127.0.0.1:8090");
}

INSTANTIATE_TEST_SUITE_P(Table, BadSettings,
                         ::testing::Values("", "{\"Server\":\"h\"}", "[]", "[\"x\"]",
                                           "[{\"Server\":\"a\"b\"}]", "\xFF\xFE{"));

TEST_F(SettingsFile, AnUnwritableFolderGivesTheDefaultsAndSaysSo) {
    const QString missingDir = appDir() + u"gone/"_s;
    const auto loaded = loadOrCreateSettings(missingDir, QString());
    EXPECT_TRUE(loaded.writeFailed);
    EXPECT_EQ(loaded.localServer, u"1");
    EXPECT_EQ(loaded.keepLocalServer, u"0");
    EXPECT_FALSE(writeSettingsFile(missingDir + u"app.json"_s, u"[{}]"_s));
}

TEST_F(SettingsFile, AnUnreadableFileGivesTheDefaultsAndIsLeftAlone) {
    ASSERT_TRUE(QDir(Dir.path()).mkdir(u"app.json"_s));
    const auto loaded = loadOrCreateSettings(appDir(), QString());
    EXPECT_TRUE(loaded.readFailed);
    EXPECT_FALSE(loaded.badFileKeptAside);
    EXPECT_EQ(loaded.server, u"127.0.0.1:8090");
    EXPECT_TRUE(QFileInfo(file()).isDir());
}

TEST_F(SettingsFile, TheSaveReplacesTheWholeFileInOneStep) {
    put(QByteArray(2000, ' ') + defaultSettingsText(QString()).toUtf8());
    const QString text = uR"([{"Title":"Quillbrook FHD v1.8.4","Server":"Сервер"}])"_s;
    ASSERT_TRUE(writeSettingsFile(file(), text));
    // No byte-order mark, no leftover tail of the longer old file, no temporary file left.
    EXPECT_EQ(bytes(), text.toUtf8());
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList{u"app.json"_s});
}

// The file may hold a password in "Server": only its owner may read it, whatever the umask.
struct ModeCase {
    const char* name;
    int before; // -1: no file yet
    int after;
};

class SettingsMode : public SettingsFile, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(SettingsMode, IsOwnerOnlyOrStricter) {
    const mode_t oldMask = ::umask(0);
    if (GetParam().before >= 0) {
        put("[{}]");
        ASSERT_EQ(::chmod(QFile::encodeName(file()).constData(), GetParam().before), 0);
    }
    const bool written = writeSettingsFile(file(), uR"([{"Server":"http://u:secret@h:1"}])"_s);
    ::umask(oldMask);
    ASSERT_TRUE(written);
    EXPECT_EQ(mode(), static_cast<mode_t>(GetParam().after));
    EXPECT_EQ(bytes(), R"([{"Server":"http://u:secret@h:1"}])");
}

INSTANTIATE_TEST_SUITE_P(Table, SettingsMode,
                         ::testing::Values(ModeCase{"NewFile", -1, 0600},
                                           ModeCase{"WorldReadable", 0666, 0600},
                                           ModeCase{"GroupReadable", 0640, 0600},
                                           ModeCase{"ReadOnlyForTheOwner", 0400, 0400},
                                           ModeCase{"Executable", 0700, 0600}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFile, TheDefaultsAndAFileKeptAsideAreOwnerOnly) {
    const mode_t oldMask = ::umask(0);
    const auto fresh = loadOrCreateSettings(appDir(), QString());
    EXPECT_EQ(mode(), 0600u);
    put("not settings, but maybe a password");
    ASSERT_EQ(::chmod(QFile::encodeName(file()).constData(), 0644), 0);
    const auto replaced = loadOrCreateSettings(appDir(), QString());
    ::umask(oldMask);
    EXPECT_FALSE(fresh.writeFailed);
    EXPECT_TRUE(replaced.badFileKeptAside);
    EXPECT_EQ(mode(u"app.json.bad"_s), 0600u);
    EXPECT_EQ(mode(), 0600u);
}

} // namespace
