#pragma once

#include "platform/folders/user_folders.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <optional>
#include <vector>

class QWidget;

// Everything the window asks of the operating system goes through these interfaces, so that
// tests can run the real window with recorded message boxes, dialogs, processes and browser
// opens. Production implementations come from makeQtPlatform(); recording fakes live in
// tests/support/fakes/fake_platform.h.
namespace qb::platform {

enum class MessageIcon { Error, Warning, Question, Information };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Modal, owned by `owner`. A lone "\r" in the text stands for a line break. The text is
    // shown as plain text. A Yes/No box closed without a choice answers No.
    virtual MessageAnswer show(QWidget* owner, const QString& text, const QString& title,
                               MessageIcon icon, MessageButtons buttons) = 0;
};

// Filters are given in Qt form: "Name (*.ext)".
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // An empty result means the user cancelled.
    virtual QString openFile(QWidget* owner, const QString& title, const QString& folder,
                             const QString& filter) = 0;
    // `defaultSuffix` may be given as "txt", ".txt" or "*.txt"; it is appended to a chosen
    // name that has no suffix of its own.
    virtual QString saveFile(QWidget* owner, const QString& title, const QString& presetName,
                             const QString& filter, const QString& defaultSuffix) = 0;
};

class Browser {
public:
    virtual ~Browser() = default;
    // Opens an address in the system's default browser. Only isOpenableAddress() addresses
    // are passed on; anything else is dropped silently.
    virtual void open(const QUrl& address) = 0;
};

// http and https addresses with a host, and file addresses.
bool isOpenableAddress(const QUrl& address);
// http and https addresses with a host: the only ones taken from a page that may be opened.
bool isWebAddress(const QUrl& address);

struct ProcessEntry {
    qint64 pid = 0;
    // File name (no folder) of the running executable, empty when it cannot be read.
    QString executableName;
    // File name (no folder) of the first command-line entry, empty when there is none. It
    // differs from executableName for programs started through a link or under another name.
    QString commandName;
};

class Processes {
public:
    virtual ~Processes() = default;
    // Starts detached, output discarded. Returns false when the program could not be started.
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
    // This user's processes; others, and those that vanish while being read, are passed over.
    virtual std::vector<ProcessEntry> list() = 0;
    // Asks the process to end; failures are passed over silently.
    virtual void terminate(qint64 pid) = 0;
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString& text) = 0;
    virtual QString text() = 0;
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    virtual QString productName() = 0;
    // False when the desktop has no notification area: the window is then never hidden to it.
    virtual bool trayAvailable() = 0;
};

// The bundle handed to TForm1. It owns its parts.
struct Platform {
    std::unique_ptr<MessageBoxes> messages;
    std::unique_ptr<FileDialogs> dialogs;
    std::unique_ptr<Browser> browser;
    std::unique_ptr<Processes> processes;
    std::unique_ptr<Clipboard> clipboard;
    std::unique_ptr<SystemInfo> system;
    // Folder of the program with a trailing "/". In a program folder every file of the client
    // lies under it. An installed program has the user's data folder here: its "server/"
    // folder and "tmp.torrent" lie there, its settings and release pages in userFolders.
    QString appDir;
    // Set for an installed program only.
    std::optional<UserFolders> userFolders;
    // The first command-line argument, empty when there is none.
    QString firstArgument;

    // Folder of app.json, with a trailing "/".
    QString settingsDir() const { return userFolders ? userFolders->settings : appDir; }
    // Folder of the release pages' cache, with a trailing "/". A program folder may lack it.
    QString cacheDir() const {
        return userFolders ? userFolders->cache : appDir + QStringLiteral("cache/");
    }
};

// The production bundle for a program folder `appDir`.
Platform makeQtPlatform(const QString& appDir, const QString& firstArgument);
// The production bundle for an installed program that keeps its files in `folders`.
Platform makeQtPlatform(const UserFolders& folders, const QString& firstArgument);

// Ends every process of this user (other than the calling one) whose executable file name or
// first command-line entry's file name equals `name`, ignoring case.
void terminateProcessesByName(Processes& processes, const QString& name);

} // namespace qb::platform
