#!/usr/bin/env python3
"""Writes the fixture pages of the stand-in service from catalog.py, and images.json, the list
of pictures that service-standin-imagegen draws. Run from anywhere; writes ../fixtures."""

import hashlib
import json
import os

from catalog import CATEGORIES, DROPPED, FILM, ODD, RELEASES, SEARCH_PAGES, SEARCH_TEXTS, TOP

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "fixtures")
NBSP = "\u00a0"
BY_ID = {r["id"]: r for r in RELEASES}
MONTHS = ["Янв", "Фев", "Мар", "Апр", "Май", "Июн", "Июл", "Авг", "Сен", "Окт", "Ноя", "Дек"]


def info_hash(rid):
    return hashlib.sha1(f"quillbrook-standin-{rid}".encode()).hexdigest().upper()


def full_title(r):
    name = r["ru"] + (" / " + r["en"] if r["en"] else "")
    season = f" ({r['season']})" if r.get("season") else ""
    return f"{name}{season} ({r['year']}) {r['rip']}"


def slug(rid):
    return f"release-{rid}"


def announce():
    return "&amp;tr=http%3A%2F%2Fbt.tracker.example%2Fann%3Fmagnet"


def write(rel, text):
    path = os.path.join(OUT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


# ---- result pages -------------------------------------------------------------------------

def row(rid, index):
    """One result row, with the markers the client reads, in the tracker's own markup."""
    unit, rating = "GB", None
    if rid in BY_ID:
        r = BY_ID[rid]
        title, gb, seed, leech, comments = full_title(r), r["gb"], r["seed"], r["leech"], r["comments"]
    else:
        d = next(x for x in DROPPED + ODD if x["id"] == rid)
        title, gb, seed, leech, comments = d["title"], d["gb"], d["seed"], d["leech"], d.get("comments", 0)
        unit, rating = d.get("unit", "GB"), d.get("rating")
    day = f"{(rid % 27) + 1:02d}{NBSP}{MONTHS[rid % 12]}{NBSP}24"
    magnet = f"magnet:?xt=urn:btih:{info_hash(rid)}&amp;dn=tracker.example{announce()}"
    cls = "gai" if index % 2 == 0 else "tum"
    comment_cell = (f'<td align="right">{comments}<img src="/s/t/ic.gif" alt="C"></td>'
                    if comments else "")
    if rating:
        comment_cell += f'<td align="right">{rating}</td>'
    span = "" if comments else ' colspan="2"'
    return (f'<tr class="{cls}"><td>{day}</td><td{span}>'
            f'<a class="downgif" href="/download/{rid}"><img src="/s/t/d.gif" alt="D"></a>'
            f'<a href="{magnet}"><img src="/s/t/m.png" alt="M"></a>'
            f'<a href="/torrent/{rid}/{slug(rid)}">{title} </a></td>{comment_cell}'
            f'<td align="right">{gb}{NBSP}{unit}</td><td align="center">'
            f'<span class="green"><img src="/s/t/arrowup.gif" alt="S">{NBSP}{seed}</span>{NBSP}'
            f'<span class="red">{NBSP}{leech}</span></td></tr>\n')


def table(ids):
    head = ('<table width="100%" cellspacing="0" cellpadding="2" class="t">\n'
            '<tr class="backgr"><td width="70">Добавлен</td><td colspan="2">Название</td>'
            '<td width="1"><img src="/s/t/ic.gif" alt="C"></td><td width="1">Размер</td>'
            '<td width="1" align="center">Пиры</td></tr>\n')
    return head + "".join(row(rid, i) for i, rid in enumerate(ids)) + "</table>\n"


def page(title, body):
    return f"""<!DOCTYPE html>
<html lang="ru">
<head>
<meta charset="utf-8">
<title>{title} :: tracker.example</title>
<link rel="stylesheet" href="/s/t/t.css">
</head>
<body>
<div id="logo"><a href="/"><img src="/s/t/logo.png" alt="tracker.example" width="200" height="50"></a></div>
<div id="menu"><a href="/">Главная</a> | <a href="/top">Топ</a> | <a href="/browse/0/0/0/2">Раздачи</a> | <a href="/search">Поиск</a></div>
<div id="index">
{body}</div>
<div id="footer">tracker.example &copy; 2024 | <a href="/rules">Правила</a></div>
</body>
</html>
"""


def search_page(name, ids, number, text):
    pages = " ".join(f'<a href="/search/{p}/0/000/2/{text}">{p + 1}</a>' if p != number
                     else f"<b>{p + 1}</b>" for p in range(2))
    body = (f"<h2>Результаты поиска: {text}</h2>\n" + table(ids) +
            f'<div id="pages">Страницы: {pages}</div>\n')
    write(f"pages/{name}.html", page(f"Поиск: {text}", body))


def main_pages():
    for name, ids in SEARCH_PAGES.items():
        search_page(name, ids, int(name[-1]), "северное сияние")
    body = "".join(f"<h2>{caption}</h2>\n" + table(ids) for caption, ids in TOP)
    write("pages/top.html", page("Топ раздач за 24 часа", "<h1>Топ раздач за 24 часа</h1>\n" + body))
    names = {"kino": "Зарубежные фильмы", "nashe_kino": "Наши фильмы",
             "seriali": "Зарубежные сериалы", "nauchno_popularnoe": "Научно-популярные фильмы",
             "multiki": "Мультипликация"}
    for cat, ids in CATEGORIES.items():
        body = f"<h1>{names[cat]}</h1>\n" + table(ids) + '<div id="pages">Страницы: <b>1</b></div>\n'
        write(f"pages/{cat}.html", page(names[cat], body))
    body = table([]) + '<p class="notice">Не найдено ни одной раздачи</p>\n'
    write("pages/empty.html", page("Поиск", body))
    write("search.json", json.dumps(
        {text: [f"pages/{p}.html" for p in pages] for text, pages in SEARCH_TEXTS.items()},
        ensure_ascii=False, indent=1) + "\n")


# ---- release pages ------------------------------------------------------------------------
# Nothing before the magnet link carries a double quote: the client takes the text after the
# page's first quote as the magnet.

# How each release page departs from the common layout, so that together the pages carry every
# caption and marker the client reads: the other spellings of the year, sound, description and
# title captions, dubbing, episode notes, media-info blocks, notes, ratings present or missing,
# screenshots missing or left unclosed, casts of one name and of more than sixteen.
VARIANTS = {
    215640: dict(year="Год выпуска", audio="Звук",
                 extra=["<b>BDInfo:</b> Disc Size: 58 400 000 000 bytes | Protection: AACS2"]),
    98214: dict(title_caption_outside=True, filmdb=False,
                extra=["<b>Озвучивание:</b> студия «Полярный звук»"]),
    98215: dict(no_title=True, imdb=False, cast_single=True),
    402311: dict(about="Описание",
                 extra=["<b>M/I:</b> WEB-DL 720p, 3 450 MB", "<b>MediaInfo:</b> AVC High@L4"],
                 screens_unclosed=True),
    310455: dict(episodes="Добавлены серии 9-10 из 10", cast_long=True,
                 extra=["<b>Примечание:</b> серии выходили с 1 по 10 марта"]),
    310877: dict(screens=False, extra=["<b>МедиаИнфо:</b> HEVC, 1920x1080"]),
    288001: dict(extra=["<b>[info]</b> Rip by polar_rips: x264, CRF 18"]),
    288950: dict(extra=["<b>Оценка:</b> 9.1 из 10", "<b>Сидеры:</b> раздача поддерживается"]),
    301200: dict(extra=["<b>Файл:</b> doroga.domoj.2021.720p.mkv"]),
    299777: dict(translation="Профессиональный | многоголосый"),
    412000: dict(genre_en="family"),
}

LONG_CAST = [f"Актёр {n}" for n in range(1, 21)]


def release_page(r):
    rid, t = r["id"], full_title(r)
    v = VARIANTS.get(rid, {})
    magnet = (f"magnet:?xt=urn:btih:{info_hash(rid)}&amp;dn=tracker.example_{rid}{announce()}")
    imdb_id = f"tt71{rid:05d}"[:9]
    bytes_ = int(float(r["gb"]) * 1024 ** 3)
    if v.get("no_title"):
        title = ""
    elif v.get("title_caption_outside"):
        title = f"<b>Название</b>: {r['ru']}<br>\n"
    else:
        title = f"<b>Название:</b> {r['ru']}<br>\n"
    original = f"<b>Оригинальное название:</b> {r['en']}<br>\n" if r["en"] else ""
    about = v.get("about", "О фильме" if r["kind"] == FILM else "О сериале")
    genre = r["genre"] + (" / " + v["genre_en"] if "genre_en" in v else "")
    if v.get("cast_single"):
        cast = r["cast"][0]
    elif v.get("cast_long"):
        cast = ", ".join(r["cast"] + LONG_CAST) + ", и другие"
    else:
        cast = ", ".join(r["cast"]) + ", и другие"
    extra = "".join(f"{line}<br>\n" for line in v.get("extra", []))
    imdb = (f'<a href="https://www.imdb.com/title/{imdb_id}/" target="_blank"><img '
            f'src="http://{{{{imghost}}}}/imdb/pic/{rid}.png" alt="IMDb {r["imdb"]}"></a>\n'
            if v.get("imdb", True) else "")
    filmdb = (f'<a href="http://{{{{filmdb}}}}/film/{rid}/" target="_blank"><img '
              f'src="http://{{{{filmdb}}}}/rating/{rid}.png" alt="{r["filmdb"]}"></a>\n'
              if v.get("filmdb", True) else "")
    screens = " ".join(f'<img src="{{{{base}}}}/img/screens/{rid}_{n}.jpg">' for n in (1, 2))
    if not v.get("screens", True):
        spoiler = ""
    elif v.get("screens_unclosed"):
        spoiler = (f'<div class="spoiler"><div class="sp-head">Скриншоты</div>'
                   f'<div class="sp-body">{screens}</div></div>\n')
    else:
        spoiler = (f'<div class="spoiler"><div class="sp-head">Скриншоты</div><div class="sp-body">'
                   f'<textarea class="sp-text" readonly>{screens}</textarea></div></div>\n')
    episodes = (f'<tr><td class="header">Обновление</td><td>{v["episodes"]}</td></tr>\n'
                if "episodes" in v else "")
    return f"""<!DOCTYPE html>
<html lang=ru>
<head>
<meta charset=utf-8>
<title>{t} :: tracker.example</title>
<link rel=stylesheet href=/s/t/t.css>
</head>
<body>
<div id=logo><a href=/><img src=/s/t/logo.png alt=tracker.example width=200 height=50></a></div>
<div id=menu><a href=/>Главная</a> | <a href=/top>Топ</a> | <a href=/browse/0/0/0/2>Раздачи</a></div>
<div id=index>
<h1><a href=/torrent/{rid}/{slug(rid)}>{t}</a></h1>
<table id=details cellspacing=0 cellpadding=2>
<tr><td class=header>Магнет:</td><td><a href="{magnet}"><img src="/s/t/magnet.png" alt="magnet"></a> <a href="/download/{rid}">Скачать .torrent</a></td></tr>
<tr><td class="header">Описание:</td><td>
<img src="{{{{base}}}}/img/posters/{rid}.jpg" align="right" alt="poster" width="179">
{title}{original}<b>{v.get('year', 'Год выхода')}:</b> {r['year']}<br>
<b>Жанр:</b> {genre}<br>
<b>Режиссер:</b> {r['director']}<br>
<b>В ролях:</b> {cast}<br>
<br>
<b>{about}:</b> {r['about']}<br>
<br>
<b>Страна:</b> {r['country']}<br>
<b>Продолжительность:</b> {r['length']}<br>
<b>Перевод:</b> {v.get('translation', 'Профессиональный (многоголосый закадровый)')}<br>
<b>Субтитры:</b> русские, английские<br>
<br>
<b>Видео:</b> AVC, 1920x1080, 23.976 fps, 9 800 kbps<br>
<b>{v.get('audio', 'Аудио')}:</b> AC3, 6 ch, 448 kbps, русский<br>
<b>{v.get('audio', 'Аудио')} 2:</b> AAC, 2 ch, 192 kbps, английский<br>
{extra}<br>
{imdb}{filmdb}{spoiler}</td></tr>
<tr><td class="header">Категория</td><td><a href="/browse/1/0/0/2">{'Зарубежные фильмы' if r['kind'] == FILM else 'Зарубежные сериалы'}</a></td></tr>
<tr><td class="header">Раздают</td><td>{r['seed']}</td></tr>
<tr><td class="header">Качают</td><td>{r['leech']}</td></tr>
<tr><td class="header">Размер</td><td>{r['gb']} GB ({bytes_:,} Bytes)</td></tr>
<tr><td class="header">Добавлен</td><td>2024-0{rid % 9 + 1}-1{rid % 10} 14:05:33 (5 месяцев назад)</td></tr>
{episodes}<tr><td class="header">Раздал</td><td><span class="user"><u>polar_rips</u></span></td><td><a href="/user/polar_rips">профиль</a></td></tr>
<tr><td class="header">Файлы</td><td><a href="#files" id="displayfiles">Список файлов ({r['files']})</a><div id="files" style="display:none"></div></td></tr>
</table>
</div>
<div id="footer">tracker.example &copy; 2024 | <a href="/rules">Правила</a></div>
</body>
</html>
"""


MISSING = """<!DOCTYPE html>
<html lang=ru>
<head>
<meta charset=utf-8>
<title>Раздача не найдена :: tracker.example</title>
</head>
<body>
<div id=index>
<h1>Ошибка</h1>
<p>Раздача не существует или была удалена.</p>
</div>
</body>
</html>
"""


def images():
    items = [dict(path="no-poster.jpg", w=179, h=250, kind="noposter", color="#9a9a9a",
                  lines=["Нет постера"]),
             dict(path="error_404.png", w=480, h=360, kind="error", color="#f0f0f0",
                  lines=["404", "Информация о раздаче недоступна"])]
    for r in RELEASES:
        rid = r["id"]
        items.append(dict(path=f"posters/{rid}.jpg", w=179, h=252, kind="poster",
                          color=r["color"], lines=[r["ru"].replace("&amp;", "&"), str(r["year"])]))
        for n in (1, 2):
            items.append(dict(path=f"screens/{rid}_{n}.jpg", w=360, h=200, kind="screen",
                              color=r["color"], lines=[f"{n}"]))
        items.append(dict(path=f"imdb/{rid}.png", w=88, h=31, kind="imdb", color="#f5c518",
                          lines=["IMDb", r["imdb"]]))
        items.append(dict(path=f"rating/{rid}.png", w=88, h=31, kind="rating", color="#ff6600",
                          lines=["Рейтинг", r["filmdb"]]))
    return items


def main():
    main_pages()
    for r in RELEASES:
        write(f"releases/{r['id']}.html", release_page(r))
    write("releases/missing.html", MISSING)
    with open(os.path.join(HERE, "images.json"), "w", encoding="utf-8") as f:
        json.dump(images(), f, ensure_ascii=False, indent=1)
    with open(os.path.join(OUT, "demo_magnets.txt"), "w", encoding="utf-8", newline="\n") as f:
        for r in RELEASES:
            f.write(f"magnet:?xt=urn:btih:{info_hash(r['id'])}&dn=id_{r['id']:X}"
                    f"&tr=http%3A%2F%2Fbt.tracker.example%2Fann%3Fmagnet\n")


if __name__ == "__main__":
    main()
