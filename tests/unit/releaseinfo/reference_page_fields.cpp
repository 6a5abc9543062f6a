// The field table step as first written, plainly: kept only as the reference the fast steps are
// checked against. Not built into the client.
#include "reference_page_steps.h"

#include "releaseinfo/page/page_text_ops.h"

#include <QVarLengthArray>

#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace qb::releaseinfo::reference {

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

constexpr QStringView kBoldStart = u"<br><b>";

enum class Use { Set, Append, Cast, AppendUnlessEpisodes };

// The captions after "<br><b>" that fill a field, tested in this order on every line.
struct Caption {
    QStringView text;
    QString PageFields::*field;
    Use use;
};
const Caption kCaptionFields[] = {
    {u"Страна", &PageFields::country, Use::Set},
    {u"Год выхода", &PageFields::year, Use::Set},
    {u"Год выпуска", &PageFields::year, Use::Set},
    {u"Режиссер", &PageFields::director, Use::Set},
    {u"Жанр", &PageFields::genre, Use::Set},
    {u"В ролях", &PageFields::actors, Use::Cast},
    {u"Продолжительность", &PageFields::duration, Use::Set},
    {u"Перевод", &PageFields::translation, Use::Set},
    {u"Субтитры", &PageFields::subtitles, Use::Append},
    {u"Видео", &PageFields::video, Use::Append},
    {u"Аудио", &PageFields::audio, Use::Append},
    {u"Звук", &PageFields::audio, Use::Append},
    {u"Раздают", &PageFields::seeders, Use::Append},
    {u"Качают", &PageFields::leechers, Use::Append},
    {u"Описание", &PageFields::description, Use::Set},
    {u"Озвучивание", &PageFields::translation, Use::Append},
    {u"О фильме", &PageFields::description, Use::Set},
    {u"О сериале", &PageFields::description, Use::Set},
    {u"Добавлен", &PageFields::added, Use::AppendUnlessEpisodes},
};

// Where a line holds "<br><b>"; a caption marker is that text followed by the caption.
class BoldStarts {
public:
    explicit BoldStarts(QStringView line)
        : line_(line) {
        for (qsizetype at = line.indexOf(kBoldStart); at >= 0;
             at = line.indexOf(kBoldStart, at + 1)) {
            ends_.push_back(at + kBoldStart.size());
        }
    }
    bool empty() const { return ends_.empty(); }
    bool followedBy(QStringView caption) const {
        for (const qsizetype end : ends_) {
            if (end < line_.size() && line_[end] == caption.front() &&
                line_.sliced(end).startsWith(caption)) {
                return true;
            }
        }
        return false;
    }

private:
    QStringView line_;
    QVarLengthArray<qsizetype, 4> ends_;
};

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
        // Every caption but the size's starts with a bold line start: the captions are looked
        // for only where one stands.
        const BoldStarts starts(line);
        if (!starts.empty()) {
            const auto has = [&starts](QStringView marker) { return starts.followedBy(marker); };
            if (has(u"Название:")) {
                f.title =
                    titleFromNameLine(line, k + 1 < lines.size() ? lines[k + 1] : QStringView());
            }
            if (f.title.isEmpty() && has(u"Оригинальное название:")) {
                f.title =
                    removeFirstIgnoringCase(trimBlanks(line), u"<br><b>Оригинальное название:");
            }
            if (has(u"Название</b")) {
                f.title = titleFromCaptionLine(line);
            }
            for (const Caption& caption : kCaptionFields) {
                if (!has(caption.text)) {
                    continue;
                }
                QString& field = f.*caption.field;
                switch (caption.use) {
                case Use::Set:
                    field = line.toString();
                    break;
                case Use::Append:
                    field += line;
                    break;
                case Use::Cast:
                    field = castLinks(line, filmDbHost);
                    break;
                case Use::AppendUnlessEpisodes: // a note of new episodes is no date
                    if (!line.contains(u"сери")) {
                        field += line;
                    }
                    break;
                }
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

} // namespace qb::releaseinfo::reference
