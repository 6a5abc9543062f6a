// The fields of the captioned lines and the cast links, written plainly from the table of
// markers. Not built into the client.
#include "reference_page_steps.h"
#include "reference_text.h"

using namespace Qt::Literals::StringLiterals;

namespace qb::releaseinfo::reference {

namespace {

// `text` without its start up to and including the first `mark`; without a `mark`, without its
// first `otherwise` characters.
QString after(const QString& text, QStringView mark, qsizetype otherwise) {
    const qsizetype at = text.indexOf(mark);
    return text.mid(at < 0 ? otherwise : at + mark.size());
}

QString castLinks(const QString& line, const QString& filmDbHost) {
    QString rest = after(line, u"/b>", 2);
    QString actors = u"<br><b>В ролях:</b> "_s;
    for (int round = 0; round < 16; ++round) {
        const qsizetype comma = rest.indexOf(u',');
        const QString name = comma < 0 ? QString() : rest.left(comma);
        if (!name.isEmpty()) {
            actors += u"<a href=\"https://"_s + filmDbHost +
                      u"/index.php?level=7&from=forma&result=adv&m_act[from]=forma"
                      u"&m_act[what]=actor&m_act[find]="_s +
                      name + u"\" target=_blank>"_s + name + u"</a>, "_s;
        }
        rest = rest.mid(comma < 0 ? 1 : comma + 2);
    }
    actors.chop(2);
    return actors;
}

void cutFromParenthesis(QString& text) {
    const qsizetype at = text.indexOf(u'(');
    if (at >= 0) {
        text.truncate(at);
    }
}

} // namespace

PageFields pageFields(QStringView captioned, const QString& filmDbHost) {
    PageFields f;
    const QStringList lines = linesOf(captioned);
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const QString& line = lines[k];
        const QString trimmed = withoutBlanksAround(line);
        if (line.contains(u"<br><b>Название:")) {
            f.title = after(trimmed, u"</b>", 3);
            if (f.title.isEmpty()) {
                f.title = k + 1 < lines.size() ? withoutBlanksAround(lines[k + 1]) : QString();
            }
            f.title = withoutFirstCaseless(f.title, u"<br>");
        }
        if (f.title.isEmpty() && line.contains(u"<br><b>Оригинальное название:")) {
            f.title = withoutFirstCaseless(trimmed, u"<br><b>Оригинальное название:");
        }
        if (line.contains(u"<br><b>Название</b")) {
            const qsizetype colon = trimmed.indexOf(u':');
            f.title = trimmed.mid(colon < 0 ? 1 : colon + 2);
        }
        const auto has = [&line](QStringView caption) {
            return line.contains(u"<br><b>"_s + caption);
        };
        const auto set = [&](QStringView caption, QString& field) {
            if (has(caption)) {
                field = line;
            }
        };
        const auto append = [&](QStringView caption, QString& field) {
            if (has(caption)) {
                field += line;
            }
        };
        set(u"Страна", f.country);
        set(u"Год выхода", f.year);
        set(u"Год выпуска", f.year);
        set(u"Режиссер", f.director);
        set(u"Жанр", f.genre);
        if (has(u"В ролях")) {
            f.actors = castLinks(line, filmDbHost);
        }
        set(u"Продолжительность", f.duration);
        set(u"Перевод", f.translation);
        append(u"Субтитры", f.subtitles);
        append(u"Видео", f.video);
        append(u"Аудио", f.audio);
        append(u"Звук", f.audio);
        append(u"Раздают", f.seeders);
        append(u"Качают", f.leechers);
        set(u"Описание", f.description);
        append(u"Озвучивание", f.translation);
        set(u"О фильме", f.description);
        set(u"О сериале", f.description);
        if (!line.contains(u"сери")) {
            append(u"Добавлен", f.added);
        }
        if (line.contains(u"Bytes)")) {
            f.size += line;
        }
    }
    cutFromParenthesis(f.added);
    cutFromParenthesis(f.size);
    f.description.replace(u":"_s, u": "_s);
    const qsizetype br = f.genre.indexOf(u"<br>");
    if (br >= 0) {
        f.genre.remove(br, 4);
    }
    return f;
}

} // namespace qb::releaseinfo::reference
