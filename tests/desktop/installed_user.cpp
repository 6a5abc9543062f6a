#include "installed_user.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace qb::test {

InstalledUser::InstalledUser() {
    // The runtime folder holds the single-copy lock: it must be private, as a session's is.
    QFile::setPermissions(runtime_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString InstalledUser::root() {
    return QStringLiteral(QB_DESKTOP_ROOT);
}

QString InstalledUser::executable() {
    return root() + QStringLiteral("/usr/bin/quillbrook");
}

QString InstalledUser::portableExecutable() {
    return QStringLiteral(QB_PORTABLE_BINARY);
}

QProcessEnvironment InstalledUser::environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime());
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        environment.remove(QString::fromLatin1(name));
    }
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM"))) {
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    environment.insert(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"),
                       QStringLiteral("--disable-gpu --no-sandbox"));
    return environment;
}

bool InstalledUser::writeSettings(const std::string& server, const std::string& service) const {
    if (!QDir().mkpath(QFileInfo(settingsFile()).path())) {
        return false;
    }
    QFile file(settingsFile());
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const std::string text = "[{\"LocalServer\":\"0\",\"Server\":\"" + server + "\",\"Tor\":\"" +
                             service + "\",\"KeepLocalServer\":\"1\"}]";
    return file.write(text.c_str()) == static_cast<qint64>(text.size());
}

void InstalledUser::start(QProcess& process, const QStringList& arguments) const {
    process.setProcessEnvironment(environment());
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(executable(), arguments);
}

bool waitUntil(const std::function<bool()>& done, int limitMs) {
    return QTest::qWaitFor(done, limitMs);
}

} // namespace qb::test
