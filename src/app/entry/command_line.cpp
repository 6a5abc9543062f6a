#include "app/entry/command_line.h"

#include "app/app_version.h"

#include <cstring>

using namespace Qt::Literals::StringLiterals;

namespace qb::app {

CommandLineRequest commandLineRequest(int argc, const char* const* argv) {
    if (argc < 2 || argv[1] == nullptr) {
        return CommandLineRequest::Run;
    }
    const char* argument = argv[1];
    if (std::strcmp(argument, "--version") == 0) {
        return CommandLineRequest::PrintVersion;
    }
    if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
        return CommandLineRequest::PrintHelp;
    }
    return CommandLineRequest::Run;
}

QString versionText() {
    return u"Quillbrook "_s + AppVersion() + u"\n"_s;
}

QString helpText(const FileLocations& files) {
    return u"Использование: quillbrook [магнет-ссылка | файл .torrent]\n"
           u"\n"
           u"Клиент TorrServer. Переданную ссылку или файл программа добавляет на сервер;\n"
           u"если она уже запущена, их получает запущенная копия, а новая завершается.\n"
           u"\n"
           u"Файлы программы:\n"
           u"  настройки        "_s +
           files.settingsFile + u"\n  локальный сервер "_s + files.serverFolder +
           u"\n  страницы раздач  "_s + files.cacheFolder +
           u"\n"
           u"\n"
           u"  -h, --help   показать эту справку и выйти\n"
           u"  --version    показать версию и выйти\n"_s;
}

} // namespace qb::app
