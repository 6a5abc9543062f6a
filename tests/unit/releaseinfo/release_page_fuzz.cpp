// Any bytes as the service's release answer: the page must build without a crash, and in time
// however the markers are arranged. Half the inputs are spelled from the markers themselves.
#include "releaseinfo/page/page_hosts.h"
#include "releaseinfo/page/release_page.h"

#include <QString>

#include <cstddef>
#include <cstdint>
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
    return page.html.isEmpty() ? 1 : 0;
}
