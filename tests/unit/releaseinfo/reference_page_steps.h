#pragma once

#include "releaseinfo/page/page_fields.h"

#include <QString>
#include <QStringView>

// The text steps of the release page as first written, plainly, for the agreement check of the
// fast ones.
namespace qb::releaseinfo::reference {

QString strippedLines(QStringView answer);
QString captionedLines(QStringView stripped);
PageFields pageFields(QStringView captioned, const QString& filmDbHost);
QString castLinks(QStringView line, const QString& filmDbHost);

} // namespace qb::releaseinfo::reference
