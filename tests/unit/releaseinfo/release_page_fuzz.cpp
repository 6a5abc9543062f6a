// Any bytes as the service's release answer: the page must build without a crash, in time
// however the markers are arranged, no larger than linear in the answer, and ending in the
// hidden element of the magnet with no markup in it. Half the inputs are spelled from the
// markers themselves.
#include "releaseinfo/page/page_hosts.h"
#include "releaseinfo/page/page_pictures.h"
#include "releaseinfo/page/release_page.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>

namespace {
const char* const kMarkers[] = {"</u></span></td><td>",
                                "\"",
                                "\">",
                                "<tr>",
                                "<img",
                                "=\"",
                                "imdb/pic",
                                "</a>",
                                "<img src=\"http://www.filmdb.example/rating/",
                                "Скриншоты",
                                "</textarea></div>",
                                "img src",
                                "img src=\"",
                                "<b>",
                                "</B>",
                                "<",
                                ">",
                                "\r\n",
                                "\r",
                                "\n",
                                " ",
                                "Название:",
                                "Оригинальное название:",
                                "Название</b",
                                "В ролях",
                                ",",
                                ", ",
                                "/b>",
                                "Описание",
                                ":",
                                "Bytes)",
                                "(",
                                "Добавлен",
                                "сери",
                                "Размер",
                                "Раздают",
                                "Качают",
                                "MI",
                                "m/i",
                                "|",
                                "<br>",
                                "Жанр",
                                "Субтитры",
                                "Аудио",
                                "Звук",
                                "[info]",
                                "BDInfo",
                                "МедиаИнфо",
                                "Сидер",
                                "x"};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QString answer;
    if (size > 0 && data[0] % 2 == 0) {
        for (size_t i = 1; i < size; ++i) {
            answer += QString::fromUtf8(kMarkers[data[i] % std::size(kMarkers)]);
        }
    } else {
        answer =
            QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    }
    const auto page = qb::releaseinfo::buildReleasePage(
        answer, qb::releaseinfo::buildPageHosts(QStringLiteral("http://127.0.0.1:8091")));

    // Each character of the answer reaches the page a bounded number of times: the captions
    // make a line at most some times longer, a line feeds a handful of fields, and a cast line
    // gives each name twice in a link; the screenshots stop at their own limit. A page that
    // grows with the square of its answer passes these bounds on answers of a few thousand
    // characters.
    constexpr qsizetype kPerCharacter = 1024;
    constexpr qsizetype kLayout = 1 << 14;
    if (page.html.size() >
        kLayout + qb::releaseinfo::kMaxScreenshotsHtml + kPerCharacter * answer.size()) {
        std::abort();
    }
    // The page ends in the hidden element, whose text holds no markup of the answer's.
    const QString open = QStringLiteral("<div id=magnet style=\"display:none;\">");
    const QString close = QStringLiteral("</div></body></html>");
    const qsizetype element = page.html.lastIndexOf(open);
    if (element < 0 || !page.html.endsWith(close)) {
        std::abort();
    }
    const QStringView text =
        QStringView(page.html).sliced(element + open.size()).chopped(close.size());
    if (text.contains(u'<') || text.contains(u'>') || text.contains(u'"') ||
        (page.magnet.isEmpty() != text.isEmpty())) {
        std::abort();
    }
    return 0;
}
