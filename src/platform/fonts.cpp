#include "platform/fonts.h"

#include <QFile>
#include <QFontDatabase>

using namespace Qt::Literals::StringLiterals;

namespace qb::platform {

void provideTahoma() {
    if (QFontDatabase::hasFamily(u"Tahoma"_s)) {
        return;
    }
    for (const QString& file :
         {u"/usr/share/wine/fonts/tahoma.ttf"_s, u"/usr/share/wine/fonts/tahomabd.ttf"_s}) {
        if (QFile::exists(file)) {
            QFontDatabase::addApplicationFont(file);
        }
    }
}

} // namespace qb::platform
