#include "lists/text/link_lines.h"

#include "connection/http/request_bodies.h"

#include <algorithm>

namespace qb::lists {
namespace {
const QString kPosterMarker = QStringLiteral("&as=");
constexpr qsizetype kLongEntryLength = 50;
} // namespace

bool isNameLine(const QString& line) {
    return line.contains(QStringLiteral(":: "));
}

QString posterOfLine(const QString& line) {
    const qsizetype marker = line.indexOf(kPosterMarker);
    return marker < 0 ? QString() : line.mid(marker + kPosterMarker.size());
}

QByteArray addBodyOfLine(const QString& line) {
    return qb::connection::listBody(line, posterOfLine(line), line.contains(kPosterMarker));
}

connection::ListLineAdd listLineAdd(const QStringList& lines, qsizetype index) {
    const QString& line = lines[index];
    connection::ListLineAdd add{line, posterOfLine(line), line.contains(kPosterMarker), {}};
    if (index > 0 && isNameLine(lines[index - 1])) {
        const QString& name = lines[index - 1];
        add.title = name.mid(name.indexOf(u":: ") + 3).trimmed();
    }
    return add;
}

bool looksLikeLink(const QString& line) {
    const QString link = line.trimmed();
    for (const char16_t* scheme : {u"magnet:?", u"http://", u"https://"}) {
        if (link.startsWith(QStringView(scheme), Qt::CaseInsensitive) &&
            link.size() > QStringView(scheme).size()) {
            return true;
        }
    }
    return false;
}

bool holdsLinks(const QStringList& lines) {
    return std::any_of(lines.begin(), lines.end(), [](const QString& line) {
        return !isNameLine(line) && looksLikeLink(line);
    });
}

int importProgressMaximum(const QStringList& lines) {
    const auto links = std::count_if(lines.begin(), lines.end(),
                                     [](const QString& line) { return !isNameLine(line); });
    return static_cast<int>(std::max<qsizetype>(lines.size() / 2, links));
}

QString errorEntry(const QStringList& lines, qsizetype index, ErrorEntryForm form) {
    const qsizetype named = index > 0 ? index - 1 : 0;
    const QString line = named < lines.size() ? lines[named] : QString();
    if (form == ErrorEntryForm::Long) {
        return line.left(kLongEntryLength) + u" ...\r\n";
    }
    return line + u"\r\n";
}
} // namespace qb::lists
