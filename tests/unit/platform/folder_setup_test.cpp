// The first start of an installed program makes its folders, for their owner only.
#include "platform/folders/folder_setup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::platform::makeUserFolders;
using qb::platform::UserFolders;

mode_t modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 07777)
                                                                   : mode_t(07777);
}

class FolderSetup : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(home.isValid()); }
    QString at(const QString& relative) const { return home.path() + u"/"_s + relative; }
    UserFolders folders() const {
        return {at(u".config/quillbrook/"_s), at(u".local/share/quillbrook/"_s),
                at(u".cache/quillbrook/"_s)};
    }
    QTemporaryDir home;
};

TEST_F(FolderSetup, MakesEveryFolderForItsOwnerOnly) {
    ASSERT_TRUE(makeUserFolders(folders()));
    for (const QString& made :
         {u".config"_s, u".config/quillbrook"_s, u".local"_s, u".local/share"_s,
          u".local/share/quillbrook"_s, u".local/share/quillbrook/server"_s, u".cache"_s,
          u".cache/quillbrook"_s}) {
        EXPECT_TRUE(QFileInfo(at(made)).isDir()) << made.toStdString();
        EXPECT_EQ(modeOf(at(made)), mode_t(0700)) << made.toStdString();
    }
}

TEST_F(FolderSetup, LeavesFoldersThatExistAsTheyAre) {
    ASSERT_TRUE(QDir().mkpath(at(u".config/quillbrook"_s)));
    ASSERT_TRUE(QFile::setPermissions(at(u".config"_s), QFile::ReadOwner | QFile::WriteOwner |
                                                            QFile::ExeOwner | QFile::ReadGroup |
                                                            QFile::ExeGroup | QFile::ReadOther |
                                                            QFile::ExeOther));
    ASSERT_TRUE(makeUserFolders(folders()));
    EXPECT_EQ(modeOf(at(u".config"_s)), mode_t(0755));
    // Making them again changes nothing.
    ASSERT_TRUE(makeUserFolders(folders()));
    EXPECT_EQ(modeOf(at(u".cache/quillbrook"_s)), mode_t(0700));
}

TEST_F(FolderSetup, FileInTheWayIsAFailure) {
    QFile blocker(at(u".cache"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(makeUserFolders(folders()));
    EXPECT_TRUE(QFileInfo(at(u".cache"_s)).isFile()); // never replaced
}

} // namespace
