#include "app/entry/program_entry.h"

#include "app/app_core.h"
#include "app/entry/command_line.h"
#include "app/tform1.h"
#include "app/workers/window_thread.h"
#include "platform/close_on_signal.h"
#include "platform/folders/folder_setup.h"
#include "platform/fonts.h"
#include "platform/single_copy.h"
#include "platform/translations.h"

#include <QApplication>
#include <QCloseEvent>
#include <QUrl>

#include <cstdio>
#include <optional>

using namespace Qt::Literals::StringLiterals;
using qb::platform::FolderLayout;

namespace qb::app {

namespace {

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

// The program folder: the folder of the running executable, with a trailing "/".
QString programFolder() {
    return QCoreApplication::applicationDirPath() + u"/"_s;
}

FileLocations fileLocations(FolderLayout layout) {
    if (layout == FolderLayout::Portable) {
        const QString folder = programFolder();
        return {folder + u"app.json"_s, folder + u"server/"_s, folder + u"cache/"_s};
    }
    if (const auto folders = qb::platform::userFoldersOfThisUser()) {
        return {folders->settings + u"app.json"_s, folders->data + u"server/"_s, folders->cache};
    }
    return {u"$XDG_CONFIG_HOME/quillbrook/app.json"_s, u"$XDG_DATA_HOME/quillbrook/server/"_s,
            u"$XDG_CACHE_HOME/quillbrook/"_s};
}

// The platform bundle for the folders of `layout`; nullopt when an installed program finds no
// home folder for its files.
std::optional<qb::platform::Platform> productionPlatform(FolderLayout layout,
                                                         const QString& argument) {
    if (layout == FolderLayout::Portable) {
        return qb::platform::makeQtPlatform(programFolder(), argument);
    }
    const auto folders = qb::platform::userFoldersOfThisUser();
    if (!folders) {
        return std::nullopt;
    }
    // A folder that cannot be made shows later, as a settings file that cannot be saved.
    qb::platform::makeUserFolders(*folders);
    return qb::platform::makeQtPlatform(*folders, argument);
}

} // namespace

int runProgram(int argc, char** argv, FolderLayout layout) {
    switch (commandLineRequest(argc, argv)) {
    case CommandLineRequest::PrintVersion:
        print(stdout, versionText());
        return 0;
    case CommandLineRequest::PrintHelp: {
        // The program folder is known from a core application, which needs no display.
        const QCoreApplication app(argc, argv);
        print(stdout, helpText(fileLocations(layout)));
        return 0;
    }
    case CommandLineRequest::Run:
        break;
    }

    // The embedded HTML view shares its drawing contexts with the window.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QString argument = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    // A desktop may hand a double-clicked ".torrent" file over as a file address.
    if (argument.startsWith(u"file://"_s)) {
        argument = QUrl(argument).toLocalFile();
    }

    qb::platform::SingleCopy singleCopy;
    if (!singleCopy.acquire()) {
        // A running copy takes the argument (or, busy with an earlier one, drops it) and this
        // copy ends without a window. When nobody answers, this copy runs on by itself.
        if (qb::platform::SingleCopy::handOff(argument) !=
            qb::platform::HandOffResult::NoListener) {
            return 0;
        }
    }

    std::optional<qb::platform::Platform> platform = productionPlatform(layout, argument);
    if (!platform) {
        print(stderr,
              u"quillbrook: не найдена домашняя папка пользователя для файлов программы\n"_s);
        return 1;
    }

    qb::platform::installRussianTranslations(app);
    qb::platform::provideTahoma();
    QGuiApplication::setApplicationDisplayName(u"Quillbrook"_s);
    // Wayland desktops find the window's icon and name through its desktop entry.
    QGuiApplication::setDesktopFileName(u"quillbrook"_s);

    int exitCode = 0;
    {
        TForm1 form(std::move(*platform));
        // Every hand-off is taken; one that arrives while another is being added waits.
        singleCopy.listen([] { return true; },
                          [&form](const QString& text) { form.core().receiveHandOff(text); });
        // A termination request closes the window as the user would, then ends the program even
        // when the window's settings would only hide it in the tray. One that comes while the
        // window is being set up lets the set-up end and never shows the window.
        bool terminated = false;
        qb::platform::CloseOnSignal closeOnSignal([&form, &terminated] {
            terminated = true;
            if (form.isVisible()) {
                form.close();
            } else {
                // A window that was never shown ignores close(); its close steps (requests
                // ended, no more questions to the user) are still due.
                QCloseEvent event;
                QCoreApplication::sendEvent(&form, &event);
            }
            // Every event loop ends, a question's on screen included; quit() would only end the
            // main one, and only once it runs.
            QCoreApplication::exit(0);
        });
        if (form.core().FormCreate() && !terminated) {
            form.show();
            exitCode = app.exec();
        }
    }
    // A job that outlived the window's teardown may not reach the window any more.
    endWindowThreadCalls();
    return exitCode;
}

} // namespace qb::app
