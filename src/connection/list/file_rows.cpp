#include "connection/list/file_rows.h"

#include "connection/list/member_text.h"

namespace qb::connection {
namespace {
bool readsAsTrue(const QString& text) {
    if (text.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    bool ok = false;
    const double number = text.toDouble(&ok);
    return ok && number != 0.0;
}
} // namespace

QString nameWithoutFolder(const QString& name) {
    const qsizetype slash = name.indexOf(u'/');
    return slash < 0 ? name : name.mid(slash + 1);
}

QList<FileRow> addListRows(const nlohmann::ordered_json& files) {
    QList<FileRow> rows;
    if (!files.is_array()) {
        return rows;
    }
    int index = 0;
    for (const auto& file : files) {
        const QString name = entryMemberText(file, "Name");
        if (!name.contains(QStringLiteral(".srt"))) {
            FileRow row{nameWithoutFolder(name), index,
                        readsAsTrue(entryMemberText(file, "Viewed"))};
            if (row.viewed) {
                row.text += QStringLiteral(" - просмотрено");
            }
            rows.append(std::move(row));
        }
        ++index;
    }
    return rows;
}

bool singleTopFileForDownload(const nlohmann::ordered_json& files) {
    if (!files.is_array() || files.empty()) {
        return false;
    }
    return !entryMemberText(files.front(), "Name").contains(u'/');
}
} // namespace qb::connection
