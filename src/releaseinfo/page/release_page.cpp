#include "releaseinfo/page/release_page.h"

#include "releaseinfo/page/page_fields.h"
#include "releaseinfo/page/page_layout.h"
#include "releaseinfo/page/page_pictures.h"
#include "releaseinfo/page/page_text.h"

namespace qb::releaseinfo {

namespace {

// The two working texts, each about the size of the answer, are kept from one build to the
// next on the same thread: taking fresh memory for them every time costs more than the build
// itself, as the system hands it back and faults it in again page by page. Texts beyond a few
// megabytes are let go after their build.
struct WorkingTexts {
    QString stripped, captioned;
};
thread_local WorkingTexts working;
constexpr qsizetype kKeptChars = 2 << 20;

} // namespace

ReleasePage buildReleasePage(QStringView answer, const PageHosts& hosts) {
    const PagePictures pictures = pagePictures(answer, hosts);
    writeStrippedLines(answer, working.stripped);
    writeCaptionedLines(working.stripped, working.captioned);
    const PageFields fields = pageFields(working.captioned, hosts.filmDbHost);
    if (working.stripped.capacity() > kKeptChars || working.captioned.capacity() > kKeptChars) {
        working = {};
    }
    return {pageHtml(fields, pictures), pictures.magnet, pictures.posterUrl};
}

} // namespace qb::releaseinfo
