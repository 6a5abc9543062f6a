#pragma once

#include "releaseinfo/page/page_fields.h"
#include "releaseinfo/page/page_hosts.h"
#include "releaseinfo/page/page_pictures.h"

#include <QString>
#include <QStringView>

// The release page as its behaviour describes it, written plainly and apart from the builder, so
// that the agreement test can catch a fault of the builder's own helpers.
namespace qb::releaseinfo::reference {

// Stage 1: the magnet and the pictures, from a copy of the answer cut down step by step.
PagePictures pagePictures(QStringView answer, const PageHosts& hosts);

// Stage 2: the answer without its tags, the captions set apart, and the fields of the lines.
QString strippedLines(QStringView answer);
QString captionedLines(QStringView stripped);
PageFields pageFields(QStringView captioned, const QString& filmDbHost);

// Stage 3: the whole page.
QString releasePageHtml(QStringView answer, const PageHosts& hosts);

} // namespace qb::releaseinfo::reference
