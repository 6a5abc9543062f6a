#pragma once

#include "releaseinfo/page/page_hosts.h"

#include <QString>
#include <QStringView>

namespace qb::releaseinfo {

// What the tracker's release page gives for the top of the client's page: the magnet link, the
// poster, the two rating images and the screenshots.
struct PagePictures {
    QString magnet;
    QString posterUrl;
    QString posterHtml;
    QString imdbHtml;
    QString filmDbHtml;
    QString screenshotsHtml;
};

// The screenshots piece stops taking pictures at this length: no real page comes near it, and a
// page built to repeat its text into every picture cannot make it grow without end.
inline constexpr qsizetype kMaxScreenshotsHtml = 1 << 20;

PagePictures pagePictures(QStringView answer, const PageHosts& hosts);

} // namespace qb::releaseinfo
