#include "platform/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::Literals::StringLiterals;

namespace qb::platform {

bool installRussianTranslations(QCoreApplication& app) {
    const QStringList folders = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                 u"/usr/share/qt6/translations"_s};
    for (const QString& folder : folders) {
        auto* translator = new QTranslator(&app);
        if (translator->load(u"qtbase_ru"_s, folder) &&
            QCoreApplication::installTranslator(translator)) {
            return true;
        }
        delete translator;
    }
    return false;
}

} // namespace qb::platform
