#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <string>

namespace qb::test {

// The installed program as the Debian package lays it out, staged from this build by
// stage-package-files.sh, and a user of it with a home folder and a runtime folder of their own.
// The base directory variables are left unset, so the program's defaults under the home folder
// are what it uses.
class InstalledUser {
public:
    InstalledUser();

    bool isValid() const { return home_.isValid() && runtime_.isValid(); }

    // The staged root ("<build>/desktop-root") and the program in it.
    static QString root();
    static QString executable();
    // The program folder's executable of the same build.
    static QString portableExecutable();

    QString home() const { return home_.path(); }
    QString runtime() const { return runtime_.path(); }
    QString settingsFile() const { return home() + QStringLiteral("/.config/quillbrook/app.json"); }
    QString dataFolder() const { return home() + QStringLiteral("/.local/share/quillbrook"); }
    QString cacheFolder() const { return home() + QStringLiteral("/.cache/quillbrook"); }

    // The environment of a program started by this user.
    QProcessEnvironment environment() const;

    // Writes the settings a user left, pointing the program at the stand-ins.
    bool writeSettings(const std::string& server, const std::string& service) const;

    // Starts the installed program with `arguments`; its error output is forwarded.
    void start(QProcess& process, const QStringList& arguments = {}) const;

private:
    QTemporaryDir home_;
    QTemporaryDir runtime_;
};

// Processes events until `done` holds or `limitMs` has passed.
bool waitUntil(const std::function<bool()>& done, int limitMs = 30000);

} // namespace qb::test
