#include "releaseinfo/page/page_text.h"

#include "releaseinfo/page/page_text_ops.h"

using namespace Qt::Literals::StringLiterals;

namespace qb::releaseinfo {

namespace {

bool isBoldTagAt(QStringView text, qsizetype at, QStringView rest) {
    return text.sliced(at).startsWith(rest, Qt::CaseInsensitive);
}

struct Replacement {
    QStringView text;
    QStringView by;
};

// Each runs over the result of the one before.
constexpr Replacement kCaptions[] = {
    {u"[b]", u"\r\n<br><b>"},
    {u"[/b]", u"</b>"},
    {u"Раздают", u"\r\n<br><b>Раздают:</b> "},
    {u"Качают", u"\r\n<br><b>Качают:</b> "},
    {u"Размер", u"\r\n<br><b>Размер:</b> "},
    {u"Сидер", u"\r\n<br>Сидер "},
    {u"Добавлен", u"\r\n<br><b>Добавлен:</b> "},
    {u"Оценка", u"\r\n<br><b>Оценка:</b> "},
    {u"MI", u"\r\n<br>MI: "},
    {u"M/I", u"\r\n<br>M/I: "},
    {u"Файл", u"\r\n<br>Файл: "},
    {u"Mediainfo", u"\r\n<br>Mediainfo: "},
    {u"[info]", u"\r\n<br>[info] "},
    {u"BDInfo", u"\r\n<br>[BDInfo] "},
    {u"МедиаИнфо", u"\r\n<br>МедиаИнфо: "},
    {u"Примечание", u"\r\n<br>Примечание: "},
    {u"Категория", u"<br>Категория: "},
    {u"Скриншоты", u"<br>"},
};

} // namespace

QString strippedLines(QStringView answer) {
    QString lines;
    lines.reserve(answer.size() / 2);
    bool outsideTag = false;
    // The collected text of the lines not emitted yet is the end of `lines` from here.
    qsizetype collected = 0;
    bool collectedHasText = false;
    qsizetype run = -1; // start of the characters being kept, not yet copied
    const auto keep = [&](qsizetype at) {
        if (run < 0) {
            run = at;
        }
    };
    const auto copyRun = [&](qsizetype end) {
        if (run >= 0) {
            lines.append(answer.sliced(run, end - run));
            run = -1;
        }
    };
    const auto endLine = [&] {
        if (collectedHasText) {
            lines.append(u"<br>\r\n"_s);
            collected = lines.size();
            collectedHasText = false;
        }
    };

    const qsizetype size = answer.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = answer[i].unicode();
        if (c > u'>') { // the common case: a character with no meaning here
            if (outsideTag) {
                collectedHasText = true;
                keep(i);
            }
            continue;
        }
        switch (c) {
        case u'\r':
        case u'\n':
            copyRun(i);
            endLine();
            if (c == u'\r' && i + 1 < size && answer[i + 1] == u'\n') {
                ++i;
            }
            break;
        case u'>':
            copyRun(i);
            outsideTag = true;
            break;
        case u'<':
            copyRun(i);
            // Bold tags are text from here on ("<b>" is "[b]"); they do not change the state.
            if (isBoldTagAt(answer, i + 1, u"b>")) {
                if (outsideTag) {
                    lines.append(u"[b]"_s);
                    collectedHasText = true;
                }
                i += 2;
            } else if (isBoldTagAt(answer, i + 1, u"/b>")) {
                if (outsideTag) {
                    lines.append(u"[/b]"_s);
                    collectedHasText = true;
                }
                i += 3;
            } else {
                outsideTag = false;
            }
            break;
        default:
            if (outsideTag) {
                collectedHasText = collectedHasText || !isBlank(QChar(c));
                keep(i);
            }
            break;
        }
    }
    copyRun(size);
    if (size > 0 && answer[size - 1] != u'\r' && answer[size - 1] != u'\n') {
        endLine(); // the last line, without a line break of its own
    }
    lines.truncate(collected); // blanks never emitted
    return lines;
}

QString captionedLines(QStringView stripped) {
    QString text = stripped.toString();
    for (const Replacement& rule : kCaptions) {
        text = replaceIgnoringCase(text, rule.text, rule.by);
    }
    text.replace(u'|', u' ');
    return text;
}

} // namespace qb::releaseinfo
