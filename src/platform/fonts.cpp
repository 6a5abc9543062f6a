#include "platform/fonts.h"

#include <QFontDatabase>

using namespace Qt::Literals::StringLiterals;

namespace qb::platform {

void provideTahoma() {
    if (QFontDatabase::hasFamily(u"Tahoma"_s)) {
        return;
    }
    // The bold face too, so that a bold text is never drawn from a substitute.
    for (const QString& face : {u":/fonts/tahoma.ttf"_s, u":/fonts/tahomabd.ttf"_s}) {
        QFontDatabase::addApplicationFont(face);
    }
}

} // namespace qb::platform
