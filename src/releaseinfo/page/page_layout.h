#pragma once

#include "releaseinfo/page/page_fields.h"
#include "releaseinfo/page/page_pictures.h"

#include <QString>

namespace qb::releaseinfo {

// The page text from the fields and pictures of a release.
QString pageHtml(const PageFields& fields, const PagePictures& pictures);

// The magnet as the hidden element's text: "<", ">" and the double quote escaped, so the page
// gets no markup from it; a real magnet holds none of them and reads back unchanged.
QString escapedMagnet(QStringView magnet);

// The page shown when the service gave no answer: its picture always comes from the default
// service address.
QString errorPageHtml(const QString& defaultServiceUrl);

} // namespace qb::releaseinfo
