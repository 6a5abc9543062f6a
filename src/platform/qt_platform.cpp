#include "platform/platform.h"
#include "platform/proc_processes.h"
#include "platform/qt_browser.h"
#include "platform/qt_clipboard.h"
#include "platform/qt_file_dialogs.h"
#include "platform/qt_message_boxes.h"
#include "platform/qt_system_info.h"

namespace qb::platform {

Platform makeQtPlatform(const QString& appDir, const QString& firstArgument) {
    Platform platform;
    platform.messages = std::make_unique<QtMessageBoxes>();
    platform.dialogs = std::make_unique<QtFileDialogs>();
    platform.browser = std::make_unique<QtBrowser>();
    platform.processes = std::make_unique<ProcProcesses>();
    platform.clipboard = std::make_unique<QtClipboard>();
    platform.system = std::make_unique<QtSystemInfo>();
    platform.appDir = appDir;
    if (!platform.appDir.isEmpty() && !platform.appDir.endsWith(u'/')) {
        platform.appDir += u'/';
    }
    platform.firstArgument = firstArgument;
    return platform;
}

Platform makeQtPlatform(const UserFolders& folders, const QString& firstArgument) {
    Platform platform = makeQtPlatform(folders.data, firstArgument);
    platform.userFolders = folders;
    return platform;
}

} // namespace qb::platform
