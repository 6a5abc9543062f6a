#include "release_page_maker.h"

namespace qb::bench {

namespace {

const char kHead[] =
    "<!DOCTYPE html>\n<html lang=ru>\n<head>\n<meta charset=utf-8>\n"
    "<title>Северное сияние / Northern Lights (2019) BDRip 1080p :: tracker.example</title>\n"
    "</head>\n<body>\n<div id=index>\n<table id=details cellspacing=0 cellpadding=2>\n"
    "<tr><td class=header>Магнет:</td><td><a "
    "href=\"magnet:?xt=urn:btih:6E38DD076E2E61C511669A7B3628C2DE7111A92D&amp;dn=tracker.example_"
    "107187&amp;tr=http%3A%2F%2Fbt.tracker.example%2Fann\"><img src=\"/s/t/magnet.png\"></a></td>"
    "</tr>\n<tr><td class=\"header\">Описание:</td><td>\n"
    "<img src=\"http://127.0.0.1:8091/img/posters/107187.jpg\" align=\"right\" width=\"179\">\n"
    "<b>Название:</b> Северное сияние<br>\n<b>Оригинальное название:</b> Northern Lights<br>\n"
    "<b>Год выхода:</b> 2019<br>\n<b>Жанр:</b> драма, приключения<br>\n"
    "<b>Режиссер:</b> Анна Лебедева<br>\n"
    "<b>В ролях:</b> Иван Петров, Мария Соколова, Олег Ветров, Нина Ким, Пётр Орлов, и другие<br>\n"
    "<br>\n<b>О фильме:</b> Полярный исследователь остаётся один на станции у края света и ждёт, "
    "когда небо откроет ему старую тайну экспедиции, пропавшей сорок лет назад.<br>\n<br>\n"
    "<b>Страна:</b> Россия, Норвегия<br>\n<b>Продолжительность:</b> 01:58:12<br>\n"
    "<b>Перевод:</b> Профессиональный (многоголосый закадровый)<br>\n"
    "<b>Субтитры:</b> русские, английские<br>\n<br>\n"
    "<b>Видео:</b> AVC, 1920x1080, 23.976 fps, 9 800 kbps<br>\n"
    "<b>Аудио:</b> AC3, 6 ch, 448 kbps, русский<br>\n<br>\n"
    "<a href=\"https://www.imdb.com/title/tt7110718/\"><img "
    "src=\"http://img.tracker.example/imdb/pic/107187.png\" alt=\"IMDb 7.4\"></a>\n"
    "<a href=\"http://www.filmdb.example/film/107187/\"><img "
    "src=\"http://www.filmdb.example/rating/107187.png\" alt=\"7.8\"></a>\n"
    "<div class=\"spoiler\"><div class=\"sp-head\">Скриншоты</div><div class=\"sp-body\">"
    "<textarea class=\"sp-text\" readonly>"
    "<img src=\"http://127.0.0.1:8091/img/screens/107187_1.jpg\"> "
    "<img src=\"http://127.0.0.1:8091/img/screens/107187_2.jpg\"></textarea></div></div>\n"
    "</td></tr>\n<tr><td class=\"header\">Категория</td><td><a href=\"/browse/1/0/0/2\">"
    "Зарубежные фильмы</a></td></tr>\n<tr><td class=\"header\">Раздают</td><td>125</td></tr>\n"
    "<tr><td class=\"header\">Качают</td><td>7</td></tr>\n<tr><td class=\"header\">Размер</td>"
    "<td>10.23 GB (10,984,378,859 Bytes)</td></tr>\n<tr><td class=\"header\">Добавлен</td>"
    "<td>2024-07-17 14:05:33 (5 месяцев назад)</td></tr>\n<tr><td class=\"header\">Раздал</td>"
    "<td><span class=\"user\"><u>polar_rips</u></span></td><td><a "
    "href=\"/user/polar_rips\">профиль</a></td></tr>\n</table>\n<div id=\"comments\">\n";

const char kComment[] =
    "<div class=\"comment\"><div class=\"c-head\"><a href=\"/user/viewer\" class=\"user\">viewer"
    "</a> <span class=\"date\">2024-08-02 21:14</span></div><div class=\"c-body\">Спасибо за "
    "раздачу! Качество отличное, <b>перевод</b> хороший, скорость | стабильная. Смотрели всей "
    "семьёй (family night), всем понравилось.<br>\n<i>Оценка:</i> 9 из 10</div></div>\n";

const char kTail[] = "</div>\n</div>\n</body>\n</html>\n";

} // namespace

std::string releasePageAnswer(std::size_t bytes) {
    std::string page = kHead;
    while (page.size() + sizeof kTail < bytes) {
        page += kComment;
    }
    return page + kTail;
}

} // namespace qb::bench
