// The installed program's own folders against the program folder's: the first start makes what
// it needs and writes the same default settings, each keeps to its own places, and --version
// and --help print without a window and without reaching a running copy.
#include "installed_user.h"
#include "probe_process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::test::InstalledUser;
using qb::test::waitUntil;

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

mode_t modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 07777)
                                                                   : mode_t(07777);
}

// Every file and folder under `folder`, relative to it.
QStringList contentsOf(const QString& folder) {
    QStringList found;
    const QDir base(folder);
    for (const QFileInfo& entry : base.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                     QDir::Hidden | QDir::System)) {
        found << entry.fileName();
        if (entry.isDir()) {
            for (const QString& inner : contentsOf(entry.filePath())) {
                found << entry.fileName() + u"/"_s + inner;
            }
        }
    }
    return found;
}

// What the program itself would put into a folder: anything named after it, or its settings.
QStringList programFilesIn(const QString& folder) {
    QStringList own;
    for (const QString& entry : contentsOf(folder)) {
        if (entry.contains(u"quillbrook"_s) || entry.endsWith(u"app.json"_s)) {
            own << entry;
        }
    }
    return own;
}

bool somethingListensOn(quint16 port) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(300);
}

// Runs `executable` until `settingsFile` has been written, then ends it before anything else
// is written: with nothing answering at the built-in service address, the start stops at the
// version check, after the default settings file.
QByteArray firstStartSettings(const QString& executable, const QProcessEnvironment& environment,
                              const QString& workingFolder, const QString& settingsFile) {
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(workingFolder);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(executable, {});
    const bool written = waitUntil([&] { return QFileInfo::exists(settingsFile); });
    program.kill();
    program.waitForFinished();
    EXPECT_TRUE(written) << settingsFile.toStdString();
    return fileBytes(settingsFile);
}

TEST(InstalledProgram, FirstStartMakesTheUserFoldersAndWritesTheProgramFoldersDefaults) {
    if (somethingListensOn(8091)) {
        GTEST_SKIP() << "a service of this machine listens on the built-in 127.0.0.1:8091";
    }
    const InstalledUser user;
    QTemporaryDir workingFolder;
    ASSERT_TRUE(user.isValid() && workingFolder.isValid());
    const QStringList systemFiles = contentsOf(InstalledUser::root());

    const QByteArray installed = firstStartSettings(InstalledUser::executable(), user.environment(),
                                                    workingFolder.path(), user.settingsFile());

    // A fresh program folder, as `cmake --install` lays it out, run by another user whose base
    // directory variables all point into a folder that must stay empty.
    const InstalledUser portableUser;
    QTemporaryDir folder;
    QTemporaryDir decoy;
    ASSERT_TRUE(folder.isValid() && decoy.isValid());
    const QString executable = folder.filePath(u"quillbrook"_s);
    ASSERT_TRUE(QFile::copy(InstalledUser::portableExecutable(), executable));
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"server"_s) && QDir(folder.path()).mkdir(u"cache"_s));
    QProcessEnvironment environment = portableUser.environment();
    for (const QString& name : {u"XDG_CONFIG_HOME"_s, u"XDG_DATA_HOME"_s, u"XDG_CACHE_HOME"_s}) {
        environment.insert(name, decoy.filePath(name));
    }
    const QByteArray portable = firstStartSettings(executable, environment, workingFolder.path(),
                                                   folder.filePath(u"app.json"_s));

    ASSERT_FALSE(installed.isEmpty());
    EXPECT_EQ(installed, portable);
    EXPECT_EQ(modeOf(user.settingsFile()), mode_t(0600));
    const QStringList made = {QFileInfo(user.settingsFile()).path(), user.dataFolder(),
                              user.dataFolder() + u"/server"_s, user.cacheFolder()};
    for (const QString& folder : made) {
        EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
        EXPECT_EQ(modeOf(folder), mode_t(0700)) << folder.toStdString();
    }
    // Nothing beside either executable but what was there, nothing in the folder they were
    // started in, nothing of the program folder's in the user's folders (where the system's
    // font cache may well write).
    EXPECT_EQ(contentsOf(InstalledUser::root()), systemFiles);
    EXPECT_TRUE(contentsOf(workingFolder.path()).isEmpty());
    EXPECT_TRUE(programFilesIn(decoy.path()).isEmpty());
    EXPECT_EQ(contentsOf(folder.path()),
              QStringList({u"app.json"_s, u"cache"_s, u"quillbrook"_s, u"server"_s}));
    EXPECT_TRUE(programFilesIn(portableUser.home()).isEmpty());
}

struct PrintCase {
    const char* name;
    bool installed;
    const char* argument;
};

class PrintAndEnd : public ::testing::TestWithParam<PrintCase> {};

TEST_P(PrintAndEnd, WithoutAWindowOrTheRunningCopy) {
    const PrintCase& c = GetParam();
    const InstalledUser user;
    ASSERT_TRUE(user.isValid());
    QProcessEnvironment environment = user.environment();
    // No display at all: a program that tried to open a window would fail here.
    environment.remove(u"DISPLAY"_s);
    environment.remove(u"WAYLAND_DISPLAY"_s);
    environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);

    // A running copy that reports every hand-off it gets.
    ProbeProcess running(environment);
    running.start({});
    ASSERT_TRUE(running.waitForLine(u"first"_s));

    const QString executable =
        c.installed ? InstalledUser::executable() : InstalledUser::portableExecutable();
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(executable, {QString::fromUtf8(c.argument)});
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(program.readAllStandardError(), QByteArray());
    const QString out = QString::fromUtf8(program.readAllStandardOutput());
    if (std::string(c.argument) == "--version") {
        EXPECT_EQ(out, u"Quillbrook 1.8.4\n"_s);
    } else {
        const QString settings =
            c.installed ? user.settingsFile() : QFileInfo(executable).path() + u"/app.json"_s;
        EXPECT_TRUE(out.startsWith(u"Использование: quillbrook"_s)) << out.toStdString();
        EXPECT_TRUE(out.contains(u"настройки        "_s + settings + u"\n"_s)) << out.toStdString();
    }
    // Printing made no folders.
    EXPECT_TRUE(programFilesIn(user.home()).isEmpty());

    // The running copy got nothing before the marker that the probe's own copy hands over.
    ProbeProcess marker(environment);
    marker.start({u"marker"_s});
    EXPECT_EQ(marker.waitForExit(), 0);
    ASSERT_TRUE(running.waitForLine(u"got:marker"_s));
    EXPECT_EQ(running.lines(), QStringList({u"first"_s, u"got:marker"_s}));
}

INSTANTIATE_TEST_SUITE_P(Cases, PrintAndEnd,
                         ::testing::Values(PrintCase{"InstalledVersion", true, "--version"},
                                           PrintCase{"InstalledHelp", true, "--help"},
                                           PrintCase{"PortableVersion", false, "--version"},
                                           PrintCase{"PortableShortHelp", false, "-h"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
