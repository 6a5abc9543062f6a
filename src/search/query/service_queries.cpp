#include "search/query/service_queries.h"

#include "search/text/markers.h"
#include "search/text/url_encoding.h"

using namespace Qt::Literals::StringLiterals;

namespace qb::search {

namespace {

const QString kHeaderEnd = u"Пиры</td></tr>"_s;
const QString kRowEnd = u"</span></td></tr>"_s;

QString query(const QString& serviceBaseUrl, const QString& what) {
    return serviceBaseUrl + u"/get.php?secret=" + kServiceSecret + u"&q=" + what;
}

// A line ends at CR LF and also at a CR that stands alone.
QStringList lines(const QString& text) {
    QStringList result;
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype cr = text.indexOf(u'\r', from);
        if (cr < 0) {
            result << text.sliced(from);
            break;
        }
        result << text.sliced(from, cr - from);
        from = cr + 1;
        if (from < text.size() && text[from] == u'\n') {
            ++from;
        }
    }
    return result;
}

// Every "</tr>" ends a line.
QStringList rowPerLine(QString text) {
    text.replace(u"</tr>"_s, u"</tr>\r\n"_s, Qt::CaseInsensitive);
    return lines(text);
}

} // namespace

QString textSearchAddress(const QString& serviceBaseUrl, int page, const QString& text) {
    return query(serviceBaseUrl,
                 u"search/"_s + QString::number(page) + u"/0/000/2/"_s + urlEncode(text));
}

QString topAddress(const QString& serviceBaseUrl) {
    return query(serviceBaseUrl, u"top"_s);
}

QString categoryAddress(const QString& serviceBaseUrl, const QString& slug) {
    return query(serviceBaseUrl, slug);
}

QStringList prepareTextAnswer(QString answer) {
    answer.remove(u'\r');
    answer.remove(u'\n');
    answer = cutThrough(answer, kHeaderEnd).toString();
    answer.replace(kHeaderEnd, kHeaderEnd + u"\r\n"_s, Qt::CaseInsensitive);
    answer.replace(kRowEnd, kRowEnd + u"\r\n"_s, Qt::CaseInsensitive);
    return lines(answer);
}

QStringList prepareTopAnswer(QString answer) {
    answer.remove(u"\r\n"_s);
    answer.remove(u'\n');
    return rowPerLine(std::move(answer));
}

QStringList prepareCategoryAnswer(QString answer) {
    answer.remove(u'\r');
    answer.remove(u'\n');
    return rowPerLine(std::move(answer));
}

std::optional<QString> similarQuery(QStringView title) {
    for (const QChar marker : {u'/', u'[', u'('}) {
        const qsizetype at = title.indexOf(marker);
        if (at >= 0) {
            return title.first(std::max<qsizetype>(at - 1, 0)).toString();
        }
    }
    return std::nullopt;
}

} // namespace qb::search
