#include "lists/text/list_export.h"

#include "connection/list/member_text.h"
#include "playback/text/url_decoding.h"

namespace qb::lists {
QString posterFromInfo(const QString& info) {
    static const QString kMarker = QStringLiteral("path\":\"");
    const qsizetype marker = info.indexOf(kMarker);
    if (marker < 0) {
        return {};
    }
    const qsizetype start = marker + kMarker.size();
    const qsizetype end = info.indexOf(u'"', start);
    return end < 0 ? QString() : info.mid(start, end - start);
}

QString exportLinkLine(const QString& magnet, const QString& posterUrl) {
    QString link = magnet;
    link.remove(QStringLiteral("&amp="), Qt::CaseSensitive);
    link = qb::playback::urlDecode(link);
    if (!posterUrl.isEmpty()) {
        link += u"&as=" + posterUrl;
    }
    return link;
}

QString exportListText(const nlohmann::ordered_json& entries, qsizetype rows) {
    using qb::connection::entryMemberText;
    QString text;
    if (!entries.is_array()) {
        return text;
    }
    const auto count = std::min(static_cast<size_t>(std::max<qsizetype>(rows, 0)), entries.size());
    for (size_t k = 0; k < count; ++k) {
        const auto& entry = entries[k];
        text += u":: " + entryMemberText(entry, "Name") + u"\r\n";
        text += exportLinkLine(entryMemberText(entry, "Magnet"),
                               posterFromInfo(entryMemberText(entry, "Info"))) +
                u"\r\n";
    }
    return text;
}
} // namespace qb::lists
