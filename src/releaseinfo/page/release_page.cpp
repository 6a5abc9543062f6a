#include "releaseinfo/page/release_page.h"

#include "releaseinfo/page/page_fields.h"
#include "releaseinfo/page/page_layout.h"
#include "releaseinfo/page/page_pictures.h"
#include "releaseinfo/page/page_text.h"

namespace qb::releaseinfo {

ReleasePage buildReleasePage(QStringView answer, const PageHosts& hosts) {
    const PagePictures pictures = pagePictures(answer, hosts);
    const PageFields fields = pageFields(captionedLines(strippedLines(answer)), hosts.filmDbHost);
    return {pageHtml(fields, pictures), pictures.magnet, pictures.posterUrl};
}

} // namespace qb::releaseinfo
