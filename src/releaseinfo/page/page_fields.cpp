#include "releaseinfo/page/page_fields.h"

#include "releaseinfo/page/page_text_ops.h"

#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace qb::releaseinfo {

namespace {

// The text after the first `mark`; without one, the text without its first `fallback`
// characters.
QStringView after(QStringView text, QStringView mark, qsizetype fallback) {
    const qsizetype at = text.indexOf(mark);
    return text.sliced(qMin(at < 0 ? fallback : at + mark.size(), text.size()));
}

// Everything from the first "(" on cut off.
void cutAtParenthesis(QString& text) {
    if (const qsizetype at = text.indexOf(u'('); at >= 0) {
        text.truncate(at);
    }
}

QString titleFromNameLine(QStringView line, QStringView nextLine) {
    QString title = after(trimBlanks(line), u"</b>", 3).toString();
    if (title.isEmpty()) {
        title = trimBlanks(nextLine).toString();
    }
    return removeFirstIgnoringCase(title, u"<br>");
}

// The title after the caption's colon and the one character that follows it.
QString titleFromCaptionLine(QStringView line) {
    const QStringView trimmed = trimBlanks(line);
    const qsizetype colon = trimmed.indexOf(u':');
    return trimmed.sliced(qMin(colon < 0 ? 1 : colon + 2, trimmed.size())).toString();
}

} // namespace

QString castLinks(QStringView line, const QString& filmDbHost) {
    QStringView rest = after(line, u"/b>", 2);
    QString links = u"<br><b>В ролях:</b> "_s;
    for (int i = 0; i < 16; ++i) {
        const qsizetype comma = rest.indexOf(u',');
        const QStringView name = comma < 0 ? QStringView() : rest.first(comma);
        if (!name.isEmpty()) {
            links +=
                u"<a href=\"https://"_s + filmDbHost +
                u"/index.php?level=7&from=forma&result=adv&m_act[from]=forma&m_act[what]=actor&m_act[find]="_s +
                name + u"\" target=_blank>"_s + name + u"</a>, "_s;
        }
        rest = rest.sliced(qMin(comma < 0 ? 1 : comma + 2, rest.size()));
    }
    links.chop(2);
    return links;
}

PageFields pageFields(QStringView captioned, const QString& filmDbHost) {
    std::vector<QStringView> lines;
    forEachLine(captioned, [&lines](QStringView line) { lines.push_back(line); });

    PageFields f;
    for (size_t k = 0; k < lines.size(); ++k) {
        const QStringView line = lines[k];
        // Every caption but the size's starts with a bold line start.
        if (line.contains(u"<br><b>")) {
            const auto has = [line](QStringView marker) { return line.contains(marker); };
            if (has(u"<br><b>Название:")) {
                f.title =
                    titleFromNameLine(line, k + 1 < lines.size() ? lines[k + 1] : QStringView());
            }
            if (f.title.isEmpty() && has(u"<br><b>Оригинальное название:")) {
                f.title =
                    removeFirstIgnoringCase(trimBlanks(line), u"<br><b>Оригинальное название:");
            }
            if (has(u"<br><b>Название</b")) {
                f.title = titleFromCaptionLine(line);
            }
            if (has(u"<br><b>Страна")) {
                f.country = line.toString();
            }
            if (has(u"<br><b>Год выхода")) {
                f.year = line.toString();
            }
            if (has(u"<br><b>Год выпуска")) {
                f.year = line.toString();
            }
            if (has(u"<br><b>Режиссер")) {
                f.director = line.toString();
            }
            if (has(u"<br><b>Жанр")) {
                f.genre = line.toString();
            }
            if (has(u"<br><b>В ролях")) {
                f.actors = castLinks(line, filmDbHost);
            }
            if (has(u"<br><b>Продолжительность")) {
                f.duration = line.toString();
            }
            if (has(u"<br><b>Перевод")) {
                f.translation = line.toString();
            }
            if (has(u"<br><b>Субтитры")) {
                f.subtitles += line;
            }
            if (has(u"<br><b>Видео")) {
                f.video += line;
            }
            if (has(u"<br><b>Аудио")) {
                f.audio += line;
            }
            if (has(u"<br><b>Звук")) {
                f.audio += line;
            }
            if (has(u"<br><b>Раздают")) {
                f.seeders += line;
            }
            if (has(u"<br><b>Качают")) {
                f.leechers += line;
            }
            if (has(u"<br><b>Описание")) {
                f.description = line.toString();
            }
            if (has(u"<br><b>Озвучивание")) {
                f.translation += line;
            }
            if (has(u"<br><b>О фильме")) {
                f.description = line.toString();
            }
            if (has(u"<br><b>О сериале")) {
                f.description = line.toString();
            }
            if (has(u"<br><b>Добавлен") && !has(u"сери")) {
                f.added += line;
            }
        }
        if (line.contains(u"Bytes)")) {
            f.size += line;
        }
    }

    cutAtParenthesis(f.added);
    cutAtParenthesis(f.size);
    f.description.replace(u':', u": "_s);
    if (const qsizetype br = f.genre.indexOf(u"<br>"); br >= 0) {
        f.genre.remove(br, 4);
    }
    return f;
}

} // namespace qb::releaseinfo
