#include "platform/local_server.h"

#include <QSysInfo>

using namespace Qt::Literals::StringLiterals;

namespace qb::platform {

QString localServerExecutableName() {
#if defined(Q_PROCESSOR_X86_64)
    return u"TorrServer-linux-amd64"_s;
#elif defined(Q_PROCESSOR_X86_32)
    return u"TorrServer-linux-386"_s;
#elif defined(Q_PROCESSOR_ARM_64)
    return u"TorrServer-linux-arm64"_s;
#else
    // The server's builds follow Go's architecture names, which Qt's match for most others.
    return u"TorrServer-linux-"_s + QSysInfo::buildCpuArchitecture();
#endif
}

QStringList localServerNamesToTerminate() {
    return {u"TorrServer-linux-386"_s, u"TorrServer-linux-amd64"_s};
}

} // namespace qb::platform
