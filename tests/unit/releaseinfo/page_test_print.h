#pragma once

#include "releaseinfo/page/page_hosts.h"

#include <QString>

#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace qb::releaseinfo::test {

inline PageHosts testHosts() {
    return {QStringLiteral("http://svc.example:8091"), QStringLiteral("img.tracker.example"),
            QStringLiteral("www.filmdb.example")};
}

} // namespace qb::releaseinfo::test
