#include "platform/folders/folder_setup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace qb::platform {

namespace {

QString homeFolder() {
    const QString home = qEnvironmentVariable("HOME");
    if (home.startsWith(u'/')) {
        return home;
    }
    if (const passwd* entry = ::getpwuid(::getuid());
        entry != nullptr && entry->pw_dir != nullptr) {
        return QFile::decodeName(entry->pw_dir);
    }
    return QString();
}

// Makes `path` and every missing folder above it, each for its owner only.
bool makeFolder(const QString& path) {
    const QString clean = QDir::cleanPath(path);
    if (QFileInfo(clean).isDir()) {
        return true;
    }
    QString partial;
    for (const QString& part : clean.split(u'/', Qt::SkipEmptyParts)) {
        partial += u"/"_s + part;
        if (::mkdir(QFile::encodeName(partial).constData(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return QFileInfo(clean).isDir();
}

} // namespace

std::optional<UserFolders> userFoldersOfThisUser() {
    return userFolders([](const char* name) { return qEnvironmentVariable(name); }, homeFolder());
}

bool makeUserFolders(const UserFolders& folders) {
    return makeFolder(folders.settings) && makeFolder(folders.data + u"server"_s) &&
           makeFolder(folders.cache);
}

} // namespace qb::platform
