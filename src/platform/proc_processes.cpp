#include "platform/proc_processes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace qb::platform {

namespace {

QString fileNameOf(const QString& path) {
    return path.mid(path.lastIndexOf(u'/') + 1);
}

// The executable the process runs. The kernel marks a file that was replaced or removed
// since the start with " (deleted)"; the process still runs under that name.
QString executableNameOf(const QString& procDir) {
    const QByteArray link = QFile::encodeName(procDir + u"/exe"_s);
    char target[4096];
    const ssize_t length = ::readlink(link.constData(), target, sizeof target);
    if (length <= 0) {
        return {};
    }
    QString path = QFile::decodeName(QByteArray(target, static_cast<qsizetype>(length)));
    const QString deleted = u" (deleted)"_s;
    if (path.endsWith(deleted)) {
        path.chop(deleted.size());
    }
    return fileNameOf(path);
}

// The first entry of the command line, as the process was started (through a link, or under
// another name than its file's). Zombies and kernel threads have none.
QString commandNameOf(const QString& procDir) {
    QFile file(procDir + u"/cmdline"_s);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray head = file.read(4096);
    const qsizetype end = head.indexOf('\0');
    return fileNameOf(QFile::decodeName(end < 0 ? head : head.left(end)));
}

} // namespace

bool ProcProcesses::startDetached(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
}

std::vector<ProcessEntry> ProcProcesses::list() {
    std::vector<ProcessEntry> entries;
    const uid_t user = ::getuid();
    const QStringList names = QDir(u"/proc"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        bool numeric = false;
        const qint64 pid = name.toLongLong(&numeric);
        if (!numeric || pid <= 0) {
            continue;
        }
        const QString procDir = u"/proc/"_s + name;
        struct stat info {};
        if (::stat(QFile::encodeName(procDir).constData(), &info) != 0 || info.st_uid != user) {
            continue;
        }
        ProcessEntry entry;
        entry.pid = pid;
        entry.executableName = executableNameOf(procDir);
        entry.commandName = commandNameOf(procDir);
        if (!entry.executableName.isEmpty() || !entry.commandName.isEmpty()) {
            entries.push_back(entry);
        }
    }
    return entries;
}

void ProcProcesses::terminate(qint64 pid) {
    // 0 and negative numbers address whole process groups, or every process we may signal.
    if (pid <= 0 || pid != static_cast<pid_t>(pid)) {
        return;
    }
    ::kill(static_cast<pid_t>(pid), SIGTERM);
}

} // namespace qb::platform
