// Stage 2 of the release page, its text, written plainly from the steps: bold tags kept as text,
// the other tags stripped line by line, and the tracker's captions set apart one rule after
// another. Not built into the client.
#include "reference_page_steps.h"
#include "reference_text.h"

using namespace Qt::Literals::StringLiterals;

namespace qb::releaseinfo::reference {

QString strippedLines(QStringView answer) {
    const QString bold =
        replacedCaseless(replacedCaseless(answer, u"<b>", u"[b]"), u"</b>", u"[/b]");
    QString emitted;
    bool outsideTag = false;
    QString collected;
    for (const QString& line : linesOf(bold)) {
        for (const QChar c : line) {
            if (c == u'>') {
                outsideTag = true;
            } else if (c == u'<') {
                outsideTag = false;
            } else if (outsideTag) {
                collected += c;
            }
        }
        if (!withoutBlanksAround(collected).isEmpty()) {
            emitted += collected + u"<br>\r\n"_s;
            collected.clear();
        }
    }
    return emitted;
}

QString captionedLines(QStringView stripped) {
    const QStringView rules[][2] = {
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
    QString text = stripped.toString();
    for (const auto& rule : rules) {
        text = replacedCaseless(text, rule[0], rule[1]);
    }
    text.replace(u'|', u' ');
    return text;
}

} // namespace qb::releaseinfo::reference
